#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QStatusBar;
class QenDoc;

// The status bar's message belongs to the simulation that made it: each
// document keeps its last message, the bar shows that of the active one, and
// a document that becomes active brings its own message, or none, along.
class QenStatusMessages : public QObject
{
    Q_OBJECT

public:
    QenStatusMessages(QStatusBar *bar, QObject *parent);

    // Remembers `text` for `doc` and shows it when `doc` is the active one.
    void show(QenDoc *doc, const QString &text);
    // `doc` is now the active document (null for none).
    void activate(QenDoc *doc);
    QString message(const QenDoc *doc) const;

    // Tells where the recording of a document just opened ends, naming
    // `fastFwd`, the command that goes there.
    void showOpened(QenDoc *doc, const QAction *fastFwd);
    // "Opened at 0:00:00 of a recording that runs to 0:29:57: Fast Fwd
    // (Edit menu) goes to the end"; empty when nothing is recorded.
    static QString openedText(const QenDoc *doc, const QString &fastFwd);

private:
    void forget(QObject *doc);

    QStatusBar *m_bar;
    QPointer<QenDoc> m_active;
    QHash<const QObject *, QString> m_messages;
};
