#include "views/qenfieldguard.h"

#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QToolTip>

QenFieldGuard::QenFieldGuard(QLineEdit *field, HintSource hint)
    : QObject(field), m_field(field), m_hint(std::move(hint))
{}

QenFieldGuard *QenFieldGuard::guard(QLineEdit *field, HintSource hint)
{
    if (!field)
        return nullptr;
    if (auto *old = field->findChild<QenFieldGuard *>(QString(), Qt::FindDirectChildrenOnly))
        delete old;
    auto *guard = new QenFieldGuard(field, std::move(hint));
    field->installEventFilter(guard);
    // A value confirmed with Enter or by leaving is no longer being edited.
    connect(field, &QLineEdit::editingFinished, guard, [field] { field->setModified(false); });
    connect(field, &QLineEdit::inputRejected, guard, [guard] {
        if (guard->m_hint)
            showHint(guard->m_field, guard->m_hint());
    });
    return guard;
}

void QenFieldGuard::guardSpinBoxes(QWidget *root)
{
    if (!root)
        return;
    const QList<QAbstractSpinBox *> spins = root->findChildren<QAbstractSpinBox *>();
    for (QAbstractSpinBox *spin : spins) {
        auto *edit = spin->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
        guard(edit, [spin] { return spinBoxHint(spin); });
    }
}

QString QenFieldGuard::rangeHint(const QString &name, const QString &low, const QString &high,
                                 const QString &unit)
{
    const QString range = tr("%1 takes %2 to %3").arg(name, low, high);
    return unit.isEmpty() ? range : tr("%1 %2", "range and its unit").arg(range, unit);
}

QString QenFieldGuard::spinBoxHint(const QAbstractSpinBox *spin)
{
    QString name;
    if (const QWidget *window = spin->window()) {
        const QList<QLabel *> labels = window->findChildren<QLabel *>();
        for (const QLabel *label : labels) {
            if (label->buddy() == spin) {
                name = label->text();
                break;
            }
        }
    }
    name.remove(QLatin1Char('&'));
    name = name.trimmed();
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QChar(0xff1a)))
        name.chop(1);
    if (name.isEmpty())
        name = spin->accessibleName().isEmpty() ? tr("This field") : spin->accessibleName();
    QString low;
    QString high;
    QString unit;
    // Written as the box itself writes its numbers, without group separators.
    QLocale locale = spin->locale();
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    if (const auto *d = qobject_cast<const QDoubleSpinBox *>(spin)) {
        low = locale.toString(d->minimum(), 'f', d->decimals());
        high = locale.toString(d->maximum(), 'f', d->decimals());
        unit = d->suffix().trimmed();
    } else if (const auto *i = qobject_cast<const QSpinBox *>(spin)) {
        low = locale.toString(i->minimum());
        high = locale.toString(i->maximum());
        unit = i->suffix().trimmed();
    }
    return rangeHint(name, low, high, unit);
}

void QenFieldGuard::showHint(QWidget *widget, const QString &text)
{
    // The status tip climbs to the first window that shows it; a dialog has
    // none, so the hint is handed on to the window the dialog belongs to.
    for (QWidget *w = widget; w; w = w->window()->parentWidget()) {
        QStatusTipEvent tip(text);
        if (QCoreApplication::sendEvent(w, &tip) && tip.isAccepted())
            return;
    }
    QToolTip::showText(widget->mapToGlobal(QPoint(0, widget->height())), text, widget);
}

bool QenFieldGuard::eventFilter(QObject *watched, QEvent *event)
{
    // A click into a value that is not being edited selects it whole, so
    // that what is typed next replaces it; a second click places the cursor.
    if (watched == m_field && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton && press->modifiers() == Qt::NoModifier &&
            !m_field->isModified() && m_field->selectedText() != m_field->text()) {
            if (!m_field->hasFocus())
                m_field->setFocus(Qt::MouseFocusReason);
            m_field->selectAll();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
