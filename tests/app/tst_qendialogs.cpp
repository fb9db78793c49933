#include "app/qenbkpoint.h"
#include "app/qenbookmarkdlg.h"
#include "app/qencostdlg.h"
#include "app/qendeldlg.h"
#include "app/qendialogs.h"
#include "app/qendosedlg.h"
#include "app/qenpatientdlg.h"
#include "app/qenpatientwidget.h"
#include "document/qendoc.h"
#include "document/qendochost.h"
#include "engine/qenvocabulary.h"
#include "docfixture.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include "ui_qenbkpoint.h"
#include "ui_qenbookmark.h"
#include "ui_qencost.h"
#include "ui_qendel.h"
#include "ui_qendose.h"
#include "ui_qenpatient.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// Records 3 minutes, rewinds and replays the first minute: the display then
// lies in the recorded past of a run that has begun.
void replayFirstMinute(QenDoc &doc)
{
    runEngineTo(doc.engine(), 180000);
    doc.engine()->rewind();
    runEngineTo(doc.engine(), 60000);
    QCOMPARE(doc.engine()->displayTime(), 60000u);
    QCOMPARE(doc.engine()->endTime(), 180000u);
}

size_t sampleCount(QenDoc &doc)
{
    return doc.engine()->track(0).samples.size();
}

// Presses the dialog's OK and reports whether it closed accepted.
bool pressOk(QDialog &dialog)
{
    auto *box = dialog.findChild<QDialogButtonBox *>();
    box->button(QDialogButtonBox::Ok)->click();
    return dialog.result() == QDialog::Accepted;
}

const int Ok = QenPrompt::Ok;
const int Cancel = QenPrompt::Cancel;

} // namespace

class TestQenDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(safecopy); }

    void init()
    {
        m_f = std::make_unique<DocFixture>();
        QVERIFY(m_f->ok);
        m_doc = m_f->doc;
    }

    void cleanup()
    {
        QCOMPARE(m_f->prompt.pending(), 0); // every expected question was asked
        m_f.reset();
    }

    // --- the patient widget ---------------------------------------------------

    void weightRuleRanges_data()
    {
        QTest::addColumn<double>("kg");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("decimals");
        QTest::newRow("70 kg") << 70.0 << 1.0 << 2;
        QTest::newRow("140 kg, still the 70 kg ranges") << 140.0 << 1.0 << 2;
        QTest::newRow("0.5 kg") << 0.5 << 0.01 << 4;
        QTest::newRow("0.05 kg") << 0.05 << 0.001 << 5;
        QTest::newRow("1500 kg") << 1500.0 << 10.0 << 2;
    }
    void weightRuleRanges()
    {
        QFETCH(double, kg);
        QFETCH(double, scale);
        QFETCH(int, decimals);
        QenPatientWidget w;
        w.setWeight(kg);
        w.weightChanged();
        QCOMPARE(w.volumeScale(), scale);
        const double tops[] = {0, 100, 100, 1000, 100, 10};
        for (int c = ALV; c <= VEN; ++c) {
            QCOMPARE(w.volumeBox(c)->decimals(), decimals);
            QCOMPARE(w.volumeBox(c)->minimum(), 0.1 * scale);
            QCOMPARE(w.volumeBox(c)->maximum(), tops[c] * scale);
        }
    }

    void doubleWeightScalesVolumesAndMetabolism()
    {
        QenPatientWidget w;
        const double volumes[] = {0, 2.5, 6, 33, 14.5, 1};
        for (int c = ALV; c <= VEN; ++c)
            w.setVolume(c, volumes[c]);
        w.setCO(5);
        w.setVA(4);
        w.form()->dsbWeight->setValue(140);
        w.weightChanged();

        const double m = std::pow(2.0, 0.75);
        QCOMPARE(w.weightRatio(), 2.0);
        QCOMPARE(w.metabolicFactor(), m);
        for (int c = ALV; c <= VEN; ++c) {
            QCOMPARE(w.volumeBox(c)->value(), 2 * volumes[c]);
            QCOMPARE(w.volume(c), volumes[c]);
        }
        QCOMPARE(w.form()->dsbMetabolismCO->value(), std::round(5 * m * 1000) / 1000);
        QCOMPARE(w.form()->dsbMetabolismVA->value(), std::round(4 * m * 1000) / 1000);
        QCOMPARE(w.coPer70Kg(), 5.0);
        QCOMPARE(w.vaPer70Kg(), 4.0);

        // Back to 70 kg gives the 70 kg patient again.
        w.form()->dsbWeight->setValue(70);
        w.weightChanged();
        QCOMPARE(w.volumeBox(MUS)->value(), 33.0);
        QCOMPARE(w.co(), 5.0);
    }

    void leavingTheWeightUnchangedKeepsCoAndVa()
    {
        QenPatientWidget w;
        w.setWeight(80);
        w.setCO(6.0); // not a whole tenth per 70 kg at 80 kg
        w.prepare();
        QCOMPARE(w.co(), 6.0);
        w.weightChanged(); // focus leaves the weight box
        QCOMPARE(w.co(), 6.0);
    }

    void poundsAndBack()
    {
        QenPatientWidget w;
        w.setWeight(70);
        w.form()->rbPounds->click();
        QCOMPARE(w.weightUnit(), int(QenPatientWidget::Pounds));
        QCOMPARE(w.form()->dsbWeight->value(), 154.32);
        QCOMPARE(w.form()->dsbWeight->maximum(), 3306.93);
        QCOMPARE(w.form()->dsbWeight->minimum(), 0.11);
        QCOMPARE(w.weight(), 70.0);
        w.form()->rbKilograms->click();
        QCOMPARE(w.form()->dsbWeight->value(), 70.0);
        QCOMPARE(w.form()->dsbWeight->maximum(), 1500.0);
        QCOMPARE(w.weight(), 70.0);

        // A weight typed in pounds is read in kilograms.
        w.form()->rbPounds->click();
        w.form()->dsbWeight->setValue(220.46);
        QVERIFY(std::fabs(w.weight() - 100.0) < 1e-3);
    }

    void percentagesRoundHalfAwayFromZero_data()
    {
        QTest::addColumn<float>("fraction");
        QTest::addColumn<int>("percent");
        QTest::newRow("0.76") << 0.76f << 76;
        QTest::newRow("0.005") << 0.005f << 1;
        QTest::newRow("0.175") << 0.175f << 18;
        QTest::newRow("0.06") << 0.06f << 6;
    }
    void percentagesRoundHalfAwayFromZero()
    {
        QFETCH(float, fraction);
        QFETCH(int, percent);
        QCOMPARE(QenPatientWidget::percentOf(fraction), percent);
    }

    // --- the patient dialog through the document -----------------------------

    void percentagesMustAddUpTo100()
    {
        m_f->prompt.expect(Ok);
        bool refused = false;
        int vrg = 0;
        const bool changed = QenDialogs::changePatient(*m_doc, nullptr, [&](QDialog &d) {
            auto *w = d.findChild<QenPatientWidget *>();
            vrg = w->flowPercent(VRG);
            w->form()->sbRatioFAT->setValue(5);
            refused = !pressOk(d);
            w->form()->sbRatioMUS->setValue(19); // 76 + 19 + 5
            return pressOk(d);
        });
        QCOMPARE(vrg, 76);
        QVERIFY(refused);
        QCOMPARE(m_f->prompt.records().size(), 1);
        QCOMPARE(m_f->prompt.records()[0].icon, QenPrompt::Critical);
        QCOMPARE(m_f->prompt.records()[0].title, QStringLiteral("Quenor® "));
        QCOMPARE(m_f->prompt.records()[0].text,
                 QStringLiteral("<p>The sum of the flow percentages must be 100."));
        QVERIFY(changed);
        QCOMPARE(m_doc->engine()->flowFractions()[MUS], 0.19f);
        QCOMPARE(m_doc->engine()->flowFractions()[FAT], 0.05f);
        QCOMPARE(m_doc->engine()->flowFractions()[VRG], 0.76f);
    }

    void unchangedPatientChangesNothing_data()
    {
        QTest::addColumn<float>("kg");
        QTest::newRow("70 kg") << 70.0f;
        QTest::newRow("80 kg: rounded volumes") << 80.0f;
        QTest::newRow("0.5 kg") << 0.5f;
    }
    void unchangedPatientChangesNothing()
    {
        QFETCH(float, kg);
        QenEngine *e = m_doc->engine();
        e->setWeight(QenSystemOrigin, kg);
        e->setCO(QenSystemOrigin, 5.4321f);
        e->setFlowFraction(MUS, 0.175f); // shown as 18
        float before[QenCompartments];
        std::copy(e->volumes(), e->volumes() + QenCompartments, before);
        QSignalSpy modified(m_doc, qOverload<bool>(&QenDoc::modified));

        for (int unit : {0, 1}) {
            QVERIFY(!QenDialogs::changePatient(*m_doc, nullptr, [&](QDialog &d) {
                auto *w = d.findChild<QenPatientWidget *>();
                if (unit)
                    w->form()->rbPounds->click();
                return pressOk(d);
            }));
        }
        QCOMPARE(e->weight(), kg);
        QCOMPARE(e->co(), 5.4321f);
        QCOMPARE(e->flowFractions()[MUS], 0.175f);
        for (int c = 0; c < QenCompartments; ++c)
            QCOMPARE(e->volumes()[c], before[c]);
        QCOMPARE(modified.count(), 0);
    }

    void newWeightBeforeTheRun()
    {
        QenEngine *e = m_doc->engine();
        QVERIFY(QenDialogs::changePatient(*m_doc, nullptr, [&](QDialog &d) {
            auto *w = d.findChild<QenPatientWidget *>();
            w->form()->dsbWeight->setValue(140);
            w->weightChanged();
            w->form()->dsbALV->setValue(6); // 3 L per 70 kg
            return pressOk(d);
        }));
        QCOMPARE(e->weight(), 140.0f);
        QCOMPARE(e->volumes()[ALV], 3.0f);
        QCOMPARE(e->volumes()[MUS], 33.0f);
        // CO and VA as the dialog showed them, and the step of a 140 kg patient.
        QCOMPARE(e->co(), float(std::round(5 * std::pow(2.0, 0.75) * 1000) / 1000));
        QCOMPARE(e->va(), float(std::round(4 * std::pow(2.0, 0.75) * 1000) / 1000));
        QVERIFY(e->stepMs() > 6000);
    }

    void patientLockedOnceTheRunHasBegun()
    {
        replayFirstMinute(*m_doc);
        const size_t samples = sampleCount(*m_doc);
        // No replay question: nothing can be changed.
        QStringList enabled;
        QVERIFY(!QenDialogs::changePatient(*m_doc, nullptr, [&](QDialog &d) {
            auto *w = d.findChild<QenPatientWidget *>();
            const Ui::QenPatient *f = w->form();
            for (QWidget *child : w->findChildren<QWidget *>()) {
                if (child->isEnabled() && (qobject_cast<QAbstractSpinBox *>(child) ||
                                           qobject_cast<QAbstractButton *>(child)))
                    enabled.append(child->objectName());
            }
            f->rbPounds->click();
            return pressOk(d);
        }));
        enabled.sort();
        QCOMPARE(enabled, (QStringList{"rbKilograms", "rbPounds"}));
        QVERIFY(m_f->prompt.records().isEmpty());
        QCOMPARE(sampleCount(*m_doc), samples);
        QCOMPARE(m_doc->engine()->weight(), 70.0f);
    }

    // --- DEL, FGF, VA and CO ---------------------------------------------------

    void unchangedDelDialogErasesNothing()
    {
        replayFirstMinute(*m_doc);
        const size_t samples = sampleCount(*m_doc);
        m_doc->setModified(false);
        m_f->prompt.expect(Ok); // the replay question
        double delMax = -1;
        QVERIFY(!QenDialogs::adjustDel(*m_doc, nullptr, [&](QDialog &d) {
            delMax = static_cast<QenDelDlg &>(d).form()->dsbDEL->maximum();
            return pressOk(d);
        }));
        const QenAnesthetic *agent = m_doc->engine()->agentOf(0);
        QCOMPARE(delMax, std::round(double(agent->max) * 100) / 100);
        QCOMPARE(sampleCount(*m_doc), samples);
        QVERIFY(!m_doc->isModified());
    }

    void refusedReplayShowsNoDialog()
    {
        replayFirstMinute(*m_doc);
        const size_t samples = sampleCount(*m_doc);
        const QenDialogs::Runner mustNotRun = [](QDialog &) {
            QTest::qFail("dialog shown", __FILE__, __LINE__);
            return false;
        };
        m_f->prompt.expect(Cancel);
        QVERIFY(!QenDialogs::adjustDel(*m_doc, nullptr, mustNotRun));
        m_f->prompt.expect(Cancel);
        QVERIFY(!QenDialogs::unitDose(*m_doc, nullptr, mustNotRun));
        QCOMPARE(sampleCount(*m_doc), samples);
    }

    void changedFgfFollowsTheCoupledRules()
    {
        replayFirstMinute(*m_doc);
        QenEngine *e = m_doc->engine();
        m_f->prompt.expect(Ok);
        QVERIFY(QenDialogs::adjustDel(*m_doc, nullptr, [&](QDialog &d) {
            static_cast<QenDelDlg &>(d).form()->dsbFGF->setValue(0);
            return pressOk(d);
        }));
        // A semi-closed circuit without flow is closed, which then takes the
        // patient's oxygen uptake as its flow.
        QCOMPARE(e->circuitIndex(), 2);
        QCOMPARE(e->fgf(), 0.25f);
        QCOMPARE(e->va(), 4.0f);
        QVERIFY(e->track(0).samples.back().time <= 60000); // erased from the display on
    }

    void openCircuitFgfLowersVaOnly()
    {
        QenEngine *e = m_doc->engine();
        e->setCircuit(QenUserOrigin, QenVocabulary::circuits().at(0));
        e->setVA(QenUserOrigin, 6);
        QCOMPARE(e->fgf(), 10.0f);
        // VA is left as shown: the FGF rule lowers it, and it is not set back.
        QVERIFY(QenDialogs::adjustDel(*m_doc, nullptr, [&](QDialog &d) {
            auto &del = static_cast<QenDelDlg &>(d);
            del.form()->dsbFGF->setValue(3);
            del.form()->dsbDEL->setValue(1.5);
            del.form()->dsbCO->setValue(7.25);
            return pressOk(d);
        }));
        QCOMPARE(e->fgf(), 3.0f);
        QCOMPARE(e->va(), 3.0f);
        QCOMPARE(e->track(0).del, 1.5f);
        QCOMPARE(e->co(), 7.25f);
    }

    void cancelChangesNothing()
    {
        QenEngine *e = m_doc->engine();
        QVERIFY(!QenDialogs::adjustDel(*m_doc, nullptr, [](QDialog &d) {
            static_cast<QenDelDlg &>(d).form()->dsbFGF->setValue(2);
            d.reject();
            return false;
        }));
        QCOMPARE(e->fgf(), 8.0f);
    }

    // --- unit dose and cost ----------------------------------------------------

    void unitDoseNotBelowOneHundredth()
    {
        QenEngine *e = m_doc->engine();
        const float before = e->track(0).unitDose;
        QVERIFY(!QenDialogs::unitDose(*m_doc, nullptr, pressOk)); // unchanged
        QCOMPARE(e->track(0).unitDose, before);

        QVERIFY(QenDialogs::unitDose(*m_doc, nullptr, [](QDialog &d) {
            static_cast<QenDoseDlg &>(d).form()->dsbUnitDose->setValue(0.001);
            return pressOk(d);
        }));
        QCOMPARE(e->track(0).unitDose, 0.01f);
        QVERIFY(m_doc->isModified());
    }

    void costKeepsUnchangedValuesExact()
    {
        QenAnesthetic *agent = m_doc->catalogue().at(m_doc->engine()->track(0).agent);
        agent->bottleCost = 19.999f; // shown as 20.00
        QSignalSpy modified(m_doc, qOverload<bool>(&QenDoc::modified));
        QVERIFY(!QenDialogs::setCost(*m_doc, nullptr, pressOk));
        QCOMPARE(agent->bottleCost, 19.999f);
        QCOMPARE(modified.count(), 0);

        QVERIFY(QenDialogs::setCost(*m_doc, nullptr, [](QDialog &d) {
            static_cast<QenCostDlg &>(d).form()->sbSize->setValue(100);
            return pressOk(d);
        }));
        QCOMPARE(agent->bottleSize, 100);
        QCOMPARE(agent->bottleCost, 19.999f);
        QCOMPARE(modified.count(), 1);
    }

    // --- bookmarks -------------------------------------------------------------

    void bookmarksUpToTheEnd()
    {
        QenBookmarkDlg dlg(&m_f->prompt);
        dlg.setEnd(630000); // 0:10:30
        dlg.prepare();
        Ui::QenBookmark *f = dlg.form();
        QVERIFY(!f->pbDelete->isEnabled());
        QVERIFY(!f->pbDeleteAll->isEnabled());
        auto add = [&](int h, int m, int s) {
            f->sbHours->setValue(h);
            f->sbMin->setValue(m);
            f->sbSec->setValue(s);
            f->pbAdd->click();
        };
        add(0, 5, 0);
        add(0, 5, 0);
        QCOMPARE(f->lwBookmarks->count(), 1);
        QVERIFY(f->pbDelete->isEnabled());
        add(0, 10, 30);
        QCOMPARE(f->lwBookmarks->count(), 2);
        QCOMPARE(f->lwBookmarks->item(1)->text(), QStringLiteral("00:10:30"));
        QVERIFY(m_f->prompt.records().isEmpty());

        m_f->prompt.expect(Ok);
        m_f->prompt.expect(Ok);
        add(0, 10, 31);
        add(1, 0, 0);
        QCOMPARE(f->lwBookmarks->count(), 2);
        QCOMPARE(m_f->prompt.records().size(), 2);
        QCOMPARE(m_f->prompt.records()[0].icon, QenPrompt::Critical);
        QCOMPARE(m_f->prompt.records()[0].title, QStringLiteral("Quenor® "));
        QCOMPARE(m_f->prompt.records()[0].text,
                 QStringLiteral("You cannot set a bookmark past the end of the simulation!"));

        int beeps = 0;
        dlg.setBeep([&] { ++beeps; });
        add(0, 0, 0);
        QCOMPARE(beeps, 1);
        QCOMPARE(f->lwBookmarks->count(), 2);
    }

    void twentyBookmarksFillTheList()
    {
        QenBookmarkDlg dlg(&m_f->prompt);
        dlg.setEnd(3600000);
        QList<quint32> given;
        for (quint32 i = 1; i <= 19; ++i)
            given.append(i * 60000);
        dlg.setBookmarks(given);
        dlg.prepare();
        Ui::QenBookmark *f = dlg.form();
        QVERIFY(f->pbAdd->isEnabled());
        f->sbMin->setValue(30);
        f->pbAdd->click();
        QCOMPARE(f->lwBookmarks->count(), 20);
        QVERIFY(dlg.isFull());
        for (QWidget *w :
             std::initializer_list<QWidget *>{f->pbAdd, f->sbHours, f->sbMin, f->sbSec})
            QVERIFY(!w->isEnabled());

        f->lwBookmarks->setCurrentRow(3);
        f->pbDelete->click();
        QCOMPARE(f->lwBookmarks->count(), 19);
        QVERIFY(f->pbAdd->isEnabled());
        QVERIFY(f->sbHours->isEnabled());
        f->pbDeleteAll->click();
        QCOMPARE(f->lwBookmarks->count(), 0);
        QVERIFY(!f->pbDelete->isEnabled());
        QVERIFY(!f->pbDeleteAll->isEnabled());
    }

    void okStoresInListOrderCancelStoresNothing()
    {
        QenEngine *e = m_doc->engine();
        runEngineTo(m_doc->engine(), 600000);
        e->setBookmarks({300000});
        const auto addTimes = [](QDialog &d) {
            Ui::QenBookmark *f = static_cast<QenBookmarkDlg &>(d).form();
            f->sbMin->setValue(7);
            f->pbAdd->click();
            f->sbMin->setValue(3);
            f->sbSec->setValue(15);
            f->pbAdd->click();
        };
        m_doc->setModified(false);
        QVERIFY(!QenDialogs::setBookmark(*m_doc, nullptr, [&](QDialog &d) {
            addTimes(d);
            static_cast<QenBookmarkDlg &>(d).form()->pushButtonCancel->click();
            return d.result() == QDialog::Accepted;
        }));
        QCOMPARE(e->bookmarks(), QList<quint32>{300000});
        QVERIFY(!m_doc->isModified());

        QVERIFY(QenDialogs::setBookmark(*m_doc, nullptr, [&](QDialog &d) {
            addTimes(d);
            static_cast<QenBookmarkDlg &>(d).form()->pushButtonOK->click();
            return d.result() == QDialog::Accepted;
        }));
        QCOMPARE(e->bookmarks(), (QList<quint32>{300000, 420000, 195000}));
        QVERIFY(m_doc->isModified());
    }

    void timeTexts_data()
    {
        QTest::addColumn<quint32>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("5 min") << 300000u << "00:05:00";
        QTest::newRow("ms dropped") << 630999u << "00:10:30";
        QTest::newRow("20 h") << 72000000u << "20:00:00";
    }
    void timeTexts()
    {
        QFETCH(quint32, ms);
        QFETCH(QString, text);
        QCOMPARE(QenBookmarkDlg::timeText(ms), text);
        QCOMPARE(QenBookmarkDlg::timeMs(text), ms / 1000 * 1000);
    }

    // --- breakpoint ------------------------------------------------------------

    void illegalConditionThenCorrected()
    {
        QenEngine *e = m_doc->engine();
        bool hiddenAtFirst = false;
        bool cautioned = false;
        QVERIFY(QenDialogs::setBreakPoint(*m_doc, nullptr, [&](QDialog &d) {
            Ui::qenBkPoint *f = static_cast<qenBkPoint &>(d).form();
            hiddenAtFirst = f->lb_caution->isHidden();
            f->textEdit->setPlainText(QStringLiteral("ALV*2 = 1"));
            f->bt_OK->click();
            cautioned = d.result() != QDialog::Accepted && !f->lb_caution->isHidden();
            f->textEdit->setPlainText(QStringLiteral("  ALV -  CKT =  0.5 "));
            f->bt_OK->click();
            return d.result() == QDialog::Accepted;
        }));
        QVERIFY(hiddenAtFirst);
        QVERIFY(cautioned);
        QCOMPARE(e->breakpointText(), QStringLiteral("ALV - CKT = 0.5"));
        QCOMPARE(e->breakpointOperands(), (QStringList{"ALV", "CKT"}));
        QCOMPARE(e->breakpointTarget(), 0.5f);
        QVERIFY(m_doc->isModified());

        // The dialog starts with the condition; Cancel keeps it, an empty one removes it.
        QString shown;
        QVERIFY(!QenDialogs::setBreakPoint(*m_doc, nullptr, [&](QDialog &d) {
            Ui::qenBkPoint *f = static_cast<qenBkPoint &>(d).form();
            shown = f->textEdit->toPlainText();
            f->textEdit->clear();
            f->bt_Cancel->click();
            return d.result() == QDialog::Accepted;
        }));
        QCOMPARE(shown, QStringLiteral("ALV - CKT = 0.5"));
        QCOMPARE(e->breakpointText(), QStringLiteral("ALV - CKT = 0.5"));
        QVERIFY(QenDialogs::setBreakPoint(*m_doc, nullptr, [](QDialog &d) {
            static_cast<qenBkPoint &>(d).form()->textEdit->setPlainText(QStringLiteral("   "));
            static_cast<qenBkPoint &>(d).onOk();
            return d.result() == QDialog::Accepted;
        }));
        QVERIFY(e->breakpointText().isEmpty());
        QVERIFY(e->breakpointOperands().isEmpty());
    }

    // --- the forms -------------------------------------------------------------

    void titles()
    {
        QenCostDlg cost;
        QenDelDlg del;
        QenDoseDlg dose;
        QenPatientDlg patient(&m_f->prompt);
        QenBookmarkDlg bookmark(&m_f->prompt);
        QCOMPARE(cost.windowTitle(), QStringLiteral("Cost Parameters"));
        QCOMPARE(del.windowTitle(), QStringLiteral("Adjust DEL, FGF, VA and CO"));
        QCOMPARE(dose.windowTitle(), QStringLiteral("Change Unit Dose"));
        // At least its classic size, and wide enough for its whole title.
        QCOMPARE(dose.height(), 86);
        QVERIFY(dose.width() >= 176);
        for (QDialog *d :
             std::initializer_list<QDialog *>{&cost, &del, &dose, &patient, &bookmark}) {
            QFont bold = d->font();
            bold.setBold(true);
            QVERIFY2(d->width() > QFontMetrics(bold).horizontalAdvance(d->windowTitle()),
                     qPrintable(d->windowTitle()));
        }
        // Each field of the DEL dialog says its unit.
        QCOMPARE(del.form()->dsbDEL->suffix(), QStringLiteral(" %atm"));
        QCOMPARE(del.form()->dsbFGF->suffix(), QStringLiteral(" L/min"));
        QCOMPARE(del.form()->dsbVA->suffix(), QStringLiteral(" L/min"));
        QCOMPARE(del.form()->dsbCO->suffix(), QStringLiteral(" L/min"));
        QCOMPARE(patient.windowTitle(), QStringLiteral("Change patient"));
        QCOMPARE(bookmark.windowTitle(), QStringLiteral("Place or Remove a Bookmark"));
        QCOMPARE(del.form()->dsbDEL->maximum(), 0.0);
        QCOMPARE(del.form()->dsbFGF->maximum(), 500.0);
        QCOMPARE(dose.form()->dsbUnitDose->minimum(), 0.01);
        QCOMPARE(dose.form()->dsbUnitDose->maximum(), 20.0);
        QCOMPARE(cost.form()->sbSize->maximum(), 5000);
        QCOMPARE(cost.form()->dsbCost->maximum(), 10000.0);
        for (QDialog *d : std::initializer_list<QDialog *>{&cost, &del, &dose, &patient, &bookmark})
            QVERIFY(!(d->windowFlags() & Qt::WindowContextHelpButtonHint));
    }

private:
    std::unique_ptr<DocFixture> m_f;
    QenDoc *m_doc = nullptr;
};

QTEST_MAIN(TestQenDialogs)
#include "tst_qendialogs.moc"
