// quenor-run: runs one scenario through the simulation engine as fast as it
// goes and writes every recorded sample as CSV, for handouts, spreadsheets and
// checks of the model. It can start from a saved simulation and save the
// result, as the program does.

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenexport.h"
#include "document/qenreport.h"
#include "engine/qencatalogue.h"
#include "engine/qendecrement.h"
#include "engine/qendefaults.h"
#include "engine/qenengine.h"
#include "engine/qenfiles.h"
#include "engine/qenfootprint.h"
#include "engine/qenini.h"
#include "engine/qenprompt.h"
#include "engine/qentranslations.h"
#include "engine/qenvocabulary.h"
#include "runscenario.h"
#include "views/qenreportimage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int BadInput = 2;
constexpr int Failure = 1;

// A problem that ends the run: one line on stderr and an exit status.
struct Problem
{
    int status = 0;
    QString text;
};

void complain(const QString &text)
{
    std::fprintf(stderr, "quenor-run: %s\n", qPrintable(text));
}

// Messages of the catalogue (an agent the INI describes badly) go to stderr.
class StderrPrompt : public QenPrompt
{
public:
    int ask(Icon, const QString &, const QString &text, int buttons, int defaultButton) override
    {
        QString plain = text;
        plain.remove(QStringLiteral("<p>"));
        plain = plain.simplified();
        if (m_holding)
            m_held = plain;
        else
            complain(plain);
        if (defaultButton != NoButton)
            return defaultButton;
        return (buttons & Ok) ? int(Ok) : buttons & -buttons;
    }

    // Runs `operation` with the messages held back, so that a failure is one
    // line: the document's own message, or `fallback` when it gave none.
    Problem attempt(const std::function<bool()> &operation, const QString &fallback)
    {
        m_holding = true;
        m_held.clear();
        const bool done = operation();
        m_holding = false;
        if (!done)
            return {Failure, m_held.isEmpty() ? fallback : m_held};
        if (!m_held.isEmpty())
            complain(m_held);
        return {};
    }

private:
    bool m_holding = false;
    QString m_held;
};

struct AgentRequest
{
    int catalogueIndex = -1;
    std::optional<float> del;
};

struct Operation
{
    quint32 atMs = 0;
    QString text; // as given, for messages
    QString name; // fgf, va, co, del, inject, flush, circuit, weight, uptake, return, vapor
    int track = 0;
    float value = 0.0f;
    QString circuit;
    bool on = false;
};

struct Scenario
{
    QString iniPath;
    QString outPath;
    QString openPath;
    QString savePath;
    QString xmlPath, htmlPath, pdfPath;
    std::optional<QString> description;
    std::vector<AgentRequest> agents;
    std::optional<float> weight, fgf, va, co, wakeFgf;
    std::optional<QString> circuit;
    double minutes = 60.0;
    std::vector<Operation> operations;
    QStringList bookmarks; // minutes, as given
};

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Reads a value and checks it against [low, high].
bool readValue(const QString &what, const QString &text, double low, double high, float *out,
               Problem *problem)
{
    const std::optional<double> value = number(text);
    if (!value) {
        *problem = {BadInput, QStringLiteral("%1: '%2' is not a number").arg(what, text)};
        return false;
    }
    if (*value < low || *value > high) {
        *problem = {BadInput, QStringLiteral("%1: %2 is out of range (%3 to %4)")
                                  .arg(what, text, QString::number(low), QString::number(high))};
        return false;
    }
    *out = float(*value);
    return true;
}

// The circuit whose name starts with `text`, ignoring case; empty when none or several.
QString matchCircuit(const QString &text)
{
    // The names in the runner's language, else the English ones, so that a
    // scenario written in English runs under every locale.
    const QStringList circuits = QenVocabulary::circuits();
    for (const QStringList &names :
         {circuits, QStringList{QStringLiteral("Open"), QStringLiteral("Semi-closed"),
                                QStringLiteral("Closed"), QStringLiteral("Ideal")}}) {
        int found = -1;
        for (int i = 0; i < names.size() && !text.isEmpty(); ++i) {
            if (names[i].compare(text, Qt::CaseInsensitive) == 0)
                return circuits[i];
            if (names[i].startsWith(text, Qt::CaseInsensitive))
                found = found < 0 ? i : -2;
        }
        if (found >= 0)
            return circuits[found];
    }
    return QString();
}

bool readOnOff(const QString &what, const QString &text, bool *on, Problem *problem)
{
    if (text == QLatin1String("on") || text == QLatin1String("off")) {
        *on = text == QLatin1String("on");
        return true;
    }
    *problem = {BadInput, QStringLiteral("%1: expected on or off, not '%2'").arg(what, text)};
    return false;
}

int agentIndex(const QenCatalogue &catalogue, const QString &name)
{
    const int exact = catalogue.findByName(name);
    if (exact >= 0)
        return exact;
    for (int i = 0; i < catalogue.size(); ++i)
        if (catalogue.at(i)->name.compare(name, Qt::CaseInsensitive) == 0 ||
            catalogue.at(i)->displayName.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// Parses "MIN:OP" against the agents of the scenario.
bool parseOperation(const QString &spec, const Scenario &s, const QenCatalogue &catalogue,
                    Operation *op, Problem *problem)
{
    const int colon = spec.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        *problem = {BadInput, QStringLiteral("--at %1: expected MIN:OP").arg(spec)};
        return false;
    }
    const std::optional<double> minutes = number(spec.left(colon));
    if (!minutes || *minutes < 0.0 || *minutes > 100000.0) {
        *problem = {
            BadInput,
            QStringLiteral("--at %1: '%2' is not a time in minutes").arg(spec, spec.left(colon))};
        return false;
    }
    op->atMs = quint32(std::ceil(*minutes * 60000.0));
    op->text = spec;
    const QString body = spec.mid(colon + 1).trimmed();
    const int equals = body.indexOf(QLatin1Char('='));
    QString key = equals < 0 ? body : body.left(equals);
    const QString value = equals < 0 ? QString() : body.mid(equals + 1).trimmed();
    const QString what = QStringLiteral("--at %1").arg(spec);

    // An agent number after a dot, counted from 1.
    const int dot = key.indexOf(QLatin1Char('.'));
    op->track = 0;
    if (dot >= 0) {
        bool ok = false;
        const int n = key.mid(dot + 1).toInt(&ok);
        if (!ok || n < 1 || n > int(s.agents.size())) {
            *problem = {BadInput, QStringLiteral("%1: no agent %2 (there are %3)")
                                      .arg(what, key.mid(dot + 1))
                                      .arg(s.agents.size())};
            return false;
        }
        op->track = n - 1;
        key = key.left(dot);
        if (key != QLatin1String("del") && key != QLatin1String("inject")) {
            *problem = {BadInput, QStringLiteral("%1: unknown operation '%2'").arg(what, body)};
            return false;
        }
    }
    op->name = key;
    const bool needsValue = key != QLatin1String("inject") && key != QLatin1String("flush");
    if (needsValue != (equals >= 0)) {
        *problem = {BadInput, QStringLiteral("%1: unknown operation '%2'").arg(what, body)};
        return false;
    }
    if (key == QLatin1String("fgf") || key == QLatin1String("va") || key == QLatin1String("co"))
        return readValue(what, value, 0.0, 500.0, &op->value, problem);
    if (key == QLatin1String("weight"))
        return readValue(what, value, 0.05, 1500.0, &op->value, problem);
    if (key == QLatin1String("del")) {
        const QenAnesthetic *a = catalogue.at(s.agents[size_t(op->track)].catalogueIndex);
        return readValue(what, value, 0.0, a->max, &op->value, problem);
    }
    if (key == QLatin1String("circuit")) {
        op->circuit = matchCircuit(value);
        if (op->circuit.isEmpty()) {
            *problem = {BadInput, QStringLiteral("%1: unknown circuit '%2'").arg(what, value)};
            return false;
        }
        return true;
    }
    if (key == QLatin1String("uptake") || key == QLatin1String("return") ||
        key == QLatin1String("vapor"))
        return readOnOff(what, value, &op->on, problem);
    if (key == QLatin1String("inject") || key == QLatin1String("flush"))
        return true;
    *problem = {BadInput, QStringLiteral("%1: unknown operation '%2'").arg(what, body)};
    return false;
}

// Where the INI is: given, or the one the program itself uses (beside it, or
// in the user's folder when the program folder is read-only).
QString findIni(const QString &given, Problem *problem)
{
    if (!given.isEmpty()) {
        if (!QFileInfo(given).isFile()) {
            *problem = {BadInput, QStringLiteral("--ini %1: no such file").arg(given)};
            return QString();
        }
        return given;
    }
    const QString dir = QCoreApplication::applicationDirPath();
    const QString path = QenFiles::findFile(QStringLiteral("quenor.ini"), QString(), dir,
                                            QLocale::system().name(), QenFiles::userFolder());
    if (path.isEmpty())
        *problem = {Failure, QStringLiteral("quenor.ini not found")};
    return path;
}

QString csvText(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray csv(const QenEngine &engine)
{
    QByteArray out =
        "time_ms,agent,del,fgf,va,co,flags,ckt,alv,vrg,mus,fat,ven,uptake,delivered,co2e_kg\n";
    auto number = [](float v) {
        return QByteArray::number(double(v), 'g', 9);
    };
    // An agent added during the run (in a saved simulation) has samples for
    // the last steps only: rows follow the longest recording, and each agent
    // appears from the step it was added in.
    size_t count = 0;
    for (int k = 0; k < engine.trackCount(); ++k)
        count = std::max(count, engine.track(k).samples.size());
    for (size_t i = 0; i < count; ++i) {
        for (int k = 0; k < engine.trackCount(); ++k) {
            const Qen &t = engine.track(k);
            const size_t offset = count - t.samples.size();
            if (i < offset)
                continue;
            const QenSample &s = t.samples[i - offset];
            const QenAnesthetic *a = engine.catalogue()->value(s.agent);
            out += QByteArray::number(s.time) + ',' + csvText(a ? a->name : QString()).toUtf8() +
                   ',' + number(s.del) + ',' + number(s.fgf) + ',' + number(s.va) + ',' +
                   number(s.co) + ',' + QByteArray::number(s.flags);
            for (float v : s.state)
                out += ',' + number(v);
            // Unknown for an agent without its footprint constants: left empty.
            const std::optional<double> co2e =
                QenFootprint::co2eKg(a, double(s.state[QenDelivered]));
            out += ',' + (co2e ? QByteArray::number(*co2e, 'g', 9) : QByteArray()) + '\n';
        }
    }
    return out;
}

bool apply(QenEngine &engine, const Operation &op, Problem *problem)
{
    // As the desktop does: the replay guard first (never a question here,
    // since the display stands at the live end), then the change as the user's.
    engine.replayGuard(false);
    if (op.name == QLatin1String("fgf"))
        engine.setFGF(QenUserOrigin, op.value);
    else if (op.name == QLatin1String("va"))
        engine.setVA(QenUserOrigin, op.value);
    else if (op.name == QLatin1String("co"))
        engine.setCO(QenUserOrigin, op.value);
    else if (op.name == QLatin1String("del"))
        engine.setDEL(QenUserOrigin, op.track, op.value);
    else if (op.name == QLatin1String("weight"))
        engine.setWeight(QenUserOrigin, op.value);
    else if (op.name == QLatin1String("circuit"))
        engine.setCircuit(QenUserOrigin, op.circuit);
    else if (op.name == QLatin1String("uptake"))
        engine.disableUptake(!op.on);
    else if (op.name == QLatin1String("return"))
        engine.disableReturn(!op.on);
    else if (op.name == QLatin1String("vapor"))
        engine.enableVapor(op.on);
    else if (op.name == QLatin1String("flush"))
        engine.flushCircuit();
    else if (op.name == QLatin1String("inject")) {
        if (!engine.canInject(op.track)) {
            *problem = {BadInput,
                        QStringLiteral("--at %1: %2 cannot be injected now (it needs a unit dose "
                                       "and a semi-closed or closed circuit)")
                            .arg(op.text, engine.track(op.track).displayName)};
            return false;
        }
        engine.injectDose(op.track);
    }
    return true;
}

// Moves the display up to the live time, so that a change counts from there.
void showLive(QenEngine &engine)
{
    for (int i = 0; i < 100000 && engine.displayTime() < engine.simTime(); ++i)
        engine.advance(int(engine.simTime()));
}

// The program computes one step ahead of what it shows, so the state at the
// end of the run is a recorded sample when it exports; here too, for the
// CSV and the reports alike.
void recordEnd(QenEngine &engine)
{
    if (engine.simTime() <= engine.endTime() && engine.simTime() < engine.limitMs())
        engine.advanceOneStep();
}

// "-" names standard output.
bool isStdout(const QString &path)
{
    return path == QLatin1String("-");
}

// Writes `bytes` to `path` whole or not at all (an old file survives a failed
// write), or keeps them for standard output when `path` is empty or "-".
bool deliver(const QString &path, const QByteArray &bytes, QByteArray *output, Problem *problem)
{
    if (path.isEmpty() || isStdout(path)) {
        *output = bytes;
        return true;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *problem = {Failure, QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    return false;
}

// Whether a report can be written to `path`: its folder exists and may be
// written to, and no folder or read-only file stands in its place.
bool writablePath(const QString &path, Problem *problem)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    QString reason;
    if (path.isEmpty())
        reason = QStringLiteral("no file name");
    else if (!folder.isDir())
        reason = QStringLiteral("no such folder %1").arg(folder.filePath());
    else if (file.isDir())
        reason = QStringLiteral("is a folder");
    else if (file.exists() ? !file.isWritable() : !folder.isWritable())
        reason = QStringLiteral("cannot be written");
    if (reason.isEmpty())
        return true;
    *problem = {BadInput, reason};
    return false;
}

// The reports the program's export commands would write, with both print
// choices on and the graphs of a new graph view over the whole run.
Problem exportReports(QenDoc &doc, const Scenario &s, StderrPrompt &prompt, QByteArray *output)
{
    if (s.xmlPath.isEmpty() && s.htmlPath.isEmpty() && s.pdfPath.isEmpty())
        return {};
    recordEnd(*doc.engine());
    const QString dir = QCoreApplication::applicationDirPath();
    const QString locale = QLocale::system().name();
    const QPageLayout layout = QenReport::defaultLayout(QLocale::system());
    QStringList temporaryFiles;
    QenExportSettings settings;
    const QenFiles::ExportFiles files = QenFiles::exportFiles(dir, locale, QenFiles::userFolder());
    settings.stylesheetPath = files.stylesheetPath;
    settings.iconPath = files.iconPath;
    settings.graphDisplaySize = QenReport::graphDisplaySize(layout);
    const QSize pixels = settings.graphDisplaySize * 2;
    settings.graphPng = [&doc, pixels] {
        return QenReportImage::png(&doc, pixels);
    };
    settings.addTemporaryFile = [&temporaryFiles](const QString &path) {
        temporaryFiles << path;
    };

    Problem problem;
    if (isStdout(s.xmlPath))
        *output = QenExport::xmlFile(&doc, settings);
    else if (!s.xmlPath.isEmpty())
        problem = prompt.attempt([&] { return QenExport::writeXml(&doc, s.xmlPath, settings); },
                                 QStringLiteral("cannot write %1").arg(s.xmlPath));
    if (problem.status == 0 && !s.htmlPath.isEmpty())
        problem =
            prompt.attempt([&] { return QenExport::writeHtml(&doc, s.htmlPath, false, settings); },
                           QStringLiteral("cannot write %1").arg(s.htmlPath));
    if (problem.status == 0 && !s.pdfPath.isEmpty()) {
        QTextDocument report;
        problem = prompt.attempt(
            [&] {
                QenReport::setReportFont(&report, layout);
                return QenReport::load(&report, &doc, settings) &&
                       QenReport::writePdf(&report, layout, s.pdfPath, &doc);
            },
            QStringLiteral("cannot write %1").arg(s.pdfPath));
    }
    for (const QString &path : std::as_const(temporaryFiles))
        QFile::remove(path);
    return problem;
}

Problem run(const QStringList &givenArguments, QByteArray *output)
{
    Problem problem;
    QStringList arguments;
    if (!QenRunScenario::expand(givenArguments, &arguments, &problem.text))
        return {BadInput, problem.text};
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs a scenario through the Quenor engine and writes its samples as CSV, "
                       "saves the simulation or exports its reports."));
    parser.addHelpOption();
    const QCommandLineOption iniOption(QStringLiteral("ini"), QStringLiteral("INI file."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption agentOption(QStringLiteral("agent"),
                                         QStringLiteral("Agent by INI name, with its DEL."),
                                         QStringLiteral("NAME[=DEL]"));
    const QCommandLineOption circuitOption(QStringLiteral("circuit"), QStringLiteral("Circuit."),
                                           QStringLiteral("NAME"));
    const QCommandLineOption fgfOption(QStringLiteral("fgf"), QStringLiteral("FGF, L/min."),
                                       QStringLiteral("L"));
    const QCommandLineOption vaOption(QStringLiteral("va"), QStringLiteral("VA, L/min."),
                                      QStringLiteral("L"));
    const QCommandLineOption coOption(QStringLiteral("co"), QStringLiteral("CO, L/min."),
                                      QStringLiteral("L"));
    const QCommandLineOption weightOption(QStringLiteral("weight"), QStringLiteral("Weight, kg."),
                                          QStringLiteral("KG"));
    const QCommandLineOption minutesOption(QStringLiteral("minutes"),
                                           QStringLiteral("Minutes to simulate (60)."),
                                           QStringLiteral("M"));
    const QCommandLineOption atOption(QStringLiteral("at"), QStringLiteral("A change at a time."),
                                      QStringLiteral("MIN:OP"));
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("CSV file (default, or -: standard output)."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption openOption(
        QStringLiteral("open"),
        QStringLiteral("Start from a saved simulation and continue it from the end of its "
                       "recording (its agents and settings replace --agent and the patient "
                       "and circuit options)."),
        QStringLiteral("FILE.qen"));
    const QCommandLineOption saveOption(
        QStringLiteral("save"),
        QStringLiteral("Save the simulation after the run, as the program would (no CSV then "
                       "unless --out is given)."),
        QStringLiteral("FILE.qen"));
    const QCommandLineOption scenarioOption(
        QStringLiteral("scenario"),
        QStringLiteral("Read options from a scenario file, one to a line without their dashes "
                       "(title and description lines describe the lesson)."),
        QStringLiteral("FILE"));
    const QCommandLineOption bookmarkOption(
        QStringLiteral("bookmark"), QStringLiteral("A bookmark at a time of the run, in minutes."),
        QStringLiteral("MIN"));
    const QCommandLineOption decrementOption(
        QStringLiteral("decrement"),
        QStringLiteral(
            "After the run, write the wake-up forecast as CSV: for every agent and every "
            "10 minutes D of the run, the minutes after D (DEL 0 from then on) until "
            "its VRG has fallen by 50, 80 and 90 % (empty when not before the limit)."),
        QStringLiteral("FILE"));
    const QCommandLineOption wakeFgfOption(
        QStringLiteral("wake-fgf"),
        QStringLiteral("With --decrement: the FGF from D on, L/min, as when the flow is raised "
                       "at wake-up (default: the FGF in effect at D)."),
        QStringLiteral("L"));
    const QCommandLineOption xmlOption(
        QStringLiteral("xml"),
        QStringLiteral("Export the simulation to XML, with every result and the graphs, as the "
                       "program's Export to XML does."),
        QStringLiteral("FILE.xml"));
    const QCommandLineOption htmlOption(
        QStringLiteral("html"),
        QStringLiteral("Export the simulation as an HTML page, with its picture and icon files "
                       "beside it."),
        QStringLiteral("FILE.html"));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"),
                                       QStringLiteral("Write the simulation's report as PDF."),
                                       QStringLiteral("FILE.pdf"));
    const QCommandLineOption descriptionOption(
        QStringLiteral("description"),
        QStringLiteral("The simulation's description, for the reports and --save."),
        QStringLiteral("TEXT"));
    parser.addOptions({iniOption, agentOption, circuitOption, fgfOption, vaOption, coOption,
                       weightOption, minutesOption, atOption, outOption, openOption, saveOption,
                       xmlOption, htmlOption, pdfOption, descriptionOption, decrementOption,
                       wakeFgfOption, scenarioOption, bookmarkOption});
    if (!parser.parse(arguments))
        return {BadInput, parser.errorText()};
    if (parser.isSet(QStringLiteral("help"))) {
        *output = parser.helpText().toUtf8();
        return {};
    }
    if (!parser.positionalArguments().isEmpty())
        return {
            BadInput,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first())};
    for (const QCommandLineOption &single :
         {iniOption, circuitOption, fgfOption, vaOption, coOption, weightOption, minutesOption,
          outOption, openOption, saveOption, xmlOption, htmlOption, pdfOption, descriptionOption,
          decrementOption, wakeFgfOption}) {
        if (parser.values(single).size() > 1)
            return {BadInput,
                    QStringLiteral("--%1 given more than once").arg(single.names().first())};
    }

    Scenario s;
    s.iniPath = findIni(parser.value(iniOption), &problem);
    if (s.iniPath.isEmpty())
        return problem;
    s.outPath = parser.value(outOption);
    s.openPath = parser.value(openOption);
    s.savePath = parser.value(saveOption);
    s.xmlPath = parser.value(xmlOption);
    s.htmlPath = parser.value(htmlOption);
    s.pdfPath = parser.value(pdfOption);
    if (parser.isSet(descriptionOption))
        s.description = parser.value(descriptionOption);
    // A report that cannot be written is known before the run, not after it.
    using Target = std::pair<QCommandLineOption, QString>;
    for (const auto &[option, path] : std::initializer_list<Target>{
             {xmlOption, s.xmlPath}, {htmlOption, s.htmlPath}, {pdfOption, s.pdfPath}}) {
        if (parser.isSet(option) && !isStdout(path) && !writablePath(path, &problem)) {
            problem.text = QStringLiteral("--%1 %2").arg(option.names().first(), problem.text);
            return problem;
        }
    }

    // Standard output holds one thing: the CSV (by default, when nothing
    // else is written), the forecast or the XML.
    const bool exported = !s.xmlPath.isEmpty() || !s.htmlPath.isEmpty() || !s.pdfPath.isEmpty();
    const bool csvToStdout =
        isStdout(s.outPath) || (s.outPath.isEmpty() && s.savePath.isEmpty() && !exported);
    if (int(csvToStdout) + int(isStdout(parser.value(decrementOption))) + int(isStdout(s.xmlPath)) >
        1)
        return {BadInput, QStringLiteral("only one of the CSV, --decrement and --xml can go to "
                                         "standard output")};

    const QenIni ini(s.iniPath);
    // The program's language, as the program chooses it, for the reports.
    QenTranslations translations;
    translations.install(
        ini.value(QStringLiteral("Application"), QStringLiteral("Locale"), QLocale::system().name())
            .toString(),
        QCoreApplication::applicationDirPath() + QStringLiteral("/language"));
    StderrPrompt prompt;
    // The simulation is a document, so that it opens and saves as the program's do.
    QenDocHost host(s.iniPath, &prompt);
    QenDoc doc(&host);
    if (s.openPath.isEmpty()) {
        if (!doc.newDocument())
            return {Failure, QStringLiteral("%1 names no usable agent").arg(s.iniPath)};
    } else {
        for (const QCommandLineOption &setup :
             {agentOption, circuitOption, fgfOption, vaOption, coOption, weightOption}) {
            if (parser.isSet(setup))
                return {BadInput, QStringLiteral("--%1 cannot be combined with --open (use --at "
                                                 "for changes)")
                                      .arg(setup.names().first())};
        }
        problem = prompt.attempt([&] { return doc.openFile(s.openPath); },
                                 QStringLiteral("cannot open %1").arg(s.openPath));
        if (problem.status != 0)
            return problem;
    }
    const QenCatalogue &catalogue = doc.catalogue();
    QenEngine &engine = *doc.engine();

    const QStringList agents = parser.values(agentOption);
    if (agents.isEmpty() && s.openPath.isEmpty())
        return {BadInput, QStringLiteral("no --agent given")};
    for (const QString &spec : agents) {
        const int equals = spec.indexOf(QLatin1Char('='));
        const QString name = (equals < 0 ? spec : spec.left(equals)).trimmed();
        AgentRequest request;
        request.catalogueIndex = agentIndex(catalogue, name);
        if (request.catalogueIndex < 0)
            return {BadInput, QStringLiteral("--agent %1: unknown agent '%2'").arg(spec, name)};
        for (const AgentRequest &other : s.agents)
            if (other.catalogueIndex == request.catalogueIndex)
                return {BadInput, QStringLiteral("--agent %1: agent given twice").arg(spec)};
        if (equals >= 0) {
            float del = 0.0f;
            if (!readValue(QStringLiteral("--agent %1").arg(spec), spec.mid(equals + 1), 0.0,
                           catalogue.at(request.catalogueIndex)->max, &del, &problem))
                return problem;
            request.del = del;
        }
        s.agents.push_back(request);
    }

    if (!s.openPath.isEmpty()) {
        // The agents are the saved simulation's, for the --at changes.
        for (int k = 0; k < engine.trackCount(); ++k)
            s.agents.push_back({engine.track(k).agent, std::nullopt});
    }

    auto optionalValue = [&](const QCommandLineOption &option, double low, double high,
                             std::optional<float> *out) {
        if (!parser.isSet(option))
            return true;
        float v = 0.0f;
        if (!readValue(QStringLiteral("--%1").arg(option.names().first()), parser.value(option),
                       low, high, &v, &problem))
            return false;
        *out = v;
        return true;
    };
    if (!optionalValue(weightOption, 0.05, 1500.0, &s.weight) ||
        !optionalValue(fgfOption, 0.0, 500.0, &s.fgf) ||
        !optionalValue(vaOption, 0.0, 500.0, &s.va) ||
        !optionalValue(coOption, 0.0, 500.0, &s.co) ||
        !optionalValue(wakeFgfOption, 0.0, 500.0, &s.wakeFgf))
        return problem;
    if (s.wakeFgf && !parser.isSet(decrementOption))
        return {BadInput, QStringLiteral("--wake-fgf needs --decrement")};
    if (parser.isSet(circuitOption)) {
        const QString circuit = matchCircuit(parser.value(circuitOption));
        if (circuit.isEmpty())
            return {
                BadInput,
                QStringLiteral("--circuit: unknown circuit '%1'").arg(parser.value(circuitOption))};
        s.circuit = circuit;
    }
    if (parser.isSet(minutesOption)) {
        const std::optional<double> m = number(parser.value(minutesOption));
        if (!m || *m <= 0.0 || *m > 100000.0)
            return {BadInput, QStringLiteral("--minutes: '%1' is not a positive number of minutes")
                                  .arg(parser.value(minutesOption))};
        s.minutes = *m;
    }
    const double wantedMs = std::min(s.minutes * 60000.0, 4294967295.0);
    for (const QString &spec : parser.values(atOption)) {
        Operation op;
        if (!parseOperation(spec, s, catalogue, &op, &problem))
            return problem;
        if (double(op.atMs) >= std::min(wantedMs, double(engine.limitMs())))
            return {BadInput,
                    QStringLiteral("--at %1: at or after the end of the run (%2 min)")
                        .arg(spec, QString::number(std::min(wantedMs, double(engine.limitMs())) /
                                                   60000.0))};
        s.operations.push_back(op);
    }
    std::stable_sort(s.operations.begin(), s.operations.end(),
                     [](const Operation &a, const Operation &b) { return a.atMs < b.atMs; });

    if (!s.openPath.isEmpty()) {
        // A saved simulation goes on from the end of its recording.
        showLive(engine);
    } else {
        // The simulation, set up as a user would at time 0.
        doc.setAgent(QenUserOrigin, 0, catalogue.at(s.agents[0].catalogueIndex)->displayName);
        for (size_t k = 1; k < s.agents.size(); ++k)
            doc.addAgent(catalogue.at(s.agents[k].catalogueIndex)->displayName);
    }
    if (s.weight)
        engine.setWeight(QenUserOrigin, *s.weight);
    if (s.circuit)
        engine.setCircuit(QenUserOrigin, *s.circuit);
    if (s.fgf)
        engine.setFGF(QenUserOrigin, *s.fgf);
    if (s.va)
        engine.setVA(QenUserOrigin, *s.va);
    if (s.co)
        engine.setCO(QenUserOrigin, *s.co);
    for (size_t k = 0; s.openPath.isEmpty() && k < s.agents.size(); ++k) {
        const QenAnesthetic *a = catalogue.at(s.agents[k].catalogueIndex);
        engine.setDEL(QenUserOrigin, int(k), s.agents[k].del.value_or(a->defaultDel));
    }
    // The run goes as fast as it can; the saved simulation keeps its own speed.
    const int speed = engine.speed();
    engine.setSpeed(QenSystemOrigin, 1000);

    size_t next = 0;
    for (;;) {
        const quint32 now = engine.simTime();
        // A change due by now is made before the run may end here: one given
        // between the last step and the end counts from the end row.
        if (next < s.operations.size() && s.operations[next].atMs <= now) {
            showLive(engine);
            for (; next < s.operations.size() && s.operations[next].atMs <= now; ++next)
                if (!apply(engine, s.operations[next], &problem))
                    return problem;
        }
        if (double(now) >= wantedMs || now >= engine.limitMs())
            break;
        if (!engine.advanceOneStep())
            return {Failure, engine.stepOutOfRange()
                                 ? QStringLiteral("the values left the range the model can "
                                                  "compute at %1 ms")
                                       .arg(now)
                                 : QStringLiteral("the engine stopped at %1 ms").arg(now)};
    }
    showLive(engine);
    engine.setSpeed(QenSystemOrigin, speed);
    if (s.description)
        doc.setDescription(*s.description);
    if (!QenRunScenario::addBookmarks(doc, parser.values(bookmarkOption), &problem.text))
        return {BadInput, problem.text};
    if (!s.savePath.isEmpty()) {
        problem = prompt.attempt([&] { return doc.saveFile(s.savePath, false); },
                                 QStringLiteral("cannot save %1").arg(s.savePath));
        if (problem.status != 0)
            return problem;
    }
    if (parser.isSet(decrementOption) &&
        !deliver(parser.value(decrementOption), QenDecrement::csv(engine, 600000, s.wakeFgf), output, &problem))
        return problem;
    const bool wantsCsv = csvToStdout || !s.outPath.isEmpty();
    QByteArray table;
    if (wantsCsv) {
        recordEnd(engine);
        table = csv(engine);
    }
    problem = exportReports(doc, s, prompt, output);
    if (problem.status == 0 && wantsCsv)
        deliver(s.outPath, table, output, &problem);
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
