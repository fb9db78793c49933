#pragma once

#include "app/qenshownvalue.h"

#include <QDialog>

#include <memory>

namespace Ui {
class QenCost;
}

// Bottle size and cost of the current agent of a simulation.
class QenCostDlg : public QDialog
{
    Q_OBJECT

public:
    explicit QenCostDlg(QWidget *parent = nullptr);
    ~QenCostDlg() override;

    void setBottleSize(int ml);
    int bottleSize() const;
    void setBottleCost(float cost);
    float bottleCost() const;

    Ui::QenCost *form() const { return m_ui.get(); }

private:
    std::unique_ptr<Ui::QenCost> m_ui;
    QenShownValue m_cost;
    int m_size = 0;
    int m_sizeShown = 0;
};
