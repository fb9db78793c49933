// The options dialog driven through the real main window and its settings
// store: what one change writes (and nothing else), what reaches open views
// and new simulations, the agent table, the sound choice, the minute sound,
// and a settings file that cannot be written.

#include "app/options/qencdefaultswidget.h"
#include "app/options/qenchoicesound.h"
#include "app/options/qenoptions.h"
#include "app/options/qenoptionsdialog.h"
#include "app/options/qenpdefaultswidget.h"
#include "app/options/qensdefaultswidget.h"
#include "app/options/qenvdefaultswidget.h"
#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qenmainwindow.h"
#include "app/qenminutesound.h"
#include "app/qenpatientwidget.h"
#include "apptestmain.h"
#include "document/qendoc.h"
#include "document/qendochost.h"
#include "engine/qencatalogue.h"
#include "engine/qenengine.h"
#include "engine/qenfootprint.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"
#include "scriptedprompt.h"
#include "testfiles.h"
#include "views/qengraphview.h"

#include "ui_qenchoicesound.h"
#include "ui_qenpdefaults.h"
#include "ui_qensdefaults.h"
#include "ui_qenvdefaults.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>

namespace {

const QTemporaryDir *programDir = nullptr;
ScriptedPrompt *prompt = nullptr;

using Edit = std::function<void(QenOptionsDialog &)>;

// The INI as "section/key" (lower case) to value text, read from the file's
// bytes rather than through the settings store under test.
QMap<QString, QString> snapshot(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QMap<QString, QString> keys;
    QString section;
    for (const QString &raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')))
            section = line.mid(1, line.size() - 2).toLower();
        else if (line.contains(QLatin1Char('=')))
            keys.insert(section + QLatin1Char('/') + line.section(QLatin1Char('='), 0, 0).toLower(),
                        line.section(QLatin1Char('='), 1));
    }
    return keys;
}

// The entries that differ between two snapshots, as "key=after".
QStringList changes(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QStringList out;
    QStringList keys = before.keys() + after.keys();
    keys.removeDuplicates();
    for (const QString &k : std::as_const(keys)) {
        if (before.value(k, QStringLiteral("<none>")) != after.value(k, QStringLiteral("<none>")))
            out << k + QLatin1Char('=') + after.value(k, QStringLiteral("<none>"));
    }
    out.sort();
    return out;
}

bool pressOk(QDialog &dialog)
{
    auto *box = dialog.findChild<QDialogButtonBox *>(QString(), Qt::FindDirectChildrenOnly);
    box->button(QDialogButtonBox::Ok)->click();
    return dialog.result() == QDialog::Accepted;
}

// Answers the options dialog: `edit` changes its pages, then OK is pressed.
QenDialogs::Runner answer(const Edit &edit)
{
    return [edit](QDialog &dialog) {
        auto *options = qobject_cast<QenOptionsDialog *>(&dialog);
        if (!options)
            return false;
        if (edit)
            edit(*options);
        return pressOk(dialog);
    };
}

void chooseText(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
}

int catalogueRow(const QenOptionsDialog &d, const QString &displayName)
{
    const QTableWidget *t = d.agentPage()->table();
    for (int row = 0; row < t->rowCount(); ++row) {
        if (t->verticalHeaderItem(row)->text() == displayName)
            return row;
    }
    return -1;
}

} // namespace

class TestQenOptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<QenMainWindow> w;
    QString iniPath;

    QenDoc *openDocument()
    {
        if (!w->newFile())
            return nullptr;
        return w->documents().value(w->documents().size() - 1);
    }

    QenGraphView *graphOf(QenDoc *doc)
    {
        for (QenChildWindow *c : QenMainWindow::childrenOf(doc)) {
            if (c->viewType() == QenChildWindowInterface::Graph)
                return c->graphViewWidget();
        }
        return nullptr;
    }

    // Tools > Options, answered by `edit` and OK; true when the dialog closed
    // accepted.
    bool runOptions(const Edit &edit)
    {
        bool accepted = false;
        const QenDialogs::Runner ok = answer(edit);
        w->setDialogRunner([&](QDialog &dialog) {
            accepted = ok(dialog);
            return accepted;
        });
        w->action(QStringLiteral("actionOptions"))->trigger();
        return accepted;
    }

private slots:
    void init()
    {
        prompt->clear();
        iniPath = writeDefaultIni(programDir->path());
        QVERIFY(!iniPath.isEmpty());
        // A rewrite of equal size must not look unchanged to the settings cache.
        static int rewrites = 0;
        QFile ini(iniPath);
        QVERIFY(ini.open(QIODevice::ReadWrite));
        QVERIFY(ini.setFileTime(QDateTime::currentDateTime().addSecs(++rewrites * 10),
                                QFileDevice::FileModificationTime));
        ini.close();
        qenApp->loadDefaults();
        w = std::make_unique<QenMainWindow>();
        w->host()->reloadDefaults();
        w->setDialogRunner(answer({}));
    }

    void cleanup()
    {
        for (QenDoc *doc : w->documents())
            doc->setModified(false);
        w.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(prompt->pending(), 0);
    }

    // --- what one change writes --------------------------------------------

    void oneChangeWritesOneKey_data()
    {
        QTest::addColumn<int>("edit");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("graphsReload");
        QTest::newRow("view 1 Hr") << 0 << "defaults/graphminutes=60" << false;
        QTest::newRow("view 45 Min") << 1 << "defaults/graphminutes=45" << false;
        QTest::newRow("speed AFAP") << 2 << "defaults/speed=AFAP" << false;
        QTest::newRow("speed 120x") << 3 << "defaults/speed=120" << false;
        QTest::newRow("thickness Three") << 4 << "defaults/linewidth=3" << true;
        QTest::newRow("jump percent") << 5 << "defaults/scrollpercent=50" << false;
        QTest::newRow("labels Auto") << 6 << "defaults/linelabels=2" << true;
        QTest::newRow("no graph paper") << 7 << "defaults/graphpaper=false" << true;
        QTest::newRow("gauge top") << 8 << "defaults/highva=25" << false;
        QTest::newRow("circuit") << 9 << "defaults/circuit=Closed" << false;
        QTest::newRow("circuit volume") << 10 << "volumes/ckt=4.25" << false;
        QTest::newRow("beep") << 11 << "defaults/click=1" << false;
        // A change by the last decimal a field shows is a change.
        QTest::newRow("FGF up by 0.01") << 12 << "defaults/fgf=8.01" << false;
        QTest::newRow("circuit volume down by 0.01") << 13 << "volumes/ckt=7.99" << false;
        QTest::newRow("weight up by 0.01") << 14 << "defaults/weight=70.01" << false;
    }
    void oneChangeWritesOneKey()
    {
        QFETCH(int, edit);
        QFETCH(QString, written);
        QFETCH(bool, graphsReload);
        const Edit edits[] = {
            [](QenOptionsDialog &d) { chooseText(d.viewPage()->form()->cbTime, "1 Hr"); },
            [](QenOptionsDialog &d) { chooseText(d.viewPage()->form()->cbTime, "45 Min"); },
            [](QenOptionsDialog &d) { chooseText(d.simulationPage()->form()->cbSpeed, "AFAP"); },
            [](QenOptionsDialog &d) { chooseText(d.simulationPage()->form()->cbSpeed, "120x"); },
            [](QenOptionsDialog &d) { d.programPage()->form()->rbGraphThicknessThree->click(); },
            [](QenOptionsDialog &d) { d.programPage()->form()->hsGraphPercent->setValue(50); },
            [](QenOptionsDialog &d) { d.programPage()->form()->rbGraphLabelsAuto->click(); },
            [](QenOptionsDialog &d) { d.programPage()->form()->cbUseGraphPaper->click(); },
            [](QenOptionsDialog &d) { d.viewPage()->form()->sbVA->setValue(25); },
            [](QenOptionsDialog &d) {
                chooseText(d.simulationPage()->form()->cbCircuit, "Closed");
            },
            [](QenOptionsDialog &d) { d.simulationPage()->form()->dsbCKT->setValue(4.25); },
            [](QenOptionsDialog &d) { d.programPage()->form()->rbAudibleBeep->click(); },
            [](QenOptionsDialog &d) { d.simulationPage()->form()->dsbFGF->setValue(8.01); },
            [](QenOptionsDialog &d) { d.simulationPage()->form()->dsbCKT->setValue(7.99); },
            [](QenOptionsDialog &d) { d.patientPage()->setWeight(70.01); },
        };
        QenDoc *doc = openDocument();
        QVERIFY(doc);
        QenGraphView *graph = graphOf(doc);
        QVERIFY(graph);
        const QenGraphView::Settings before = graph->settings();
        const auto file = snapshot(iniPath);

        QVERIFY(runOptions(edits[edit]));
        QCOMPARE(changes(file, snapshot(iniPath)), QStringList{written});
        // An open graph shows the store's settings only when it reloaded.
        const QenGraphView::Settings now = QenGraphView::readSettings(w->host()->ini());
        const QenGraphView::Settings &shown = graph->settings();
        const bool reloaded =
            shown.lineWidth == now.lineWidth && shown.lineLabels == now.lineLabels &&
            shown.graphPaper == now.graphPaper && shown.scrollPercent == now.scrollPercent;
        const bool unchanged =
            shown.lineWidth == before.lineWidth && shown.lineLabels == before.lineLabels &&
            shown.graphPaper == before.graphPaper && shown.scrollPercent == before.scrollPercent;
        QCOMPARE(reloaded && !unchanged, graphsReload);
    }

    // Each gauge top field shows its own key, and a change of one writes that
    // key alone: unequal tops tell the keys apart.
    void gaugeTopsFillTheirOwnFields()
    {
        const QString group = QStringLiteral("Defaults");
        w->host()->ini().setValue(group, QStringLiteral("HighFGF"), 12);
        w->host()->ini().setValue(group, QStringLiteral("HighVA"), 25);
        w->host()->ini().setValue(group, QStringLiteral("HighCO"), 7);
        QVERIFY(openDocument());
        const auto file = snapshot(iniPath);
        QList<int> shown;
        QVERIFY(runOptions([&](QenOptionsDialog &d) {
            const auto *form = d.viewPage()->form();
            shown = {form->sbFGF->value(), form->sbVA->value(), form->sbCO->value()};
            form->sbCO->setValue(9);
        }));
        QCOMPARE(shown, (QList<int>{12, 25, 7}));
        QCOMPARE(changes(file, snapshot(iniPath)), QStringList{"defaults/highco=9"});
    }

    void okWithoutChangesWritesNothing_data()
    {
        QTest::addColumn<QString>("defaults");
        QTest::newRow("the delivered file") << "";
        QTest::newRow("80 kg") << "Weight=80";
        QTest::newRow("0.5 kg, odd CO and VA") << "Weight=0.5\nCO=5.37\nVA=3.91";
        QTest::newRow("shares as percentages") << "Weight=70";
    }
    void okWithoutChangesWritesNothing()
    {
        QFETCH(QString, defaults);
        if (!defaults.isEmpty()) {
            for (const QString &line : defaults.split(QLatin1Char('\n')))
                w->host()->ini().setValue(QStringLiteral("Defaults"), line.section('=', 0, 0),
                                          line.section('=', 1));
        }
        if (QString::fromLatin1(QTest::currentDataTag()).startsWith("shares")) {
            w->host()->ini().setValue(QStringLiteral("Ratio"), QStringLiteral("VRG"), 75);
            w->host()->ini().setValue(QStringLiteral("Ratio"), QStringLiteral("MUS"), 19);
            w->host()->ini().setValue(QStringLiteral("Ratio"), QStringLiteral("FAT"), 6);
        }
        w->host()->reloadDefaults();
        const QenDefaults before = w->host()->defaults();
        QFile file(iniPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();

        QVERIFY(runOptions({}));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        QCOMPARE(w->host()->defaults().co, before.co);
        QCOMPARE(w->host()->defaults().va, before.va);
        QCOMPARE(w->host()->defaults().weight, before.weight);
    }

    void cancelWritesNothing()
    {
        const auto file = snapshot(iniPath);
        const bool ok = QenOptions::setDefaultOptions(w.get(), [](QDialog &dialog) {
            auto &d = static_cast<QenOptionsDialog &>(dialog);
            chooseText(d.simulationPage()->form()->cbSpeed, "AFAP");
            return false;
        });
        QVERIFY(!ok);
        QCOMPARE(changes(file, snapshot(iniPath)), QStringList());
        QCOMPARE(w->host()->defaults().speed, 60);
    }

    // --- new and open simulations -------------------------------------------

    void newSimulationStartsFromTheNewDefaults()
    {
        QenDoc *open = openDocument();
        QVERIFY(open);
        QVERIFY(runOptions([](QenOptionsDialog &d) {
            Ui::QenSDefaults *f = d.simulationPage()->form();
            chooseText(f->cbAgent, "Sevoflurane");
            chooseText(f->cbCircuit, "Semi-closed");
            f->dsbFGF->setValue(3.5);
            chooseText(f->cbSpeed, "5x");
            d.programPage()->form()->rbAudibleBeep->click();
        }));
        const auto file = snapshot(iniPath);
        QCOMPARE(file.value("defaults/agent"), QStringLiteral("Sevoflurane"));
        QCOMPARE(file.value("defaults/fgf"), QStringLiteral("3.5"));

        QenDoc *fresh = openDocument();
        QVERIFY(fresh && fresh != open);
        QenEngine *e = fresh->engine();
        QCOMPARE(e->track(0).displayName, QStringLiteral("Sevoflurane"));
        QCOMPARE(e->circuit(), QStringLiteral("Semi-closed"));
        QCOMPARE(e->fgf(), 3.5f);
        QCOMPARE(e->speed(), 5);
        // The simulation already open keeps its own conditions, but sounds
        // the minute signal now chosen.
        QCOMPARE(open->engine()->track(0).displayName, QStringLiteral("Halothane"));
        QCOMPARE(open->engine()->speed(), 60);
        QCOMPARE(open->engine()->defaults().click, 1);
    }

    void patientDefaults()
    {
        // The file keeps its shares as whole percentages; 70/24/6 must read
        // back as those shares, not as the textbook split a half-written set
        // (0.7, 0.24 and 6) would give.
        for (const auto &[key, percent] : {std::pair{"VRG", 76}, {"MUS", 18}, {"FAT", 6}})
            w->host()->ini().setValue(QStringLiteral("Ratio"), QLatin1String(key), percent);
        w->host()->reloadDefaults();
        QVERIFY(runOptions([](QenOptionsDialog &d) {
            d.patientPage()->setFlowPercent(VRG, 70);
            d.patientPage()->setFlowPercent(MUS, 24);
            d.patientPage()->setWeight(140);
        }));
        const QenDefaults read = QenDefaults::load(QenIni(iniPath));
        QCOMPARE(read.flows[VRG], 0.70f);
        QCOMPARE(read.flows[MUS], 0.24f);
        QCOMPARE(read.flows[FAT], 0.06f);
        QCOMPARE(read.weight, 140.0f);
        // Volumes, CO and VA stay per 70 kg.
        QCOMPARE(read.volumes[MUS], 33.0f);
        QCOMPARE(read.co, 5.0f);
        QCOMPARE(w->host()->defaults().weight, 140.0f);
    }

    void flowSharesAreCheckedOnEveryPage_data()
    {
        QTest::addColumn<int>("fat");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("76+18+6 on the Patient page")
            << 6 << int(QenOptionsDialog::PatientPage) << true;
        QTest::newRow("76+18+5 on the Patient page")
            << 5 << int(QenOptionsDialog::PatientPage) << false;
        QTest::newRow("76+18+5 on the Program page")
            << 5 << int(QenOptionsDialog::ProgramPage) << false;
    }
    void flowSharesAreCheckedOnEveryPage()
    {
        QFETCH(int, fat);
        QFETCH(int, page);
        QFETCH(bool, accepted);
        if (!accepted)
            prompt->expect(QenPrompt::Ok);
        const auto file = snapshot(iniPath);
        QenOptionsDialog dialog(w->host(), w.get());
        dialog.prepare();
        dialog.patientPage()->setFlowPercent(FAT, fat);
        dialog.tabWidget()->setCurrentIndex(page);
        QCOMPARE(pressOk(dialog), accepted);
        if (!accepted) {
            QCOMPARE(prompt->records().last().text,
                     QStringLiteral("<p>The sum of the flow percentages must be 100."));
            QCOMPARE(dialog.tabWidget()->currentIndex(), int(QenOptionsDialog::PatientPage));
        }
        QCOMPARE(changes(file, snapshot(iniPath)), QStringList());
    }

    // --- the agent table ----------------------------------------------------

    void gasCellsCannotBeEdited()
    {
        QenOptionsDialog dialog(w->host(), w.get());
        dialog.prepare();
        const QTableWidget *t = dialog.agentPage()->table();
        const int nitrogen = catalogueRow(dialog, "Nitrogen");
        const int halothane = catalogueRow(dialog, "Halothane");
        QVERIFY(nitrogen >= 0 && halothane >= 0);
        for (int c : {QenCDefaultsWidget::BottleSize, QenCDefaultsWidget::BottleCost}) {
            QVERIFY(!(t->item(nitrogen, c)->flags() & (Qt::ItemIsEditable | Qt::ItemIsEnabled)));
            QVERIFY(t->item(halothane, c)->flags() & Qt::ItemIsEditable);
        }
        QVERIFY(t->item(nitrogen, QenCDefaultsWidget::Color)->flags() & Qt::ItemIsEditable);
        QCOMPARE(t->item(halothane, QenCDefaultsWidget::BottleCost)->text(),
                 QStringLiteral("15.00"));
    }

    void agentCellsWriteTheAgentsSection_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("bottle size") << int(QenCDefaultsWidget::BottleSize) << QVariant(250.0)
                                     << QStringList{"halothane/bottlesize=250"};
        QTest::newRow("bottle cost") << int(QenCDefaultsWidget::BottleCost) << QVariant(17.5)
                                     << QStringList{"halothane/bottlecost=17.5"};
        QTest::newRow("free of cost") << int(QenCDefaultsWidget::BottleCost) << QVariant(0.0)
                                      << QStringList{"halothane/bottlecost=<none>"};
        QTest::newRow("colour") << int(QenCDefaultsWidget::Color) << QVariant("green")
                                << QStringList{"halothane/color=green"};
        QTest::newRow("size 0 is no size")
            << int(QenCDefaultsWidget::BottleSize) << QVariant(0.0) << QStringList();
        // Halothane's warming potential is 45 in the delivered settings.
        QTest::newRow("warming potential") << int(QenCDefaultsWidget::Gwp100) << QVariant(41.0)
                                           << QStringList{"halothane/gwp100=41"};
        QTest::newRow("warming potential 0") << int(QenCDefaultsWidget::Gwp100) << QVariant(0.0)
                                             << QStringList{"halothane/gwp100=0"};
        QTest::newRow("made unknown")
            << int(QenCDefaultsWidget::Gwp100) << QVariant(QString::fromUtf8("\u2013"))
            << QStringList{"halothane/gwp100=<none>"};
    }
    void agentCellsWriteTheAgentsSection()
    {
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(QStringList, written);
        const auto file = snapshot(iniPath);
        QVERIFY(runOptions([&](QenOptionsDialog &d) {
            const int row = catalogueRow(d, "Halothane");
            // As the cell's editor stores it.
            d.agentPage()->table()->model()->setData(
                d.agentPage()->table()->model()->index(row, column), value, Qt::EditRole);
        }));
        QCOMPARE(changes(file, snapshot(iniPath)), written);
        // Whatever was written, the agent still loads for a new simulation.
        QenCatalogue catalogue;
        catalogue.load(QenIni(iniPath), QenVocabulary::colorNames(), prompt);
        const int halothane = catalogue.findByName("Halothane");
        QVERIFY(halothane >= 0);
        if (column == QenCDefaultsWidget::Gwp100) {
            const std::optional<float> gwp = catalogue.at(halothane)->gwp100;
            // A dash makes the value unknown.
            QCOMPARE(gwp.has_value(), value.typeId() != QMetaType::QString);
            if (gwp)
                QCOMPARE(double(*gwp), value.toDouble());
        }
    }

    // Settings from before the footprint have neither key: a warming
    // potential typed in brings the agent's molar mass with it, so that the
    // footprint shows.
    void warmingPotentialOfOldSettings()
    {
        QenIni ini(iniPath);
        QVERIFY(ini.remove("Isoflurane", "GWP100"));
        QVERIFY(ini.remove("Isoflurane", "MolarMass"));
        const auto file = snapshot(iniPath);
        QVERIFY(runOptions([&](QenOptionsDialog &d) {
            QTableWidget *t = d.agentPage()->table();
            const int row = catalogueRow(d, "Isoflurane");
            QCOMPARE(t->item(row, QenCDefaultsWidget::Gwp100)->text(), QString::fromUtf8("\u2013"));
            t->model()->setData(t->model()->index(row, QenCDefaultsWidget::Gwp100), 510.0,
                                Qt::EditRole);
        }));
        QCOMPARE(changes(file, snapshot(iniPath)),
                 (QStringList{"isoflurane/gwp100=510", "isoflurane/molarmass=184.49"}));
        QenCatalogue catalogue;
        catalogue.load(QenIni(iniPath), QenVocabulary::colorNames(), prompt);
        const QenAnesthetic *iso = catalogue.at(catalogue.findByName("Isoflurane"));
        // 24.055 L of vapour is one mole: 184.49 g x 510 / 1000 kg.
        QVERIFY(std::fabs(QenFootprint::co2eKg(iso, 24.055).value_or(-1.0) - 184.49 * 0.510) <
                1e-4);
    }

    void unknownWarmingPotentialIsRemoved()
    {
        const auto file = snapshot(iniPath);
        QVERIFY(runOptions([&](QenOptionsDialog &d) {
            QTableWidget *t = d.agentPage()->table();
            const int row = catalogueRow(d, "Desflurane");
            QCOMPARE(t->item(row, QenCDefaultsWidget::Gwp100)->text(), QString("2590"));
            // The editor's lowest value is "unknown", as it leaves the cell.
            t->model()->setData(t->model()->index(row, QenCDefaultsWidget::Gwp100),
                                QString::fromUtf8("\u2013"), Qt::EditRole);
        }));
        QCOMPARE(changes(file, snapshot(iniPath)), QStringList{"desflurane/gwp100=<none>"});
    }

    // --- the sound choice ---------------------------------------------------

    void soundChoice_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("browsed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("cleared") << ""
                                 << ""
                                 << "<no sound>";
        QTest::newRow("blanks") << "   "
                                << ""
                                << "<no sound>";
        QTest::newRow("a file that exists") << ""
                                            << "tick.wav"
                                            << "tick.wav";
        QTest::newRow("a file that does not") << ""
                                              << "gone.wav"
                                              << "<no sound>";
    }
    void soundChoice()
    {
        QFETCH(QString, typed);
        QFETCH(QString, browsed);
        QFETCH(QString, stored);
        QFile tick(programDir->filePath("tick.wav"));
        QVERIFY(tick.open(QIODevice::WriteOnly));
        tick.close();
        const QString path = browsed.isEmpty() ? QString() : programDir->filePath(browsed);
        const QString expected = stored.endsWith(".wav") ? programDir->filePath(stored) : stored;

        QString shownAfterLeaving;
        QString title;
        const QenDialogs::Runner run = [&](QDialog &dialog) {
            if (auto *options = qobject_cast<QenOptionsDialog *>(&dialog)) {
                options->programPage()->form()->pbCustom->click();
                return false; // the sound choice writes on its own OK
            }
            auto &sounds = static_cast<QenChoiceSound &>(dialog);
            title = sounds.windowTitle();
            QLineEdit *edit = sounds.lineEdit(2);
            if (browsed.isEmpty()) {
                edit->setText(typed);
                emit edit->editingFinished();
            } else {
                sounds.setFileDialog(
                    [&](QWidget *, const QString &caption, const QString &, const QString &filter) {
                        [&] {
                            QCOMPARE(caption, QStringLiteral("Open file"));
                            QCOMPARE(filter, QStringLiteral("Sound Files (*.wav)"));
                        }();
                        return path;
                    });
                sounds.form()->tbBrowse_2->click();
            }
            shownAfterLeaving = edit->text();
            return pressOk(dialog);
        };
        QVERIFY(!QenOptions::setDefaultOptions(w.get(), run));
        QCOMPARE(title, QStringLiteral("Choice of a sound"));
        QCOMPARE(shownAfterLeaving, expected);
        QCOMPARE(snapshot(iniPath).value("signals/system_2"), expected);
    }

    // --- the minute sound ---------------------------------------------------

    void minuteSoundFallsBackToTheBeep_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not a sound") << QByteArray("this is not a WAV file") << true;
    }
    void minuteSoundFallsBackToTheBeep()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        const QString path = programDir->filePath(QStringLiteral("signal.wav"));
        QFile::remove(path);
        if (exists) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        int beeps = 0;
        QenMinuteSound sound([&] { ++beeps; });
        sound.play(path);
        QTRY_COMPARE_WITH_TIMEOUT(beeps, 1, 5000);
        // Asked again, the failed file beeps again rather than going quiet.
        sound.play(path);
        QTRY_COMPARE_WITH_TIMEOUT(beeps, 2, 5000);
    }

    // --- a settings file that cannot be written -----------------------------

    void unwritableSettingsAreKeptAndToldOnce()
    {
        // A file where the folder should be: nothing can be written, even by
        // an administrator.
        const QString blocker = programDir->filePath(QStringLiteral("blocker"));
        QFile b(blocker);
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.close();
        const QString path = blocker + QStringLiteral("/quenor.ini");
        QenDocHost host(QenIni(path), prompt);

        prompt->expect(QenPrompt::Ok);
        QenOptionsDialog first(&host);
        first.prepare();
        chooseText(first.simulationPage()->form()->cbSpeed, "AFAP");
        QVERIFY(pressOk(first));
        first.commit();
        QCOMPARE(prompt->records().size(), 1);
        QCOMPARE(prompt->records().first().icon, QenPrompt::Warning);
        QVERIFY(prompt->records().first().text.contains(path));
        QCOMPARE(host.defaults().speed, 1000);

        // Kept for the session: the next dialog shows it, and says nothing more.
        QenOptionsDialog second(&host);
        second.prepare();
        QCOMPARE(second.simulationPage()->form()->cbSpeed->currentText(), QStringLiteral("AFAP"));
        second.programPage()->form()->rbAudibleBeep->click();
        QVERIFY(pressOk(second));
        second.commit();
        QCOMPARE(prompt->records().size(), 1);
        QCOMPARE(host.ini().value("Defaults", "Click").toInt(), 1);
        QCOMPARE(host.ini().value("Defaults", "Speed").toString(), QStringLiteral("AFAP"));
    }
};

int main(int argc, char *argv[])
{
    return runWindowTests<TestQenOptions>(argc, argv, [](QenApplication &) {
        prompt = appTestPrompt();
        programDir = &appTestDir();
    });
}

#include "tst_qenoptions.moc"
