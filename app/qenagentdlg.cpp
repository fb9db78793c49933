#include "app/qenagentdlg.h"

#include "app/qenapplication.h"
#include "app/qentitlefit.h"
#include "engine/qenvocabulary.h"

#include "ui_qenagent.h"

QenAgentDlg::QenAgentDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::QenAgent>())
{
    m_ui->setupUi(this);
    fitTitle(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *app = qobject_cast<QenApplication *>(QCoreApplication::instance());
    m_ui->cbCircuit->addItems(app ? app->circuits() : QenVocabulary::circuits());
}

QenAgentDlg::~QenAgentDlg() = default;

void QenAgentDlg::setCircuit(const QString &circuit)
{
    const int index = m_ui->cbCircuit->findText(circuit, Qt::MatchFixedString);
    if (index >= 0)
        m_ui->cbCircuit->setCurrentIndex(index);
}

void QenAgentDlg::fillAgents()
{
    m_filled = true;
    m_ui->cbAgent->clear();
    m_ui->cbAgent->addItems(m_agents);
    const int index = m_ui->cbAgent->findText(m_agent, Qt::MatchFixedString);
    if (index >= 0)
        m_ui->cbAgent->setCurrentIndex(index);
    m_ui->cbAgent->setEnabled(m_changeable);
}

void QenAgentDlg::showEvent(QShowEvent *event)
{
    fillAgents();
    QDialog::showEvent(event);
}

QString QenAgentDlg::agent() const
{
    // A run that has begun keeps its agent, whatever the list shows.
    return m_filled && m_changeable ? m_ui->cbAgent->currentText() : m_agent;
}

QString QenAgentDlg::circuit() const
{
    return m_ui->cbCircuit->currentText();
}
