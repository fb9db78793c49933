#pragma once

#include "app/qenshownvalue.h"

#include <QWidget>

#include <memory>

class QButtonGroup;
class QDoubleSpinBox;
class QSpinBox;
class QenPrompt;

namespace Ui {
class QenPatient;
}

// The patient: weight, compartment volumes, the shares of cardiac output of
// the tissue groups, and cardiac output and ventilation. Volumes are kept per
// 70 kg and shown for the weight entered (in proportion to it), CO and VA are
// shown for the weight (in proportion to its 0.75th power); the volume boxes'
// ranges and decimals follow the weight's order of magnitude. Used by the
// patient dialog and by the options dialog's Patient page.
class QenPatientWidget : public QWidget
{
    Q_OBJECT

public:
    enum WeightUnit { Kilograms = 0, Pounds = 1 };
    static constexpr double PoundsPerKg = 2.20462;
    static constexpr double MinKg = 0.05;
    static constexpr double MaxKg = 1500.0;
    static constexpr double MaxPounds = 3306.93;

    explicit QenPatientWidget(QWidget *parent = nullptr);
    ~QenPatientWidget() override;

    // Weight in kg, shown in the current unit.
    void setWeight(double kg);
    double weight() const;
    int weightUnit() const { return m_unit; }

    // Volumes of ALV, VRG, MUS, FAT and VEN per 70 kg; shown for the weight.
    void setVolume(int compartment, double litresPer70Kg);
    double volume(int compartment) const;

    // Shares of cardiac output of VRG, MUS and FAT in whole percent.
    void setFlowPercent(int compartment, int percent);
    int flowPercent(int compartment) const;
    // A fraction shown as percent, rounded half away from zero.
    static int percentOf(float fraction);

    // CO and VA as shown (for the weight), and normalised to 70 kg.
    void setCO(double value);
    double co() const { return m_co.value(); }
    void setVA(double value);
    double va() const { return m_va.value(); }
    double coPer70Kg() const { return per70Kg(co()); }
    double vaPer70Kg() const { return per70Kg(va()); }

    double weightRatio() const { return m_ratio; }
    double metabolicFactor() const { return m_metabolic; }
    double volumeScale() const { return m_scale; }
    double weightMinimum() const { return m_weightMin; }
    double weightMaximum() const { return m_weightMax; }

    // A widget that is not editable shows the patient with everything but
    // the weight unit disabled.
    void setEditable(bool editable) { m_editable = editable; }
    bool isEditable() const { return m_editable; }

    // Before showing, once filled: locks a widget that is not editable, and
    // shows a patient of other than 70 kg at that weight while keeping the CO
    // and VA it was given.
    void prepare();

    // The three percentages must add up to 100; false after telling the user.
    bool checkFlowPercentages(QenPrompt *prompt) const;

    QDoubleSpinBox *volumeBox(int compartment) const;
    QSpinBox *flowBox(int compartment) const;
    Ui::QenPatient *form() const { return m_ui.get(); }

public slots:
    void weightUnitChanged(int id);
    void weightChanged();

private:
    double per70Kg(double value) const;
    void showWeight(double kg);
    void rescale();

    std::unique_ptr<Ui::QenPatient> m_ui;
    QButtonGroup *m_units;
    int m_unit = Kilograms;
    double m_weightMin = MinKg;
    double m_weightMax = MaxKg;
    double m_ratio = 1.0;     // weight / 70 kg
    double m_metabolic = 1.0; // ratio^0.75
    double m_scale = 1.0;     // order of magnitude of the volume ranges
    double m_rescaledKg = 70.0;
    bool m_editable = true;
    QenShownValue m_weight;
    QenShownValue m_volumes[6];
    QenShownValue m_co;
    QenShownValue m_va;
};
