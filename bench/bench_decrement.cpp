// Wall time of the wake-up forecast of a 10-hour recording with three agents
// (desflurane, sevoflurane and isoflurane at 1 MAC, semi-closed, FGF 2): what
// the forecast window computes (50/80/90 % from the end, and the 80 % time
// from every 10 minutes) and what quenor-run --decrement writes.

#include "engine/qencatalogue.h"
#include "engine/qendecrement.h"
#include "engine/qendefaults.h"
#include "engine/qenengine.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quenor.ini"));
    QFile::copy(QStringLiteral(":/safeCopy/quenor_en_US.ini"), path);
    const QenIni ini(path);
    QenCatalogue catalogue;
    catalogue.load(ini, QenVocabulary::colorNames(), nullptr);

    QenEngine engine(&catalogue);
    engine.reset(QenDefaults::load(ini));
    const char *agents[] = {"Desflurane", "Sevoflurane", "Isoflurane"};
    for (int k = 0; k < 3; ++k) {
        const QenAnesthetic *a = catalogue.at(catalogue.findByName(QLatin1String(agents[k])));
        if (k == 0)
            engine.setAgent(QenUserOrigin, 0, a->displayName);
        else
            engine.addAgent(a->displayName);
        engine.setDEL(QenUserOrigin, k, a->mac);
    }
    engine.setFGF(QenUserOrigin, 2.0f);
    engine.setSpeed(QenSystemOrigin, 1000);
    while (engine.simTime() < 600u * 60000u) {
        engine.advanceOneStep();
        engine.advance(int(engine.simTime()));
    }

    QElapsedTimer clock;
    clock.start();
    const QenDecrement forecast(catalogue);
    forecast.run(QenDecrement::startAt(engine, engine.displayTime()));
    int points = 0;
    for (quint32 d = 0; d <= engine.displayTime(); d += 600000, ++points)
        forecast.run(QenDecrement::startAt(engine, d), 2);
    std::printf("forecast window, 10 h, 3 agents: table + %d points of 80 %% in %lld ms\n", points,
                static_cast<long long>(clock.elapsed()));
    clock.restart();
    const QByteArray table = QenDecrement::csv(engine);
    std::printf("quenor-run --decrement, 10 h, 3 agents: %lld rows in %lld ms\n",
                static_cast<long long>(table.count('\n') - 1),
                static_cast<long long>(clock.elapsed()));
    return 0;
}
