#include "app/qendeldlg.h"

#include "app/qentitlefit.h"
#include "ui_qendel.h"
#include "views/qenfieldguard.h"

QenDelDlg::QenDelDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::QenDel>())
{
    m_ui->setupUi(this);
    // Each field says its unit, as the picture's gauges do.
    m_ui->dsbDEL->setSuffix(tr(" %atm"));
    for (QDoubleSpinBox *flow : {m_ui->dsbFGF, m_ui->dsbVA, m_ui->dsbCO})
        flow->setSuffix(tr(" L/min"));
    fitTitle(this);
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
