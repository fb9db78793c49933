#include "app/qencostdlg.h"

#include "app/qentitlefit.h"
#include "engine/qenanesthetic.h"

#include "ui_qencost.h"
#include "views/qenfieldguard.h"

QenCostDlg::QenCostDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::QenCost>())
{
    m_ui->setupUi(this);
    fitTitle(this);
    QenFieldGuard::guardSpinBoxes(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // The agent table's own ranges: a stored size or cost always fits.
    m_ui->sbSize->setRange(0, QenAnesthetic::MaxBottleSizeMl);
    m_ui->dsbCost->setRange(0, double(QenAnesthetic::MaxBottleCost));
}

QenCostDlg::~QenCostDlg() = default;

void QenCostDlg::setBottleSize(int ml)
{
    m_ui->sbSize->setValue(ml);
    m_sizeShown = m_ui->sbSize->value();
    m_size = ml;
}

int QenCostDlg::bottleSize() const
{
    // Left alone, the box gives back the size it was given, even one it
    // could not show.
    return m_ui->sbSize->value() == m_sizeShown ? m_size : m_ui->sbSize->value();
}

void QenCostDlg::setBottleCost(float cost)
{
    m_cost.show(m_ui->dsbCost, cost);
}

float QenCostDlg::bottleCost() const
{
    return float(m_cost.value());
}
