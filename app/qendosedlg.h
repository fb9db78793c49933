#pragma once

#include "app/qenshownvalue.h"

#include <QDialog>

#include <memory>

namespace Ui {
class QenDose;
}

// The current agent's unit dose: the millilitres of liquid one injection gives.
class QenDoseDlg : public QDialog
{
    Q_OBJECT

public:
    explicit QenDoseDlg(QWidget *parent = nullptr);
    ~QenDoseDlg() override;

    void setUnitDose(float ml);
    float unitDose() const { return float(m_dose.value()); }

    Ui::QenDose *form() const { return m_ui.get(); }

private:
    std::unique_ptr<Ui::QenDose> m_ui;
    QenShownValue m_dose;
};
