#include "engine/qencatalogue.h"
#include "engine/qendefaults.h"
#include "engine/qenfiles.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

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
        QCOMPARE(contents(path), contents(QStringLiteral(":/safeCopy/quenor_%1.ini").arg(copy)));
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
        QCOMPARE(contents(path), QByteArray("[Agents]\nAgents=Mine\n"));
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
