#pragma once

#include <QDialog>

class QDialogButtonBox;
class QenPatientWidget;
class QenPrompt;

// The patient of a simulation in a dialog; OK is refused while the flow
// percentages do not add up to 100. `prompt` must outlive the dialog.
class QenPatientDlg : public QDialog
{
    Q_OBJECT

public:
    explicit QenPatientDlg(QenPrompt *prompt, QWidget *parent = nullptr);

    QenPatientWidget *patient() const { return m_patient; }
    QDialogButtonBox *buttonBox() const { return m_buttons; }

    // What exec() does before it shows the dialog: prepares the filled
    // patient and fits the dialog to it.
    void prepare();
    int exec() override;

public slots:
    void accept() override;

private:
    QenPrompt *m_prompt;
    QenPatientWidget *m_patient;
    QDialogButtonBox *m_buttons;
};
