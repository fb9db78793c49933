#pragma once

#include "engine/qenprompt.h"

#include <memory>

class QMessageBox;
class QWidget;

// The prompt of the running program: every message is a modal QMessageBox over
// the active window, or over the window below it when the active one deletes
// itself on closing (the start-up splash). The prompt owns its box.
class QenMessagePrompt : public QenPrompt
{
public:
    int ask(Icon icon, const QString &title, const QString &text, int buttons,
            int defaultButton) override;

    // The box ask() shows, built but not yet shown.
    static std::unique_ptr<QMessageBox> createBox(Icon icon, const QString &title,
                                                  const QString &text, int buttons,
                                                  int defaultButton, QWidget *parent = nullptr);

    // The window a box shown while `active` is the active window is parented
    // to: never one that can close and delete the box under the user.
    static QWidget *ownerWindow(QWidget *active);

    int choose(Icon icon, const QString &title, const QString &text, const QList<Choice> &choices,
               int defaultButton) override;
    // The box choose() shows: its buttons carry the choices' texts, added in
    // their order, each with the role its button implies.
    static std::unique_ptr<QMessageBox>
    createChoiceBox(Icon icon, const QString &title, const QString &text,
                    const QList<Choice> &choices, int defaultButton, QWidget *parent = nullptr);
};
