#pragma once

#include "app/qenshownvalue.h"

#include <QDialog>

#include <memory>

namespace Ui {
class QenDel;
}

// The current agent's vaporizer setting with the fresh gas flow, alveolar
// ventilation and cardiac output of a simulation. Each value reads back
// exactly as it was set unless the user changed it.
class QenDelDlg : public QDialog
{
    Q_OBJECT

public:
    explicit QenDelDlg(QWidget *parent = nullptr);
    ~QenDelDlg() override;

    // Set the maximum before the value: the box starts with maximum 0.
    void setDelMaximum(double max);
    void setDel(float value);
    float del() const { return float(m_del.value()); }
    void setFgf(float value);
    float fgf() const { return float(m_fgf.value()); }
    void setVa(float value);
    float va() const { return float(m_va.value()); }
    void setCo(float value);
    float co() const { return float(m_co.value()); }

    Ui::QenDel *form() const { return m_ui.get(); }

private:
    std::unique_ptr<Ui::QenDel> m_ui;
    QenShownValue m_del;
    QenShownValue m_fgf;
    QenShownValue m_va;
    QenShownValue m_co;
};
