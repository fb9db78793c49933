#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenmainwindow.h"
#include "document/qendoc.h"
#include "app/qenmessageprompt.h"
#include "app/qensplashscreen.h"
#include "engine/qencatalogue.h"
#include "engine/qenengine.h"
#include "apptestmain.h"
#include "scriptedprompt.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// Notes where a widget is when it is first shown.
class ShowWatcher : public QObject
{
public:
    ShowWatcher(QWidget *widget, QPoint *shownAt) : m_shownAt(shownAt)
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && *m_shownAt == QPoint(-1, -1))
            *m_shownAt = static_cast<QWidget *>(watched)->pos();
        return false;
    }

private:
    QPoint *m_shownAt;
};
} // namespace

class TestQenApplication : public QObject
{
    Q_OBJECT

private slots:
    void restoresIniAndKeepsArguments()
    {
        QCOMPARE(qenApp->iniPath(), appTestDir().filePath("quenor.ini"));
        QVERIFY(qenApp->hasIni());
        QCOMPARE(qenApp->commandLineFiles(), (QStringList{"one.qen", "two.qen"}));

        // The restored file holds a usable agent table.
        ScriptedPrompt prompt;
        QenCatalogue catalogue;
        QCOMPARE(catalogue.load(qenApp->ini(), QenDocHost(qenApp->iniPath(), &prompt).colorNames(),
                                &prompt),
                 9);
    }

    void settingsRoundSixDecimalsAndIgnoreCase()
    {
        qenApp->setValue("Defaults", "fgf", 0.1234567);
        QCOMPARE(qenApp->value("Defaults", "FGF").toDouble(), 0.123457);
        QFile f(qenApp->iniPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.contains("\nFGF=0.123457\n"));
        QVERIFY(!text.contains("fgf="));
        qenApp->setValue("Defaults", "FGF", 8);
    }

    void locale_data()
    {
        QTest::addColumn<QVariant>("setting");
        QTest::addColumn<QString>("locale");
        QTest::newRow("absent: the system's") << QVariant() << QLocale::system().name();
        QTest::newRow("zh_CN") << QVariant("zh_CN") << "zh_CN";
        QTest::newRow("de_DE") << QVariant("de_DE") << "de_DE";
        QTest::newRow("no locale name") << QVariant("klingon") << "en_US";
        QTest::newRow("wrong spelling") << QVariant("zh-cn") << "en_US";
    }
    void locale()
    {
        QFETCH(QVariant, setting);
        QFETCH(QString, locale);
        if (setting.isValid())
            qenApp->setValue("Application", "Locale", setting);
        else
            qenApp->ini().remove("Application", "Locale");
        QCOMPARE(qenApp->installTranslations(), locale);
        QCOMPARE(QLocale().name(), locale);
        qenApp->setValue("Application", "Locale", "en_US");
        qenApp->installTranslations();
    }

    void initializeShowsMainWindow()
    {
        qenApp->ini().remove("Colors", "Colors");
        auto *prompt = static_cast<ScriptedPrompt *>(qenApp->prompt());
        prompt->clear();
        // Neither file on the command line exists: each is refused, and a new
        // simulation is started instead.
        prompt->expect(QenPrompt::Ok);
        prompt->expect(QenPrompt::Ok);
        QVERIFY(qenApp->initialize());
        QenMainWindow *window = qenApp->mainWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(prompt->records().size(), 2);
        QVERIFY(prompt->records()[0].text.contains("one.qen"));
        QVERIFY(prompt->records()[1].text.contains("two.qen"));
        QCOMPARE(qenApp->documents().size(), 1);
        QCOMPARE(qenApp->documents()[0]->title(), QStringLiteral("Untitled1"));
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("Quenor®Anesthesia Simulator - Untitled1:Control"));
        QCOMPARE(QenMainWindow::childrenOf(qenApp->documents()[0]).size(), 3);
        // The colour list was missing and is written again.
        QCOMPARE(window->host()->colorList().size(), 10);
        QCOMPARE(window->host()->defaults().speed, 60);
        QCOMPARE(window->host()->defaults().circuit, QStringLiteral("Semi-closed"));
        QCOMPARE(qenApp->circuits().size(), 4);
        QCOMPARE(qenApp->speeds().last(), QStringLiteral("AFAP"));
        QCOMPARE(qenApp->graphSpans().size(), 9);
        QCOMPARE(qenApp->colorNames().size(), 12);
        // Without its picture there is no splash, and start-up goes on.
        if (QPixmap(":/images/splash.png").isNull())
            QVERIFY(!qenApp->splashScreen());
    }

    // Settings that are not numbers within their range are named once at
    // start-up, with the file; the simulation starts from the defaults.
    void refusedSettingsAreToldAtStartUp()
    {
        qenApp->setValue("Defaults", "FGF", "nan");
        qenApp->setValue("Defaults", "VA", "five");
        auto *prompt = static_cast<ScriptedPrompt *>(qenApp->prompt());
        prompt->clear();
        prompt->expect(QenPrompt::Ok);
        prompt->expect(QenPrompt::Ok);
        prompt->expect(QenPrompt::Ok);
        QVERIFY(qenApp->initialize());
        QCOMPARE(prompt->records().size(), 3);
        const ScriptedPrompt::Record &told = prompt->records().first();
        QCOMPARE(told.icon, QenPrompt::Warning);
        QVERIFY2(told.text.contains(qenApp->iniPath()), qPrintable(told.text));
        QVERIFY(told.text.contains("[Defaults] FGF=nan: 8 is used instead."));
        QVERIFY(told.text.contains("[Defaults] VA=five: 4 is used instead."));
        const QenDoc *doc = qenApp->documents().constLast();
        QCOMPARE(doc->engine()->va(), 4.0f);
        QVERIFY(std::isfinite(doc->engine()->fgf()));
        qenApp->ini().remove("Defaults", "FGF");
        qenApp->ini().remove("Defaults", "VA");
        qenApp->loadDefaults();
    }

    void emptyAgentTableEndsStartUp()
    {
        const QVariant agents = qenApp->value("Agents", "Agents");
        qenApp->ini().remove("Agents", "Agents");
        auto *prompt = static_cast<ScriptedPrompt *>(qenApp->prompt());
        prompt->clear();
        prompt->setPermissive(true);
        QVERIFY(!qenApp->initialize());
        prompt->setPermissive(false);
        QVERIFY(qenApp->documents().isEmpty());
        QVERIFY(prompt->records().last().text.contains("Can't read anesthetic parameters"));
        qenApp->setValue("Agents", "Agents", agents);
    }

    void splashCloses_data()
    {
        QTest::addColumn<bool>("click");
        QTest::newRow("time up") << false;
        QTest::newRow("clicked") << true;
    }
    void splashCloses()
    {
        QFETCH(bool, click);
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPixmap pixmap(120, 80);
        pixmap.fill(Qt::darkBlue);
        window.move(40, 30);
        QPointer<QenSplashScreen> splash = new QenSplashScreen(&window, pixmap);
        // Where it first appears is where it stays: centred over the window.
        QPoint shownAt(-1, -1);
        ShowWatcher watcher(splash, &shownAt);
        splash->showFor(60);
        QVERIFY(splash->isVisible());
        QCOMPARE(shownAt + splash->rect().center(), window.frameGeometry().center());
        QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(splash->parentWidget(), &window);
        if (click)
            QTest::mouseClick(splash, Qt::LeftButton);
        else
            splash->timeUp();
        QVERIFY(!splash || !splash->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!splash);
    }

    void temporaryFilesAreDeleted()
    {
        const QString kept = appTestDir().filePath("kept.txt");
        const QString first = appTestDir().filePath("first.png");
        const QString second = appTestDir().filePath("second.qen");
        for (const QString &path : {kept, first, second}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        qenApp->addTemporaryFile(first);
        qenApp->addTemporaryFile(first);
        qenApp->addTemporaryFile(second);
        qenApp->addTemporaryFile(appTestDir().filePath("never-written.html"));
        QVERIFY(QFile::remove(second)); // already gone by the time the program ends
        qenApp->deleteTemporaryFiles();
        QVERIFY(!QFile::exists(first));
        QVERIFY(QFile::exists(kept));
        QVERIFY(qenApp->temporaryFiles().isEmpty());
    }

    void messageBox_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<int>("format");
        QTest::newRow("critical, rich")
            << int(QenPrompt::Critical) << "<p>Error reading 'Max' parameter" << int(QenPrompt::Ok)
            << int(QenPrompt::NoButton) << int(Qt::RichText);
        QTest::newRow("question, plain")
            << int(QenPrompt::Question) << "Save changes? <b>not bold</b>"
            << int(QenPrompt::Yes | QenPrompt::No | QenPrompt::Cancel) << int(QenPrompt::No)
            << int(Qt::PlainText);
        QTest::newRow("warning, tag later")
            << int(QenPrompt::Warning) << " <p>late" << int(QenPrompt::Ok | QenPrompt::Cancel)
            << int(QenPrompt::Cancel) << int(Qt::PlainText);
    }
    void messageBox()
    {
        QFETCH(int, icon);
        QFETCH(QString, text);
        QFETCH(int, buttons);
        QFETCH(int, defaultButton);
        QFETCH(int, format);
        const auto box = QenMessagePrompt::createBox(QenPrompt::Icon(icon), "Quenor®", text,
                                                     buttons, defaultButton);
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(box->windowTitle(), QStringLiteral("Quenor®"));
        QCOMPARE(box->text(), text);
        QCOMPARE(int(box->standardButtons()), buttons);
        QCOMPARE(int(box->textFormat()), format);
        if (defaultButton != QenPrompt::NoButton)
            QCOMPARE(int(box->standardButton(box->defaultButton())), defaultButton);
    }

    // The close question: the program's own three buttons, Save the default.
    void closeQuestionButtons()
    {
        const QList<QenPrompt::Choice> choices = {{QenPrompt::Save, QStringLiteral("&Save")},
                                                  {QenPrompt::Discard, QStringLiteral("&Discard")},
                                                  {QenPrompt::Cancel, QStringLiteral("&Cancel")}};
        const auto box = QenMessagePrompt::createChoiceBox(QenPrompt::Warning, "Quenor®",
                                                           "<p>Save?", choices, QenPrompt::Save);
        QCOMPARE(box->standardButtons(), QMessageBox::NoButton);
        const QList<QAbstractButton *> buttons = box->buttons();
        QCOMPARE(buttons.size(), 3);
        const QList<QMessageBox::ButtonRole> roles = {
            QMessageBox::AcceptRole, QMessageBox::DestructiveRole, QMessageBox::RejectRole};
        for (int i = 0; i < 3; ++i) {
            QAbstractButton *button = nullptr;
            for (QAbstractButton *b : buttons)
                if (b->text() == choices[i].text)
                    button = b;
            QVERIFY2(button, qPrintable(choices[i].text));
            QCOMPARE(box->buttonRole(button), roles[i]);
        }
        QCOMPARE(box->defaultButton()->text(), QStringLiteral("&Save"));
    }
};

int main(int argc, char *argv[])
{
    // The program's own arguments stay apart from the test runner's.
    return runAppTest(argc, argv,
                      [&] {
                          TestQenApplication test;
                          return QTest::qExec(&test, argc, argv);
                      },
                      {QStringLiteral("one.qen"), QStringLiteral("two.qen")});
}

#include "tst_qenapplication.moc"
