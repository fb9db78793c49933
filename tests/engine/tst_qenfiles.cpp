#include "engine/qencatalogue.h"
#include "engine/qendefaults.h"
#include "engine/qenfiles.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestQenFiles : public QObject
{
    Q_OBJECT

private slots:
    void missingIniIsRestored_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("copy");
        QTest::newRow("en_US") << "en_US"
                               << "en_US";
        QTest::newRow("zh_CN") << "zh_CN"
                               << "zh_CN";
        QTest::newRow("en_GB has no copy") << "en_GB"
                                           << "en_US";
        QTest::newRow("de_DE has no copy") << "de_DE"
                                           << "en_US";
        QTest::newRow("C locale") << "C"
                                  << "en_US";
    }
    void missingIniIsRestored()
    {
        QFETCH(QString, locale);
        QFETCH(QString, copy);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = QenFiles::findFile("quenor.ini", QString(), dir.path(), locale);
        QCOMPARE(path, dir.filePath("quenor.ini"));
        QCOMPARE(fileContents(path),
                 fileContents(QStringLiteral(":/safeCopy/quenor_%1.ini").arg(copy)));
        QVERIFY(QFile::permissions(path) & QFile::WriteOwner);

        // The restored file is one the program starts from: every agent loads,
        // the defaults are the delivered ones, and settings can be written.
        const QenIni ini(path);
        QenCatalogue catalogue;
        QCOMPARE(catalogue.load(ini, QenVocabulary::colorNames(), nullptr), 9);
        QCOMPARE(QenDefaults::load(ini).speed, 60);
        ini.setValue("Defaults", "SplashTime", 2);
        QCOMPARE(QenIni(path).value("Defaults", "splashtime").toInt(), 2);
    }

    void existingFileIsKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("quenor.ini");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Agents]\nAgents=Mine\n");
        }
        QCOMPARE(QenFiles::findFile("quenor.ini", QString(), dir.path(), "en_US"), path);
        QCOMPARE(fileContents(path), QByteArray("[Agents]\nAgents=Mine\n"));
    }

    void relativePathIsLookedUp()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("language"));
        const QString path = dir.filePath("language/qen_en_US.xsl");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(QenFiles::findFile("qen.xsl", "language/qen_en_US.xsl", dir.path(), "en_US"),
                 path);
    }

    void stylesheetComesBackWithItsFolder()
    {
        // A fresh program folder has no "language" folder yet.
        QTemporaryDir dir;
        const QString path =
            QenFiles::findFile("qen.xsl", "language/qen_zh_CN.xsl", dir.path(), "zh_CN");
        QCOMPARE(path, dir.filePath("language/qen_zh_CN.xsl"));
        QCOMPARE(fileContents(path), fileContents(":/safeCopy/qen_zh_CN.xsl"));
    }

    // An installed program cannot write its folder: the settings move to the
    // user's folder, seeded from the copy beside the program when there is one;
    // the program folder stays as it was. A writable folder keeps them beside.
    void settingsFolder_data()
    {
        QTest::addColumn<bool>("programWritable");
        QTest::addColumn<QByteArray>("beside");   // empty: no copy beside
        QTest::addColumn<QByteArray>("userCopy"); // empty: none yet
        QTest::addColumn<bool>("landsBeside");
        QTest::addColumn<QByteArray>("expected"); // empty: the built-in copy
        const QByteArray site = "[Agents]\nAgents=Site\n";
        const QByteArray own = "[Agents]\nAgents=Own\n";
        QTest::newRow("read-only, seeded from beside")
            << false << site << QByteArray() << false << site;
        QTest::newRow("read-only, seeded built-in")
            << false << QByteArray() << QByteArray() << false << QByteArray();
        QTest::newRow("read-only, user copy kept") << false << site << own << false << own;
        QTest::newRow("portable, kept beside") << true << site << own << true << site;
        QTest::newRow("portable, restored beside")
            << true << QByteArray() << QByteArray() << true << QByteArray();
    }
    void settingsFolder()
    {
        QFETCH(bool, programWritable);
        QFETCH(QByteArray, beside);
        QFETCH(QByteArray, userCopy);
        QFETCH(bool, landsBeside);
        QFETCH(QByteArray, expected);
        QTemporaryDir program;
        QTemporaryDir user;
        const QString userDir = user.filePath("config/quenor");
        auto write = [](const QString &path, const QByteArray &text) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        };
        if (!beside.isEmpty())
            write(program.filePath("quenor.ini"), beside);
        if (!userCopy.isEmpty())
            write(userDir + "/quenor.ini", userCopy);
        const QStringList before = QDir(program.path()).entryList(QDir::Files);
        const auto folderPermissions = QFile::permissions(program.path());
        if (!programWritable)
            QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString path =
            QenFiles::findFile("quenor.ini", QString(), program.path(), "en_US", userDir);
        QFile::setPermissions(program.path(), folderPermissions);

        QCOMPARE(path, landsBeside ? program.filePath("quenor.ini") : userDir + "/quenor.ini");
        if (expected.isEmpty())
            expected = fileContents(":/safeCopy/quenor_en_US.ini");
        QCOMPARE(fileContents(path), expected);
        QVERIFY(QFile::permissions(path) & QFile::WriteOwner);
        if (!programWritable) {
            QCOMPARE(QDir(program.path()).entryList(QDir::Files), before);
            QCOMPARE(fileContents(program.filePath("quenor.ini")), beside);
        }
    }

    // What the program only reads is taken from beside a read-only program.
    void readOnlyFilesStayBeside()
    {
        QTemporaryDir program;
        QTemporaryDir user;
        QVERIFY(QDir(program.path()).mkpath("language"));
        const QString path = program.filePath("language/qen_en_US.xsl");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString found = QenFiles::findFile("qen.xsl", "language/qen_en_US.xsl",
                                                 program.path(), "en_US", user.path());
        QFile::setPermissions(program.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(found, path);
    }

    // A fresh portable copy has no "language" folder: the folder is made
    // beside the program rather than the file moving to the user's folder.
    // A read-only program folder gets nothing: the file goes to the user's.
    void missingSubfolder_data()
    {
        QTest::addColumn<bool>("programWritable");
        QTest::newRow("portable") << true;
        QTest::newRow("installed") << false;
    }
    void missingSubfolder()
    {
        QFETCH(bool, programWritable);
        QTemporaryDir program;
        QTemporaryDir user;
        const auto permissions = QFile::permissions(program.path());
        if (!programWritable)
            QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString found = QenFiles::findFile("qen.xsl", "language/qen_en_US.xsl",
                                                 program.path(), "en_US", user.path());
        QFile::setPermissions(program.path(), permissions);
        const QString expected = (programWritable ? program.path() : user.path()) +
                                 QStringLiteral("/language/qen_en_US.xsl");
        QCOMPARE(found, expected);
        QCOMPARE(fileContents(found), fileContents(":/safeCopy/qen_en_US.xsl"));
        QCOMPARE(QDir(user.path()).isEmpty(), programWritable);
        QCOMPARE(QDir(program.path()).isEmpty(), !programWritable);
    }

    // The stylesheet of an export: the built-in one, unless a language folder
    // holds a copy that no version of the program shipped.
    void stylesheet_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("userCopy");    // empty: none
        QTest::addColumn<QByteArray>("programCopy"); // empty: none
        QTest::addColumn<QString>("expected");       // "user", "program" or a resource
        const QByteArray current = fileContents(":/safeCopy/qen_en_US.xsl");
        const QByteArray currentZh = fileContents(":/safeCopy/qen_zh_CN.xsl");
        const QByteArray first = fileContents(QFINDTESTDATA("data/qen_zh_CN_first.xsl"));
        QByteArray edited = current;
        edited.replace("Quenor® Simulation</h1>", "Our Ward's Simulation</h1>");
        QByteArray editedZh = first;
        editedZh.replace("</xsl:stylesheet>", "<!-- ours --></xsl:stylesheet>");
        const QByteArray none;
        QTest::newRow("no copy") << "en_US" << none << none << ":/safeCopy/qen_en_US.xsl";
        QTest::newRow("no copy, zh_CN") << "zh_CN" << none << none << ":/safeCopy/qen_zh_CN.xsl";
        QTest::newRow("no copy, de_DE") << "de_DE" << none << none << ":/safeCopy/qen_en_US.xsl";
        QTest::newRow("restored current copy")
            << "en_US" << current << current << ":/safeCopy/qen_en_US.xsl";
        QTest::newRow("restored first version")
            << "zh_CN" << first << first << ":/safeCopy/qen_zh_CN.xsl";
        QTest::newRow("other language's copy")
            << "en_US" << currentZh << none << ":/safeCopy/qen_en_US.xsl";
        QTest::newRow("edited user copy") << "en_US" << edited << current << "user";
        QTest::newRow("edited old copy") << "zh_CN" << editedZh << none << "user";
        QTest::newRow("edited program copy") << "en_US" << current << edited << "program";
        QTest::newRow("both edited") << "en_US" << edited << edited << "user";
        QTest::newRow("edited, de_DE") << "de_DE" << none << edited << "program";
    }
    void stylesheet()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, userCopy);
        QFETCH(QByteArray, programCopy);
        QFETCH(QString, expected);
        QVERIFY(!fileContents(":/safeCopy/qen_en_US.xsl").isEmpty());
        QTemporaryDir program;
        QTemporaryDir user;
        const QString relative = QString("language/qen_%1.xsl").arg(locale);
        auto write = [](const QString &path, const QByteArray &text) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        };
        if (!userCopy.isEmpty())
            write(user.filePath(relative), userCopy);
        if (!programCopy.isEmpty())
            write(program.filePath(relative), programCopy);
        if (expected == "user")
            expected = user.filePath(relative);
        else if (expected == "program")
            expected = program.filePath(relative);
        QCOMPARE(QenFiles::stylesheet(program.path(), locale, user.path()), expected);
        QCOMPARE(QenFiles::exportFiles(program.path(), locale, user.path()).stylesheetPath,
                 expected);
        // Nothing is restored: the built-in stylesheet is used where it is.
        QCOMPARE(QFileInfo::exists(user.filePath(relative)), !userCopy.isEmpty());
        QCOMPARE(QFileInfo::exists(program.filePath(relative)), !programCopy.isEmpty());
    }

    void unrestorable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subfolder");
        QTest::newRow("no built-in copy") << "other.ini"
                                          << "";
        QTest::newRow("folder missing") << "quenor.ini"
                                        << "missing";
    }
    void unrestorable()
    {
        QFETCH(QString, name);
        QFETCH(QString, subfolder);
        QTemporaryDir dir;
        const QString programDir = subfolder.isEmpty() ? dir.path() : dir.filePath(subfolder);
        QCOMPARE(QenFiles::findFile(name, QString(), programDir, "en_US"), QString());
        QVERIFY(!QFile::exists(programDir + '/' + name));
    }
};

QTEST_GUILESS_MAIN(TestQenFiles)
#include "tst_qenfiles.moc"
