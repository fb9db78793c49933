#pragma once

#include "recordingdochost.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include "document/qendoc.h"

#include <QPair>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

// A new simulation document over a private copy of the built-in quenor.ini,
// with a scripted prompt and a recording host. The document may delete itself
// when its last window closes, as in the program; whatever is left of it goes
// with the fixture.
class DocFixture
{
public:
    // `agents` (display names) are added after the primary agent.
    DocFixture(const QStringList &agents = {});
    // `defaults` are written into [Defaults] before the document reads them.
    explicit DocFixture(const QList<QPair<QString, QVariant>> &defaults);
    virtual ~DocFixture();

    QenEngine *engine() { return doc->engine(); }
    // The display name of a catalogue agent by its INI name.
    QString agent(const char *iniName) const;
    // Puts `name` on the first agent, as the user would before a run.
    bool usePrimary(const QString &name) { return doc->setAgent(QenUserOrigin, 0, name); }
    void runTo(quint32 ms, RunTo mode = RunTo::PastStops) { runEngineTo(engine(), ms, mode); }
    // Runs the deletions closing windows (and a document) asked for.
    static void flushDeletes();

    QTemporaryDir dir;
    QString iniPath;
    ScriptedPrompt prompt;
    std::unique_ptr<RecordingDocHost> host;
    QPointer<QenDoc> doc;
    bool ok = false;

private:
    void open(const QList<QPair<QString, QVariant>> &defaults, const QStringList &agents);
};
