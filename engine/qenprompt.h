#pragma once

#include <QList>
#include <QString>

// Every message box and question of the program goes through this interface, so
// that the engine and the document can ask without knowing about widgets, and
// tests can script the answers. Icon and button values match QMessageBox's.
class QenPrompt
{
public:
    enum Icon { NoIcon = 0, Information = 1, Warning = 2, Critical = 3, Question = 4 };
    enum Button {
        NoButton = 0x00000000,
        Ok = 0x00000400,
        Save = 0x00000800,
        Open = 0x00002000,
        Yes = 0x00004000,
        No = 0x00010000,
        Abort = 0x00040000,
        Retry = 0x00080000,
        Ignore = 0x00100000,
        Close = 0x00200000,
        Cancel = 0x00400000,
        Discard = 0x00800000,
    };

    virtual ~QenPrompt() = default;

    // Shows one message and returns the button that closed it (one of `buttons`).
    // Texts that start with "<p>" are rich text.
    virtual int ask(Icon icon, const QString &title, const QString &text, int buttons,
                    int defaultButton) = 0;

    // One button of a question whose buttons carry texts of their own.
    struct Choice
    {
        int button; // what ask() would return for it; also decides its role
        QString text;
    };
    // A question with buttons added in the given order, each with its own
    // text; returns the button chosen. Without a box of its own to show, it
    // asks with the standard buttons.
    virtual int choose(Icon icon, const QString &title, const QString &text,
                       const QList<Choice> &choices, int defaultButton)
    {
        int buttons = NoButton;
        for (const Choice &c : choices)
            buttons |= c.button;
        return ask(icon, title, text, buttons, defaultButton);
    }

    int information(const QString &title, const QString &text, int buttons = Ok,
                    int defaultButton = NoButton)
    {
        return ask(Information, title, text, buttons, defaultButton);
    }
    int warning(const QString &title, const QString &text, int buttons = Ok,
                int defaultButton = NoButton)
    {
        return ask(Warning, title, text, buttons, defaultButton);
    }
    int critical(const QString &title, const QString &text, int buttons = Ok,
                 int defaultButton = NoButton)
    {
        return ask(Critical, title, text, buttons, defaultButton);
    }
    int question(const QString &title, const QString &text, int buttons = Yes | No,
                 int defaultButton = NoButton)
    {
        return ask(Question, title, text, buttons, defaultButton);
    }
};
