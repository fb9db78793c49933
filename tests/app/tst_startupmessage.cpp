// Messages shown while the start-up splash is up, through the program's real
// message boxes: the splash closes (and deletes itself) while the box waits for
// its answer, and the box must still be there to be answered.
#include "apptestmain.h"

#include "app/qenapplication.h"
#include "app/qenmainwindow.h"
#include "app/qenmessageprompt.h"
#include "app/qensplashscreen.h"
#include "document/qendoc.h"

#include <QAbstractButton>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Waits (by turning the event loop, not the clock) for the modal box, then
// closes the splash as its timer would, lets it be deleted, and answers the
// box if it is still there.
class SplashCloser : public QObject
{
public:
    explicit SplashCloser(std::function<QenSplashScreen *()> splash) : m_splash(std::move(splash))
    {
        QTimer::singleShot(0, this, &SplashCloser::look);
    }

    QString text;
    QWidget *boxParent = nullptr;
    bool splashWasUp = false;
    bool splashGone = false;
    bool boxKept = false;
    bool answered = false;

private:
    void look()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            if (++m_tries < 10000)
                QTimer::singleShot(0, this, &SplashCloser::look);
            return;
        }
        text = box->text();
        boxParent = box->parentWidget();
        const QPointer<QMessageBox> watched = box;
        QPointer<QenSplashScreen> splash = m_splash();
        splashWasUp = splash && splash->isVisible();
        if (splash)
            splash->timeUp();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        splashGone = !splash;
        boxKept = !watched.isNull();
        if (watched && !watched->buttons().isEmpty()) {
            QAbstractButton *button = watched->defaultButton();
            (button ? button : watched->buttons().constFirst())->click();
            answered = true;
        }
    }

    std::function<QenSplashScreen *()> m_splash;
    int m_tries = 0;
};

QString corruptFile;

} // namespace

class TestStartupMessage : public QObject
{
    Q_OBJECT

private slots:
    // A box asked for while the splash is the active window.
    void boxOutlivesActiveSplash_data()
    {
        QTest::addColumn<bool>("choice");
        QTest::newRow("message") << false;
        QTest::newRow("choice") << true;
    }
    void boxOutlivesActiveSplash()
    {
        QFETCH(bool, choice);
        QWidget window;
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPixmap pixmap(120, 80);
        pixmap.fill(Qt::darkGreen);
        QPointer<QenSplashScreen> splash = new QenSplashScreen(&window, pixmap);
        splash->showFor(600);
        splash->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(splash));
        QCOMPARE(QApplication::activeWindow(), splash.data());
        QCOMPARE(QenMessagePrompt::ownerWindow(splash), &window);

        SplashCloser closer([&] { return splash.data(); });
        QenMessagePrompt prompt;
        int answer = 0;
        if (choice) {
            answer = prompt.choose(QenPrompt::Warning, "Quenor®", "<p>Keep going?",
                                   {{QenPrompt::Save, "&Save"}, {QenPrompt::Cancel, "&Cancel"}},
                                   QenPrompt::Save);
        } else {
            answer = prompt.critical("Quenor®", "<p>Something was refused.");
        }
        QVERIFY(closer.splashWasUp);
        QVERIFY(closer.splashGone);
        QVERIFY(closer.boxKept);
        QVERIFY(closer.answered);
        QCOMPARE(closer.boxParent, &window);
        QCOMPARE(answer, choice ? int(QenPrompt::Save) : int(QenPrompt::Ok));
    }

    // The program itself, started with a corrupt file on its command line and
    // a long splash: the refusal is answered after the splash has gone, and
    // the program goes on with a new simulation.
    void corruptFileAtStartUp()
    {
        qenApp->setValue("Defaults", "SplashTime", 30);
        SplashCloser closer([] { return qenApp->splashScreen(); });
        QVERIFY(qenApp->initialize());
        QVERIFY(closer.splashWasUp);
        QVERIFY(closer.splashGone);
        QVERIFY(closer.boxKept);
        QVERIFY(closer.answered);
        QCOMPARE(closer.boxParent, qenApp->mainWindow());
        QVERIFY2(closer.text.contains(QFileInfo(corruptFile).fileName()), qPrintable(closer.text));
        QVERIFY(!qenApp->splashScreen());
        QVERIFY(qenApp->mainWindow()->isVisible());
        QCOMPARE(qenApp->documents().size(), 1);
        QCOMPARE(qenApp->documents().constFirst()->title(), QStringLiteral("Untitled1"));
    }
};

int main(int argc, char *argv[])
{
    QTemporaryDir files;
    if (!files.isValid())
        return 1;
    // Not a simulation at all: an empty file under the program's suffix.
    corruptFile = files.filePath("empty.qen");
    QFile file(corruptFile);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.close();
    return runAppTest(
        argc, argv,
        [&] {
            TestStartupMessage test;
            return QTest::qExec(&test, argc, argv);
        },
        {corruptFile},
        [](QenApplication &app) {
            // The real message boxes, not the tests' scripted ones.
            app.setPrompt(std::make_unique<QenMessagePrompt>());
            prepareWindowTests(app);
        });
}

#include "tst_startupmessage.moc"
