#include "app/qenmessageprompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

QMessageBox::ButtonRole roleOf(int button)
{
    switch (button) {
    case QenPrompt::Save:
    case QenPrompt::Ok:
    case QenPrompt::Yes:
    case QenPrompt::Open:
        return QMessageBox::AcceptRole;
    case QenPrompt::Discard:
        return QMessageBox::DestructiveRole;
    case QenPrompt::No:
        return QMessageBox::NoRole;
    default:
        return QMessageBox::RejectRole;
    }
}

const char buttonProperty[] = "quenorButton";

// Runs the box modally. Should its parent still go while it is open, Qt deletes
// the box with it; the owner then must not delete it a second time.
int execOwned(std::unique_ptr<QMessageBox> &box)
{
    const QPointer<QMessageBox> alive = box.get();
    const int result = box->exec();
    if (!alive) {
        (void)box.release();
        return QenPrompt::Cancel;
    }
    return result;
}

} // namespace

QWidget *QenMessagePrompt::ownerWindow(QWidget *active)
{
    // A window that deletes itself on closing (the start-up splash) would take
    // the box with it while the user has yet to answer: the box goes to the
    // first window above it that stays.
    QWidget *owner = active ? active->window() : nullptr;
    while (owner && owner->testAttribute(Qt::WA_DeleteOnClose))
        owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    return owner;
}

std::unique_ptr<QMessageBox> QenMessagePrompt::createBox(Icon icon, const QString &title,
                                                         const QString &text, int buttons,
                                                         int defaultButton, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Icon(icon), title, text,
        QMessageBox::StandardButtons(QMessageBox::StandardButton(buttons)), parent);
    box->setTextFormat(text.startsWith(QLatin1String("<p>")) ? Qt::RichText : Qt::PlainText);
    if (defaultButton != NoButton)
        box->setDefaultButton(QMessageBox::StandardButton(defaultButton));
    return box;
}

int QenMessagePrompt::ask(Icon icon, const QString &title, const QString &text, int buttons,
                          int defaultButton)
{
    auto box = createBox(icon, title, text, buttons, defaultButton,
                         ownerWindow(QApplication::activeWindow()));
    return execOwned(box);
}

std::unique_ptr<QMessageBox> QenMessagePrompt::createChoiceBox(Icon icon, const QString &title,
                                                               const QString &text,
                                                               const QList<Choice> &choices,
                                                               int defaultButton, QWidget *parent)
{
    auto box = createBox(icon, title, text, NoButton, NoButton, parent);
    for (const Choice &c : choices) {
        QPushButton *button = box->addButton(c.text, roleOf(c.button));
        button->setProperty(buttonProperty, c.button);
        if (c.button == defaultButton)
            box->setDefaultButton(button);
    }
    return box;
}

int QenMessagePrompt::choose(Icon icon, const QString &title, const QString &text,
                             const QList<Choice> &choices, int defaultButton)
{
    auto box = createChoiceBox(icon, title, text, choices, defaultButton,
                               ownerWindow(QApplication::activeWindow()));
    if (execOwned(box) == Cancel && !box)
        return Cancel;
    // Closed without a button (Escape, the title bar): the same as cancelling.
    const QAbstractButton *clicked = box->clickedButton();
    return clicked ? clicked->property(buttonProperty).toInt() : int(Cancel);
}
