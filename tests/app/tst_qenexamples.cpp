#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qenappdochost.h"
#include "app/qenexamplesmenu.h"
#include "app/qenmainwindow.h"
#include "app/qensplashscreen.h"
#include "document/qendoc.h"
#include "engine/qencatalogue.h"
#include "engine/qenengine.h"
#include "apptestmain.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// What a scenario says, read here by hand rather than by the program's reader.
struct Lesson
{
    QString title;
    QString description;
    QList<quint32> bookmarksMs;
    QStringList agents; // as the scenario names them
    quint32 minutesMs = 0;
};

Lesson readLesson(const QString &path)
{
    Lesson lesson;
    QStringList paragraphs;
    for (const QString &raw : QString::fromUtf8(fileContents(path)).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        const int blank = line.indexOf(QLatin1Char(' '));
        const QString key = line.left(blank);
        const QString value = line.mid(blank + 1).trimmed();
        if (key == QLatin1String("title"))
            lesson.title = value;
        else if (key == QLatin1String("description"))
            paragraphs << value;
        else if (key == QLatin1String("bookmark"))
            lesson.bookmarksMs << quint32(std::lround(value.toDouble() * 60000.0));
        else if (key == QLatin1String("agent"))
            lesson.agents << value.left(value.indexOf(QLatin1Char('=')));
        else if (key == QLatin1String("minutes"))
            lesson.minutesMs = quint32(std::lround(value.toDouble() * 60000.0));
    }
    lesson.description = paragraphs.join(QLatin1Char('\n'));
    return lesson;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

// The example lessons as the build made them, installed in the program's
// folder and opened through File > Examples.
class TestQenExamples : public QObject
{
    Q_OBJECT

private:
    QenMainWindow *w() const { return qenApp->mainWindow(); }
    QString installed() const { return appTestDir().filePath(QStringLiteral("examples")); }

    QenExamplesMenu *examplesMenu() const
    {
        for (QAction *act : w()->menuBar()->actions()) {
            if (!act->menu())
                continue;
            for (QAction *item : act->menu()->actions()) {
                if (item->objectName() == QLatin1String("actionExamples"))
                    return qobject_cast<QenExamplesMenu *>(item->menu());
            }
        }
        return nullptr;
    }

    void closeAll()
    {
        for (QenDoc *doc : qenApp->documents()) {
            doc->setModified(false);
            delete doc;
        }
        flushDeletes();
    }

private slots:
    void initTestCase()
    {
        // The program's folder holds the examples as an installation would.
        const QDir built(QStringLiteral(QUENOR_EXAMPLES_DIR));
        for (const QString &locale : {QStringLiteral("en_US"), QStringLiteral("zh_CN")}) {
            QVERIFY(QDir().mkpath(installed() + QLatin1Char('/') + locale));
            const QStringList files = QDir(built.filePath(locale)).entryList(QDir::Files);
            QVERIFY(files.size() >= 2 * 8);
            for (const QString &file : files)
                QVERIFY(
                    QFile::copy(built.filePath(locale + QLatin1Char('/') + file),
                                installed() + QLatin1Char('/') + locale + QLatin1Char('/') + file));
        }
        installGalleryLanguage();
        QVERIFY(qenApp->mainWindow() || qenApp->initialize());
        closeAll();
    }

    void cleanup()
    {
        closeAll();
        appTestPrompt()->clear();
    }

    // Both languages have the same lessons, each with its own title.
    void bothLanguages()
    {
        const auto english = QenExamplesMenu::examples(appTestDir().path(), "en_US");
        const auto chinese = QenExamplesMenu::examples(appTestDir().path(), "zh_CN");
        QVERIFY(english.size() >= 8);
        QCOMPARE(chinese.size(), english.size());
        for (int i = 0; i < english.size(); ++i) {
            QCOMPARE(QFileInfo(chinese[i].path).fileName(), QFileInfo(english[i].path).fileName());
            QVERIFY(!english[i].title.isEmpty());
            QVERIFY2(chinese[i].title.contains(
                         QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))),
                     qPrintable(chinese[i].title));
        }
        // A language without examples gets the English ones.
        const auto german = QenExamplesMenu::examples(appTestDir().path(), "de_DE");
        QCOMPARE(german.size(), english.size());
        QCOMPARE(german.first().path, english.first().path);
    }

    // File > Examples lists the titles of the program's language.
    void menuListsTitles_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("English") << "en_US";
        QTest::newRow("Chinese") << "zh_CN";
    }
    void menuListsTitles()
    {
        QFETCH(QString, locale);
        qenApp->setValue("Application", "Locale", locale);
        QCOMPARE(qenApp->installTranslations(), locale);
        QenExamplesMenu *menu = examplesMenu();
        QVERIFY(menu);
        emit menu->aboutToShow();
        QStringList shown;
        for (QAction *act : menu->actions())
            shown << act->text();
        QStringList expected;
        const QDir folder(installed() + QLatin1Char('/') + locale);
        for (const QString &file : folder.entryList({"*.scenario"}, QDir::Files, QDir::Name))
            expected << readLesson(folder.filePath(file)).title;
        QCOMPARE(shown, expected);
        qenApp->setValue("Application", "Locale", "en_US");
        qenApp->installTranslations();
    }

    // Without examples the menu says so rather than staying empty.
    void noExamples()
    {
        QTemporaryDir empty;
        QVERIFY(QenExamplesMenu::examples(empty.path(), "en_US").isEmpty());
    }

    void opensAndRuns_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &locale : {QStringLiteral("en_US"), QStringLiteral("zh_CN")}) {
            const QDir folder(installed() + QLatin1Char('/') + locale);
            for (const QString &file : folder.entryList({"*.qen"}, QDir::Files, QDir::Name))
                QTest::newRow(qPrintable(locale + QLatin1Char('/') + file))
                    << folder.filePath(file);
        }
    }
    // Every example opens as a new untitled simulation with its description,
    // bookmarks and agents, and runs to its end without leaving the range the
    // model computes.
    void opensAndRuns()
    {
        QFETCH(QString, path);
        const Lesson lesson = readLesson(path.left(path.size() - 4) + QStringLiteral(".scenario"));
        QVERIFY(!lesson.description.isEmpty());
        QVERIFY(!lesson.bookmarksMs.isEmpty());

        QVERIFY(w()->openExample(path));
        QCOMPARE(qenApp->documents().size(), 1);
        QenDoc *doc = qenApp->documents().first();
        QVERIFY(doc->isUntitled());
        QVERIFY2(doc->title().startsWith(QStringLiteral("Untitled")), qPrintable(doc->title()));
        QVERIFY(!doc->isModified());
        QCOMPARE(doc->description(), lesson.description);
        QenEngine *e = doc->engine();
        QCOMPARE(e->bookmarks(), lesson.bookmarksMs);
        QCOMPARE(e->trackCount(), lesson.agents.size());
        for (int k = 0; k < e->trackCount(); ++k) {
            const QString &named = lesson.agents[k];
            const QenAnesthetic *agent = doc->catalogue().at(e->track(k).agent);
            QVERIFY2(named == agent->name || named == agent->displayName, qPrintable(named));
            // The Chinese examples show the agents by their Chinese names.
            if (path.contains(QLatin1String("/zh_CN/")))
                QVERIFY(e->track(k).displayName.contains(
                    QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))));
        }

        // The recording reaches the lesson's end, every value finite and
        // within what the agent's vaporizer could give.
        QVERIFY(!e->stepOutOfRange());
        QVERIFY(e->endTime() >= lesson.minutesMs);
        QVERIFY(e->endTime() < lesson.minutesMs + 6000);
        for (int k = 0; k < e->trackCount(); ++k) {
            const float top = doc->catalogue().at(e->track(k).agent)->max;
            for (const QenSample &s : e->track(k).samples) {
                for (int c = 0; c < 6; ++c)
                    QVERIFY2(std::isfinite(s.state[c]) && s.state[c] >= 0.0f && s.state[c] <= top,
                             qPrintable(QStringLiteral("%1 at %2 ms").arg(c).arg(s.time)));
            }
        }
        runEngineTo(e, e->endTime());
        QCOMPARE(e->displayTime(), e->endTime());
        QVERIFY(appTestPrompt()->records().isEmpty());
    }

    // Save asks for a name; the installed example stays as it was and does
    // not join the recent files.
    void savedCopyLeavesTheExample()
    {
        const QString example = installed() + QStringLiteral("/en_US/04-high-and-low-flow.qen");
        const QByteArray before = fileContents(example);
        QVERIFY(!before.isEmpty());
        QVERIFY(w()->openExample(example));
        QenDoc *doc = qenApp->documents().first();
        doc->setDescription(doc->description() + QStringLiteral("\nMy notes."));
        QVERIFY(doc->isModified());

        QTemporaryDir mine;
        int asked = 0;
        w()->host()->setSaveDialog(
            [&](QWidget *, const QString &, const QString &, const QString &) {
                ++asked;
                return mine.filePath(QStringLiteral("flows"));
            });
        QVERIFY(doc->save());
        w()->host()->setSaveDialog({});
        QCOMPARE(asked, 1);
        QCOMPARE(fileContents(example), before);
        QVERIFY(QFile::exists(mine.filePath(QStringLiteral("flows.qen"))));
        QCOMPARE(doc->title(), QStringLiteral("flows"));
        const QStringList recent =
            qenApp->value("Settings", "RecentFileList", QStringList()).toStringList();
        QVERIFY(!recent.contains(QFileInfo(example).canonicalFilePath()));

        // The saved copy carries the notes; the example does not.
        QVERIFY(w()->openExample(example));
        QenDoc *again = qenApp->documents().last();
        QVERIFY(again != doc);
        QVERIFY(!again->description().contains(QStringLiteral("My notes.")));
    }

    // Pictures for a person to look at, when QUENOR_SHOTS names a folder:
    // File > Examples open, and an opened example with its description, in
    // the language QUENOR_GALLERY_LANGUAGE names. Run it on a display
    // (xvfb-run), since the open menus are taken from the screen.
    void pictures()
    {
        const QString dir = qEnvironmentVariable("QUENOR_SHOTS");
        if (dir.isEmpty())
            QSKIP("QUENOR_SHOTS names no folder for the pictures");
        const QString language =
            qEnvironmentVariable("QUENOR_GALLERY_LANGUAGE", QStringLiteral("en_US"));
        qenApp->setValue("Application", "Locale", language);
        qenApp->installTranslations();
        if (QenSplashScreen *splash = qenApp->splashScreen())
            splash->close();
        w()->resize(1500, 950);
        w()->show();
        QVERIFY(QTest::qWaitForWindowExposed(w()));
        const auto examples = QenExamplesMenu::examples(appTestDir().path(), language);
        QVERIFY(w()->openExample(examples.at(3).path));
        QTest::qWait(300);

        QMenu *file = w()->menuBar()->actions().first()->menu();
        QenExamplesMenu *menu = examplesMenu();
        file->popup(w()->mapToGlobal(w()->menuBar()->geometry().bottomLeft()));
        QTest::qWait(300);
        menu->popup(file->mapToGlobal(file->actionGeometry(menu->menuAction()).topRight()));
        QTest::qWait(300);
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            QDir(dir).filePath(QStringLiteral("examples-menu-%1.png").arg(language)));
        menu->hide();
        file->hide();

        w()->setDialogRunner([&](QDialog &dialog) {
            dialog.resize(720, 380);
            dialog.move(w()->geometry().center() - QPoint(360, 190));
            dialog.show();
            QTest::qWait(300);
            QGuiApplication::primaryScreen()->grabWindow(0).save(
                QDir(dir).filePath(QStringLiteral("example-description-%1.png").arg(language)));
            return false;
        });
        w()->action(QStringLiteral("actionDescription"))->trigger();
        w()->setDialogRunner({});

        // The lesson's graph, recorded to its end.
        QenDoc *doc = qenApp->documents().last();
        for (QenChildWindow *child : QenMainWindow::childrenOf(doc)) {
            if (child->viewType() == QenChildWindowInterface::Graph)
                w()->setActiveWindow(child);
        }
        w()->action(QStringLiteral("actionTile"))->trigger();
        // Replayed to the first bookmark, where the lesson stops first.
        w()->action(QStringLiteral("actionFastFwd"))->trigger();
        for (int guard = 100000; doc->engine()->timerActive() && guard > 0; --guard)
            doc->engine()->tick();
        QTest::qWait(300);
        w()->grab().save(QDir(dir).filePath(QStringLiteral("example-graph-%1.png").arg(language)));
    }
};

int main(int argc, char *argv[])
{
    return runWindowTests<TestQenExamples>(argc, argv);
}

#include "tst_qenexamples.moc"
