#include "windowfixture.h"

#include "app/qentabbar.h"
#include "views/qenpanelview.h"

#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QToolButton>

namespace {

// Delivers the drag events of a drop of `data` at `pos` (tab widget
// coordinates) straight to the tab widget, as the drag manager would to its
// target, and reports whether the drop was accepted.
bool drop(QenTabWidget *tabs, QMimeData *data, const QPoint &pos)
{
    QObject *target = tabs;
    QDragEnterEvent enter(pos, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    target->event(&enter);
    QDragMoveEvent move(pos, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    target->event(&move);
    QDropEvent event(QPointF(pos), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    event.setAccepted(false);
    target->event(&event);
    // A drop whose move was refused would never be delivered.
    return move.isAccepted() && event.isAccepted();
}

QPoint inTab(QenTabWidget *tabs, int index, bool leftHalf)
{
    const QRect r = tabs->qenTabBar()->tabRect(index);
    const QPoint p(leftHalf ? r.left() + r.width() / 4 : r.right() - r.width() / 4, r.center().y());
    return tabs->qenTabBar()->mapTo(tabs, p);
}

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &pos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

class TestQenChildWindow : public QObject
{
    Q_OBJECT

private slots:
    void namesAndTitles()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        QCOMPARE(m->made.size(), 2);
        QenChildWindow *picture = m->made.at(0);
        QenChildWindow *graph = m->made.at(1);
        const QString title = f.doc->title();
        QCOMPARE(m->control->objectName(), QStringLiteral("Control"));
        QCOMPARE(picture->objectName(), QStringLiteral("Panel"));
        QCOMPARE(graph->objectName(), QStringLiteral("Graph"));
        QCOMPARE(m->control->title(), title + ":Control");
        QCOMPARE(picture->title(), title + ":Picture1");
        QCOMPARE(graph->windowTitle(), title + ":Graph1[*]");
        QVERIFY(m->control->control());
        QVERIFY(!picture->control());
        // Both views exist for every child; only the picture is shown by a picture child.
        QVERIFY(graph->panelView() && graph->graphViewWidget());
        QCOMPARE(m->tabs->tabText(1), picture->title());

        // A second agent: views name their agent and its rank, the tab follows.
        const QString iso = f.agent("Isoflurane");
        f.doc->addAgent(iso);
        QCOMPARE(picture->title(), title + ":Picture1:(Primary:" + f.doc->agentName(0) + ")");
        QCOMPARE(m->control->title(), title + ":Control");
        m->newView(f.doc, 1, QenChildWindowInterface::Graph);
        QCOMPARE(m->made.last()->title(), title + ":Graph2:(Add'l:" + iso + ")");
        QCOMPARE(m->tabs->tabText(m->tabs->count() - 1), m->made.last()->title());

        // The modified mark reaches every window.
        f.doc->setModified(true);
        QVERIFY(graph->isWindowModified());
    }

    void tabColors()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        QenChildWindow *picture = m->made.at(0);
        QCOMPARE(picture->colorName(), f.doc->agentColor(0));
        QCOMPARE(m->tabs->tabBar()->tabTextColor(1), QColor(f.doc->agentColor(0)));

        f.doc->setAgentColor(0, QStringLiteral("magenta"));
        connect(f.doc, &QenDoc::agentColorsChanged, m->tabs, &QenTabWidget::updateTabTextColor);
        f.doc->setAgentColor(0, QStringLiteral("blue"));
        QCOMPARE(m->tabs->tabBar()->tabTextColor(1), QColor(Qt::blue));

        // A light colour keeps its hue but is darkened enough to be read.
        f.doc->setAgentColor(0, QStringLiteral("yellow"));
        const QColor yellowText = m->tabs->tabBar()->tabTextColor(1);
        QCOMPARE(yellowText.hue(), QColor(Qt::yellow).hue());
        QVERIFY(yellowText.value() < 160);

        // An agent without a colour: the fallback colour.
        f.doc->setAgentColor(0, QString());
        QCOMPARE(picture->colorName(), QColor::colorNames().at(2));
        m->tabs->updateTabTextColor();
        QCOMPARE(m->tabs->tabBar()->tabTextColor(1).hue(),
                 QColor(QColor::colorNames().at(2)).hue());
    }

    void closeButtonHiddenOnControl()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        m->area.show();
        m->tabs->setCurrentIndex(0);
        QVERIFY(m->tabs->closeButton()->isHidden());
        m->tabs->setCurrentIndex(1);
        QVERIFY(!m->tabs->closeButton()->isHidden());
        m->tabs->setCurrentIndex(2);
        QVERIFY(!m->tabs->closeButton()->isHidden());

        // The button closes the current picture or graph tab.
        QPointer<QenChildWindow> graph = m->made.at(1);
        m->tabs->closeButton()->click();
        WindowFixture::flushDeletes();
        QVERIFY(!graph);
        QCOMPARE(m->tabs->count(), 2);
    }

    void dragStartDistance()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        m->area.show();
        QenTabBar *bar = m->tabs->qenTabBar();
        QSignalSpy drags(bar, &QenTabBar::drag);
        const QPoint start = bar->tabRect(1).center();
        const int d = QApplication::startDragDistance();
        sendMouse(bar, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(bar->currentIndex(), 1);
        sendMouse(bar, QEvent::MouseMove, start + QPoint(d, 0), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(drags.count(), 0);
        // Without the button held nothing starts either.
        sendMouse(bar, QEvent::MouseMove, start + QPoint(d + 2, 0), Qt::NoButton, Qt::NoButton);
        QCOMPARE(drags.count(), 0);
        sendMouse(bar, QEvent::MouseMove, start + QPoint(d / 2 + 1, d / 2 + 1), Qt::NoButton,
                  Qt::LeftButton);
        QCOMPARE(drags.count(), 1);
        QCOMPARE(drags.first().first().toInt(), 1);

        // A right press neither selects nor arms a drag.
        sendMouse(bar, QEvent::MouseButtonPress, bar->tabRect(0).center(), Qt::RightButton,
                  Qt::RightButton);
        QCOMPARE(bar->currentIndex(), 1);
    }

    void reorder_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("leftHalf");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("right half of the third") << 2 << false << QList<int>{0, 2, 1};
        QTest::newRow("left half of the first") << 0 << true << QList<int>{1, 0, 2};
        QTest::newRow("right half of the first") << 0 << false << QList<int>{0, 1, 2};
        QTest::newRow("left half of the third") << 2 << true << QList<int>{0, 1, 2};
        QTest::newRow("itself") << 1 << false << QList<int>{0, 1, 2};
    }
    void reorder()
    {
        QFETCH(int, target);
        QFETCH(bool, leftHalf);
        QFETCH(QList<int>, order);
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        m->area.show();
        m->tabs->parentWidget()->resize(800, 500);
        const QList<QenChildWindow *> before = m->tabs->childWindows();
        QCOMPARE(before.size(), 3);

        std::unique_ptr<QMimeData> data(m->tabs->mimeDataFor(1));
        const QPoint pos = inTab(m->tabs, target, leftHalf);
        QVERIFY(drop(m->tabs, data.get(), pos));
        QList<QenChildWindow *> expected;
        for (int i : order)
            expected.append(before.at(i));
        QCOMPARE(m->tabs->childWindows(), expected);
        if (expected != before)
            QCOMPARE(m->tabs->currentWidget(), before.at(1));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m->tabs->tabText(i), expected.at(i)->title());
        QVERIFY(m->drops.isEmpty());

        // Moved tabs still report: a closed one leaves its tab widget.
        QPointer<QenChildWindow> moved = before.at(1);
        moved->close();
        QCOMPARE(m->tabs->count(), 2);
    }

    void refusedDrops()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        m->area.show();
        const QList<QenChildWindow *> before = m->tabs->childWindows();

        // The page area of its own tab widget takes no tab.
        std::unique_ptr<QMimeData> own(m->tabs->mimeDataFor(1));
        const QPoint page = m->tabs->currentWidget()->geometry().center();
        QVERIFY(!m->tabs->qenTabBar()->geometry().contains(page));
        QVERIFY(!drop(m->tabs, own.get(), page));

        // A number that names no live child: from another copy of the
        // program, or a child since closed.
        QMimeData stranger;
        stranger.setData(QenTabWidget::mimeType, "12345");
        QVERIFY(!drop(m->tabs, &stranger, inTab(m->tabs, 0, true)));
        QMimeData garbage;
        garbage.setData(QenTabWidget::mimeType, "not a number");
        QVERIFY(!drop(m->tabs, &garbage, inTab(m->tabs, 0, true)));
        QPointer<QenChildWindow> graph = m->made.at(1);
        QMimeData gone;
        gone.setData(QenTabWidget::mimeType, graph->identity());
        graph->close();
        WindowFixture::flushDeletes();
        QVERIFY(!graph);
        QVERIFY(!drop(m->tabs, &gone, inTab(m->tabs, 0, true)));
        QVERIFY(m->drops.isEmpty());
        QCOMPARE(m->tabs->count(), 2);
        QCOMPARE(m->tabs->childWindows(), before.mid(0, 2));
    }

    void dropFromAnotherTabWidget()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        m->area.show();
        QenTabWidget *other = m->newTabWidget();
        std::unique_ptr<QMimeData> data(m->tabs->mimeDataFor(2));
        // Anywhere over another tab widget, the page area too.
        drop(other, data.get(), QPoint(100, 200));
        QCOMPARE(m->drops.size(), 1);
        QCOMPARE(m->drops.first(), other);
        QCOMPARE(m->tabs->count(), 3);
    }

    void lastTabClosesTabWidget()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        m->area.show();
        // Move the picture into a tab widget of its own, as a drop would.
        QenTabWidget *other = m->newTabWidget();
        QPointer<QMdiSubWindow> sub = qobject_cast<QMdiSubWindow *>(other->parentWidget());
        QPointer<QenTabWidget> guard = other;
        QenChildWindow *picture = m->made.at(0);
        m->tabs->removeTab(m->tabs->indexOf(picture));
        other->addTab(picture, picture->title());
        QCOMPARE(m->area.subWindowList().size(), 2);

        QVERIFY(picture->close());
        WindowFixture::flushDeletes();
        QVERIFY(!guard);
        QVERIFY(!sub);
        QCOMPARE(m->area.subWindowList().size(), 1);
        // The first tab widget did not hear of the moved child's close.
        QCOMPARE(m->tabs->count(), 2);
        QVERIFY(f.doc);
    }

    void closingWithControl_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("cancel") << int(QenPrompt::Cancel) << false;
        QTest::newRow("discard") << int(QenPrompt::Discard) << true;
    }
    void closingWithControl()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        m->area.show();
        // One of the document's windows sits in another tab widget.
        QenTabWidget *other = m->newTabWidget();
        QPointer<QenChildWindow> graph = m->made.at(1);
        m->tabs->removeTab(m->tabs->indexOf(graph));
        other->addTab(graph, graph->title());
        QPointer<QenTabWidget> tabs = m->tabs.data();

        f.doc->setModified(true);
        f.prompt.expect(answer);
        QCOMPARE(tabs->close(), closes);
        QCOMPARE(f.prompt.records().size(), 1);
        WindowFixture::flushDeletes();
        if (!closes) {
            QVERIFY(tabs && m->control && graph);
            QCOMPARE(tabs->count(), 2);
            QCOMPARE(f.doc->views().size(), 3);
            return;
        }
        // The document went with every window it had, wherever they were.
        QVERIFY(!tabs);
        QVERIFY(!graph);
        QVERIFY(m->area.subWindowList().isEmpty());
        WindowFixture::flushDeletes();
        QVERIFY(!f.doc);
    }

    void closingPictureAlone()
    {
        WindowFixture f;
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        f.doc->setModified(true);
        // A picture or graph window closes without asking.
        QPointer<QenChildWindow> picture = m->made.at(0);
        QSignalSpy before(picture.data(), &QenChildWindow::beforeClose);
        QVERIFY(picture->close());
        QCOMPARE(before.count(), 1);
        QVERIFY(f.prompt.records().isEmpty());
        QCOMPARE(f.doc->views().size(), 2);
        // The Control window itself asks.
        f.prompt.expect(QenPrompt::Cancel);
        QVERIFY(!m->control->close());
        QCOMPARE(f.doc->views().size(), 2);
    }
};

QTEST_MAIN(TestQenChildWindow)
#include "tst_qenchildwindow.moc"
