#include "windowfixture.h"

#include "app/qenagentdelegate.h"
#include "app/qenagentdlg.h"
#include "app/qendialogs.h"
#include "views/qenpanelview.h"

#include "ui_qenagent.h"
#include "ui_qencontrol.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableWidget>

namespace {

QString header(const QTableWidget *t, int row)
{
    const QTableWidgetItem *item = t->verticalHeaderItem(row);
    return item ? item->text() : QString();
}

QString cell(const QTableWidget *t, int row, int column)
{
    const QTableWidgetItem *item = t->item(row, column);
    return item ? item->text() : QString();
}

// The user types `text` into column 0 of `row`.
void typeName(QTableWidget *t, int row, const QString &text)
{
    t->item(row, 0)->setText(text);
}

// Right-clicks row `row` of the table (or below the rows for -1) and returns
// the menu that opened, if any.
QMenu *rightClick(QTableWidget *t, int row)
{
    const int y = row >= 0 ? t->rowViewportPosition(row) + t->rowHeight(row) / 2
                           : t->viewport()->height() - 2;
    const QPoint pos(10, y);
    QContextMenuEvent e(QContextMenuEvent::Mouse, pos, t->viewport()->mapToGlobal(pos));
    QCoreApplication::sendEvent(t->viewport(), &e);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    return menu;
}

void closeMenus()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    WindowFixture::flushDeletes();
}

} // namespace

class TestQenControl : public QObject
{
    Q_OBJECT

private slots:
    void formAndRows()
    {
        WindowFixture f({QStringLiteral("Isoflurane")});
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        QenControl *tray = m->tray;
        Ui::QenControl *ui = tray->form();
        QCOMPARE(ui->groupBox->title(), QStringLiteral("Simulation Controls"));
        QCOMPARE(ui->specialGroupBox->title(), QStringLiteral("Special"));
        QCOMPARE(ui->agentGroupBox->title(), QStringLiteral("Agents"));
        QCOMPARE(ui->weightDoubleSpinBox->minimum(), 0.05);
        QCOMPARE(ui->weightDoubleSpinBox->maximum(), 1500.0);
        QCOMPARE(ui->circuitComboBox->count(), 4);
        QCOMPARE(ui->speedComboBox->itemText(7), QStringLiteral("AFAP"));
        QVERIFY(ui->viewComboBox->isHidden() && ui->afapPushButton->isHidden());
        QVERIFY(!ui->disUpRadioButton->autoExclusive());
        QCOMPARE(tray->windowTitle(), f.doc->title() + "[*]");

        // Two agents: rows 1 and 2, then the add row with an empty header.
        QTableWidget *t = tray->table();
        QCOMPARE(t->rowCount(), 3);
        QCOMPARE(header(t, 0), QStringLiteral("1"));
        QCOMPARE(header(t, 1), QStringLiteral("2"));
        QCOMPARE(header(t, 2), QString());
        QCOMPARE(cell(t, 0, 0), f.doc->agentName(0));
        QCOMPARE(cell(t, 1, 0), QStringLiteral("Isoflurane"));
        QCOMPARE(cell(t, 1, 1), f.doc->agentColor(1));
        QCOMPARE(cell(t, 2, 0), QStringLiteral("Click to Add"));
        QCOMPARE(cell(t, 2, 1), QString());
        // Populating asked for a picture and a graph of each agent.
        QCOMPARE(m->made.size(), 4);
        QCOMPARE(m->made.at(2)->type(), QenChildWindowInterface::Picture);
        QCOMPARE(m->made.at(3)->agentIndex(), 1);
    }

    void locking_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QString>("runText");
        QTest::newRow("not run") << "none" << true << "Begin";
        QTest::newRow("running") << "run" << false << "Pause";
        QTest::newRow("paused after 0") << "pause" << false << "Continue";
        QTest::newRow("paused at 0") << "pause0" << true << "Continue";
        QTest::newRow("rewound") << "rewind" << true << "Begin";
        QTest::newRow("zero timer") << "zero" << true << "Begin";
    }
    void locking()
    {
        QFETCH(QString, step);
        QFETCH(bool, editable);
        QFETCH(QString, runText);
        WindowFixture f({QStringLiteral("Isoflurane")});
        QVERIFY(f.ok);
        QenControl *tray = f.open()->tray;
        QenEngine *e = f.doc->engine();
        if (step == "run" || step == "pause0") {
            e->setState(QenUserOrigin, ARunning);
            if (step == "pause0")
                e->pause();
        } else if (step != "none") {
            f.runTo(120000);
            if (step == "rewind")
                e->rewind();
            if (step == "zero") {
                f.prompt.expect(QenPrompt::Ok);
                QVERIFY(f.doc->eraseKeepSettings());
            }
        }
        QTableWidget *t = tray->table();
        QCOMPARE(tray->form()->runPushButton->text(), runText);
        QCOMPARE(tray->isTableEditable(), editable);
        QCOMPARE(t->isRowHidden(2), !editable);
        for (int row = 0; row < 2; ++row)
            QCOMPARE(bool(t->item(row, 0)->flags() & Qt::ItemIsEditable), editable);
        QCOMPARE(tray->form()->weightDoubleSpinBox->isEnabled(), editable);
        QCOMPARE(tray->form()->upPushButton->isEnabled(), editable);
        QCOMPARE(tray->deleteAction()->isEnabled(), editable);
        e->pause();
    }

    void addByName()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        QTableWidget *t = m->tray->table();
        QSignalSpy views(m->tray.data(), &QenControl::addAgentView);

        // Not an agent: the add row asks again, nothing changes.
        typeName(t, 1, QStringLiteral("Chloroform"));
        QCOMPARE(cell(t, 1, 0), QStringLiteral("Click to Add"));
        QCOMPARE(f.doc->agentCount(), 1);
        QCOMPARE(views.count(), 0);

        typeName(t, 1, QStringLiteral("Sevoflurane"));
        QCOMPARE(f.doc->agentCount(), 2);
        QCOMPARE(f.doc->agentName(1), QStringLiteral("Sevoflurane"));
        QCOMPARE(t->rowCount(), 3);
        QCOMPARE(header(t, 1), QStringLiteral("2"));
        QCOMPARE(cell(t, 1, 1), f.doc->agentColor(1));
        QCOMPARE(cell(t, 2, 0), QStringLiteral("Click to Add"));
        QCOMPARE(header(t, 2), QString());
        QCOMPARE(views.count(), 2);
        QCOMPARE(views.at(0).at(2).value<QenViewType>(), QenChildWindowInterface::Picture);
        QCOMPARE(views.at(1).at(2).value<QenViewType>(), QenChildWindowInterface::Graph);

        // Renaming an agent row; a colour typed into its colour cell.
        typeName(t, 1, QStringLiteral("Desflurane"));
        QCOMPARE(f.doc->agentName(1), QStringLiteral("Desflurane"));
        t->item(1, 1)->setText(QStringLiteral("magenta"));
        QCOMPARE(f.doc->agentColor(1), QStringLiteral("magenta"));
        // A non-agent name typed over an agent row puts the agent back.
        typeName(t, 1, QStringLiteral("Chloroform"));
        QCOMPARE(cell(t, 1, 0), QStringLiteral("Desflurane"));
    }

    // A row in its agent's colour takes the new agent's colour (the colours of
    // the catalogue: desflurane blue, isoflurane purple, nitrous oxide dark
    // blue); a colour the user picked stays; the swatch shows the colour the
    // row has now.
    void colourFollowsTheAgent_data()
    {
        QTest::addColumn<QString>("iniName");
        QTest::addColumn<QString>("color");
        QTest::newRow("desflurane") << "Desflurane"
                                    << "blue";
        QTest::newRow("isoflurane") << "Isoflurane"
                                    << "purple";
        QTest::newRow("nitrous oxide") << "Nitrous Oxide"
                                       << "darkBlue";
    }
    void colourFollowsTheAgent()
    {
        QFETCH(QString, iniName);
        QFETCH(QString, color);
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        QTableWidget *t = m->tray->table();
        QCOMPARE(f.doc->agentColor(0), QStringLiteral("red")); // halothane's
        const QString agent = f.agent(iniName.toLatin1().constData());
        typeName(t, 0, agent);
        QCOMPARE(f.doc->agentName(0), agent);
        QCOMPARE(f.doc->agentColor(0), color);
        QCOMPARE(cell(t, 0, 1), color);
        QCOMPARE(t->item(0, 1)->data(Qt::DecorationRole).value<QColor>(), QColor(color));

        // The user's pick: the swatch follows the name at once.
        t->item(0, 1)->setText(QStringLiteral("green"));
        QCOMPARE(f.doc->agentColor(0), QStringLiteral("green"));
        QCOMPARE(t->item(0, 1)->data(Qt::DecorationRole).value<QColor>(), QColor("green"));
        // ... and outlives another change of agent.
        typeName(t, 0, f.agent("Sevoflurane"));
        QCOMPARE(f.doc->agentName(0), f.agent("Sevoflurane"));
        QCOMPARE(f.doc->agentColor(0), QStringLiteral("green"));
    }

    void refusedReplayGuard()
    {
        WindowFixture f({QStringLiteral("Isoflurane")});
        QVERIFY(f.ok);
        QenControl *tray = f.open()->tray;
        QTableWidget *t = tray->table();
        // Rewound to 0 after a recorded run: editable, but a change asks first.
        f.runTo(120000);
        f.doc->engine()->rewind();
        QVERIFY(tray->isTableEditable());
        const QString before = f.doc->agentName(1);

        f.prompt.expect(QenPrompt::Cancel);
        typeName(t, 1, QStringLiteral("Desflurane"));
        QCOMPARE(f.prompt.records().size(), 1);
        QCOMPARE(f.doc->agentName(1), before);
        QCOMPARE(cell(t, 1, 0), before);

        f.prompt.expect(QenPrompt::Cancel);
        typeName(t, 2, QStringLiteral("Desflurane"));
        QCOMPARE(f.doc->agentCount(), 2);
        QCOMPARE(cell(t, 2, 0), QStringLiteral("Click to Add"));

        // Refused moves change nothing either.
        t->setCurrentCell(1, 0);
        f.prompt.expect(QenPrompt::Cancel);
        tray->moveUpRequested();
        QCOMPARE(f.doc->agentName(1), before);
        QCOMPARE(f.prompt.pending(), 0);
    }

    void moves_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("other"); // -1: nothing moves
        QTest::newRow("first up") << 0 << true << -1;
        QTest::newRow("last down") << 2 << false << -1;
        QTest::newRow("add row up") << 3 << true << -1;
        QTest::newRow("second up") << 1 << true << 0;
        QTest::newRow("first down") << 0 << false << 1;
        QTest::newRow("last up") << 2 << true << 1;
    }
    void moves()
    {
        QFETCH(int, row);
        QFETCH(bool, up);
        QFETCH(int, other);
        WindowFixture f({QStringLiteral("Isoflurane"), QStringLiteral("Desflurane")});
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        QTableWidget *t = m->tray->table();
        QStringList names;
        QStringList colors;
        for (int i = 0; i < 3; ++i) {
            names.append(f.doc->agentName(i));
            colors.append(f.doc->agentColor(i));
        }
        QenChildWindow *pictureOfRow = row < 3 ? m->made.at(2 * row).data() : nullptr;
        const float delOfRow = row < 3 ? f.doc->engine()->track(row).del : 0.0f;
        t->setCurrentCell(row, 0);
        QTableWidgetItem *item = t->currentItem();
        if (up)
            m->tray->moveUpRequested();
        else
            m->tray->moveDownRequested();

        if (other < 0) {
            for (int i = 0; i < 3; ++i)
                QCOMPARE(f.doc->agentName(i), names.at(i));
            QCOMPARE(t->currentItem(), item);
            return;
        }
        QCOMPARE(f.doc->agentName(other), names.at(row));
        QCOMPARE(f.doc->agentName(row), names.at(other));
        QCOMPARE(f.doc->agentColor(other), colors.at(row));
        QCOMPARE(f.doc->agentColor(row), colors.at(other));
        QCOMPARE(f.doc->engine()->track(other).del, delOfRow);
        QCOMPARE(cell(t, other, 0), names.at(row));
        QCOMPARE(cell(t, other, 1), colors.at(row));
        QCOMPARE(t->currentItem(), item);
        QCOMPARE(header(t, other), QString::number(other + 1));
        // The windows follow their agent.
        QCOMPARE(pictureOfRow->agentIndex(), other);
        QCOMPARE(m->made.at(2 * other)->agentIndex(), row);
        QVERIFY(pictureOfRow->title().endsWith(names.at(row) + ")"));
    }

    void deleting_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("cancel") << int(QenPrompt::Cancel);
        QTest::newRow("discard") << int(QenPrompt::Discard);
    }
    void deleting()
    {
        QFETCH(int, answer);
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        f.doc->setModified(true);
        m->tray->table()->setCurrentCell(0, 0);
        f.prompt.expect(answer);
        m->tray->deleteAgentRequested();
        QCOMPARE(f.prompt.records().size(), 1);
        WindowFixture::flushDeletes();
        if (answer == QenPrompt::Cancel) {
            QVERIFY(m->control);
            QCOMPARE(f.doc->views().size(), 3);
            QCOMPARE(f.doc->agentCount(), 1);
            return;
        }
        // The only agent: the whole document closed.
        QVERIFY(!m->control);
        QVERIFY(m->made.first().isNull());
        WindowFixture::flushDeletes();
        QVERIFY(!f.doc);
    }

    void deletingOneOfTwo()
    {
        WindowFixture f({QStringLiteral("Isoflurane")});
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        QTableWidget *t = m->tray->table();
        QPointer<QenChildWindow> first = m->made.at(0);
        QPointer<QenChildWindow> second = m->made.at(2);
        t->setCurrentCell(0, 0);
        m->tray->deleteAgentRequested();
        WindowFixture::flushDeletes();
        QCOMPARE(f.doc->agentCount(), 1);
        QCOMPARE(m->removed.size(), 2);
        QVERIFY(!first);
        QCOMPARE(second->agentIndex(), 0);
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(cell(t, 0, 0), QStringLiteral("Isoflurane"));
        QCOMPARE(header(t, 0), QStringLiteral("1"));
        QCOMPARE(header(t, 1), QString());
    }

    void shownValues_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("circuit");
        QTest::addColumn<QString>("speedText");
        QTest::addColumn<QString>("circuitText");
        QTest::newRow("AFAP") << 1000 << "closed"
                              << "AFAP"
                              << "Closed";
        QTest::newRow("60x") << 60 << "IDEAL"
                             << "60x"
                             << "Ideal";
        QTest::newRow("2x") << 2 << "open"
                            << "2x"
                            << "Open";
    }
    void shownValues()
    {
        QFETCH(int, speed);
        QFETCH(QString, circuit);
        QFETCH(QString, speedText);
        QFETCH(QString, circuitText);
        WindowFixture f;
        QVERIFY(f.ok);
        QenControl *tray = f.open()->tray;
        QenEngine *e = f.doc->engine();
        QSignalSpy state(f.doc.data(), &QenDoc::stateChanged);
        f.doc->engine()->setSpeed(QenSystemOrigin, speed);
        f.doc->engine()->setCircuit(QenSystemOrigin, circuit);
        f.doc->engine()->setWeight(QenSystemOrigin, 82.5f);
        tray->updateControlVals();
        QCOMPARE(tray->form()->speedComboBox->currentText(), speedText);
        QCOMPARE(tray->form()->circuitComboBox->currentText(), circuitText);
        QCOMPARE(tray->form()->weightDoubleSpinBox->value(), 82.5);
        // Showing values issued no command.
        QCOMPARE(e->speed(), speed);
        QCOMPARE(e->circuit(), circuit);
        QCOMPARE(state.count(), 0);

        // A choice in the tray reaches the document through the picture view.
        tray->form()->speedComboBox->setCurrentIndex(0);
        QCOMPARE(e->speed(), 1);
        tray->form()->circuitComboBox->setCurrentIndex(1);
        QCOMPARE(e->circuitIndex(), 1);
        tray->runSim();
        QCOMPARE(e->state(), ARunning);
        QCOMPARE(tray->form()->runPushButton->text(), QStringLiteral("Pause"));
        tray->pauseSim();
        QCOMPARE(e->state(), APaused);
    }

    void specialSwitches()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        QenControl *tray = f.open()->tray;
        QAction uptake(QStringLiteral("Disable &Uptake"));
        QAction ret(QStringLiteral("Disable &Return"));
        QAction vapor(QStringLiteral("Enable &Vapor"));
        for (QAction *a : {&uptake, &ret, &vapor})
            a->setCheckable(true);
        // The menu command, as the main window connects it.
        connect(&uptake, &QAction::toggled, f.doc.data(),
                [&f](bool on) { f.doc->engine()->disableUptake(on); });
        QSignalSpy toggled(&uptake, &QAction::toggled);
        tray->setSpecialActions(&uptake, &ret, &vapor);

        tray->form()->disUpRadioButton->click();
        QCOMPARE(toggled.count(), 1);
        QVERIFY(!f.doc->engine()->uptakeEffect());
        // A refresh shows the switch without issuing the command again.
        f.doc->engine()->disableUptake(false);
        tray->updateControlVals();
        QVERIFY(!tray->form()->disUpRadioButton->isChecked());
        QCOMPARE(toggled.count(), 1);

        // Without actions the buttons set the document's switches.
        WindowFixture g;
        QenControl *alone = g.open(false)->tray;
        alone->form()->enVapRadioButton->click();
        QVERIFY(g.doc->engine()->vaporEffect());
    }

    void contextMenu()
    {
        WindowFixture f({QStringLiteral("Isoflurane")});
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        m->area.show();
        m->tabs->setCurrentWidget(m->control);
        QTableWidget *t = m->tray->table();

        t->setCurrentCell(2, 0);
        QVERIFY(!rightClick(t, 2));
        QVERIFY(!rightClick(t, -1));
        // The pointer must be over the current agent row.
        t->setCurrentCell(0, 0);
        QVERIFY(!rightClick(t, 1));
        QMenu *menu = rightClick(t, 0);
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 5);
        // Every view of agent 1 sits in the tray's own tab widget.
        QVERIFY(!m->tray->bringToFrontAction()->isEnabled());
        closeMenus();

        // A picture of agent 1 in a tab widget of its own can be brought to front.
        QenTabWidget *other = m->newTabWidget();
        QenChildWindow *picture = m->made.at(0);
        m->tabs->removeTab(m->tabs->indexOf(picture));
        other->addTab(picture, picture->title());
        QVERIFY(rightClick(t, 0));
        QVERIFY(m->tray->bringToFrontAction()->isEnabled());
        closeMenus();
        m->tray->bringToFrontAction()->trigger();
        QCOMPARE(m->activated, QList<QWidget *>{picture});

        QSignalSpy views(m->tray.data(), &QenControl::addAgentView);
        m->tray->newGraphAction()->trigger();
        m->tray->newPictureAction()->trigger();
        QCOMPARE(views.count(), 2);
        QCOMPARE(views.at(0).at(2).value<QenViewType>(), QenChildWindowInterface::Graph);
        QCOMPARE(views.at(1).at(2).value<QenViewType>(), QenChildWindowInterface::Picture);
    }

    void delegateEditors_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("editorClass");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<int>("decimals");
        QTest::newRow("name") << 0 << "Halothane"
                              << "QComboBox" << 0.0 << 0;
        QTest::newRow("bottle") << 1 << "250"
                                << "QDoubleSpinBox" << 5000.0 << 0;
        QTest::newRow("cost") << 2 << "12.5"
                              << "QDoubleSpinBox" << 10000.0 << 2;
        QTest::newRow("colour") << 3 << "red"
                                << "QComboBox" << 0.0 << 0;
        QTest::newRow("empty") << 0 << ""
                               << "" << 0.0 << 0;
        QTest::newRow("empty colour") << 3 << ""
                                      << "" << 0.0 << 0;
    }
    void delegateEditors()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, editorClass);
        QFETCH(double, maximum);
        QFETCH(int, decimals);
        QenAgentDelegate delegate(kind);
        delegate.setItems(
            {QStringLiteral("Halothane"), QStringLiteral("red"), QStringLiteral("Isoflurane")});
        QStandardItemModel model(1, 1);
        model.setData(model.index(0, 0), text);
        QWidget parent;
        QWidget *editor = delegate.createEditor(&parent, QStyleOptionViewItem(), model.index(0, 0));
        if (editorClass.isEmpty()) {
            QVERIFY(!editor);
            return;
        }
        QVERIFY(editor);
        QCOMPARE(QString::fromLatin1(editor->metaObject()->className()), editorClass);
        QCOMPARE(editor->contextMenuPolicy(), Qt::NoContextMenu);
        delegate.setEditorData(editor, model.index(0, 0));
        if (auto *box = qobject_cast<QComboBox *>(editor)) {
            QCOMPARE(box->currentText(), text);
            box->setCurrentIndex(2);
            delegate.setModelData(editor, &model, model.index(0, 0));
            QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("Isoflurane"));
        } else {
            auto *spin = qobject_cast<QDoubleSpinBox *>(editor);
            QCOMPARE(spin->maximum(), maximum);
            QCOMPARE(spin->decimals(), decimals);
            QCOMPARE(spin->value(), text.toDouble());
            spin->setValue(42);
            delegate.setModelData(editor, &model, model.index(0, 0));
            QCOMPARE(model.data(model.index(0, 0)).typeId(), QMetaType::Double);
            QCOMPARE(model.data(model.index(0, 0)).toDouble(), 42.0);
        }
    }

    void agentDialog_data()
    {
        QTest::addColumn<bool>("begun");
        QTest::newRow("not yet run") << false;
        QTest::newRow("begun") << true;
    }
    void agentDialog()
    {
        QFETCH(bool, begun);
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        if (begun)
            f.runTo(60000);
        QenEngine *e = f.doc->engine();
        const QString before = f.doc->agentName(0);
        bool agentEnabled = false;
        const auto run = [&](QDialog &dialog) {
            auto &dlg = static_cast<QenAgentDlg &>(dialog);
            dlg.show();
            Ui::QenAgent *ui = dlg.form();
            agentEnabled = ui->cbAgent->isEnabled();
            [&] {
                QCOMPARE(dlg.windowTitle(),
                         QStringLiteral("Change Anesthetic Agent and Circuit Type"));
                QCOMPARE(ui->cbAgent->currentText(), before);
                QCOMPARE(ui->cbCircuit->currentText().toLower(), e->circuit().toLower());
            }();
            ui->cbAgent->setCurrentIndex(ui->cbAgent->findText(QStringLiteral("Sevoflurane")));
            ui->cbCircuit->setCurrentIndex(2);
            return true;
        };
        QVERIFY(QenDialogs::changeAgent(*m->made.at(0)->panelView(), nullptr, run));
        QCOMPARE(agentEnabled, !begun);
        QCOMPARE(f.doc->agentName(0), begun ? before : QStringLiteral("Sevoflurane"));
        QCOMPARE(e->circuitIndex(), 2);
        QCOMPARE(m->tray->form()->circuitComboBox->currentIndex(), 2);
    }
};

QTEST_MAIN(TestQenControl)
#include "tst_qencontrol.moc"
