#pragma once

#include "scriptedprompt.h"

#include "engine/qencatalogue.h"
#include "engine/qendefaults.h"
#include "engine/qenengine.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A host that records what the engine tells the desktop.
class RecordingHost : public QenEngineHost
{
public:
    struct Notice
    {
        int agentNumber;
        int hints;
        QenOrigin origin;
    };

    void notify(int agentNumber, int hints, QenOrigin origin) override
    {
        notices.append({agentNumber, hints, origin});
    }
    QenPrompt *prompt() override { return promptPtr; }
    bool ctrlHeld() const override { return ctrl; }
    bool isActiveDocument() const override { return active; }
    void beep() override { ++beeps; }
    void playSound(const QString &path) override { sounds.append(path); }
    void refreshActions() override { ++refreshes; }

    bool noticed(int agentNumber, int hints) const
    {
        for (const Notice &n : notices)
            if (n.agentNumber == agentNumber && n.hints == hints)
                return true;
        return false;
    }

    QList<Notice> notices;
    QenPrompt *promptPtr = nullptr;
    bool ctrl = false;
    bool active = true;
    int beeps = 0;
    QStringList sounds;
    int refreshes = 0;
};

// An engine over the catalogue and defaults of the built-in quenor.ini, copied
// into a temporary folder.
class EngineFixture
{
public:
    EngineFixture()
    {
        path = dir.filePath(QStringLiteral("quenor.ini"));
        QFile::copy(QStringLiteral(":/safeCopy/quenor_en_US.ini"), path);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
        ini.setPath(path);
        catalogue.load(ini, QenVocabulary::colorNames(), &prompt);
        defaults = QenDefaults::load(ini);
        host.promptPtr = &prompt;
        engine = std::make_unique<QenEngine>(&catalogue, &host);
        engine->setIni(ini);
        engine->reset(defaults);
    }

    QString displayName(const char *iniName) const
    {
        const int index = catalogue.findByName(QLatin1String(iniName));
        return index < 0 ? QString() : catalogue.at(index)->displayName;
    }
    const QenAnesthetic &agent(const char *iniName) const
    {
        return *catalogue.at(catalogue.findByName(QLatin1String(iniName)));
    }
    // Puts `iniName` on track 0 at time 0, as the user would.
    void usePrimary(const char *iniName)
    {
        QVERIFY(engine->setAgent(QenUserOrigin, 0, displayName(iniName)));
    }
    // Runs the idle timer's ticks until it stops, as the event loop would.
    void pump(int limit = 100000)
    {
        while (engine->timerActive() && limit-- > 0)
            engine->idle();
        QVERIFY(limit > 0);
    }
    // Computes `count` steps as fast as possible, the display following each.
    void steps(int count)
    {
        engine->setSpeed(QenSystemOrigin, 1000);
        for (int i = 0; i < count; ++i) {
            QVERIFY(engine->advanceOneStep());
            engine->advance(int(engine->simTime()));
        }
    }

    QTemporaryDir dir;
    QString path;
    QenIni ini;
    ScriptedPrompt prompt;
    QenCatalogue catalogue;
    QenDefaults defaults;
    RecordingHost host;
    std::unique_ptr<QenEngine> engine;
};
