#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenchildwindowinterface.h"
#include "document/qensimfile.h"
#include "document/qenupdateevent.h"
#include "fakewindow.h"
#include "recordingdochost.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include <QBuffer>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <limits>
#include <sys/resource.h>

namespace {

bool sameSample(const QenSample &a, const QenSample &b)
{
    return a.time == b.time && a.agent == b.agent && a.flags == b.flags &&
           std::memcmp(&a.del, &b.del, 6 * sizeof(float)) == 0 &&
           std::memcmp(a.state, b.state, sizeof a.state) == 0;
}

// Computes `count` steps as fast as possible, the display following each.
void steps(QenDoc *doc, int count)
{
    QenEngine *e = doc->engine();
    e->setSpeed(QenSystemOrigin, 1000);
    for (int i = 0; i < count; ++i) {
        QVERIFY(e->advanceOneStep());
        e->advance(int(e->simTime()));
    }
}

// Replays an opened simulation up to the end of what it computed.
void showLive(QenEngine *e)
{
    for (int i = 0; i < 100000 && e->displayTime() < e->simTime(); ++i)
        e->advance(int(e->simTime()));
}

void compareSamples(const QenEngine *got, const QenEngine *want)
{
    QCOMPARE(got->trackCount(), want->trackCount());
    for (int t = 0; t < want->trackCount(); ++t) {
        const auto &was = want->track(t).samples;
        const auto &now = got->track(t).samples;
        QCOMPARE(now.size(), was.size());
        for (size_t i = 0; i < was.size(); ++i)
            QVERIFY2(sameSample(now[i], was[i]), qPrintable(QStringLiteral("%1/%2").arg(t).arg(i)));
        QVERIFY(std::memcmp(got->track(t).state, want->track(t).state,
                            sizeof want->track(t).state) == 0);
    }
}

} // namespace

class TestQenDoc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(safecopy);
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        m_ini = writeDefaultIni(m_dir.path());
        QVERIFY(!m_ini.isEmpty());
        m_prompt.clear();
        m_host = std::make_unique<RecordingDocHost>(m_ini, &m_prompt);
    }

    void untitledNamesAreNeverReused()
    {
        auto first = std::make_unique<QenDoc>(m_host.get());
        QVERIFY(first->newDocument());
        const int n = first->title().mid(8).toInt();
        QVERIFY(first->title().startsWith(QLatin1String("Untitled")));
        QVERIFY(first->isUntitled());
        first.reset();
        QenDoc second(m_host.get());
        QVERIFY(second.newDocument());
        QCOMPARE(second.title(), QStringLiteral("Untitled%1").arg(n + 1));
        QCOMPARE(second.fileName(), QStringLiteral("Untitled%1.qen").arg(n + 1));
    }

    void saveAsNaming_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("saved");
        QTest::newRow("upper-case extension kept") << "case.QEN"
                                                   << "case.QEN";
        QTest::newRow("no extension") << "case"
                                      << "case.qen";
        QTest::newRow("other extension") << "case.txt"
                                         << "case.txt.qen";
        QTest::newRow("qen inside") << "case.qen.bak"
                                    << "case.qen.bak.qen";
    }
    void saveAsNaming()
    {
        QFETCH(QString, answer);
        QFETCH(QString, saved);
        QCOMPARE(QenDoc::withQenExtension(answer), saved);

        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        m_host->answer = m_dir.filePath(answer);
        QVERIFY(doc.saveAs());
        QCOMPARE(m_host->asked.value(0), QStringLiteral("Save As"));
        QCOMPARE(m_host->asked.value(2), QStringLiteral("Quenor®Files (*.qen )"));
        QCOMPARE(doc.fileName(), QFileInfo(m_dir.filePath(saved)).canonicalFilePath());
        QCOMPARE(m_host->lastSaveDirectory(), QFileInfo(m_dir.path()).absoluteFilePath());
        QVERIFY(!doc.isUntitled());

        m_host->answer.clear();
        QVERIFY(!doc.saveAs()); // a cancelled dialog
    }

    void recentFilesHoldFiveWithoutDuplicates()
    {
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        QStringList paths;
        for (int i = 0; i < 7; ++i) {
            paths.append(
                QFileInfo(m_dir.filePath(QStringLiteral("r%1.qen").arg(i))).absoluteFilePath());
            QVERIFY(doc.saveFile(paths.last(), true));
        }
        QVERIFY(doc.saveFile(paths[4], true));
        const QStringList recent =
            m_host->ini().value("Settings", "RecentFileList", QStringList()).toStringList();
        QCOMPARE(recent, (QStringList{paths[4], paths[6], paths[5], paths[3], paths[2]}));
        QCOMPARE(m_host->recentChanges, 8);
    }

    void recordedSimulationSurvivesSaveAndOpen()
    {
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        doc.engine()->setSpeed(QenSystemOrigin, 1000);
        QVERIFY(doc.addAgent(QStringLiteral("Isoflurane")) == 1);
        doc.engine()->setBookmarks({300000, 120000});
        QVERIFY(doc.engine()->setBreakpoint(QStringLiteral("ALV = 9")));
        doc.setDescription(QStringLiteral("Two agents, a dose and a flush"));
        doc.setAgentColor(1, QStringLiteral("cyan"));
        runEngineTo(doc.engine(), 60000);
        doc.engine()->injectDose();
        doc.engine()->injectDose();
        runEngineTo(doc.engine(), 180000);
        doc.engine()->flushCircuit();
        doc.engine()->setFGF(QenUserOrigin, 4.0f);
        runEngineTo(doc.engine(), 600000);
        const QenEngine *e = doc.engine();
        QVERIFY(e->track(0).samples.size() >= 100);

        const QString path = m_dir.filePath(QStringLiteral("two.qen"));
        QVERIFY(doc.saveFile(path, true));
        QVERIFY(!doc.isModified());

        QenDoc back(m_host.get());
        QVERIFY(back.openFile(path));
        QVERIFY(m_prompt.records().isEmpty());
        const QenEngine *b = back.engine();
        QCOMPARE(b->trackCount(), 2);
        for (int t = 0; t < 2; ++t) {
            const auto &was = e->track(t).samples;
            const auto &now = b->track(t).samples;
            QCOMPARE(now.size(), was.size());
            for (size_t i = 0; i < was.size(); ++i)
                QVERIFY2(sameSample(now[i], was[i]), qPrintable(QString::number(i)));
            QVERIFY(std::memcmp(b->track(t).state, e->track(t).state, sizeof e->track(t).state) ==
                    0);
        }
        QCOMPARE(b->simTime(), e->simTime());
        QCOMPARE(b->endTime(), e->endTime());
        QCOMPARE(b->liveTime(), e->liveTime());
        QCOMPARE(b->stepMs(), e->stepMs());
        for (int i = 0; i < 200; ++i)
            QCOMPARE(b->stepIndexEntry(i), e->stepIndexEntry(i));
        QCOMPARE(b->bookmarks(), e->bookmarks());
        QCOMPARE(b->breakpointText(), QStringLiteral("ALV = 9"));
        QCOMPARE(back.description(), doc.description());
        QCOMPARE(back.agentColors(), doc.agentColors());
        QCOMPARE(b->speed(), 1000);

        // Rewound: not yet run, shown at 0, settings of the first sample.
        const QenSample &first = b->track(0).samples.front();
        QCOMPARE(b->state(), ANotRun);
        QCOMPARE(b->displayTime(), 0u);
        QCOMPARE(b->fgf(), first.fgf);
        QCOMPARE(b->va(), first.va);
        QCOMPARE(b->co(), first.co);
        QCOMPARE(b->weight(), first.weight);
        QCOMPARE(b->circuitIndex(), first.circuit());
        QCOMPARE(b->track(1).del, b->track(1).samples.front().del);
        QVERIFY(e->fgf() != b->fgf()); // changed during the run, back to its start

        QCOMPARE(back.fileName(), QFileInfo(path).canonicalFilePath());
        QCOMPARE(back.title(), QStringLiteral("two"));
        QVERIFY(!back.isUntitled());
    }

    // A flush and a dose at the start, saved and opened: continuing the
    // opened simulation computes what a straight run would have.
    void continuedAfterOpenEqualsStraightRun()
    {
        auto begin = [](QenDoc &doc) {
            QVERIFY(doc.newDocument());
            QVERIFY(doc.setAgent(QenUserOrigin, 0, QStringLiteral("Halothane")));
            doc.engine()->injectDose();
            doc.engine()->flushCircuit();
        };
        QenDoc straight(m_host.get());
        begin(straight);
        steps(&straight, 33);

        QenDoc doc(m_host.get());
        begin(doc);
        steps(&doc, 30);
        const QString path = m_dir.filePath(QStringLiteral("flushed.qen"));
        QVERIFY(doc.saveFile(path, false));
        QenDoc back(m_host.get());
        QVERIFY(back.openFile(path));
        QVERIFY(!back.engine()->flushPending());
        showLive(back.engine());
        steps(&back, 3);
        compareSamples(back.engine(), straight.engine());
    }

    // An agent added during the run holds only the later steps; such a
    // simulation opens again as it was saved, also when that agent has become
    // the primary one, and goes on running.
    void agentAddedDuringTheRunSurvivesSaveAndOpen_data()
    {
        QTest::addColumn<int>("laterSteps");
        QTest::addColumn<bool>("swapped");
        QTest::newRow("added at 2:00") << 20 << false;
        QTest::newRow("added at 2:00, then made primary") << 20 << true;
        QTest::newRow("added at the end, not yet run") << 0 << false;
    }
    void agentAddedDuringTheRunSurvivesSaveAndOpen()
    {
        QFETCH(int, laterSteps);
        QFETCH(bool, swapped);
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        steps(&doc, 20);
        QCOMPARE(doc.addAgent(QStringLiteral("Nitrous Oxide")), 1);
        steps(&doc, laterSteps);
        if (swapped)
            QVERIFY(doc.swapAgents(0, 1));
        const QString path = m_dir.filePath(QStringLiteral("later.qen"));
        QVERIFY(doc.saveFile(path, false));

        QenDoc back(m_host.get());
        QVERIFY(back.openFile(path));
        QVERIFY(m_prompt.records().isEmpty());
        compareSamples(back.engine(), doc.engine());
        QCOMPARE(back.engine()->simTime(), doc.engine()->simTime());

        showLive(back.engine());
        QCOMPARE(back.engine()->displayTime(), doc.engine()->simTime());
        steps(&back, 2);
        steps(&doc, 2);
        compareSamples(back.engine(), doc.engine());
    }

    // The file keeps the run speed, so a new speed must not be lost unasked.
    void speedChangeMarksModified()
    {
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        QVERIFY(!doc.isModified());
        doc.setSpeed(QenSystemOrigin, 120);
        QVERIFY(!doc.isModified());
        const QObject view;
        doc.setSpeed(QenDoc::originOf(&view), 120);
        QVERIFY(!doc.isModified());
        doc.setSpeed(QenDoc::originOf(&view), 5);
        QVERIFY(doc.isModified());
    }

    void fileWithoutRunAndSpareColors()
    {
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        QCOMPARE(doc.addAgent(QStringLiteral("Sevoflurane")), 1);
        doc.engine()->setDEL(QenUserOrigin, 1, 2.25f);
        const QString path = m_dir.filePath(QStringLiteral("norun.qen"));
        QVERIFY(doc.saveFile(path, false));

        // Three colour names for two agents.
        QenSimFile contents;
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(contents.read(&f, nullptr, {}), QenSimFile::Result::Ok);
        }
        contents.colors = QStringList{"darkRed", "green", "white"};
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(contents.write(&f));
        }

        QenDoc back(m_host.get());
        QVERIFY(back.openFile(path));
        QCOMPARE(back.agentColors(), (QStringList{"darkRed", "green"}));
        QCOMPARE(back.agentCount(), 2);
        QVERIFY(back.engine()->track(0).samples.empty());
        QCOMPARE(back.engine()->track(1).del, 2.25f);
        QCOMPARE(back.engine()->state(), ANotRun);
    }

    // Doses given before the first step are part of the file; opening it
    // must not drop them (the replay from the start used to).
    void actionsBeforeTheFirstStepSurviveSaveAndOpen_data()
    {
        QTest::addColumn<bool>("flush");
        QTest::newRow("doses") << false;
        QTest::newRow("flush, then doses") << true;
    }
    void actionsBeforeTheFirstStepSurviveSaveAndOpen()
    {
        QFETCH(bool, flush);
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        QCOMPARE(doc.addAgent(QStringLiteral("Sevoflurane")), 1);
        if (flush)
            doc.engine()->flushCircuit();
        doc.engine()->injectDose(0);
        doc.engine()->injectDose(1);
        doc.engine()->injectDose(1);
        // The agent selected in the window is not part of the comparison.
        doc.engine()->setCurrentTrack(0);
        const QString path = m_dir.filePath(QStringLiteral("doses.qen"));
        QVERIFY(doc.saveFile(path, false));

        QenDoc back(m_host.get());
        QVERIFY(back.openFile(path));
        QCOMPARE(back.engine()->track(0).pendingDoses, 1);
        QCOMPARE(back.engine()->track(1).pendingDoses, 2);
        // Saved again, the file is the same.
        const QString again = m_dir.filePath(QStringLiteral("doses again.qen"));
        QVERIFY(back.saveFile(again, false));
        QCOMPARE(fileContents(again), fileContents(path));
        // The first step records what the user gave, as if never saved.
        runEngineTo(doc.engine(), 6000);
        runEngineTo(back.engine(), 6000);
        for (int k = 0; k < 2; ++k) {
            const QenSample &a = doc.engine()->track(k).samples.at(0);
            const QenSample &b = back.engine()->track(k).samples.at(0);
            QCOMPARE(b.hasFlush(), flush);
            QVERIFY(sameSample(a, b));
        }
    }

    void refusedFileChangesNothing()
    {
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        doc.engine()->setSpeed(QenSystemOrigin, 1000);
        runEngineTo(doc.engine(), 30000);
        const QString name = doc.fileName();
        const size_t samples = doc.engine()->track(0).samples.size();

        const QString path = m_dir.filePath(QStringLiteral("bad.qen"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QDataStream s(&f);
            s << qint32(9933) << quint32(15) << qint32(1000000);
        }
        m_prompt.expect(QenPrompt::Ok);
        QVERIFY(!doc.openFile(path));
        QCOMPARE(m_prompt.records().size(), 1);
        QCOMPARE(m_prompt.records()[0].text,
                 QStringLiteral("<p>File %1 is either corrupt or from an unknown version of "
                                "Quenor®\n.")
                     .arg(path));
        QCOMPARE(doc.fileName(), name);
        QCOMPARE(doc.engine()->track(0).samples.size(), samples);

        m_prompt.expect(QenPrompt::Ok);
        QVERIFY(!doc.openFile(m_dir.filePath(QStringLiteral("missing.qen"))));
        QVERIFY(m_prompt.records()[1].text.startsWith(QLatin1String("<p>Cannot read file ")));
    }

    // Each gauge reads its own top: unequal tops tell the keys apart, and a
    // top past 500 falls back to 10 for that gauge alone.
    void gaugeTopsReadTheirOwnKeys_data()
    {
        QTest::addColumn<int>("fgfTop");
        QTest::addColumn<int>("vaTop");
        QTest::addColumn<int>("coTop");
        QTest::addColumn<QList<int>>("tops");
        QTest::newRow("all different") << 12 << 25 << 7 << QList<int>{12, 25, 7};
        QTest::newRow("VA beyond 500") << 40 << 501 << 3 << QList<int>{40, 10, 3};
        QTest::newRow("FGF 0, CO at 500") << 0 << 2 << 500 << QList<int>{10, 2, 500};
    }
    void gaugeTopsReadTheirOwnKeys()
    {
        QFETCH(int, fgfTop);
        QFETCH(int, vaTop);
        QFETCH(int, coTop);
        QFETCH(QList<int>, tops);
        m_host->ini().setValue(QStringLiteral("Defaults"), QStringLiteral("HighFGF"), fgfTop);
        m_host->ini().setValue(QStringLiteral("Defaults"), QStringLiteral("HighVA"), vaTop);
        m_host->ini().setValue(QStringLiteral("Defaults"), QStringLiteral("HighCO"), coTop);
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        QCOMPARE(doc.scaleTop(QenDoc::FgfScale, 0), tops[0]);
        QCOMPARE(doc.scaleTop(QenDoc::VaScale, 0), tops[1]);
        QCOMPARE(doc.scaleTop(QenDoc::CoScale, 0), tops[2]);
    }

    // As many bookmarks as a simulation can hold, out of order and at times
    // between steps, come back from the file each one, in their order.
    void mostBookmarksSurviveSaveAndOpen()
    {
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        QList<quint32> marks;
        for (int i = 0; i < QenEngine::MaxBookmarks; ++i)
            marks.append(quint32((i * 7919) % 97 + 1) * 3001u);
        QCOMPARE(marks.size(), 20);
        doc.engine()->setBookmarks(marks + QList<quint32>{999000u});
        QCOMPARE(doc.engine()->bookmarks(), marks);
        steps(&doc, 4);
        const QString path = m_dir.filePath(QStringLiteral("marks.qen"));
        QVERIFY(doc.saveFile(path, true));

        m_prompt.clear();
        QenDoc back(m_host.get());
        QVERIFY(back.openFile(path));
        QVERIFY(m_prompt.records().isEmpty());
        QCOMPARE(back.engine()->bookmarks(), marks);
    }

    // A saved simulation with one number or clock made impossible: refused with
    // the reader's message, and the simulation that was open stays as it was.
    void hostileFileKeepsTheOpenDocument_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("sample FGF NaN") << "fgf";
        QTest::newRow("live ALV state infinite") << "state";
        QTest::newRow("volume VRG NaN") << "volume";
        QTest::newRow("agent Lambda NaN") << "lambda";
        QTest::newRow("sample times backwards") << "time";
    }
    void hostileFileKeepsTheOpenDocument()
    {
        QFETCH(QString, change);
        const QString path = m_dir.filePath(QStringLiteral("hostile-%1.qen").arg(change));
        {
            QenDoc source(m_host.get());
            QVERIFY(source.newDocument());
            steps(&source, 5);
            QVERIFY(source.saveFile(path, true));
        }
        QenSimFile contents;
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(contents.read(&f, nullptr, {}), QenSimFile::Result::Ok);
        }
        QenSimFile::Track &primary = contents.tracks.front();
        QCOMPARE(primary.samples.size(), size_t(5));
        const float nan = std::numeric_limits<float>::quiet_NaN();
        if (change == QLatin1String("fgf"))
            primary.samples[3].fgf = nan;
        else if (change == QLatin1String("state"))
            primary.state[ALV] = std::numeric_limits<float>::infinity();
        else if (change == QLatin1String("volume"))
            contents.volumes[VRG] = nan;
        else if (change == QLatin1String("lambda"))
            contents.catalogue.at(0)->lambdaBlood = nan;
        else if (change == QLatin1String("time"))
            std::swap(primary.samples[1].time, primary.samples[2].time);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(contents.write(&f));
        }

        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        steps(&doc, 3);
        const QString name = doc.fileName();
        m_prompt.clear();
        m_prompt.expect(QenPrompt::Ok);
        QVERIFY(!doc.openFile(path));
        QCOMPARE(m_prompt.records().size(), 1);
        QCOMPARE(m_prompt.records()[0].text,
                 QStringLiteral("<p>File %1 is either corrupt or from an unknown version of "
                                "Quenor®\n.")
                     .arg(path));
        QCOMPARE(doc.fileName(), name);
        QCOMPARE(doc.engine()->track(0).samples.size(), size_t(3));
        QCOMPARE(doc.engine()->simTime(), quint32(3 * doc.engine()->stepMs()));
    }

    void failedSaveKeepsTheOldFile()
    {
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        const QString path = m_dir.filePath(QStringLiteral("keep.qen"));
        QVERIFY(doc.saveFile(path, true));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();

        doc.engine()->setSpeed(QenSystemOrigin, 1000);
        runEngineTo(doc.engine(), 600000);
        // A disk that fills up part-way: files may not grow past 16 KiB.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 16 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        m_prompt.expect(QenPrompt::Ok);
        const bool saved = doc.saveFile(path, true);
        setrlimit(RLIMIT_FSIZE, &old);

        QVERIFY(!saved);
        QCOMPARE(m_prompt.records().size(), 1);
        QVERIFY(m_prompt.records()[0].text.startsWith(
            QStringLiteral("<p>Cannot write file %1:\n").arg(path)));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void maybeSaveAnswers_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("result");
        QTest::addColumn<bool>("stillModified");
        QTest::newRow("save") << int(QenPrompt::Save) << true << false;
        QTest::newRow("discard") << int(QenPrompt::Discard) << true << false;
        QTest::newRow("cancel") << int(QenPrompt::Cancel) << false << true;
    }
    void maybeSaveAnswers()
    {
        QFETCH(int, answer);
        QFETCH(bool, result);
        QFETCH(bool, stillModified);
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        QVERIFY(doc.maybeSave()); // not modified: no question
        QVERIFY(doc.saveFile(m_dir.filePath(QStringLiteral("m.qen")), true));
        FakeWindow control(&doc, QenChildWindowInterface::Control, 0);
        doc.addView(&control);
        doc.setDescription(QStringLiteral("changed"));
        QVERIFY(control.isWindowModified());

        m_prompt.expect(answer);
        QCOMPARE(doc.maybeSave(), result);
        // The question names the simulation it is about.
        QCOMPARE(m_prompt.records()[0].text, QStringLiteral("<p>Save changes to m?"));
        QCOMPARE(m_prompt.records()[0].defaultButton, int(QenPrompt::Save));
        QCOMPARE(doc.isModified(), stillModified);
        QCOMPARE(control.isWindowModified(), stillModified);
        doc.viewClosed(&control);
    }

    void viewsGetTitlesEventsAndCloseTheDocument()
    {
        auto *doc = new QenDoc(m_host.get());
        QPointer<QenDoc> alive(doc);
        QVERIFY(doc->newDocument());
        FakeWindow control(doc, QenChildWindowInterface::Control, 0);
        FakeWindow picture(doc, QenChildWindowInterface::Picture, 0);
        FakeWindow graph1(doc, QenChildWindowInterface::Graph, 0);
        doc->addView(&control);
        doc->addView(&picture);
        doc->addView(&graph1);
        const QString t = doc->title();
        QCOMPARE(picture.title, t + QStringLiteral(":01"));
        QCOMPARE(control.title, t + QStringLiteral(":2"));

        QCOMPARE(doc->addAgent(QStringLiteral("Desflurane")), 1);
        FakeWindow graph2(doc, QenChildWindowInterface::Graph, 1);
        doc->addView(&graph2);
        QCOMPARE(graph2.title, t + QStringLiteral(":12:(Add'l:Desflurane)"));
        QVERIFY(graph1.title.endsWith(QStringLiteral(":11:(Primary:") + doc->agentName(0) + ")"));
        QCOMPARE(control.title, t + QStringLiteral(":2"));

        // A change through the picture's own view skips that view only.
        for (FakeWindow *v : {&picture, &graph1}) {
            v->picture.clear();
            v->graph.clear();
        }
        doc->notifyViews(0, QenHint::Fgf, QenDoc::originOf(&picture.picture));
        QVERIFY(picture.picture.hints().isEmpty());
        QCOMPARE(picture.graph.hints(), QList<int>{QenHint::Fgf});
        QCOMPARE(graph1.picture.hints(), QList<int>{QenHint::Fgf});
        QCOMPARE(graph1.graph.hints(), QList<int>{QenHint::Fgf});

        // Removing agent 1 hands back its window and renumbers nothing else.
        const QList<QenChildWindowInterface *> closing = doc->removeAgent(1);
        QCOMPARE(closing, QList<QenChildWindowInterface *>{&graph2});
        QCOMPARE(doc->agentColors().size(), 1);

        QSignalSpy noViews(doc, &QenDoc::noViewsOfAgent);
        doc->viewClosed(&graph2);
        QCOMPARE(noViews.size(), 1);
        doc->viewClosed(&picture);
        doc->viewClosed(&graph1);
        doc->viewClosed(&control);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive.isNull());
    }

    void restoreDefaultsWithoutAgentsKeepsTheSimulation()
    {
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        QCOMPARE(doc.addAgent(QStringLiteral("Xenon")), 1);
        m_host->ini().setValue("Agents", "Agents", QStringList());
        m_prompt.expect(QenPrompt::Ok);
        m_prompt.expect(QenPrompt::Ok);
        QVERIFY(!doc.eraseAndRestoreDefaults());
        QCOMPARE(m_prompt.records().size(), 2);
        QCOMPARE(m_prompt.records()[1].icon, QenPrompt::Critical);
        QCOMPARE(m_prompt.records()[1].text,
                 QStringLiteral("<p>Can't read anesthetic parameters from QUENOR.INI"));
        QCOMPARE(doc.agentCount(), 2);
        QVERIFY(doc.catalogue().size() > 0);

        QenDoc empty(m_host.get());
        m_prompt.expect(QenPrompt::Ok);
        QVERIFY(!empty.newDocument());
    }

    void restoreDefaultsClosesOtherWindows()
    {
        QenDoc doc(m_host.get());
        QVERIFY(doc.newDocument());
        QCOMPARE(doc.addAgent(QStringLiteral("Xenon")), 1);
        QVERIFY(doc.setBreakpoint(QStringLiteral("ALV=1")));
        doc.setDescription(QStringLiteral("Induction"));
        doc.setBookmarks({60000});
        FakeWindow control(&doc, QenChildWindowInterface::Control, 0);
        FakeWindow primary(&doc, QenChildWindowInterface::Graph, 0);
        FakeWindow other(&doc, QenChildWindowInterface::Picture, 1);
        doc.addView(&control);
        doc.addView(&primary);
        doc.addView(&other);
        QSignalSpy cleared(&doc, &QenDoc::allCleared);
        m_prompt.expect(QenPrompt::Ok);
        QVERIFY(doc.eraseAndRestoreDefaults());
        QVERIFY(other.closed);
        QVERIFY(!primary.closed && !control.closed);
        QCOMPARE(doc.agentCount(), 1);
        QCOMPARE(doc.agentColors().size(), 1);
        QCOMPARE(cleared.size(), 1);
        QVERIFY(control.isWindowModified());
        QCOMPARE(primary.graph.hints().last(), int(QenHint::All));
        // The reset takes the recording, agents and bookmarks; the teacher's
        // breakpoint and description stay.
        QCOMPARE(doc.engine()->breakpointText(), QStringLiteral("ALV=1"));
        QCOMPARE(doc.engine()->breakpointOperands(), QStringList{QStringLiteral("ALV")});
        QCOMPARE(doc.description(), QStringLiteral("Induction"));
        QVERIFY(doc.engine()->bookmarks().isEmpty());
        doc.viewClosed(&primary);
        doc.viewClosed(&control);
    }

private:
    QTemporaryDir m_dir;
    QString m_ini;
    ScriptedPrompt m_prompt;
    std::unique_ptr<RecordingDocHost> m_host;
};

QTEST_GUILESS_MAIN(TestQenDoc)
#include "tst_qendoc.moc"
