#pragma once

#include "engine/qenini.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLineEdit;
class QenPrompt;

namespace Ui {
class QenChoiceSound;
}

// The four sound files the minute signal may play ("System 1" to "System 4"
// of the options). Each row takes a WAV file that exists, or "<no sound>";
// OK writes all four at once.
class QenChoiceSound : public QDialog
{
    Q_OBJECT

public:
    // Asks for a file to open; an empty answer cancels.
    using FileDialog = std::function<QString(QWidget *parent, const QString &title,
                                             const QString &dir, const QString &filter)>;
    static constexpr int Sounds = 4;

    // `prompt` hears about a settings file that cannot be written.
    QenChoiceSound(const QenIni &ini, QenPrompt *prompt, QWidget *parent = nullptr);
    ~QenChoiceSound() override;

    Ui::QenChoiceSound *form() const { return m_ui.get(); }
    // The line edit of sound `n`, 1 to 4.
    QLineEdit *lineEdit(int n) const;
    // Tests answer the file dialog themselves.
    void setFileDialog(FileDialog dialog) { m_fileDialog = std::move(dialog); }

    // "<no sound>" as the field shows it, in the user's language; the
    // settings always hold `storedNoSound()`, so that the file means the same
    // to the program in any language.
    static QString noSound();
    static QString storedNoSound();

    // What exec() does before it shows the dialog: fills the rows from the
    // settings.
    void prepare();

public slots:
    int exec() override;
    void accept() override;
    void browse();
    void edited();

private:
    void browseRow(int n);

    std::unique_ptr<Ui::QenChoiceSound> m_ui;
    QenIni m_ini;
    QenPrompt *m_prompt;
    FileDialog m_fileDialog;
};
