#include "views/qensettingrow.h"

#include "views/qendoublevalidator.h"
#include "views/qenfieldguard.h"
#include "views/qengauge.h"
#include "views/qenicon.h"

#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int releasedRepeatMs = 100;
constexpr int fastestRepeatMs = 10;
constexpr double stepPerClick = 0.05;
// A gauge counts in twentieths of the setting's unit.
constexpr double gaugeUnits = 20.0;

} // namespace

QenSettingRow::QenSettingRow(const Widgets &widgets, const Names &names, ValueSource value,
                             TopSource top, QObject *parent)
    : QObject(parent), m_w(widgets), m_value(std::move(value)), m_top(std::move(top))
{
    m_validator = new QenDoubleValidator(this);
    m_limitValidator = new QIntValidator(1, 1, this);
    m_w.field->setValidator(m_validator);
    m_w.limit->setValidator(m_limitValidator);
    m_w.up->setIcon(qenIcon(QStringLiteral(":/images/up.png")));
    m_w.down->setIcon(qenIcon(QStringLiteral(":/images/down.png")));

    // The guards go first, so that this row's own filter (which reveals a
    // flow field showing its effective value) sees a click before they do.
    QenFieldGuard::guard(m_w.field, [this, names] {
        return QenFieldGuard::rangeHint(names.name, twoDecimals(0), twoDecimals(valueTop()),
                                        names.unit);
    });
    QenFieldGuard::guard(m_w.limit, [this, names] {
        return QenFieldGuard::rangeHint(names.limitName,
                                        QString::number(m_limitValidator->bottom()),
                                        QString::number(m_limitValidator->top()));
    });
    // An unacceptable top never finishes editing on its own; it is caught as
    // the field is left so that the user is told.
    m_w.field->installEventFilter(this);
    m_w.limit->installEventFilter(this);

    connect(m_w.field, &QLineEdit::editingFinished, this, &QenSettingRow::valueEdited);
    connect(m_w.field, &QLineEdit::textChanged, this, &QenSettingRow::verify);
    connect(m_w.limit, &QLineEdit::editingFinished, this, &QenSettingRow::limitEdited);
    connect(m_w.limit, &QLineEdit::textChanged, this, &QenSettingRow::verify);
    for (QToolButton *button : {m_w.up, m_w.down})
        connect(button, &QToolButton::clicked, this, [this, button] { step(button); });
    connect(m_w.gauge, &QenGauge::FireQengaugeStart, this, &QenSettingRow::gaugeStarted);
    connect(m_w.gauge, &QenGauge::FireQengaugeChange, this,
            [this](short units) { m_w.field->setText(twoDecimals(units / gaugeUnits)); });
    connect(m_w.gauge, &QenGauge::FireQengaugeStop, this, &QenSettingRow::gaugeStopped);

    if (m_w.star) {
        QSizePolicy policy = m_w.star->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        m_w.star->setSizePolicy(policy);
        m_w.star->hide();
    }
}

QenSettingRow::~QenSettingRow() = default;

QString QenSettingRow::twoDecimals(double value)
{
    return QString::number(value, 'f', 2);
}

bool QenSettingRow::owns(const QObject *object) const
{
    return object && (object == m_w.field || object == m_w.limit || object == m_w.up ||
                      object == m_w.down || object == m_w.gauge);
}

double QenSettingRow::valueTop() const
{
    return m_validator->limit();
}

void QenSettingRow::setValueTop(double top)
{
    m_validator->setLimit(top);
}

void QenSettingRow::setLimitRange(int bottom, int top)
{
    m_limitValidator->setRange(bottom, top);
}

bool QenSettingRow::limitAcceptable(int *top) const
{
    QString text = m_w.limit->text();
    int pos = 0;
    const bool acceptable = m_limitValidator->validate(text, pos) == QValidator::Acceptable;
    if (top)
        *top = text.toInt();
    return acceptable;
}

// --- showing

void QenSettingRow::showSetting()
{
    const double value = m_value();
    if (!m_w.field->isReadOnly() || !m_w.star)
        m_w.field->setText(twoDecimals(value));
    showGauge();
}

void QenSettingRow::showGauge()
{
    m_w.gauge->setValue(int(std::lround(std::min(m_value(), double(m_top())) * gaugeUnits)));
}

void QenSettingRow::scaleGauge(int tick, int longTick)
{
    m_w.gauge->setMax(int(gaugeUnits) * m_top());
    m_w.gauge->setTickEvery(int(gaugeUnits) * tick);
    m_w.gauge->setLTickEvery(int(gaugeUnits) * longTick);
}

void QenSettingRow::showLimit()
{
    m_w.limit->setText(QString::number(m_top()));
}

void QenSettingRow::showEffective(double effective, bool starred)
{
    if (m_w.field->hasFocus())
        return;
    // Left without a change, the field shows the flow at the displayed time again.
    if (!m_w.field->isReadOnly())
        setReadOnly(true);
    const QString text = twoDecimals(effective);
    if (m_w.field->text() != text) {
        m_w.field->setText(text);
        m_w.field->setCursorPosition(0);
    }
    if (m_w.star)
        m_w.star->setVisible(starred && text != twoDecimals(m_value()));
}

void QenSettingRow::reveal()
{
    m_w.field->setText(twoDecimals(m_value()));
    setReadOnly(false);
    m_w.field->setFocus(Qt::OtherFocusReason);
}

void QenSettingRow::setReadOnly(bool readOnly)
{
    m_w.field->setReadOnly(readOnly);
    if (readOnly)
        m_w.field->setCursorPosition(0);
    if (m_w.star && !readOnly)
        m_w.star->hide();
}

void QenSettingRow::hideStar()
{
    if (m_w.star)
        m_w.star->hide();
}

void QenSettingRow::verify()
{
    bool ok = false;
    const int top = m_w.limit->text().toInt(&ok);
    const bool over = ok && m_w.field->text().toDouble() > top;
    QPalette p = m_w.field->palette();
    p.setColor(QPalette::Text, over ? Qt::red : Qt::black);
    m_w.field->setPalette(p);
}

void QenSettingRow::setValuePixelSize(int px)
{
    QFont f = m_w.field->font();
    if (px > 0 && f.pixelSize() != px) {
        f.setPixelSize(px);
        m_w.field->setFont(f);
    }
}

// --- stepping

void QenSettingRow::step(QToolButton *button)
{
    if (m_stepBusy)
        return;
    m_stepBusy = true;
    // Held down, the repeat speeds up; a plain click starts afresh.
    if (button->isDown())
        button->setAutoRepeatInterval(std::max(fastestRepeatMs, button->autoRepeatInterval() - 5));
    else
        button->setAutoRepeatInterval(releasedRepeatMs);
    const double current = m_value();
    double top = m_top();
    if (valueTop() >= 0.0)
        top = std::min(top, valueTop());
    // Above the gauge's top (a DEL typed past the scale) up leaves the
    // value alone rather than pulling it down to the top.
    double value = button == m_w.up ? std::max(current, std::min(current + stepPerClick, top))
                                    : std::max(current - stepPerClick, 0.0);
    value = std::max(0.0, std::round(value * 100.0) / 100.0);
    m_w.field->setText(twoDecimals(value));
    emit stepped(button);
    m_stepBusy = false;
}

// --- events

bool QenSettingRow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_w.limit)
        return limitFilter(event) || QObject::eventFilter(watched, event);
    if (watched == m_w.field)
        return fieldFilter(event) || QObject::eventFilter(watched, event);
    return QObject::eventFilter(watched, event);
}

bool QenSettingRow::limitFilter(QEvent *event)
{
    const QEvent::Type type = event->type();
    bool leaving = type == QEvent::FocusOut;
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        leaving = key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    if (leaving && !m_limitBusy && !limitAcceptable(nullptr)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                // Reported from outside the focus change that found it.
                if (!limitAcceptable(nullptr))
                    emit limitEdited();
            },
            Qt::QueuedConnection);
    }
    return false;
}

bool QenSettingRow::fieldFilter(QEvent *event)
{
    const QEvent::Type type = event->type();
    QLineEdit *field = m_w.field;
    if (m_w.star && field->isReadOnly() &&
        (type == QEvent::MouseButtonPress || type == QEvent::FocusIn)) {
        reveal();
        return false;
    }
    if (type == QEvent::FocusOut && !field->isReadOnly()) {
        QString text = field->text();
        int pos = 0;
        // Above its limit, the field takes the limit; left empty or as a lone
        // ".", it shows the setting again.
        m_validator->fixup(text);
        if (m_validator->validate(text, pos) != QValidator::Acceptable)
            field->setText(twoDecimals(m_value()));
        else if (text != field->text())
            field->setText(text);
    }
    return false;
}
