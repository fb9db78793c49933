#include "apptestmain.h"

#include "scriptedprompt.h"

#include "app/qenapplication.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {
QTemporaryDir *testDir = nullptr;
ScriptedPrompt *testPrompt = nullptr;
} // namespace

int runAppTest(int argc, char **argv, const std::function<int()> &runTests,
               const QStringList &programArguments,
               const std::function<void(QenApplication &)> &prepare)
{
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    testDir = &dir;

    std::vector<QByteArray> words{QByteArrayLiteral("quenor")};
    for (const QString &argument : programArguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char *> appArgv;
    for (QByteArray &word : words)
        appArgv.push_back(word.data());
    appArgv.push_back(nullptr);
    int appArgc = int(words.size());

    // The user's folder too is the test's own: a test never writes into the
    // real user's configuration.
    QenApplication app(appArgc, appArgv.data(), dir.path(), dir.filePath(QStringLiteral("user")));
    auto scripted = std::make_unique<ScriptedPrompt>();
    testPrompt = scripted.get();
    app.setPrompt(std::move(scripted));
    if (prepare)
        prepare(app);
    const int result = runTests();
    testPrompt = nullptr;
    testDir = nullptr;
    return result;
}

void prepareWindowTests(QenApplication &app)
{
    app.loadVocabulary();
    app.loadDefaults();
    app.setValue(QStringLiteral("MainWindow"), QStringLiteral("Max"), false);
}

const QTemporaryDir &appTestDir()
{
    return *testDir;
}

ScriptedPrompt *appTestPrompt()
{
    return testPrompt;
}
