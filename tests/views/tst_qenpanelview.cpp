#include "fakewindow.h"
#include "viewharness.h"

#include "document/qenpacer.h"

#include "views/qendoublevalidator.h"
#include "views/qengauge.h"
#include "views/qengaugemath.h"
#include "views/qengraph.h"
#include "views/qenmchn.h"
#include "views/qensettingrow.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>

namespace {

// What the field's editingFinished() does when the user leaves it.
void finishEditing(QLineEdit *field, const QString &text)
{
    field->setReadOnly(false);
    field->setText(text);
    QMetaObject::invokeMethod(field, "editingFinished");
    QCoreApplication::sendPostedEvents();
}

} // namespace

class TestQenPanelView : public QObject
{
    Q_OBJECT

private slots:
    void gaugeScale_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("tick");
        QTest::addColumn<int>("longTick");
        QTest::newRow("7") << 7 << 1 << 5;
        QTest::newRow("10") << 10 << 1 << 5;
        QTest::newRow("25") << 25 << 2 << 10;
        QTest::newRow("40") << 40 << 5 << 10;
        QTest::newRow("50") << 50 << 5 << 25;
        QTest::newRow("100") << 100 << 10 << 50;
    }
    void gaugeScale()
    {
        QFETCH(int, limit);
        QFETCH(int, tick);
        QFETCH(int, longTick);
        const QenPanelView::GaugeScale s = QenPanelView::gaugeScale(limit);
        QCOMPARE(s.tick, tick);
        QCOMPARE(s.longTick, longTick);

        // The FGF top typed into the picture re-scales its gauge in twentieths.
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        QLineEdit *top = panel->limitField(QenPanelView::FGF);
        top->setText(QString::number(limit));
        QMetaObject::invokeMethod(top, "editingFinished");
        const QenGauge *g = panel->gauge(QenPanelView::FGF);
        QCOMPARE(g->max(), 20 * limit);
        QCOMPARE(g->tickEvery(), 20 * tick);
        QCOMPARE(g->lTickEvery(), 20 * longTick);
        QCOMPARE(g->value(), qRound(std::min(f.engine()->fgf(), float(limit)) * 20));
    }

    void validator_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("state");
        QTest::newRow("empty") << "" << int(QValidator::Intermediate);
        QTest::newRow("dot") << "." << int(QValidator::Intermediate);
        QTest::newRow("two decimals") << "1.25" << int(QValidator::Acceptable);
        QTest::newRow("whole") << "12" << int(QValidator::Acceptable);
        QTest::newRow("third decimal") << "1.255" << int(QValidator::Invalid);
        QTest::newRow("negative") << "-1" << int(QValidator::Invalid);
        QTest::newRow("letters") << "abc" << int(QValidator::Invalid);
        QTest::newRow("above the limit, still typed") << "500" << int(QValidator::Intermediate);
        QTest::newRow("at the limit") << "25.00" << int(QValidator::Acceptable);
    }
    void validator()
    {
        QFETCH(QString, text);
        QFETCH(int, state);
        QenDoubleValidator v;
        v.setLimit(25.0);
        int pos = 0;
        QCOMPARE(int(v.validate(text, pos)), state);
        if (state == QValidator::Intermediate && !text.isEmpty() && text != QLatin1String(".")) {
            v.fixup(text);
            QCOMPARE(text, QStringLiteral("25.00"));
        }
    }

    // However a DEL above the vaporizer's maximum is entered, the simulation
    // takes the maximum and the field shows it.
    void delHeldToTheAgentsMaximum_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::newRow("typed, Return") << true;
        QTest::newRow("set and left") << false;
    }
    void delHeldToTheAgentsMaximum()
    {
        QFETCH(bool, typed);
        ViewFixture f;
        QVERIFY(f.ok);
        QVERIFY(f.usePrimary(QStringLiteral("Isoflurane")));
        QenPanelView *panel = f.window()->panel.get();
        QLineEdit *del = panel->field(QenPanelView::DEL);
        if (typed) {
            del->selectAll();
            QTest::keyClicks(del, QStringLiteral("500"));
            QCOMPARE(del->text(), QStringLiteral("500"));
            QTest::keyClick(del, Qt::Key_Return);
            QCoreApplication::sendPostedEvents();
        } else {
            finishEditing(del, QStringLiteral("500"));
        }
        QCOMPARE(f.engine()->track(0).del, 25.0f);
        QCOMPARE(del->text(), QStringLiteral("25.00"));

        // Up neither passes the maximum nor pulls the value down to the
        // gauge's top (5 for this agent).
        QToolButton *up = panel->findChild<QToolButton *>(QStringLiteral("tbDELup"));
        QVERIFY(up);
        up->click();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(f.engine()->track(0).del, 25.0f);
    }

    void pacingPerSpeed_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("target"); // after one tick of 200 ms from time 0
        QTest::newRow("1x") << 1 << 1000 << 200;
        QTest::newRow("2x") << 2 << 500 << 400;
        QTest::newRow("5x") << 5 << 200 << 1000;
        QTest::newRow("10x") << 10 << 100 << 2000;
        QTest::newRow("20x") << 20 << 100 << 4000;
        QTest::newRow("60x") << 60 << 100 << 12000;
        QTest::newRow("120x") << 120 << 100 << 24000;
        QTest::newRow("AFAP") << 1000 << 250 << 900000;
    }
    void pacingPerSpeed()
    {
        QFETCH(int, speed);
        QFETCH(int, interval);
        QFETCH(int, target);
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        panel->SetSpeed(speed == 1000 ? QStringLiteral("AFAP") : QStringLiteral("%1x").arg(speed));
        QCOMPARE(f.engine()->speed(), speed);
        panel->run();
        QCOMPARE(f.engine()->state(), ARunning);
        QVERIFY(f.doc->pacer()->isActive());
        QCOMPARE(f.doc->pacer()->interval(), interval);

        f.doc->pacer()->tick(200);
        QenEngine *e = f.engine();
        QCOMPARE(int(std::max(e->targetTime(), e->displayTime())), target);
        if (speed != 1000)
            QCOMPARE(f.doc->pacer()->pacedMs(), qint64(target));

        panel->run();
        QCOMPARE(e->state(), APaused);
        QVERIFY(!f.doc->pacer()->isActive());
    }

    void pacingCountsOnFromTheDisplayedMillisecond()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        QenPacer *pacer = f.doc->pacer();
        panel->SetSpeed(QStringLiteral("5x"));
        panel->run();
        QenEngine *e = f.engine();
        auto compute = [e] {
            for (int guard = 100000; e->timerActive() && guard > 0; --guard)
                e->tick();
        };
        pacer->tick(300);
        compute();
        QCOMPARE(e->displayTime(), 1500u);
        panel->run();
        // Pausing and going on loses none of the 1.5 s on display.
        panel->run();
        QCOMPARE(pacer->pacedMs(), 1500);
        QCOMPARE(pacer->interval(), 200);
        pacer->tick(200);
        compute();
        QCOMPARE(e->displayTime(), 2500u);
        panel->run();
    }

    // Projected in a maximised window, the compartment picture keeps at least
    // a third of the view's height and its shape.
    void compartmentPictureKeepsItsShare_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1920x1080 maximised") << QSize(1900, 900);
        QTest::newRow("1024x768 maximised") << QSize(1000, 600);
        QTest::newRow("tall") << QSize(900, 1000);
    }
    void compartmentPictureKeepsItsShare()
    {
        QFETCH(QSize, size);
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        panel->resize(size);
        panel->show();
        QCoreApplication::processEvents();
        const QenMchn *m = panel->findChild<QenMchn *>(QStringLiteral("m_Qenmchn"));
        QWidget *content = m->parentWidget();
        QVERIFY2(m->height() * 3 >= content->height(),
                 qPrintable(QStringLiteral("%1 of %2").arg(m->height()).arg(content->height())));
        // Its width to height stays near that of the picture at its smallest.
        const double aspect = double(m->width()) / m->height();
        const QSize smallest = m->minimumSizeHint();
        const double base = double(content->minimumSizeHint().width()) /
                            std::max(smallest.height(), m->minimumHeight());
        QVERIFY2(aspect > base * 0.75 && aspect < base * 1.25,
                 qPrintable(QStringLiteral("%1 against %2").arg(aspect).arg(base)));
    }

    // The gauges' value fields grow with the picture as the compartment
    // numbers do, so that a maximised picture reads from the back of a room.
    void valueFieldsGrowWithThePicture_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("grown");
        QTest::newRow("1920x1080 maximised") << QSize(1900, 900) << true;
        QTest::newRow("smallest") << QSize(10, 10) << false;
    }
    void valueFieldsGrowWithThePicture()
    {
        QFETCH(QSize, size);
        QFETCH(bool, grown);
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        const int base = QFontInfo(panel->field(QenPanelView::DEL)->font()).pixelSize();
        panel->resize(size);
        panel->show();
        QCoreApplication::processEvents();
        const QenMchn *m = panel->findChild<QenMchn *>(QStringLiteral("m_Qenmchn"));
        const int numbers = m->textFont().pixelSize();
        QCOMPARE(numbers > base, grown);
        for (int s = QenPanelView::DEL; s <= QenPanelView::CO; ++s) {
            QLineEdit *field = panel->field(QenPanelView::Setting(s));
            QCOMPARE(QFontInfo(field->font()).pixelSize(), numbers);
            // The field is tall enough for its larger text.
            QVERIFY(field->height() >= QFontMetrics(field->font()).height());
        }
    }

    void runRefusesDuplicateAgents()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        f.doc->addAgent(f.doc->agentName(0));
        f.prompt.expect(QenPrompt::Ok);
        panel->run();
        QCOMPARE(f.prompt.records().size(), 1);
        QVERIFY(f.prompt.records().first().text.startsWith(
            QLatin1String("<p>Two of the same agents are being administered.")));
        QCOMPARE(f.engine()->state(), ANotRun);
        QVERIFY(!f.doc->pacer()->isActive());
    }

    void upAndDown_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<double>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<double>("expected");
        QTest::newRow("DEL down at 0.03") << int(QenPanelView::DEL) << 0.03 << false << 0.0;
        QTest::newRow("DEL down") << int(QenPanelView::DEL) << 1.0 << false << 0.95;
        QTest::newRow("CO up to the top") << int(QenPanelView::CO) << 9.98 << true << 10.0;
        QTest::newRow("CO up at the top") << int(QenPanelView::CO) << 10.0 << true << 10.0;
        QTest::newRow("VA up") << int(QenPanelView::VA) << 4.0 << true << 4.05;
    }
    void upAndDown()
    {
        QFETCH(int, setting);
        QFETCH(double, start);
        QFETCH(bool, up);
        QFETCH(double, expected);
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        QenEngine *e = f.engine();
        switch (setting) {
        case QenPanelView::DEL:
            f.doc->engine()->setDEL(QenSystemOrigin, 0, float(start));
            break;
        case QenPanelView::VA:
            f.doc->engine()->setVA(QenSystemOrigin, float(start));
            break;
        case QenPanelView::CO:
            f.doc->engine()->setCO(QenSystemOrigin, float(start));
            break;
        }
        const auto s = QenPanelView::Setting(setting);
        (up ? panel->upButton(s) : panel->downButton(s))->click();
        QCoreApplication::sendPostedEvents();
        const double now = setting == QenPanelView::DEL  ? e->track(0).del
                           : setting == QenPanelView::VA ? e->va()
                                                         : e->co();
        QCOMPARE(QString::number(now, 'f', 2), QString::number(expected, 'f', 2));
        QCOMPARE(panel->gauge(s)->value(), qRound(expected * 20));
    }

    void noticesReachTheFields_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<double>("value");
        QTest::newRow("DEL") << int(QenPanelView::DEL) << 1.7;
        QTest::newRow("FGF") << int(QenPanelView::FGF) << 6.5;
        QTest::newRow("VA") << int(QenPanelView::VA) << 5.25;
        QTest::newRow("CO") << int(QenPanelView::CO) << 12.0; // above the top of 10
    }
    void noticesReachTheFields()
    {
        QFETCH(int, setting);
        QFETCH(double, value);
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        const auto s = QenPanelView::Setting(setting);
        switch (setting) {
        case QenPanelView::DEL:
            f.doc->engine()->setDEL(QenUserOrigin, 0, float(value));
            break;
        case QenPanelView::FGF:
            f.doc->engine()->setFGF(QenUserOrigin, float(value));
            break;
        case QenPanelView::VA:
            f.doc->engine()->setVA(QenUserOrigin, float(value));
            break;
        case QenPanelView::CO:
            f.doc->engine()->setCO(QenUserOrigin, float(value));
            break;
        }
        QCOMPARE(panel->field(s)->text(), QString::number(value, 'f', 2));
        QCOMPARE(panel->gauge(s)->value(), qRound(std::min(value, double(panel->limit(s))) * 20));
        // The typed setting above its top shows red.
        const bool over = value > panel->limit(s);
        QCOMPARE(panel->field(s)->palette().color(QPalette::Text) == Qt::red, over);
    }

    void noticeForAnotherAgentIsIgnored()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window(0)->panel.get();
        const int second = f.doc->addAgent(QStringLiteral("Sevoflurane"));
        QVERIFY(second > 0);
        const QString before = panel->field(QenPanelView::DEL)->text();
        const int gaugeBefore = panel->gauge(QenPanelView::DEL)->value();
        f.doc->engine()->setDEL(QenUserOrigin, second, 3.3f);
        QCOMPARE(panel->field(QenPanelView::DEL)->text(), before);
        QCOMPARE(panel->gauge(QenPanelView::DEL)->value(), gaugeBefore);
        f.doc->engine()->setDEL(QenUserOrigin, 0, 0.4f);
        QCOMPARE(panel->field(QenPanelView::DEL)->text(), QStringLiteral("0.40"));
    }

    // A change typed while replaying asks first, then reaches the document
    // once, and the recording after the displayed time is gone.
    void typedChangeGoesThroughTheReplayGuard()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        FakeWindow other(nullptr, QenChildWindowInterface::Picture, 0);
        f.doc->addView(&other);
        QenEngine *e = f.engine();
        e->setSpeed(QenSystemOrigin, 1000);
        e->setState(QenUserOrigin, ARunning);
        f.runTo(120000, RunTo::FirstStop);
        e->pause();
        e->rewind();
        QVERIFY(e->displayTime() < e->endTime());
        other.picture.clear();

        // Refused: nothing changes and the field shows the setting again.
        f.prompt.expect(QenPrompt::Cancel);
        QLineEdit *co = panel->field(QenPanelView::CO);
        const float before = e->co();
        finishEditing(co, QStringLiteral("6.5"));
        QCOMPARE(e->co(), before);
        QCOMPARE(co->text(), QString::number(before, 'f', 2));
        QCOMPARE(other.picture.count(QenHint::Co), 0);

        f.prompt.expect(QenPrompt::Ok);
        finishEditing(co, QStringLiteral("6.5"));
        QCOMPARE(f.prompt.records().size(), 2);
        QCOMPARE(e->co(), 6.5f);
        QCOMPARE(other.picture.count(QenHint::Co), 1);
        QCOMPARE(e->endTime(), e->displayTime());
        QCOMPARE(panel->gauge(QenPanelView::CO)->value(), 130);

        // The same text again is no change at all.
        finishEditing(co, QStringLiteral("6.50"));
        QCOMPARE(other.picture.count(QenHint::Co), 1);
        QCOMPARE(f.prompt.records().size(), 2);
        f.doc->viewClosed(&other);
    }

    // Pausing for the change refreshes the fields; what was typed survives.
    void typedChangeWhileRunningIsKept()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        QenEngine *e = f.engine();
        panel->SetSpeed(QStringLiteral("AFAP"));
        panel->run();
        f.runTo(60000, RunTo::FirstStop);
        QCOMPARE(e->state(), ARunning);
        finishEditing(panel->field(QenPanelView::DEL), QStringLiteral("2.25"));
        QCOMPARE(e->track(0).del, 2.25f);
        QCOMPARE(e->state(), ARunning);
        QVERIFY(f.doc->pacer()->isActive());
        panel->run();
    }

    void delTopRefusedAndAccepted()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        HarnessWindow *w = f.window();
        QenPanelView *panel = w->panel.get();
        QenAnesthetic *agent = f.doc->catalogue().at(f.engine()->track(0).agent);
        const int stored = agent->high;
        QLineEdit *high = panel->limitField(QenPanelView::DEL);
        QCOMPARE(high->text(), QString::number(stored));

        high->setText(QStringLiteral("0"));
        f.prompt.expect(QenPrompt::Ok);
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(high, &out);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        QCOMPARE(f.prompt.records().size(), 1);
        QCOMPARE(f.prompt.records().first().text,
                 QStringLiteral("The input is not valid, please check and input it again."));
        QCOMPARE(int(f.prompt.records().first().icon), int(QenPrompt::Warning));
        QCOMPARE(high->text(), QString::number(stored));
        QCOMPARE(int(agent->high), stored);

        // An accepted top is the agent's, and the graphs follow it.
        f.doc->setModified(false);
        high->setText(QStringLiteral("3"));
        QMetaObject::invokeMethod(high, "editingFinished");
        QCOMPARE(int(agent->high), 3);
        QVERIFY(f.doc->isModified());
        QCOMPARE(panel->limit(QenPanelView::DEL), 3);
        QCOMPARE(panel->gauge(QenPanelView::DEL)->max(), 60);
        QCOMPARE(w->graph->compartmentGraph()->ySize(), 3.0);
    }

    void machineLevelsAndTotals()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QVERIFY(f.usePrimary(QStringLiteral("Isoflurane")));
        QenPanelView *panel = f.window()->panel.get();
        QenEngine *e = f.engine();
        e->setSpeed(QenSystemOrigin, 1000);
        e->setState(QenUserOrigin, ARunning);
        f.runTo(600000, RunTo::FirstStop);
        e->pause();
        const QenMchn *m = panel->findChild<QenMchn *>(QStringLiteral("m_Qenmchn"));
        QVERIFY(m);
        const double top = panel->limit(QenPanelView::DEL);
        const float alv = e->compartmentAt(0, ALV, e->displayTime());
        QCOMPARE(m->level(MchnPart::ALV), std::clamp(int(alv * 100 / top), 0, 100));
        QCOMPARE(m->level(MchnPart::ART), m->level(MchnPart::ALV));
        QCOMPARE(m->value(MchnPart::ALV), QStringLiteral("%1").arg(alv, 4, 'f', 2));
        QCOMPARE(m->mac(), int(e->agentOf(0)->mac * 100 / top));
        QCOMPARE(panel->findChild<QLineEdit *>(QStringLiteral("leTime"))->text(),
                 QStringLiteral("00:10:00"));
        QCOMPARE(panel->findChild<QLineEdit *>(QStringLiteral("leDelivered"))->text(),
                 QString::number(e->compartmentAt(0, QenDelivered, e->displayTime()), 'f', 2));
    }

    void texts_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        QTest::newRow("time") << QenPanelView::timeText(3723000) << "01:02:03";
        QTest::newRow("total") << QenPanelView::totalText(12.345) << "12.35";
        QTest::newRow("big total") << QenPanelView::totalText(1234.5) << "1235";
        QTest::newRow("format %4.1f") << QenPanelView::formatValue("%4.1f", 0.26) << " 0.3";
        QTest::newRow("format %5.3f") << QenPanelView::formatValue("%5.3f", 1.5) << "1.500";
        QTest::newRow("speed AFAP") << QString::number(QenPanelView::parseSpeed("AFAP")) << "1000";
        QTest::newRow("speed 20x") << QString::number(QenPanelView::parseSpeed("20x")) << "20";
        QTest::newRow("speed 0x") << QString::number(QenPanelView::parseSpeed("0x")) << "0";
    }
    void texts()
    {
        QFETCH(QString, got);
        QFETCH(QString, expected);
        QCOMPARE(got, expected);
    }

    void effectiveFlowShowsAStar()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QVERIFY(f.usePrimary(QStringLiteral("Isoflurane")));
        QenPanelView *panel = f.window()->panel.get();
        QenEngine *e = f.engine();
        e->enableVapor(true);
        f.doc->engine()->setDEL(QenUserOrigin, 0, 5.0f);
        e->setSpeed(QenSystemOrigin, 1000);
        e->setState(QenUserOrigin, ARunning);
        f.runTo(60000, RunTo::FirstStop);
        e->pause();
        QLineEdit *fgf = panel->field(QenPanelView::FGF);
        QVERIFY(fgf->isReadOnly());
        const float effective = e->fgfDeliveredAt(0, e->displayTime());
        QVERIFY(effective > e->fgf());
        QCOMPARE(fgf->text(), QString::number(effective, 'f', 2));
        QVERIFY(!panel->findChild<QLabel *>(QStringLiteral("stFGF"))->isHidden());

        // A press shows the setting for editing.
        QTest::mouseClick(fgf, Qt::LeftButton);
        QVERIFY(!fgf->isReadOnly());
        QCOMPARE(fgf->text(), QString::number(e->fgf(), 'f', 2));
    }

    // Dragging a gauge pauses the run, asks, shows the value as it goes,
    // applies it on release and lets the run go on.
    void gaugeDrag_data()
    {
        QTest::addColumn<bool>("replaying");
        QTest::addColumn<bool>("granted");
        QTest::newRow("live") << false << true;
        QTest::newRow("past, granted") << true << true;
        QTest::newRow("past, refused") << true << false;
    }
    void gaugeDrag()
    {
        QFETCH(bool, replaying);
        QFETCH(bool, granted);
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        QenEngine *e = f.engine();
        panel->SetSpeed(QStringLiteral("120x"));
        panel->run();
        f.runTo(120000, RunTo::FirstStop);
        if (replaying) {
            panel->run();
            e->rewind();
            panel->run();
            f.runTo(30000, RunTo::FirstStop);
            QVERIFY(e->displayTime() < e->endTime());
            f.prompt.expect(granted ? QenPrompt::Ok : QenPrompt::Cancel);
        }
        QCOMPARE(e->state(), ARunning);
        const float before = e->va();

        QenGauge *g = panel->gauge(QenPanelView::VA);
        g->resize(40, 200);
        const GaugeLayout l = g->barLayout();
        const int x = (l.innerLeft + l.innerRight) / 2;
        const int grab = gaugeValueRow(l, g->value(), g->max());
        QTest::mousePress(g, Qt::LeftButton, {}, QPoint(x, grab + 1));
        QCOMPARE(g->isDragging(), granted);
        QCOMPARE(e->state(), granted ? APaused : ARunning);
        QTest::mouseMove(g, QPoint(x, grab - 40));
        QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(x, grab - 40));
        if (!granted) {
            QCOMPARE(e->va(), before);
            return;
        }
        QVERIFY(e->va() > before);
        QCOMPARE(e->va(), float(g->value() / 20.0));
        QCOMPARE(panel->field(QenPanelView::VA)->text(), QString::number(e->va(), 'f', 2));
        QCOMPARE(e->state(), ARunning);
        QVERIFY(f.doc->pacer()->isActive());
        QCOMPARE(e->endTime(), e->displayTime());
        panel->run();
    }

    void controlTraySlots()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenPanelView *panel = f.window()->panel.get();
        QenEngine *e = f.engine();
        panel->SetSpeed(QStringLiteral("10x"));
        panel->run();
        panel->ChangeCircuit(QStringLiteral("Closed"));
        QCOMPARE(e->circuitIndex(), 2);
        QCOMPARE(e->state(), ARunning);
        panel->ChangeSpeed(QStringLiteral("2x"));
        QCOMPARE(e->speed(), 2);
        QCOMPARE(f.doc->pacer()->interval(), 500);
        QCOMPARE(e->state(), ARunning);
        panel->ChangeSpeed(QStringLiteral("0x"));
        QCOMPARE(e->speed(), 2);
        panel->ChangeWeight(80.0);
        QCOMPARE(e->weight(), 80.0f);
        QCOMPARE(e->state(), ARunning);
        panel->run();
        QVERIFY(!f.doc->pacer()->isActive());
    }

    // A row on its own: a step stays under both the scale top and the
    // highest value the setting takes, and never pulls a value above the
    // scale down; a value above the scale top is red.
    void settingRowStepsWithinItsTops_data()
    {
        QTest::addColumn<int>("scaleTop");
        QTest::addColumn<double>("valueTop");
        QTest::addColumn<double>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("red");
        QTest::newRow("up to the scale top") << 10 << -1.0 << 9.98 << true << "10.00" << false;
        QTest::newRow("up under the scale") << 10 << -1.0 << 3.4 << true << "3.45" << false;
        QTest::newRow("held to the value top") << 8 << 4.5 << 4.47 << true << "4.50" << false;
        QTest::newRow("scale top tighter") << 3 << 4.5 << 2.99 << true << "3.00" << false;
        QTest::newRow("above the scale, up") << 5 << -1.0 << 7.0 << true << "7.00" << true;
        QTest::newRow("above the scale, down") << 5 << -1.0 << 7.0 << false << "6.95" << true;
        QTest::newRow("down to 0") << 5 << -1.0 << 0.03 << false << "0.00" << false;
    }
    void settingRowStepsWithinItsTops()
    {
        QFETCH(int, scaleTop);
        QFETCH(double, valueTop);
        QFETCH(double, start);
        QFETCH(bool, up);
        QFETCH(QString, expected);
        QFETCH(bool, red);
        QWidget parent;
        QenSettingRow::Widgets w{new QLineEdit(&parent),   new QLineEdit(&parent),
                                 new QToolButton(&parent), new QToolButton(&parent),
                                 new QenGauge(&parent),    nullptr};
        QenSettingRow row(
            w, {QStringLiteral("CO"), QStringLiteral("L/min"), QStringLiteral("CO top")},
            [start] { return start; }, [scaleTop] { return scaleTop; }, nullptr);
        row.setValueTop(valueTop);
        row.setLimitRange(1, 500);
        row.showLimit();
        QCOMPARE(w.limit->text(), QString::number(scaleTop));
        QSignalSpy stepped(&row, &QenSettingRow::stepped);
        (up ? w.up : w.down)->click();
        QCOMPARE(stepped.count(), 1);
        QCOMPARE(w.field->text(), expected);
        QCOMPARE(w.field->palette().color(QPalette::Text),
                 red ? QColor(Qt::red) : QColor(Qt::black));
    }
};

QTEST_MAIN(TestQenPanelView)
#include "tst_qenpanelview.moc"
