#include "app/qencostdlg.h"

#include "ui_qencost.h"

QenCostDlg::QenCostDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::QenCost>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QenCostDlg::~QenCostDlg() = default;

void QenCostDlg::setBottleSize(int ml)
{
    m_ui->sbSize->setValue(ml);
}

int QenCostDlg::bottleSize() const
{
    return m_ui->sbSize->value();
}

void QenCostDlg::setBottleCost(float cost)
{
    m_cost.show(m_ui->dsbCost, cost);
}

float QenCostDlg::bottleCost() const
{
    return float(m_cost.value());
}
