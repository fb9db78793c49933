#include "app/qenaboutdlg.h"
#include "app/qencommandline.h"
#include "testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Every file and folder under `dir` with its size, permissions and time of
// change: what a run must leave as it was.
QStringList snapshot(const QString &dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries << QStringLiteral("%1 %2 %3 %4")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(int(info.permissions()), 0, 16)
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

// How to run a program as an ordinary user: as it is when the test is not
// run by the administrator; otherwise through setpriv as "nobody", whose
// `home` is then handed over. Empty when the administrator has no way to.
QStringList asOrdinaryUser(const QString &home)
{
#ifdef Q_OS_UNIX
    if (::geteuid() != 0)
        return {QString()};
    const struct passwd *nobody = ::getpwnam("nobody");
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (!nobody || nobody->pw_uid == 0 || setpriv.isEmpty())
        return {};
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    QDirIterator it(home, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    if (::chown(QFile::encodeName(home).constData(), uid, gid) != 0)
        return {};
    while (it.hasNext())
        if (::chown(QFile::encodeName(it.next()).constData(), uid, gid) != 0)
            return {};
    return {setpriv, QStringLiteral("--reuid=%1").arg(uid), QStringLiteral("--regid=%1").arg(gid),
            QStringLiteral("--clear-groups"), QStringLiteral("--")};
#else
    Q_UNUSED(home);
    return {QString()};
#endif
}

} // namespace

// The program as a user meets it on the command line and after installing it.
class TestInstallation : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("textHolds");
        QTest::addColumn<bool>("question"); // answered without a display
        const QStringList none;
        QTest::newRow("files") << QStringList{"a.qen", "dir/b.qen"} << int(QenCommandLine::Run)
                               << QStringList{"a.qen", "dir/b.qen"} << QString() << false;
        QTest::newRow("nothing") << none << int(QenCommandLine::Run) << none << QString() << false;
        QTest::newRow("a file named like an option")
            << QStringList{"--", "-odd.qen"} << int(QenCommandLine::Run) << QStringList{"-odd.qen"}
            << QString() << false;
        QTest::newRow("help") << QStringList{"--help"} << int(QenCommandLine::ShowHelp) << none
                              << "--version" << true;
        QTest::newRow("short help") << QStringList{"-h", "a.qen"} << int(QenCommandLine::ShowHelp)
                                    << none << "[files...]" << true;
        QTest::newRow("version") << QStringList{"--version"} << int(QenCommandLine::ShowVersion)
                                 << none << "Quenor " + QenAboutDlg::versionText() << true;
        QTest::newRow("unknown option")
            << QStringList{"a.qen", "--bogus"} << int(QenCommandLine::Refuse) << none << "'bogus'"
            << false;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QStringList, files);
        QFETCH(QString, textHolds);
        QFETCH(bool, question);
        QByteArrayList raw{"quenor"};
        for (const QString &argument : arguments)
            raw << argument.toLocal8Bit();
        QList<char *> argv;
        for (QByteArray &argument : raw)
            argv << argument.data();
        QCOMPARE(QenCommandLine::asksQuestion(int(argv.size()), argv.data()), question);
        const QenCommandLine line = QenCommandLine::parse(QStringList{"quenor"} + arguments);
        QCOMPARE(int(line.action), action);
        QCOMPARE(line.files, files);
        QVERIFY2(line.text.contains(textHolds), qPrintable(line.text));
        if (line.action == QenCommandLine::Refuse)
            QVERIFY(!line.text.contains('\n'));
    }

    // Installs into a fresh prefix and runs the programs from there, with the
    // program folder read-only as it is for every installed copy.
    void installedTree()
    {
        QTemporaryDir prefix;
        QTemporaryDir home;
        QVERIFY(prefix.isValid() && home.isValid());
        const Run install =
            run(QStringLiteral(QUENOR_CMAKE),
                {"--install", QStringLiteral(QUENOR_BUILD_DIR), "--prefix", prefix.path()});
        QVERIFY2(install.status == 0, install.err.constData());

        const QString programDir = prefix.filePath("lib/quenor");
        const QStringList expected = {
            "bin/quenor",
            "bin/quenor-run",
            "lib/quenor/quenor",
            "lib/quenor/quenor-run",
            "lib/quenor/Quenor.qhc",
            "lib/quenor/Quenor.qch",
            "lib/quenor/Quenor_zh_CN.qhc",
            "lib/quenor/Quenor_zh_CN.qch",
            "lib/quenor/examples/en_US/01-five-agents.qen",
            "lib/quenor/examples/en_US/04-high-and-low-flow.scenario",
            "lib/quenor/examples/zh_CN/08-switches.qen",
            "lib/quenor/examples/zh_CN/08-switches.scenario",
            "lib/quenor/quenor_lg.png",
            "lib/quenor/language/quenor_zh_CN.qm",
            "lib/quenor/language/qt_zh_CN.qm",
            "lib/quenor/language/qtbase_zh_CN.qm",
            "share/applications/org.quenor.Quenor.desktop",
            "share/metainfo/org.quenor.Quenor.metainfo.xml",
            "share/mime/packages/org.quenor.Quenor.xml",
            "share/icons/hicolor/48x48/apps/org.quenor.Quenor.png",
            "share/icons/hicolor/scalable/apps/org.quenor.Quenor.svg",
        };
        for (const QString &file : expected)
            QVERIFY2(QFileInfo::exists(prefix.filePath(file)), qPrintable(file + " missing"));
        // The links in bin lead into the program folder, so that the program
        // finds its files beside its real self.
        QCOMPARE(QFileInfo(prefix.filePath("bin/quenor")).canonicalFilePath(),
                 QFileInfo(programDir + "/quenor").canonicalFilePath());

        // As a system-wide install leaves it: everyone may read and run, no
        // one may write; the way down to it is open to every user.
        const auto folderPermissions = QFile::permissions(programDir);
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(prefix.path(), open));
        QVERIFY(QFile::setPermissions(programDir, QFile::ReadOwner | QFile::ExeOwner |
                                                      QFile::ReadGroup | QFile::ExeGroup |
                                                      QFile::ReadOther | QFile::ExeOther));
        const QStringList programBefore = snapshot(programDir);
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        // Without it the toolkit warns on stderr, where the one-line refusal
        // is checked.
        environment.insert("XDG_RUNTIME_DIR", home.path());

        const Run version = run(prefix.filePath("bin/quenor"), {"--version"}, environment);
        const Run refused = run(prefix.filePath("bin/quenor"), {"--bogus"}, environment);
        const Run batch =
            run(prefix.filePath("bin/quenor-run"),
                {"--agent", "Halothane", "--minutes", "1", "--save", home.filePath("one.qen")},
                environment);
        // A teacher remakes an installed lesson from its scenario.
        const QString installedLesson = programDir + "/examples/en_US/04-high-and-low-flow";
        const Run remade =
            run(prefix.filePath("bin/quenor-run"),
                {"--scenario", installedLesson + ".scenario", "--save", home.filePath("flows.qen")},
                environment);
        const QStringList programFiles = QDir(programDir).entryList(QDir::Files);

        // A handout from the command line, by a user who cannot write the
        // program folder: the reports, the CSV and nothing else.
        QTemporaryDir userHome;
        QVERIFY(userHome.isValid());
        QVERIFY(QFile::setPermissions(userHome.path(), open));
        const QStringList wrapper = asOrdinaryUser(userHome.path());
        const QString lesson = userHome.filePath("lesson");
        Run handout;
        if (!wrapper.isEmpty()) {
            auto userEnvironment = environment;
            userEnvironment.insert("HOME", userHome.path());
            userEnvironment.insert("XDG_CONFIG_HOME", userHome.filePath("config"));
            userEnvironment.insert("XDG_RUNTIME_DIR", userHome.path());
            userEnvironment.insert("TMPDIR", userHome.path());
            const QStringList arguments = {
                "--agent",       "Sevoflurane=2",    "--agent",   "Desflurane=6",
                "--agent",       "Nitrous Oxide=50", "--minutes", "20",
                "--description", "Three agents",     "--xml",     lesson + ".xml",
                "--html",        lesson + ".html",   "--pdf",     lesson + ".pdf",
                "--out",         lesson + ".csv"};
            const QString runner = prefix.filePath("bin/quenor-run");
            handout = wrapper.first().isEmpty()
                          ? run(runner, arguments, userEnvironment)
                          : run(wrapper.first(), wrapper.mid(1) + QStringList{runner} + arguments,
                                userEnvironment);
        }
        const QStringList programAfter = snapshot(programDir);
        QFile::setPermissions(programDir, folderPermissions);

        QCOMPARE(version.status, 0);
        QCOMPARE(version.out, "Quenor " + QenAboutDlg::versionText().toUtf8() + '\n');
        QCOMPARE(refused.status, 2);
        QCOMPARE(refused.err.count('\n'), 1);
        QVERIFY(refused.out.isEmpty());
        QVERIFY2(batch.status == 0, batch.err.constData());
        // The settings went to the user's folder, restored from the built-in
        // copy; the program folder gained nothing.
        QVERIFY(QFileInfo::exists(home.filePath("config/quenor/quenor.ini")));
        QVERIFY(!programFiles.contains("quenor.ini"));
        QVERIFY(QFileInfo(home.filePath("one.qen")).size() > 0);
        QVERIFY2(remade.status == 0, remade.err.constData());
        QCOMPARE(fileContents(home.filePath("flows.qen")), fileContents(installedLesson + ".qen"));

        if (wrapper.isEmpty())
            QSKIP("The administrator has no way here to run as an ordinary user (setpriv and "
                  "the user nobody)");
        QVERIFY2(handout.status == 0, handout.err.constData());
        QVERIFY2(handout.err.isEmpty(), handout.err.constData());
        QVERIFY(fileContents(lesson + ".xml").contains("<gasused"));
        QVERIFY(fileContents(lesson + ".html").contains("Three agents"));
        QVERIFY(fileContents(lesson + ".pdf").startsWith("%PDF"));
        QCOMPARE(fileContents(lesson + ".csv").count('\n'), 1 + 201 * 3);
        QVERIFY(fileContents(lesson + "_img.png").startsWith("\x89PNG"));
        QCOMPARE(programAfter, programBefore);
        QVERIFY(QFileInfo::exists(userHome.filePath("config/quenor/quenor.ini")));
    }
};

QTEST_MAIN(TestInstallation)
#include "tst_installation.moc"
