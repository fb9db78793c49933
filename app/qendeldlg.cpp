#include "app/qendeldlg.h"

#include "ui_qendel.h"
#include "views/qenfieldguard.h"

QenDelDlg::QenDelDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::QenDel>())
{
    m_ui->setupUi(this);
    QenFieldGuard::guardSpinBoxes(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QenDelDlg::~QenDelDlg() = default;

void QenDelDlg::setDelMaximum(double max)
{
    m_ui->dsbDEL->setMaximum(max);
}

void QenDelDlg::setDel(float value)
{
    m_del.show(m_ui->dsbDEL, value);
}

void QenDelDlg::setFgf(float value)
{
    m_fgf.show(m_ui->dsbFGF, value);
}

void QenDelDlg::setVa(float value)
{
    m_va.show(m_ui->dsbVA, value);
}

void QenDelDlg::setCo(float value)
{
    m_co.show(m_ui->dsbCO, value);
}
