#pragma once

#include "document/qendochost.h"

#include <QList>
#include <QString>
#include <QStringList>

class QenDoc;

// A document host for tests: answers the save dialog from `answer` and
// records what the documents ask of the desktop.
class RecordingDocHost : public QenDocHost
{
public:
    using QenDocHost::QenDocHost;

    QString getSaveFileName(const QString &title, const QString &proposal,
                            const QString &filter) override
    {
        asked = {title, proposal, filter};
        return answer;
    }
    void recentFilesChanged() override { ++recentChanges; }
    void beep() override { ++beeps; }
    void playSound(const QString &path) override { sounds.append(path); }
    QList<const QenDoc *> openDocuments() const override { return docs; }

    QString answer;    // the save dialog's answer; empty cancels
    QStringList asked; // title, proposal and filter of the last save dialog
    int recentChanges = 0;
    int beeps = 0;
    QStringList sounds;
    QList<const QenDoc *> docs; // what the colour chooser sees as open
};
