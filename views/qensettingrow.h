#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QIntValidator;
class QLabel;
class QLineEdit;
class QToolButton;
class QenDoubleValidator;
class QenGauge;

// One setting of the panel view (DEL, FGF, VA or CO): its value field, the
// gauge, the up and down buttons, the field with the top of its scale and,
// for a flow that can differ from the one in effect, the star that says so.
// The row keeps its widgets consistent with each other and with the values it
// is given; what a change does to the simulation is the panel view's business,
// told through the signals.
class QenSettingRow : public QObject
{
    Q_OBJECT

public:
    // The form's widgets of the row; `star` is null for a setting that is
    // always shown as set.
    struct Widgets
    {
        QLineEdit *field = nullptr;
        QLineEdit *limit = nullptr;
        QToolButton *up = nullptr;
        QToolButton *down = nullptr;
        QenGauge *gauge = nullptr;
        QLabel *star = nullptr;
    };
    // The texts the row hints with, already translated: the setting's name,
    // its unit and the name of its scale top.
    struct Names
    {
        QString name;
        QString unit;
        QString limitName;
    };
    using ValueSource = std::function<double()>;
    using TopSource = std::function<int()>;

    // `value` reads the setting, `top` the top of its scale, both from the
    // document at the moment they are asked.
    QenSettingRow(const Widgets &widgets, const Names &names, ValueSource value, TopSource top,
                  QObject *parent);
    ~QenSettingRow() override;

    QLineEdit *field() const { return m_w.field; }
    QLineEdit *limitField() const { return m_w.limit; }
    QToolButton *upButton() const { return m_w.up; }
    QToolButton *downButton() const { return m_w.down; }
    QenGauge *gauge() const { return m_w.gauge; }
    // A flow field may show the flow in effect rather than the setting.
    bool showsEffective() const { return m_w.star != nullptr; }
    bool owns(const QObject *object) const;

    // The highest value the field takes (a higher one is brought down to
    // it); negative for none.
    double valueTop() const;
    void setValueTop(double top);
    // The range the scale top may be set to.
    void setLimitRange(int bottom, int top);

    // The setting in the field (unless it shows the flow in effect) and on the gauge.
    void showSetting();
    // The gauge scaled to the top and showing the setting.
    void showGauge();
    // The gauge's scale ends at the top, with a tick and a long tick every
    // `tick` and `longTick` units of the setting.
    void scaleGauge(int tick, int longTick);
    // The scale top as the document has it.
    void showLimit();
    // The flow in effect at the displayed time, starred when it is not the
    // setting; `starred` false keeps the star hidden (at time 0).
    void showEffective(double effective, bool starred);
    // The setting in the field, ready to be edited.
    void reveal();
    void setReadOnly(bool readOnly);
    void hideStar();
    // A value above the scale top is shown in red.
    void verify();
    void setValuePixelSize(int px);

    // While the panel handles a new scale top (and may ask about it), a field
    // left with a bad top is not reported again.
    bool limitBusy() const { return m_limitBusy; }
    void setLimitBusy(bool busy) { m_limitBusy = busy; }
    // The scale top typed is one the field accepts; `top` is set to it.
    bool limitAcceptable(int *top) const;

    static QString twoDecimals(double value);

signals:
    // The value field was confirmed or left.
    void valueEdited();
    // A step was taken with `button`: the new value is in the field.
    void stepped(QToolButton *button);
    // The scale top was confirmed, or left unacceptable.
    void limitEdited();
    // A read-only flow field was clicked or entered: the panel may let it be edited.
    void revealRequested();
    void gaugeStarted();
    void gaugeStopped();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step(QToolButton *button);
    bool limitFilter(QEvent *event);
    bool fieldFilter(QEvent *event);

    Widgets m_w;
    ValueSource m_value;
    TopSource m_top;
    QenDoubleValidator *m_validator = nullptr;
    QIntValidator *m_limitValidator = nullptr;
    bool m_stepBusy = false;
    bool m_limitBusy = false;
};
