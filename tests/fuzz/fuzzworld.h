// What every fuzz target needs once per process: a core application (settings
// and resources want one), the built-in quenor.ini copied into a temporary
// folder, and a prompt that answers every question with its default.
#pragma once

#include "engine/qencatalogue.h"
#include "engine/qendefaults.h"
#include "engine/qenini.h"
#include "engine/qenprompt.h"
#include "engine/qenvocabulary.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// Q_INIT_RESOURCE declares a function and must not be used inside a namespace.
static inline void initFuzzResources()
{
    Q_INIT_RESOURCE(safecopy);
}

class SilentPrompt : public QenPrompt
{
public:
    int ask(Icon, const QString &, const QString &text, int, int defaultButton) override
    {
        ++asked;
        // A refusal the user cannot read is as bad as none.
        if (text.trimmed().isEmpty())
            __builtin_trap();
        return defaultButton != NoButton ? defaultButton : int(Ok);
    }
    int asked = 0;
};

struct FuzzWorld
{
    FuzzWorld()
    {
        static int argc = 1;
        static char name[] = "quenor_fuzz";
        static char *argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
        initFuzzResources();
        iniPath = dir.filePath(QStringLiteral("quenor.ini"));
        QFile::copy(QStringLiteral(":/safeCopy/quenor_en_US.ini"), iniPath);
        QFile::setPermissions(iniPath, QFile::ReadOwner | QFile::WriteOwner);
        ini.setPath(iniPath);
        catalogue.load(ini, QenVocabulary::colorNames(), &prompt);
        defaults = QenDefaults::load(ini);
    }
    std::unique_ptr<QCoreApplication> app;
    QTemporaryDir dir;
    QString iniPath;
    QenIni ini;
    SilentPrompt prompt;
    QenCatalogue catalogue;
    QenDefaults defaults;
};
