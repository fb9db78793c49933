#include "app/qenstatusmessages.h"

#include "document/qendoc.h"
#include "engine/qenengine.h"

#include <QAction>
#include <QRegularExpression>
#include <QStatusBar>

QenStatusMessages::QenStatusMessages(QStatusBar *bar, QObject *parent) : QObject(parent), m_bar(bar)
{}

void QenStatusMessages::show(QenDoc *doc, const QString &text)
{
    if (!doc)
        return;
    if (!m_messages.contains(doc))
        connect(doc, &QObject::destroyed, this, &QenStatusMessages::forget);
    m_messages.insert(doc, text);
    if (doc == m_active || !m_active)
        m_bar->showMessage(text);
}

void QenStatusMessages::activate(QenDoc *doc)
{
    if (doc == m_active)
        return;
    m_active = doc;
    const QString text = m_messages.value(doc);
    if (text.isEmpty())
        m_bar->clearMessage();
    else
        m_bar->showMessage(text);
}

QString QenStatusMessages::message(const QenDoc *doc) const
{
    return m_messages.value(doc);
}

void QenStatusMessages::forget(QObject *doc)
{
    m_messages.remove(doc);
}

QString QenStatusMessages::openedText(const QenDoc *doc, const QString &fastFwd)
{
    const QenEngine *e = doc ? doc->engine() : nullptr;
    if (!e || e->endTime() == 0)
        return QString();
    return tr("Opened at %1 of a recording that runs to %2: %3 goes to the end")
        .arg(QenEngine::clockText(e->displayTime()), QenEngine::clockText(e->endTime()), fastFwd);
}

void QenStatusMessages::showOpened(QenDoc *doc, const QAction *fastFwd)
{
    QString name = tr("Fast Fwd");
    QString key = tr("Edit menu");
    if (fastFwd) {
        // "&Fast Fwd" or "快进(&F)": the name without its mnemonic.
        static const QRegularExpression mnemonic(QStringLiteral("\\(&[^)]\\)|&"));
        name = fastFwd->text().remove(mnemonic);
        if (!fastFwd->shortcut().isEmpty())
            key = fastFwd->shortcut().toString(QKeySequence::NativeText);
    }
    const QString text = openedText(doc, tr("%1 (%2)").arg(name, key));
    if (!text.isEmpty())
        show(doc, text);
}
