#pragma once

#include <QDoubleSpinBox>

// A number shown in a spin box at the box's decimals (and within its range).
// Reading it back gives the exact number it was shown for until the user
// changes what the box shows, so an OK without edits hands back the stored
// value itself rather than its rounded picture.
class QenShownValue
{
public:
    // Shows `shown` in `box`; `exact` is what reading back gives while the
    // box is left alone.
    void show(QDoubleSpinBox *box, double shown, double exact)
    {
        m_box = box;
        box->setValue(shown);
        m_shown = box->value();
        m_exact = exact;
    }
    void show(QDoubleSpinBox *box, double value) { show(box, value, value); }

    bool isEdited() const { return m_box && m_box->value() != m_shown; }
    double exact() const { return m_exact; }
    // The box's value once the user has changed it, else the exact value.
    double value() const { return isEdited() ? m_box->value() : m_exact; }

private:
    QDoubleSpinBox *m_box = nullptr;
    double m_shown = 0.0;
    double m_exact = 0.0;
};
