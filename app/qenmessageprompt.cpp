#include "app/qenmessageprompt.h"

#include <QApplication>
#include <QMessageBox>

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
    auto box = createBox(icon, title, text, buttons, defaultButton, QApplication::activeWindow());
    return box->exec();
}
