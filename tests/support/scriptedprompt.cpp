#include "scriptedprompt.h"

#include <QTest>

int ScriptedPrompt::ask(Icon icon, const QString &title, const QString &text, int buttons,
                        int defaultButton)
{
    m_records.append({icon, title, text, buttons, defaultButton});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (!m_permissive)
        QTest::qFail(qPrintable(QStringLiteral("unexpected prompt: ") + text), __FILE__, __LINE__);
    if (defaultButton != NoButton)
        return defaultButton;
    return (buttons & Ok) ? int(Ok) : buttons & -buttons;
}
