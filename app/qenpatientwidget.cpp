#include "app/qenpatientwidget.h"

#include "engine/qenanesthetic.h"
#include "engine/qenprompt.h"

#include "ui_qenpatient.h"
#include "views/qenfieldguard.h"

#include <QButtonGroup>

#include <algorithm>
#include <cmath>

QenPatientWidget::QenPatientWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::QenPatient>()), m_units(new QButtonGroup(this))
{
    m_ui->setupUi(this);
    QenFieldGuard::guardSpinBoxes(this);
    m_units->addButton(m_ui->rbKilograms, Kilograms);
    m_units->addButton(m_ui->rbPounds, Pounds);
    for (int c = ALV; c <= VEN; ++c)
        m_volumes[c].show(volumeBox(c), volumeBox(c)->value());
    m_weight.show(m_ui->dsbWeight, 70.0);
    rescale(); // the ranges of a 70 kg patient
    connect(m_units, &QButtonGroup::idClicked, this, &QenPatientWidget::weightUnitChanged);
    connect(m_ui->dsbWeight, &QDoubleSpinBox::editingFinished, this,
            &QenPatientWidget::weightChanged);
}

QenPatientWidget::~QenPatientWidget() = default;

QDoubleSpinBox *QenPatientWidget::volumeBox(int compartment) const
{
    switch (compartment) {
    case ALV:
        return m_ui->dsbALV;
    case VRG:
        return m_ui->dsbVRG;
    case MUS:
        return m_ui->dsbMUS;
    case FAT:
        return m_ui->dsbFAT;
    case VEN:
        return m_ui->dsbVEN;
    default:
        return nullptr;
    }
}

QSpinBox *QenPatientWidget::flowBox(int compartment) const
{
    switch (compartment) {
    case VRG:
        return m_ui->sbRatioVRG;
    case MUS:
        return m_ui->sbRatioMUS;
    case FAT:
        return m_ui->sbRatioFAT;
    default:
        return nullptr;
    }
}

// --- weight

void QenPatientWidget::showWeight(double kg)
{
    m_weight.show(m_ui->dsbWeight, m_unit == Pounds ? kg * PoundsPerKg : kg, kg);
}

void QenPatientWidget::setWeight(double kg)
{
    showWeight(kg);
}

double QenPatientWidget::weight() const
{
    if (!m_weight.isEdited())
        return m_weight.exact();
    const double shown = m_ui->dsbWeight->value();
    return m_unit == Pounds ? shown / PoundsPerKg : shown;
}

void QenPatientWidget::weightUnitChanged(int id)
{
    if (id == m_unit || (id != Kilograms && id != Pounds))
        return;
    const double kg = weight();
    m_unit = id;
    m_weightMin = id == Pounds ? MinKg * PoundsPerKg : MinKg;
    m_weightMax = id == Pounds ? MaxPounds : MaxKg;
    m_ui->dsbWeight->setRange(m_weightMin, m_weightMax);
    showWeight(kg);
}

void QenPatientWidget::weightChanged()
{
    // Leaving the box without a new weight must not disturb CO and VA, which
    // the rescaling rounds to a tenth per 70 kg.
    if (weight() != m_rescaledKg)
        rescale();
}

void QenPatientWidget::rescale()
{
    double per70[VEN + 1] = {};
    for (int c = ALV; c <= VEN; ++c)
        per70[c] = volume(c);
    const double co70 = coPer70Kg();
    const double va70 = vaPer70Kg();

    const double kg = weight();
    m_ratio = kg / 70.0;
    const int e = int(std::floor(std::log10(m_ratio) + 0.3));
    const bool inScale = e >= -4 && e <= 3;
    m_scale = inScale ? std::pow(10.0, e) : 1.0;
    // Enough decimals to show the smallest volume the range allows.
    const int decimals = inScale ? std::max(2, 2 - e) : 2;
    for (int c = ALV; c <= VEN; ++c) {
        const double top = c == MUS ? 1000.0 : c == VEN ? 10.0 : 100.0;
        QDoubleSpinBox *box = volumeBox(c);
        box->setDecimals(decimals);
        box->setRange(0.1 * m_scale, top * m_scale);
    }
    m_metabolic = std::sqrt(std::sqrt(m_ratio * m_ratio * m_ratio));

    for (int c = ALV; c <= VEN; ++c)
        setVolume(c, per70[c]);
    // CO and VA are taken as shown, unlike the volumes, which keep their
    // exact value per 70 kg.
    setCO(m_metabolic * co70);
    setCO(m_ui->dsbMetabolismCO->value());
    setVA(m_metabolic * va70);
    setVA(m_ui->dsbMetabolismVA->value());
    m_rescaledKg = kg;
}

// --- volumes, flows, CO and VA

void QenPatientWidget::setVolume(int compartment, double litresPer70Kg)
{
    if (QDoubleSpinBox *box = volumeBox(compartment))
        m_volumes[compartment].show(box, litresPer70Kg * m_ratio, litresPer70Kg);
}

double QenPatientWidget::volume(int compartment) const
{
    const QDoubleSpinBox *box = volumeBox(compartment);
    if (!box)
        return 0.0;
    const QenShownValue &v = m_volumes[compartment];
    return v.isEdited() ? box->value() / m_ratio : v.exact();
}

void QenPatientWidget::setFlowPercent(int compartment, int percent)
{
    if (QSpinBox *box = flowBox(compartment))
        box->setValue(percent);
}

int QenPatientWidget::flowPercent(int compartment) const
{
    const QSpinBox *box = flowBox(compartment);
    return box ? box->value() : 0;
}

int QenPatientWidget::percentOf(float fraction)
{
    // In single precision, as the fraction is stored: 0.175 shows as 18.
    const float percent = fraction * 100.0f;
    return int(std::lround(percent));
}

void QenPatientWidget::setCO(double value)
{
    m_co.show(m_ui->dsbMetabolismCO, value);
}

void QenPatientWidget::setVA(double value)
{
    m_va.show(m_ui->dsbMetabolismVA, value);
}

double QenPatientWidget::per70Kg(double value) const
{
    return std::floor(value * 10.0 / m_metabolic + 0.5) / 10.0;
}

// --- showing and checking

void QenPatientWidget::prepare()
{
    QWidget *const locked[] = {m_ui->dsbWeight,       m_ui->dsbALV,         m_ui->dsbVRG,
                               m_ui->dsbMUS,          m_ui->dsbFAT,         m_ui->dsbVEN,
                               m_ui->sbRatioVRG,      m_ui->sbRatioMUS,     m_ui->sbRatioFAT,
                               m_ui->dsbMetabolismCO, m_ui->dsbMetabolismVA};
    for (QWidget *w : locked)
        w->setEnabled(m_editable);

    if (weight() != m_rescaledKg) {
        const double co = m_co.exact();
        const double va = m_va.exact();
        rescale();
        setCO(co);
        setVA(va);
    }
}

bool QenPatientWidget::checkFlowPercentages(QenPrompt *prompt) const
{
    if (flowPercent(VRG) + flowPercent(MUS) + flowPercent(FAT) == 100)
        return true;
    if (prompt)
        prompt->critical(tr("Quenor® "), tr("<p>The sum of the flow percentages must be 100."));
    return false;
}
