// Help, About and Send in the running program: the help viewer is started
// once, steered through its standard input and ended with the program; the
// About box shows the version; Send hands the simulation over or says why it
// cannot. The viewer and the mail command are stand-in scripts that record
// what they receive.

#include "app/qenaboutdlg.h"
#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenassistant.h"
#include "app/qenmainwindow.h"
#include "document/qendoc.h"
#include "document/qenmailclient.h"
#include "apptestmain.h"
#include "scriptedprompt.h"
#include "testfiles.h"
#include "ui_qenabout.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

namespace {
const QTemporaryDir *programDir = nullptr;
// Where the stand-in viewer lives and records what it receives.
QTemporaryDir *viewerDir = nullptr;
ScriptedPrompt *prompt = nullptr;

// A viewer that records each start (its process id and arguments) and every
// byte sent to it, and runs until it is ended.
QString viewerStandIn(const QString &dir)
{
    return writeScript(dir, QStringLiteral("assistant"),
                       QStringLiteral("d=$(dirname \"$0\")\n"
                                      "echo \"$$ $*\" >> \"$d/starts\"\n"
                                      "exec cat >> \"$d/input\"\n"));
}

bool processAlive(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

QByteArray setSource(const char *page)
{
    return QByteArray("SetSource qthelp://org.quenor.help/quenor/") + page + '\0';
}
} // namespace

class TestQenHelp : public QObject
{
    Q_OBJECT

    QStringList starts() const
    {
        return QString::fromUtf8(fileContents(viewerDir->filePath(QStringLiteral("starts"))))
            .split('\n', Qt::SkipEmptyParts);
    }
    QByteArray input() const { return fileContents(viewerDir->filePath(QStringLiteral("input"))); }

private slots:
    void init()
    {
        prompt->clear();
        QFile::remove(viewerDir->filePath(QStringLiteral("starts")));
        QFile::remove(viewerDir->filePath(QStringLiteral("input")));
    }
    void cleanup() { QCOMPARE(prompt->pending(), 0); }

    void versionCountsDaysSince2000_data()
    {
        QTest::addColumn<QString>("compilerDate");
        QTest::addColumn<QString>("version");
        QTest::newRow("first day") << "Jan  1 2000"
                                   << "4.1.0";
        // 2000 is a leap year: 31 + 29 days.
        QTest::newRow("after February 2000") << "Mar  1 2000"
                                             << "4.1.60";
        // 26 years with 7 leap days, then 334 days to December and 7 more.
        QTest::newRow("day padded with a blank") << "Dec  8 2026"
                                                 << "4.1.9838";
        QTest::newRow("two-digit day") << "Oct 15 2001"
                                       << "4.1.653";
        QTest::newRow("unreadable") << "Foo 12 2001"
                                    << "4.1.0";
    }
    void versionCountsDaysSince2000()
    {
        QFETCH(QString, compilerDate);
        QFETCH(QString, version);
        QCOMPARE(QenAboutDlg::versionText(QenAboutDlg::buildDate(compilerDate)), version);
    }

    void viewerIsLookedForBesideTheProgramThenInQtThenOnPath_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("beside the program") << "program";
        QTest::newRow("Qt's binaries folder") << "qt";
        QTest::newRow("on PATH") << "path";
    }
    void viewerIsLookedForBesideTheProgramThenInQtThenOnPath()
    {
        QFETCH(QString, where);
        QTemporaryDir program, path;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(path.path()));
        QenAssistant assistant(prompt, program.path());
        assistant.setProgram(QString());
        QString expected;
        if (where == QLatin1String("program")) {
            expected = viewerStandIn(program.path());
            viewerStandIn(path.path());
        } else if (where == QLatin1String("qt")) {
            expected =
                QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/assistant");
            viewerStandIn(path.path());
        } else {
            assistant.setSearchPaths({program.path()});
            expected = viewerStandIn(path.path());
        }
        const QString found = assistant.findProgram();
        qputenv("PATH", oldPath);
        if (where == QLatin1String("qt") && !QFile::exists(expected))
            QSKIP("Qt's viewer is not installed here");
        QCOMPARE(found, expected);
    }

    void noViewerAnywhereSaysWhereItLookedAndStartsNothing()
    {
        QTemporaryDir program, path;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(path.path()));
        QenAssistant assistant(prompt, program.path());
        assistant.setProgram(QString());
        assistant.setSearchPaths({program.path()});
        prompt->expect(QenPrompt::Ok);
        assistant.showDocumentation(QStringLiteral("index.html"));
        qputenv("PATH", oldPath);

        QCOMPARE(prompt->records().size(), 1);
        const ScriptedPrompt::Record &r = prompt->records().at(0);
        QCOMPARE(r.icon, QenPrompt::Critical);
        QVERIFY(r.text.startsWith(QStringLiteral("Unable to launch Qt Assistant (")));
        QVERIFY(r.text.contains(QDir::toNativeSeparators(program.path() + "/assistant")));
        QVERIFY(r.text.contains(QStringLiteral("PATH")));
        QVERIFY(!assistant.isRunning());
        QCOMPARE(assistant.processId(), 0);
    }

    void missingCollectionIsReportedNotStarted()
    {
        QTemporaryDir empty;
        QenAssistant assistant(prompt, empty.path());
        assistant.setProgram(viewerDir->filePath(QStringLiteral("assistant")));
        prompt->expect(QenPrompt::Ok);
        assistant.showDocumentation(QStringLiteral("index.html"));
        QCOMPARE(prompt->records().size(), 1);
        QVERIFY(prompt->records().at(0).text.contains(QStringLiteral("Quenor.qhc")));
        QVERIFY(!assistant.isRunning());
        QVERIFY(starts().isEmpty());
    }

    // The help of the program's language when it is there, else the English.
    void collectionOfTheProgramsLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        const QStringList both{"Quenor.qhc", "Quenor_zh_CN.qhc"};
        QTest::newRow("Chinese") << "zh_CN" << both << "Quenor_zh_CN.qhc";
        QTest::newRow("Chinese, not installed")
            << "zh_CN" << QStringList{"Quenor.qhc"} << "Quenor.qhc";
        QTest::newRow("English") << "en_US" << both << "Quenor.qhc";
        QTest::newRow("German, none") << "de_DE" << both << "Quenor.qhc";
    }
    void collectionOfTheProgramsLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString &name : present) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        const QString found = QenAssistant(prompt, dir.path()).collectionFile();
        QLocale::setDefault(before);
        QCOMPARE(QDir::toNativeSeparators(found), QDir::toNativeSeparators(dir.filePath(expected)));
    }

    void oneViewerServesEveryRequestAndEndsWithTheProgram()
    {
        auto w = std::make_unique<QenMainWindow>();
        QAction *help = w->action(QStringLiteral("actionHelpTopic"));
        QCOMPARE(help->shortcut(), QKeySequence(Qt::Key_F1));
        help->trigger();
        QTRY_COMPARE(input(), setSource("index.html"));
        // The overlay's and the dialogs' Help buttons reach the same viewer.
        w->showHelpPage(QStringLiteral("overlay.html"));
        QTRY_COMPARE(input(), setSource("index.html") + setSource("overlay.html"));

        const QStringList started = starts();
        QCOMPARE(started.size(), 1);
        const QString collection = programDir->filePath(QStringLiteral("Quenor.qhc"));
        QCOMPARE(started.at(0).section(' ', 1),
                 QStringLiteral("-collectionFile %1 -enableRemoteControl").arg(collection));
        const qint64 pid = started.at(0).section(' ', 0, 0).toLongLong();
        QVERIFY(processAlive(pid));

        QVERIFY(w->close());
        QVERIFY(!processAlive(pid));
        w.reset();
    }

    void aViewerTheUserClosedIsStartedAgain()
    {
        QenAssistant assistant(prompt, programDir->path());
        assistant.showDocumentation(QStringLiteral("index.html"));
        QTRY_COMPARE(starts().size(), 1);
        // The viewer has taken its first page before the user closes it.
        QTRY_COMPARE(input(), setSource("index.html"));
        const qint64 pid = assistant.processId();
        ::kill(pid_t(pid), SIGTERM);
        QTRY_VERIFY(!assistant.isRunning());
        assistant.showDocumentation(QStringLiteral("lesson.html"));
        QTRY_COMPARE(starts().size(), 2);
        QTRY_COMPARE(input(), setSource("index.html") + setSource("lesson.html"));
    }

    void aboutShowsNameSubjectAndVersion()
    {
        QenMainWindow w;
        QString title, text;
        QSize size;
        w.setDialogRunner([&](QDialog &dialog) {
            auto &about = static_cast<QenAboutDlg &>(dialog);
            title = dialog.windowTitle();
            text = about.form()->lText->text();
            size = dialog.size();
            return true;
        });
        w.action(QStringLiteral("actionAbout"))->trigger();
        QCOMPARE(title, QStringLiteral("About Quenor®"));
        QVERIFY(text.contains(QStringLiteral("<b>")));
        QVERIFY(text.contains(QStringLiteral("Quenor®")));
        QVERIFY(text.contains(QStringLiteral("<p>") + QenAboutDlg::versionText() + "</p>"));
        QVERIFY(!text.contains(QStringLiteral("%1")));
        QCOMPARE(size.width(), 320);
    }

    void sendIsDisabledWithAReasonWithoutAMailCommand()
    {
        QenMainWindow w;
        QVERIFY(w.newFile());
        w.host()->setMailClient(
            std::make_unique<QenMailClient>(programDir->filePath(QStringLiteral("no-mailer"))));
        w.updateAllActions();
        QAction *send = w.action(QStringLiteral("actionSend"));
        QVERIFY(!send->isEnabled());
        QVERIFY(send->toolTip().contains(QStringLiteral("xdg-email")));

        // With a mail command the active simulation goes out under its name.
        QTemporaryDir mailDir;
        const QString mailer =
            writeScript(mailDir.path(), QStringLiteral("mailer"),
                        QStringLiteral("printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args\"\n"));
        w.host()->setMailClient(std::make_unique<QenMailClient>(mailer));
        w.updateAllActions();
        QVERIFY(send->isEnabled());
        send->trigger();
        QTRY_VERIFY(!fileContents(mailDir.filePath(QStringLiteral("args"))).isEmpty());
        const QString args =
            QString::fromUtf8(fileContents(mailDir.filePath(QStringLiteral("args"))));
        QVERIFY(args.startsWith(QStringLiteral("--attach\n")));
        QVERIFY(args.trimmed().endsWith(w.activeDocument()->title() + QStringLiteral(".qen")));
        for (QenDoc *doc : w.documents())
            doc->setModified(false);
    }
};

int main(int argc, char *argv[])
{
    QTemporaryDir viewer;
    viewerDir = &viewer;
    qputenv("QUENOR_ASSISTANT", QFile::encodeName(viewerStandIn(viewer.path())));
    return runWindowTests<TestQenHelp>(argc, argv, [](QenApplication &) {
        prompt = appTestPrompt();
        programDir = &appTestDir();
        // The help file the viewer is started on; the stand-in never reads it.
        QFile collection(programDir->filePath(QStringLiteral("Quenor.qhc")));
        if (!collection.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(collection.fileName()));
    });
}

#include "tst_qenhelp.moc"
