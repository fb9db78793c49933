#include "runoptions.h"

#include "engine/qenfiles.h"
#include "engine/qenvocabulary.h"
#include "runoutput.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace QenRun {

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

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

namespace {

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

std::optional<QString> valueOf(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    if (!parser.isSet(option))
        return std::nullopt;
    return parser.value(option);
}

} // namespace

Problem RunOptions::parse(const QStringList &arguments)
{
    Problem problem;
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
    parser.addOptions({iniOption,       agentOption,   circuitOption,  fgfOption,
                       vaOption,        coOption,      weightOption,   minutesOption,
                       atOption,        outOption,     openOption,     saveOption,
                       xmlOption,       htmlOption,    pdfOption,      descriptionOption,
                       decrementOption, wakeFgfOption, scenarioOption, bookmarkOption});
    if (!parser.parse(arguments))
        return {BadInput, parser.errorText()};
    if (parser.isSet(QStringLiteral("help"))) {
        help = true;
        helpText = parser.helpText();
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

    iniPath = findIni(parser.value(iniOption), &problem);
    if (iniPath.isEmpty())
        return problem;
    outPath = parser.value(outOption);
    openPath = parser.value(openOption);
    savePath = parser.value(saveOption);
    xmlPath = parser.value(xmlOption);
    htmlPath = parser.value(htmlOption);
    pdfPath = parser.value(pdfOption);
    description = valueOf(parser, descriptionOption);
    // A report that cannot be written is known before the run, not after it.
    using Target = std::pair<QCommandLineOption, QString>;
    for (const auto &[option, path] : std::initializer_list<Target>{
             {xmlOption, xmlPath}, {htmlOption, htmlPath}, {pdfOption, pdfPath}}) {
        if (parser.isSet(option) && !isStdout(path) && !writablePath(path, &problem)) {
            problem.text = QStringLiteral("--%1 %2").arg(option.names().first(), problem.text);
            return problem;
        }
    }

    // Standard output holds one thing: the CSV (by default, when nothing
    // else is written), the forecast or the XML.
    const bool exported = !xmlPath.isEmpty() || !htmlPath.isEmpty() || !pdfPath.isEmpty();
    csvToStdout = isStdout(outPath) || (outPath.isEmpty() && savePath.isEmpty() && !exported);
    decrementPath = valueOf(parser, decrementOption);
    if (int(csvToStdout) + int(isStdout(decrementPath.value_or(QString()))) +
            int(isStdout(xmlPath)) >
        1)
        return {BadInput, QStringLiteral("only one of the CSV, --decrement and --xml can go to "
                                         "standard output")};

    agents = parser.values(agentOption);
    changes = parser.values(atOption);
    bookmarks = parser.values(bookmarkOption);
    for (const QCommandLineOption &setup :
         {agentOption, circuitOption, fgfOption, vaOption, coOption, weightOption}) {
        if (parser.isSet(setup))
            setupGiven << setup.names().first();
    }
    weight = valueOf(parser, weightOption);
    fgf = valueOf(parser, fgfOption);
    va = valueOf(parser, vaOption);
    co = valueOf(parser, coOption);
    wakeFgf = valueOf(parser, wakeFgfOption);
    circuit = valueOf(parser, circuitOption);
    minutes = valueOf(parser, minutesOption);
    return {};
}

} // namespace QenRun
