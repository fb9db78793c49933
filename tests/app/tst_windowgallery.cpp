// Renders a document's windows the way the main window will hold them: the
// Control, Picture and Graph tabs in one tab widget of a sub-window, each tab
// shown in turn, into PNG files a developer can look at. Set
// QUENOR_GALLERY_DIR, or find them in the "gallery" folder beside the test
// program.

#include "windowfixture.h"

#include "app/qenforecastwindow.h"
#include "testfiles.h"

#include <QDir>
#include <QImage>

class TestWindowGallery : public QObject
{
    Q_OBJECT

private slots:
    void render_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("run");
        QTest::newRow("new control") << 0 << "windows-control-new" << false;
        QTest::newRow("control") << 0 << "windows-control" << true;
        QTest::newRow("picture") << 1 << "windows-picture" << true;
        QTest::newRow("graph") << 2 << "windows-graph" << true;
    }
    void render()
    {
        QFETCH(int, tab);
        QFETCH(QString, name);
        QFETCH(bool, run);
        QString out = qEnvironmentVariable("QUENOR_GALLERY_DIR");
        if (out.isEmpty())
            out = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("gallery"));
        QVERIFY(QDir().mkpath(out));
        installGalleryLanguage();

        WindowFixture f({QStringLiteral("Isoflurane")});
        QVERIFY(f.ok);
        FakeMainWindow *m = f.open();
        if (run)
            f.runTo(300000);
        // One tab widget: Control, then the first agent's picture and graph.
        for (QenChildWindow *c : m->tabs->childWindows()) {
            if (c->agentIndex() != 0 && c->type() != QenChildWindowInterface::Control)
                c->close();
        }
        WindowFixture::flushDeletes();
        QCOMPARE(m->tabs->count(), 3);
        m->tabs->parentWidget()->resize(720, 520);
        m->tabs->setCurrentIndex(tab);
        m->area.resize(760, 560);
        m->area.show();
        QCoreApplication::processEvents();

        const QImage image = m->area.grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY(image.save(QDir(out).filePath(name + QStringLiteral(".png"))));
        // The tabs name the document's windows, in the gallery's language.
        auto word = [](const char *text) {
            return QenChildWindow::tr(text);
        };
        QCOMPARE(m->tabs->tabText(0), f.doc->title() + ':' + word("Control"));
        QVERIFY(m->tabs->tabText(1).startsWith(f.doc->title() + ':' + word("Picture") + '1'));
        QVERIFY(m->tabs->tabText(2).startsWith(f.doc->title() + ':' + word("Graph") + '1'));
    }

    // The wake-up forecast of a 10-hour anaesthetic with desflurane,
    // sevoflurane and isoflurane at 1 MAC, semi-closed at FGF 2.
    void forecast()
    {
        QString out = qEnvironmentVariable("QUENOR_GALLERY_DIR");
        if (out.isEmpty())
            out = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("gallery"));
        QVERIFY(QDir().mkpath(out));

        WindowFixture f({QStringLiteral("Sevoflurane"), QStringLiteral("Isoflurane")});
        QVERIFY(f.ok);
        QVERIFY(f.doc->setAgent(QenUserOrigin, 0, QStringLiteral("Desflurane")));
        f.doc->defaultAgentColors();
        for (int k = 0; k < 3; ++k)
            f.doc->engine()->setDEL(QenUserOrigin, k, f.doc->engine()->agentOf(k)->mac);
        f.doc->engine()->setFGF(QenUserOrigin, 2.0f);
        f.runTo(600 * 60000);

        QenForecastWindow window(f.doc);
        window.show();
        QVERIFY(window.waitUntilFinished());
        qInfo("forecast of 10 h with 3 agents: %d ms", int(window.elapsedMs()));
        QCoreApplication::processEvents();
        const QImage image = window.grab().toImage();
        QVERIFY(image.save(QDir(out).filePath(QStringLiteral("windows-forecast.png"))));
    }
};

QTEST_MAIN(TestWindowGallery)
#include "tst_windowgallery.moc"
