// quenor-run: runs one scenario through the simulation engine as fast as it
// goes and writes every recorded sample as CSV, for handouts, spreadsheets and
// checks of the model. It can start from a saved simulation and save the
// result, as the program does.
//
// A run: the options read (runoptions), the simulation started and the
// scenario built from them and played (runsimulation), then each output in
// turn: the .qen file (runqen), the forecast (rundecrement), the CSV (runcsv)
// and the reports (runreports).

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "engine/qenini.h"
#include "engine/qentranslations.h"
#include "runcsv.h"
#include "rundecrement.h"
#include "runoptions.h"
#include "runoutput.h"
#include "runproblem.h"
#include "runqen.h"
#include "runreports.h"
#include "runscenario.h"
#include "runsimulation.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLocale>

#include <cstdio>
#include <memory>

using namespace QenRun;

namespace {

Problem run(const QStringList &givenArguments, QByteArray *output)
{
    Problem problem;
    QStringList arguments;
    if (!QenRunScenario::expand(givenArguments, &arguments, &problem.text))
        return {BadInput, problem.text};
    RunOptions options;
    problem = options.parse(arguments);
    if (problem.status != 0)
        return problem;
    if (options.help) {
        *output = options.helpText.toUtf8();
        return {};
    }

    const QenIni ini(options.iniPath);
    // The program's language, as the program chooses it, for the reports.
    QenTranslations translations;
    translations.install(
        ini.value(QStringLiteral("Application"), QStringLiteral("Locale"), QLocale::system().name())
            .toString(),
        QCoreApplication::applicationDirPath() + QStringLiteral("/language"));
    StderrPrompt prompt;
    // The simulation is a document, so that it opens and saves as the program's do.
    QenDocHost host(options.iniPath, &prompt);
    QenDoc doc(&host);
    Scenario scenario;
    problem = startSimulation(doc, options, prompt);
    if (problem.status == 0)
        problem = buildScenario(doc, options, &scenario);
    if (problem.status == 0)
        problem = play(doc, scenario);
    if (problem.status != 0)
        return problem;
    if (options.description)
        doc.setDescription(*options.description);
    if (!QenRunScenario::addBookmarks(doc, options.bookmarks, &problem.text))
        return {BadInput, problem.text};

    // The outputs, each written whole before the next.
    if (!options.savePath.isEmpty())
        problem = saveSimulation(doc, options.savePath, prompt);
    if (problem.status == 0 && options.decrementPath)
        problem = writeDecrement(*doc.engine(), *options.decrementPath, scenario.wakeFgf, output);
    if (problem.status != 0)
        return problem;
    const bool wantsCsv = options.csvToStdout || !options.outPath.isEmpty();
    const QByteArray table = wantsCsv ? csvTable(*doc.engine()) : QByteArray();
    problem = exportReports(doc, options, prompt, output);
    if (problem.status == 0 && wantsCsv)
        deliver(options.outPath, table, output, &problem);
    return problem;
}

} // namespace

// Whether the arguments ask for a report, which needs the graph widgets.
bool wantsReports(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        for (const char *option : {"--xml", "--html", "--pdf"}) {
            if (arg == option || arg.startsWith(QByteArray(option) + '='))
                return true;
        }
    }
    return false;
}

// Qt's own notices on a machine without a desktop (no runtime folder, font
// fallbacks) are not problems of the run: stderr keeps one line per problem.
void quietNotices(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        complain(text);
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    qInstallMessageHandler(quietNotices);
    if (wantsReports(argc, argv)) {
        // The graphs are drawn by widgets, which need a platform: without a
        // display, Qt's offscreen one.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("quenor-run"));

    QByteArray output;
    const Problem problem = run(QCoreApplication::arguments(), &output);
    if (problem.status != 0) {
        complain(problem.text);
        return problem.status;
    }
    std::fwrite(output.constData(), 1, size_t(output.size()), stdout);
    return 0;
}
