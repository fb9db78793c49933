#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAbstractSpinBox;
class QLineEdit;
class QWidget;

// Makes a value field behave the way the help describes it: clicking into a
// value that is not being edited (or tabbing in) selects its whole text, so
// that what the user types replaces the value, and a second click places the
// cursor; a keystroke the field refuses is never silent, a hint naming the
// field's range goes to the status bar.
class QenFieldGuard : public QObject
{
    Q_OBJECT

public:
    using HintSource = std::function<QString()>;

    // Guards `field`; `hint` is asked for its text at the moment a key is
    // refused, so that a range that follows the agent is always current.
    static QenFieldGuard *guard(QLineEdit *field, HintSource hint);
    // Guards every spin box under `root`, each named by the label whose buddy
    // it is and ranged by its own minimum, maximum and suffix.
    static void guardSpinBoxes(QWidget *root);

    // "FGF takes 0.00 to 500.00 L/min"
    static QString rangeHint(const QString &name, const QString &low, const QString &high,
                             const QString &unit = QString());
    // The hint of a spin box, from its label and its own range.
    static QString spinBoxHint(const QAbstractSpinBox *spin);

    // Puts `text` in the status bar of the main window under `widget`, or of
    // the window a dialog belongs to.
    static void showHint(QWidget *widget, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QenFieldGuard(QLineEdit *field, HintSource hint);

    QLineEdit *m_field;
    HintSource m_hint;
};
