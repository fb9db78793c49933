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
