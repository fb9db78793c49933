#pragma once

#include <QStringList>
#include <QTest>

#include <functional>

class QTemporaryDir;
class QenApplication;
class ScriptedPrompt;

// The one main() of the tests that need the program's application object: a
// QenApplication whose program folder (where quenor.ini is restored) is a
// fresh temporary folder and whose messages all go to a ScriptedPrompt.
// `programArguments` stand for the program's own command line, apart from the
// test runner's; `prepare` sets what the tests expect before they start.
int runAppTest(int argc, char **argv, const std::function<int()> &runTests,
               const QStringList &programArguments = {},
               const std::function<void(QenApplication &)> &prepare = {});

// What the main-window tests start from: the vocabulary and defaults loaded
// as at start-up, the window at its own size rather than maximised.
void prepareWindowTests(QenApplication &app);

// runAppTest for the window tests of class `Test`; `prepare` adds what they
// expect beyond prepareWindowTests.
template <class Test>
int runWindowTests(int argc, char **argv, const std::function<void(QenApplication &)> &prepare = {})
{
    return runAppTest(
        argc, argv,
        [&] {
            Test test;
            return QTest::qExec(&test, argc, argv);
        },
        {},
        [&](QenApplication &app) {
            prepareWindowTests(app);
            if (prepare)
                prepare(app);
        });
}

// The program folder and the prompt of the running application test.
const QTemporaryDir &appTestDir();
ScriptedPrompt *appTestPrompt();
