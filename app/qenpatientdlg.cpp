#include "app/qenpatientdlg.h"

#include "app/qentitlefit.h"
#include "app/qenpatientwidget.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

QenPatientDlg::QenPatientDlg(QenPrompt *prompt, QWidget *parent)
    : QDialog(parent), m_prompt(prompt), m_patient(new QenPatientWidget(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Change patient"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_patient);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QenPatientDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QenPatientDlg::reject);
}

void QenPatientDlg::prepare()
{
    m_patient->prepare();
    resize(minimumSizeHint());
    fitTitle(this);
}

int QenPatientDlg::exec()
{
    prepare();
    return QDialog::exec();
}

void QenPatientDlg::accept()
{
    // A weight typed but not yet left still rescales the patient it takes.
    m_patient->weightChanged();
    // A locked patient cannot be corrected, and nothing of it is taken.
    if (m_patient->isEditable() && !m_patient->checkFlowPercentages(m_prompt))
        return;
    QDialog::accept();
}
