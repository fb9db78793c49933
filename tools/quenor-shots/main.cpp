// Renders the pictures of the help pages from the program itself, so that
// they always show the program as it is built: the first lesson of the help
// played offscreen in the chosen language, its windows grabbed to PNG.
//
//   quenor-shots --language zh_CN --translations build/language --out dir
//
// Run with QT_QPA_PLATFORM=offscreen; the build does so when it compiles the
// help. Nothing is read from or written to the user's configuration: the
// program runs on a fresh copy of its built-in settings in a scratch folder.

#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qencontrol.h"
#include "app/qendialogs.h"
#include "app/qenmainwindow.h"
#include "app/qensplashscreen.h"
#include "app/qenoverlaylauncher.h"
#include "document/qendoc.h"
#include "document/qenpacer.h"
#include "engine/qencatalogue.h"
#include "engine/qenprompt.h"
#include "engine/qenvocabulary.h"
#include "views/qengraphview.h"
#include "views/qenoverlay.h"
#include "views/qenoverlaymath.h"
#include "views/qenpanelview.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// The help viewer shows pictures up to this width; wider ones are narrowed.
constexpr int helpWidth = 760;

// No question may come up while the pictures are made: one that does is
// reported, answered with its default, and fails the run.
class RefusingPrompt : public QenPrompt
{
public:
    int ask(Icon, const QString &title, const QString &text, int buttons,
            int defaultButton) override
    {
        std::fprintf(stderr, "quenor-shots: unexpected message \"%s\": %s\n", qPrintable(title),
                     qPrintable(text));
        ++unexpected;
        return defaultButton != NoButton ? defaultButton : (buttons & Ok ? Ok : Cancel);
    }
    int unexpected = 0;
};

class Shots
{
public:
    Shots(QenApplication &app, const QString &out) : m_app(app), m_out(out) {}

    bool make();
    int failures() const { return m_failures; }

private:
    QenChildWindow *child(QenDoc *doc, int type) const;
    void show(QenChildWindow *child);
    void save(const QImage &image, const QString &name);
    void shoot(QWidget *widget, const QString &name);
    bool chooseIsoflurane(QenDoc *doc);
    void runTo(QenDoc *doc, quint32 ms);
    void setFgf(QenDoc *doc, float litres);
    void showWholeRun(QenDoc *doc);

    QenApplication &m_app;
    QString m_out;
    int m_failures = 0;
};

QenChildWindow *Shots::child(QenDoc *doc, int type) const
{
    for (QenChildWindow *c : QenMainWindow::childrenOf(doc)) {
        if (c->viewType() == type)
            return c;
    }
    return nullptr;
}

void Shots::show(QenChildWindow *c)
{
    m_app.mainWindow()->setActiveWindow(c);
    QCoreApplication::processEvents();
}

void Shots::save(const QImage &image, const QString &name)
{
    QImage picture = image;
    if (picture.width() > helpWidth)
        picture = picture.scaledToWidth(helpWidth, Qt::SmoothTransformation);
    const QString path = QDir(m_out).filePath(name + QStringLiteral(".png"));
    if (picture.isNull() || !picture.save(path)) {
        std::fprintf(stderr, "quenor-shots: cannot write %s\n", qPrintable(path));
        ++m_failures;
    }
}

void Shots::shoot(QWidget *widget, const QString &name)
{
    QCoreApplication::processEvents();
    save(widget->grab().toImage(), name);
}

bool Shots::chooseIsoflurane(QenDoc *doc)
{
    // As the lesson says: the tray's first agent cell is changed to isoflurane.
    const int index = doc->catalogue().findByName(QStringLiteral("Isoflurane"));
    auto *table = child(doc, QenChildWindowInterface::Control)
                      ->control()
                      ->findChild<QTableWidget *>(QStringLiteral("agentTableWidget"));
    if (index < 0 || !table || !table->item(0, 0))
        return false;
    table->item(0, 0)->setText(doc->catalogue().at(index)->displayName);
    QCoreApplication::processEvents();
    return doc->agentName(0) == doc->catalogue().at(index)->displayName;
}

void Shots::runTo(QenDoc *doc, quint32 ms)
{
    // The document's pacing, driven by hand in steps of a tenth of a second
    // of real time, stops on the millisecond asked for.
    QenEngine *e = doc->engine();
    doc->pacer()->start();
    int guard = 1000000;
    while (e->displayTime() < ms && e->state() == ARunning && guard-- > 0) {
        const qint64 left = (qint64(ms) - e->displayTime()) / std::max(1, e->speed());
        doc->pacer()->tick(std::clamp<qint64>(left, 1, 100));
        while (e->timerActive() && guard-- > 0)
            e->tick();
    }
    doc->pacer()->pause();
    QCoreApplication::processEvents();
}

void Shots::setFgf(QenDoc *doc, float litres)
{
    // The value the lesson types into the FGF field (the tests type it).
    doc->engine()->setFGF(QenUserOrigin, litres);
    QCoreApplication::processEvents();
}

void Shots::showWholeRun(QenDoc *doc)
{
    // The span box under the graph, at 30 minutes: the whole of the lesson's run.
    QenChildWindow *graph = child(doc, QenChildWindowInterface::Graph);
    const int span = QenVocabulary::graphSpanMinutes().indexOf(30);
    graph->graphViewWidget()->spanBox()->setCurrentIndex(span);
    show(graph);
}

bool Shots::make()
{
    QenMainWindow *w = m_app.mainWindow();
    if (m_app.documents().isEmpty())
        return false;

    // Lesson steps 1 and 2: a new simulation, isoflurane in row 1.
    QenDoc *first = m_app.documents().first();
    if (!chooseIsoflurane(first))
        return false;
    show(child(first, QenChildWindowInterface::Control));
    shoot(w, QStringLiteral("tray"));

    // Step 3: 10x to 30 minutes with the fresh gas at 8 L/min.
    child(first, QenChildWindowInterface::Picture)->panelView()->SetSpeed(QStringLiteral("10x"));
    runTo(first, 30 * 60000);
    show(child(first, QenChildWindowInterface::Picture));
    shoot(w, QStringLiteral("main-window"));
    shoot(child(first, QenChildWindowInterface::Picture), QStringLiteral("picture"));
    showWholeRun(first);
    shoot(child(first, QenChildWindowInterface::Graph), QStringLiteral("graph"));

    // Step 4 in a second simulation: FGF 2 from the tenth minute.
    w->action(QStringLiteral("actionNew"))->trigger();
    QenDoc *second = m_app.documents().last();
    if (second == first || !chooseIsoflurane(second))
        return false;
    child(second, QenChildWindowInterface::Picture)->panelView()->SetSpeed(QStringLiteral("10x"));
    runTo(second, 10 * 60000);
    setFgf(second, 2.0f);
    runTo(second, 30 * 60000);
    show(child(second, QenChildWindowInterface::Picture));
    shoot(child(second, QenChildWindowInterface::Picture), QStringLiteral("lesson-fgf"));

    // Step 5: the overlay from the second simulation's graph, ALV over CKT.
    showWholeRun(second);
    if (QenOverlay *overlay = QenOverlayLauncher::open(
            w, child(second, QenChildWindowInterface::Graph),
            child(second, QenChildWindowInterface::Graph),
            QenMainWindow::childrenOf(first) + QenMainWindow::childrenOf(second))) {
        if (QAbstractButton *show = overlay->showButton(OverlayALV))
            show->click();
        if (QAbstractButton *over = overlay->overButton(OverlayCKT))
            over->click();
        overlay->resize(900, 600);
        shoot(overlay, QStringLiteral("lesson-overlay"));
        overlay->close();
    } else {
        return false;
    }

    // The dialogs the help shows, filled from the first simulation.
    first->setBookmarks({60000, 300000, 600000, 1800000});
    first->setBreakpoint(QStringLiteral("ALV/CKT = 0.7"));
    auto grab = [this](const QString &name) {
        return QenDialogs::Runner([this, name](QDialog &dialog) {
            dialog.show();
            shoot(&dialog, name);
            dialog.hide();
            return false;
        });
    };
    QenDialogs::changePatient(*first, w, grab(QStringLiteral("patient")));
    QenDialogs::setBookmark(*first, w, grab(QStringLiteral("bookmark")));
    QenDialogs::setBreakPoint(*first, w, grab(QStringLiteral("breakpoint")));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir programDir;
    QTemporaryDir userDir;
    if (!programDir.isValid() || !userDir.isValid())
        return 1;
    QenApplication app(argc, argv, programDir.path(), userDir.path());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders the pictures of the help pages."));
    parser.addHelpOption();
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("The program's language (en_US, zh_CN)."),
                                      QStringLiteral("locale"), QStringLiteral("en_US"));
    const QCommandLineOption translations(
        QStringLiteral("translations"), QStringLiteral("The folder of the compiled translations."),
        QStringLiteral("folder"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("The folder the pictures are written to."),
                                 QStringLiteral("folder"));
    parser.addOptions({language, translations, out});
    parser.process(app);
    if (!parser.isSet(out)) {
        std::fprintf(stderr, "quenor-shots: --out is required\n");
        return 2;
    }
    const QString outDir = parser.value(out);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "quenor-shots: cannot make %s\n", qPrintable(outDir));
        return 1;
    }
    if (!app.hasIni()) {
        std::fprintf(stderr, "quenor-shots: no settings to start from\n");
        return 1;
    }

    // The window at a fixed size, so that the pictures are the same on every
    // build; no splash over it.
    app.setValue(QStringLiteral("Application"), QStringLiteral("Locale"), parser.value(language));
    app.setValue(QStringLiteral("MainWindow"), QStringLiteral("Max"), false);
    app.setValue(QStringLiteral("MainWindow"), QStringLiteral("Size"), QSize(1024, 720));
    app.setValue(QStringLiteral("MainWindow"), QStringLiteral("Pos"), QPoint(0, 0));
    const QString locale = parser.value(language);
    QLocale::setDefault(QLocale(locale));
    if (parser.isSet(translations) && locale != QLatin1String("en_US")) {
        for (const QString &prefix : {QStringLiteral("quenor_"), QStringLiteral("qt_")}) {
            auto *translator = new QTranslator(&app);
            if (translator->load(prefix + locale, parser.value(translations)))
                QCoreApplication::installTranslator(translator);
            else if (prefix == QLatin1String("quenor_")) {
                std::fprintf(stderr, "quenor-shots: no translation %s%s in %s\n",
                             qPrintable(prefix), qPrintable(locale),
                             qPrintable(parser.value(translations)));
                return 1;
            }
        }
    }
    auto prompt = std::make_unique<RefusingPrompt>();
    RefusingPrompt *refusing = prompt.get();
    app.setPrompt(std::move(prompt));

    if (!app.initialize())
        return 1;
    if (QenSplashScreen *splash = app.splashScreen())
        splash->timeUp();
    QCoreApplication::processEvents();

    Shots shots(app, outDir);
    const bool made = shots.make();
    for (QenDoc *doc : app.documents())
        doc->setModified(false);
    if (!made || shots.failures() > 0 || refusing->unexpected > 0) {
        std::fprintf(stderr, "quenor-shots: the pictures could not all be made\n");
        return 1;
    }
    return 0;
}
