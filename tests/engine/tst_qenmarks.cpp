#include "engine/qenanesthetic.h"
#include "engine/qenmarks.h"

#include <QTest>

// The marks on their own: bookmarks and wake-ups kept within their limits, and
// the breakpoint read from the fresh gas flow, the DEL and the compartments.
class TestQenMarks : public QObject
{
    Q_OBJECT

private slots:
    // Each row: a condition, the values of one evaluation (FGF, DEL, CKT,
    // ALV, VRG, MUS, FAT) and the value the breakpoint remembers, worked by
    // hand left to right without precedence.
    void operands_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QList<float>>("now");
        QTest::addColumn<float>("expected");
        const QList<float> now{2.5f, 3.0f, 0.75f, 1.5f, 4.0f, 6.0f, 10.0f};
        QTest::newRow("FGF") << "FGF=99" << now << 2.5f;
        QTest::newRow("DEL") << "DEL=99" << now << 3.0f;
        QTest::newRow("MUS") << "MUS=99" << now << 6.0f;
        QTest::newRow("FAT") << "FAT=99" << now << 10.0f;
        // (2.5 + 3) * 0.75 = 4.125; with precedence it would be 4.75.
        QTest::newRow("FGF+DEL*CKT") << "FGF+DEL*CKT=99" << now << 4.125f;
        // ((10 - 4) / 1.5) - 6 = -2; right to left it would differ.
        QTest::newRow("FAT-VRG/ALV-MUS") << "FAT-VRG/ALV-MUS=99" << now << -2.0f;
    }
    void operands()
    {
        QFETCH(QString, condition);
        QFETCH(QList<float>, now);
        QFETCH(float, expected);
        QenMarks marks;
        QVERIFY(marks.setBreakpoint(condition));
        QVERIFY(!marks.breakpointHit({now[0], now[1], now.constData() + 2}));
        QCOMPARE(marks.breakpointLastValue(), expected);
    }

    // A DEL sequence crossing 2.5 downwards, then a reset: the value left by
    // the last evaluation no longer counts as the one before.
    void crossingAndReset()
    {
        QenMarks marks;
        QVERIFY(marks.setBreakpoint(QStringLiteral("DEL=2.5")));
        const float none[QenCompartments] = {};
        QVERIFY(!marks.breakpointHit({0.0f, 3.0f, none}));
        QVERIFY(marks.breakpointHit({0.0f, 2.0f, none}));
        QVERIFY(!marks.breakpointHit({0.0f, 1.0f, none}));
        marks.resetBreakpoint();
        QCOMPARE(marks.breakpointLastValue(), 2.5f);
        QVERIFY(!marks.breakpointHit({0.0f, 3.0f, none}));
        QVERIFY(!marks.setBreakpoint(QStringLiteral("DEL=")));
        QCOMPARE(marks.breakpointText(), QStringLiteral("DEL=2.5"));
    }

    void bookmarksKeepTheFirstTwenty()
    {
        QList<quint32> given;
        for (quint32 i = 0; i < 25; ++i)
            given << (25 - i) * 6000u + 1500u; // descending, off step boundaries
        QenMarks marks;
        marks.setBookmarks(given);
        QCOMPARE(marks.bookmarks().size(), qsizetype(QenMarks::MaxBookmarks));
        QCOMPARE(marks.bookmarks().front(), 151500u);
        QCOMPARE(marks.bookmarks().back(), 37500u);
        marks.clearBookmarks();
        QVERIFY(marks.bookmarks().isEmpty());
    }

    void wakeUps()
    {
        QenMarks marks;
        for (int i = 0; i < QenMarks::MaxWakeUps + 3; ++i)
            marks.addWakeUp(quint32(i % 7) * 30000u);
        QCOMPARE(int(marks.wakeUps().size()), QenMarks::MaxWakeUps);
        // Twenty wake-ups over seven times: 30000 is there three times.
        const auto count = [&marks](quint32 t) {
            return std::count(marks.wakeUps().begin(), marks.wakeUps().end(), t);
        };
        QCOMPARE(count(30000u), 3);
        marks.removeWakeUp(30000u);
        QCOMPARE(count(30000u), 2);
        marks.removeWakeUp(45000u); // none there
        QCOMPARE(int(marks.wakeUps().size()), QenMarks::MaxWakeUps - 1);
        marks.addWakeUp(45000u);
        QCOMPARE(count(45000u), 1);
    }
};

QTEST_GUILESS_MAIN(TestQenMarks)
#include "tst_qenmarks.moc"
