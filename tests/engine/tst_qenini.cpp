#include "engine/qenini.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestQenIni : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("quenor.ini"));
        QFile::remove(m_path);
    }

    void keysIgnoreCase_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("asked");
        QTest::newRow("Bottlecost") << "Bottlecost"
                                    << "BottleCost";
        QTest::newRow("Showcost") << "Showcost"
                                  << "ShowCost";
        QTest::newRow("graphminutes") << "graphminutes"
                                      << "GraphMinutes";
        QTest::newRow("same spelling") << "FGF"
                                       << "FGF";
    }
    void keysIgnoreCase()
    {
        QFETCH(QString, written);
        QFETCH(QString, asked);
        {
            QFile f(m_path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("[Defaults]\n%1=42\n").arg(written).toUtf8());
        }
        QenIni ini(m_path);
        QCOMPARE(ini.value(QStringLiteral("Defaults"), asked, 0).toInt(), 42);
        QVERIFY(ini.contains(QStringLiteral("Defaults"), asked));

        // Writing through the other spelling keeps the file's own key, not a twin.
        ini.setValue(QStringLiteral("Defaults"), asked, 7);
        QCOMPARE(ini.childKeys(QStringLiteral("Defaults")), QStringList{written});
        QCOMPARE(ini.value(QStringLiteral("Defaults"), written, 0).toInt(), 7);
    }

    void doublesRoundToSixDecimals_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<double>("stored");
        QTest::newRow("double") << QVariant(0.1234567) << 0.123457;
        QTest::newRow("float") << QVariant(float(2.5f)) << 2.5;
        QTest::newRow("half up") << QVariant(0.0000005) << 0.000001;
        QTest::newRow("negative") << QVariant(-1.0000004) << -1.0;
    }
    void doublesRoundToSixDecimals()
    {
        QFETCH(QVariant, value);
        QFETCH(double, stored);
        QenIni ini(m_path);
        ini.setValue(QStringLiteral("Defaults"), QStringLiteral("X"), value);
        QCOMPARE(ini.value(QStringLiteral("Defaults"), QStringLiteral("X")).toDouble(), stored);
    }

    void sectionNamesArePercentEncoded()
    {
        QenIni ini(m_path);
        ini.setValue(QStringLiteral("Nitrous Oxide"), QStringLiteral("Lambda"), 0.47);
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("[Nitrous%20Oxide]"));
        QCOMPARE(ini.value(QStringLiteral("Nitrous Oxide"), QStringLiteral("lambda")).toDouble(),
                 0.47);
    }

    // What a loader reads from the copy that read the file once is what the
    // store reads from the file key by key: spellings, lists, top-level keys,
    // a path below a group, absent keys and groups.
    void readOnceAnswersAsTheFileDoes_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::newRow("exact") << "Defaults"
                               << "FGF";
        QTest::newRow("other case, group and key") << "DEFAULTS"
                                                   << "showCOST";
        QTest::newRow("exact spelling wins") << "Twins"
                                             << "abc";
        QTest::newRow("first of two other spellings") << "Twins"
                                                      << "ABC";
        QTest::newRow("list") << "Agents"
                              << "Agents";
        QTest::newRow("section with a blank") << "Nitrous Oxide"
                                              << "lambda";
        QTest::newRow("top level") << QString() << "Loose";
        QTest::newRow("below a group") << "Defaults"
                                       << "Sub/Deep";
        QTest::newRow("absent key") << "Defaults"
                                    << "Nothing";
        QTest::newRow("absent group") << "Nowhere"
                                      << "FGF";
    }
    void readOnceAnswersAsTheFileDoes()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        {
            QFile f(m_path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Loose=1\n[Defaults]\nFGF=7.5\nShowcost=true\nSub/Deep=x\n"
                    "[Twins]\nAbc=upper\nabc=exact\naBC=mixed\n"
                    "[Agents]\nAgents=Ether, Halothane\n[Nitrous%20Oxide]\nLambda=0.47\n");
        }
        const QenIni ini(m_path);
        const QenIni once = ini.readOnce();
        const QVariant none(QStringLiteral("none"));
        QCOMPARE(once.value(group, key, none), ini.value(group, key, none));
        QCOMPARE(once.contains(group, key), ini.contains(group, key));
        QCOMPARE(once.childKeys(group), ini.childKeys(group));
        QCOMPARE(once.childGroups(), ini.childGroups());

        // Several keys asked together answer as each asked alone, in order.
        const QVariant fgfDefault(-3);
        const QList<std::pair<QString, QVariant>> asked = {{key, none},
                                                           {QStringLiteral("fgf"), fgfDefault}};
        const QVariantList alone = {ini.value(group, key, none),
                                    ini.value(group, QStringLiteral("fgf"), fgfDefault)};
        QCOMPARE(ini.values(group, asked), alone);
        QCOMPARE(once.values(group, asked), alone);
    }

    // The copy does not look at the file again until something is written
    // through it; values kept for the session come first all the same.
    void readOnceReadsTheFileOnce()
    {
        const QString group = QStringLiteral("Defaults");
        const QenIni ini(m_path);
        QVERIFY(ini.setValue(group, QStringLiteral("FGF"), 6));
        const QenIni once = ini.readOnce();
        {
            // Another file put in its place, as an editor saving would.
            const QString other = m_dir.filePath(QStringLiteral("other.ini"));
            QFile f(other);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Defaults]\nFGF=2.25\nVA=3\n");
            f.close();
            QVERIFY(QFile::remove(m_path));
            QVERIFY(QFile::rename(other, m_path));
        }
        QCOMPARE(once.value(group, QStringLiteral("FGF")).toInt(), 6);
        QVERIFY(!once.contains(group, QStringLiteral("VA")));
        QCOMPARE(ini.value(group, QStringLiteral("VA")).toInt(), 3);
        QVERIFY(once.setValue(group, QStringLiteral("CO"), 4));
        QCOMPARE(once.value(group, QStringLiteral("FGF")).toDouble(), 2.25);
        QCOMPARE(once.value(group, QStringLiteral("CO")).toInt(), 4);
    }

    // A file where the folder should be: the INI cannot be written, even by
    // an administrator. Moving the obstacle away makes it writable again.
    void unwritableValuesAreKeptThenSaved()
    {
        const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
        QDir(blocker).removeRecursively();
        QFile b(blocker);
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.close();
        const QString path = blocker + QStringLiteral("/quenor.ini");
        const QenIni ini(path);
        const QenIni copy = ini; // the engine and the views hold copies

        QVERIFY(!ini.setValue(QStringLiteral("Defaults"), QStringLiteral("Speed"), 0.1234567));
        QVERIFY(!ini.remove(QStringLiteral("Defaults"), QStringLiteral("Agent")));
        QVERIFY(copy.hasUnsavedValues());
        QCOMPARE(copy.value(QStringLiteral("defaults"), QStringLiteral("SPEED")).toDouble(),
                 0.123457);
        QCOMPARE(copy.value(QStringLiteral("Defaults"), QStringLiteral("Agent"), "none").toString(),
                 QStringLiteral("none"));
        const QVariantList kept = {0.123457, QStringLiteral("none")};
        QCOMPARE(copy.values(QStringLiteral("DEFAULTS"),
                             {{QStringLiteral("speed"), 1}, {QStringLiteral("Agent"), "none"}}),
                 kept);
        // Told once per session, not once per value.
        QVERIFY(copy.takeWriteFailureNotice());
        QVERIFY(!ini.setValue(QStringLiteral("Defaults"), QStringLiteral("Click"), 2));
        QVERIFY(!ini.takeWriteFailureNotice());

        QVERIFY(QFile::remove(blocker));
        QVERIFY(QDir().mkpath(blocker));
        QVERIFY(ini.setValue(QStringLiteral("Defaults"), QStringLiteral("FGF"), 3));
        QVERIFY(!copy.hasUnsavedValues());
        const QenIni fresh(path);
        QCOMPARE(fresh.value(QStringLiteral("Defaults"), QStringLiteral("Speed")).toDouble(),
                 0.123457);
        QCOMPARE(fresh.value(QStringLiteral("Defaults"), QStringLiteral("Click")).toInt(), 2);
        QCOMPARE(fresh.value(QStringLiteral("Defaults"), QStringLiteral("FGF")).toInt(), 3);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestQenIni)
#include "tst_qenini.moc"
