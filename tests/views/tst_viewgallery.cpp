// Pictures of the panel and graph views following a running isoflurane
// simulation, for a developer to look at: set QUENOR_GALLERY_DIR, or find
// them in the "gallery" folder beside the test program.

#include "viewharness.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>

class TestViewGallery : public QObject
{
    Q_OBJECT

private slots:
    void runningIsoflurane()
    {
        QString path = qEnvironmentVariable("QUENOR_GALLERY_DIR");
        if (path.isEmpty())
            path = QCoreApplication::applicationDirPath() + QStringLiteral("/gallery");
        QVERIFY(QDir().mkpath(path));
        const QDir dir(path);

        ViewFixture f;
        QVERIFY(f.ok);
        QVERIFY(f.usePrimary(QStringLiteral("Isoflurane")));
        HarnessWindow *w = f.window();
        QenEngine *e = f.engine();
        w->panel->SetSpeed(QStringLiteral("120x"));
        w->panel->run();
        f.runTo(8 * 60000, RunTo::FirstStop);
        // The anaesthetist turns the vaporizer down after the induction.
        w->panel->field(QenPanelView::DEL)->setText(QStringLiteral("1.50"));
        QMetaObject::invokeMethod(w->panel->field(QenPanelView::DEL), "editingFinished");
        QCoreApplication::sendPostedEvents();
        QCOMPARE(e->state(), ARunning);
        f.runTo(12 * 60000 + 36000, RunTo::FirstStop);
        QCOMPARE(e->state(), ARunning);

        for (const QSize &size : {QSize(560, 440), QSize(800, 520)}) {
            w->panel->resize(size);
            const QImage panel = w->panel->grab().toImage();
            QVERIFY(panel.save(dir.filePath(
                QStringLiteral("panelview_%1x%2.png").arg(size.width()).arg(size.height()))));
            w->graph->resize(size);
            const QImage graph = w->graph->grab().toImage();
            QVERIFY(graph.save(dir.filePath(
                QStringLiteral("graphview_%1x%2.png").arg(size.width()).arg(size.height()))));
        }
        w->panel->resize(w->panel->minimumSizeHint());
        QVERIFY(w->panel->grab().toImage().save(dir.filePath(QStringLiteral("panelview_min.png"))));
        w->graph->resize(w->graph->minimumSizeHint());
        QVERIFY(w->graph->grab().toImage().save(dir.filePath(QStringLiteral("graphview_min.png"))));
        QVERIFY(w->graph->reportImage(QSize(850, 1100))
                    .save(dir.filePath(QStringLiteral("graphview_report.png"))));
        w->panel->run();
    }
};

QTEST_MAIN(TestViewGallery)
#include "tst_viewgallery.moc"
