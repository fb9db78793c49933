#include "enginefixture.h"

#include "engine/qenvocabulary.h"

#include <cmath>

// The model against the published volunteer data the help's validation page
// shows: without nitrous oxide, in an open circuit, FA/FI after 30 minutes
// lies within 0.03 of each published mean (Yasuda et al. 1991), and the
// agents rise in the published order at every step.
class TestQenValidation : public QObject
{
    Q_OBJECT

private:
    // FA/FI at every step end up to 30 minutes, the agent alone at 0.3 MAC.
    static std::vector<double> rise(const char *iniName)
    {
        EngineFixture f;
        f.usePrimary(iniName);
        f.engine->setCircuit(QenUserOrigin, QenVocabulary::circuits().at(0));
        f.engine->setDEL(QenUserOrigin, 0, float(0.3 * f.agent(iniName).mac));
        std::vector<double> ratios;
        while (f.engine->simTime() < 30 * 60000u) {
            f.steps(1);
            const float *s = f.engine->track(0).state;
            ratios.push_back(double(s[ALV]) / double(s[CKT]));
        }
        return ratios;
    }

private slots:
    void thirtyMinutesAsInVolunteers_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<double>("published");
        QTest::newRow("desflurane") << "Desflurane" << 0.90;
        QTest::newRow("sevoflurane") << "Sevoflurane" << 0.85;
        QTest::newRow("isoflurane") << "Isoflurane" << 0.73;
    }
    void thirtyMinutesAsInVolunteers()
    {
        QFETCH(QString, agent);
        QFETCH(double, published);
        const std::vector<double> ratios = rise(agent.toLatin1().constData());
        // 30 minutes at 6 s a step: the 300th step ends there.
        QCOMPARE(int(ratios.size()), 300);
        QVERIFY2(std::fabs(ratios.back() - published) <= 0.03,
                 qPrintable(QString::number(ratios.back())));
    }

    void publishedOrderAtEveryTime()
    {
        const std::vector<double> des = rise("Desflurane");
        const std::vector<double> sevo = rise("Sevoflurane");
        const std::vector<double> iso = rise("Isoflurane");
        QCOMPARE(des.size(), iso.size());
        QCOMPARE(sevo.size(), iso.size());
        for (size_t i = 0; i < des.size(); ++i)
            QVERIFY2(des[i] > sevo[i] && sevo[i] > iso[i],
                     qPrintable(QStringLiteral("step %1: %2 %3 %4")
                                    .arg(i + 1)
                                    .arg(des[i])
                                    .arg(sevo[i])
                                    .arg(iso[i])));
    }
};

QTEST_GUILESS_MAIN(TestQenValidation)
#include "tst_qenvalidation.moc"
