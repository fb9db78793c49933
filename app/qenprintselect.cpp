#include "app/qenprintselect.h"
#include "ui_qenprintselect.h"

QenPrintSelect::QenPrintSelect(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::QenPrintSelect>())
{
    m_ui->setupUi(this);
}

QenPrintSelect::~QenPrintSelect() = default;

void QenPrintSelect::setChoices(bool printout, bool graphs)
{
    m_ui->cbPrintout->setChecked(printout);
    m_ui->cbGraphs->setChecked(graphs);
}

bool QenPrintSelect::printout() const
{
    return m_ui->cbPrintout->isChecked();
}

bool QenPrintSelect::graphs() const
{
    return m_ui->cbGraphs->isChecked();
}
