// Fills the help's page on how close the model comes to patients: runs the
// model as the program does, with the built-in agent table, and writes the
// page's tables and its figure into the staged help folder. Run by the build:
//   quenor-validation [--language zh_CN] HELPDIR
// reads HELPDIR/validation.html, replaces its "<!-- generated: NAME -->"
// markers and writes HELPDIR/images/validation.png, with the words and agent
// names of the help's language (English unless told).

#include "engine/qencatalogue.h"
#include "engine/qendefaults.h"
#include "engine/qenengine.h"
#include "engine/qenfiles.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr double MinuteMs = 60000.0;
constexpr float NitrousBackground = 65.0f; // %atm, as in the volunteer studies
constexpr float NitrousPeyton = 70.0f;
constexpr int Minutes[] = {1, 5, 10, 30};

// The published volunteer means and SDs (FA/FI at 30 minutes; FA/FA0 five
// minutes after 30 minutes of administration).
struct Agent
{
    const char *iniName;
    double uptake30, uptake30Sd;
    double washout5, washout5Sd;
    int washoutDecimals;
};
constexpr Agent Agents[] = {
    {"Desflurane", 0.90, 0.01, 0.14, 0.02, 2},
    {"Sevoflurane", 0.85, 0.02, 0.157, 0.020, 3},
    {"Isoflurane", 0.73, 0.03, 0.223, 0.024, 3},
};
// A small dose of each agent, so that its own uptake barely draws gas in.
constexpr double MacFraction = 0.3;

// The words the tables and the figure are written in, one set per language
// of the help. The tool runs outside the program's translations, and the
// help's pages are translated as a whole, so the words sit here beside them.
struct Words
{
    const char *agent, *nitrousOxide, *none, *volunteers30;
    const char *modelNone, *modelWith, *volunteers;
    const char *sevo2, *model, *published, *alone, *withNitrous, *rise, *about10;
    const char *riseTitle, *fallTitle, *minutes, *keyWith, *keyVolunteers;
    bool localNames; // agents by their names in the language's agent table
};
const Words English = {
    "Agent",
    "Nitrous oxide",
    "none",
    "Volunteers, 30 min",
    "Model, no nitrous oxide",
    "Model, %1 %atm nitrous oxide",
    "Volunteers",
    "Sevoflurane FA/FI at 2 min",
    "Model",
    "Published",
    "alone",
    "with %1 %atm nitrous oxide",
    "rise",
    "about 10 %",
    "FA/FI, agent given from 0 min",
    "FA/FA0, after 30 min; vaporizer off at 0 min",
    "minutes",
    "with %1 %atm nitrous oxide",
    "volunteers, mean \u00b1 SD",
    false,
};
const Words Chinese = {
    "麻醉药",
    "氧化亚氮",
    "无",
    "志愿者，30 min",
    "模型，无氧化亚氮",
    "模型，%1 %atm 氧化亚氮",
    "志愿者",
    "七氟烷 2 min 时的 FA/FI",
    "模型",
    "文献值",
    "单用",
    "加 %1 %atm 氧化亚氮",
    "升高",
    "约 10 %",
    "FA/FI，0 min 起给药",
    "FA/FA0，给药 30 min 后；0 min 时关闭挥发罐",
    "分钟",
    "加 %1 %atm 氧化亚氮",
    "志愿者，均值 \u00b1 SD",
    true,
};

QString word(const char *text)
{
    return QString::fromUtf8(text);
}

struct Model
{
    QenIni ini;
    QenCatalogue catalogue;
    QenDefaults defaults;
    const Words *words = &English;

    // The agent's name as the page's language writes it.
    QString agentName(const char *iniName) const
    {
        if (!words->localNames)
            return QLatin1String(iniName);
        return catalogue.at(catalogue.findByName(QLatin1String(iniName)))->displayName;
    }
};

// FA/FI of `agent` every step for `minutes` (open circuit), then FA/FA0 every
// step for `washoutMin` after its vaporizer is turned off; with `nitrous`
// %atm of nitrous oxide alongside throughout when it is above 0.
struct Run
{
    std::vector<double> timeMin, uptake;      // FA/FI
    std::vector<double> washTimeMin, washout; // FA/FA0, minutes since off
    double at(double minute) const
    {
        for (size_t i = 0; i < timeMin.size(); ++i)
            if (timeMin[i] >= minute - 1e-9)
                return uptake[i];
        return uptake.empty() ? 0.0 : uptake.back();
    }
    double washAt(double minute) const
    {
        for (size_t i = 0; i < washTimeMin.size(); ++i)
            if (washTimeMin[i] >= minute - 1e-9)
                return washout[i];
        return washout.empty() ? 0.0 : washout.back();
    }
};

Run simulate(const Model &m, const char *agent, float nitrous, double minutes, double washoutMin)
{
    Run run;
    QenEngine engine(&m.catalogue);
    engine.setIni(m.ini);
    engine.reset(m.defaults);
    const QenAnesthetic *a = m.catalogue.at(m.catalogue.findByName(QLatin1String(agent)));
    engine.setAgent(QenUserOrigin, 0, a->displayName);
    engine.setCircuit(QenUserOrigin, QenVocabulary::circuits().at(0));
    engine.setDEL(QenUserOrigin, 0, float(a->mac * MacFraction));
    if (nitrous > 0.0f) {
        const int n2o = m.catalogue.findByName(QStringLiteral("Nitrous Oxide"));
        const int track = engine.addAgent(m.catalogue.at(n2o)->displayName);
        engine.setDEL(QenUserOrigin, track, nitrous);
    }
    engine.setSpeed(QenSystemOrigin, 1000);
    auto step = [&] {
        if (!engine.advanceOneStep())
            return false;
        engine.advance(int(engine.simTime()));
        return true;
    };
    while (engine.simTime() < minutes * MinuteMs && step()) {
        const float *s = engine.track(0).state;
        run.timeMin.push_back(engine.simTime() / MinuteMs);
        run.uptake.push_back(double(s[ALV]) / double(s[CKT]));
    }
    const double fa0 = engine.track(0).state[ALV];
    engine.setDEL(QenUserOrigin, 0, 0.0f);
    const double off = engine.simTime() / MinuteMs;
    while (engine.simTime() < (minutes + washoutMin) * MinuteMs && step()) {
        run.washTimeMin.push_back(engine.simTime() / MinuteMs - off);
        run.washout.push_back(double(engine.track(0).state[ALV]) / fa0);
    }
    return run;
}

QString fixed(double v, int decimals = 2)
{
    return QString::number(v, 'f', decimals);
}

QString uptakeTable(const Model &m, const std::vector<std::array<Run, 2>> &runs)
{
    const Words &w = *m.words;
    QString t = QStringLiteral("<table>\n<tr><th>%1</th><th>%2</th><th>1 min</th><th>5 min</th>"
                               "<th>10 min</th><th>30 min</th><th>%3</th></tr>\n")
                    .arg(word(w.agent), word(w.nitrousOxide), word(w.volunteers30));
    for (size_t k = 0; k < runs.size(); ++k) {
        for (int n = 0; n < 2; ++n) {
            t += QStringLiteral("<tr><td>%1</td><td>%2</td>")
                     .arg(m.agentName(Agents[k].iniName),
                          n ? QStringLiteral("%1 %atm").arg(double(NitrousBackground))
                            : word(w.none));
            for (int minute : Minutes)
                t += QStringLiteral("<td>%1</td>").arg(fixed(runs[k][size_t(n)].at(minute)));
            // The volunteers' cell spans both rows of the agent.
            t += n ? QStringLiteral("</tr>\n")
                   : QStringLiteral("<td rowspan=\"2\">%1 &plusmn; %2</td></tr>\n")
                         .arg(fixed(Agents[k].uptake30), fixed(Agents[k].uptake30Sd));
        }
    }
    return t + QStringLiteral("</table>");
}

QString washoutTable(const Model &m, const std::vector<std::array<Run, 2>> &runs)
{
    const Words &w = *m.words;
    QString t = QStringLiteral("<table>\n<tr><th>%1</th><th>%2</th><th>%3</th><th>%4</th></tr>\n")
                    .arg(word(w.agent), word(w.modelNone),
                         word(w.modelWith).arg(double(NitrousBackground)), word(w.volunteers));
    for (size_t k = 0; k < runs.size(); ++k) {
        const Agent &a = Agents[k];
        t += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4 &plusmn; %5</td></tr>\n")
                 .arg(m.agentName(a.iniName), fixed(runs[k][0].washAt(5), 3),
                      fixed(runs[k][1].washAt(5), 3), fixed(a.washout5, a.washoutDecimals),
                      fixed(a.washout5Sd, a.washoutDecimals));
    }
    return t + QStringLiteral("</table>");
}

QString secondGasTable(const Model &m, const Run &alone, const Run &with)
{
    const Words &words = *m.words;
    const double a = alone.at(2), w = with.at(2);
    return QStringLiteral("<table>\n<tr><th>%1</th><th>%2</th><th>%3</th></tr>\n"
                          "<tr><td>%4</td><td>%5</td><td></td></tr>\n"
                          "<tr><td>%6</td><td>%7</td><td></td></tr>\n"
                          "<tr><td>%8</td><td>%9 %</td><td>%10</td></tr>\n</table>")
        .arg(word(words.sevo2), word(words.model), word(words.published), word(words.alone),
             fixed(a, 3), word(words.withNitrous).arg(double(NitrousPeyton)), fixed(w, 3),
             word(words.rise), fixed((w / a - 1.0) * 100.0, 1))
        .arg(word(words.about10));
}

QColor lineColor(const QenAnesthetic *a)
{
    QColor c(a->color);
    if (!c.isValid())
        c = Qt::black;
    // A light colour (sevoflurane's yellow) would vanish on the white page.
    return qGray(c.rgb()) > 170 ? c.darker(150) : c;
}

// Two panels: FA/FI over 30 minutes, and FA/FA0 over 10 minutes after the
// vaporizer is turned off; the model's curves (solid alone, dashed with
// nitrous oxide) and the volunteers' means with their SD.
QImage figure(const Model &m, const std::vector<std::array<Run, 2>> &runs)
{
    const int width = 940, height = 380;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(13);
    p.setFont(font);

    struct Panel
    {
        QRectF plot;
        double xMax;
        QString title;
        bool washout;
    };
    const Words &w = *m.words;
    const Panel panels[] = {
        {QRectF(60, 40, 360, 270), 30.0, word(w.riseTitle), false},
        {QRectF(510, 40, 360, 270), 10.0, word(w.fallTitle), true},
    };
    for (const Panel &panel : panels) {
        const QRectF &r = panel.plot;
        auto map = [&](double x, double y) {
            return QPointF(r.left() + x / panel.xMax * r.width(), r.bottom() - y * r.height());
        };
        p.setPen(QPen(QColor(220, 220, 220), 1));
        for (int i = 1; i < 5; ++i)
            p.drawLine(map(0, i * 0.2), map(panel.xMax, i * 0.2));
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(r);
        for (int i = 0; i <= 5; ++i) {
            const QPointF at = map(0, i * 0.2);
            p.drawText(QRectF(at.x() - 44, at.y() - 8, 38, 16), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(i * 0.2, 'f', 1));
        }
        const double every = panel.washout ? 2.0 : 5.0;
        for (double x = 0; x <= panel.xMax + 1e-9; x += every) {
            const QPointF at = map(x, 0);
            p.drawLine(at, at + QPointF(0, 4));
            p.drawText(QRectF(at.x() - 20, at.y() + 5, 40, 16), Qt::AlignCenter,
                       QString::number(x));
        }
        p.drawText(QRectF(r.left(), r.bottom() + 22, r.width(), 16), Qt::AlignCenter,
                   word(w.minutes));
        p.drawText(QRectF(r.left(), 12, r.width(), 18), Qt::AlignCenter, panel.title);

        for (size_t k = 0; k < runs.size(); ++k) {
            const QenAnesthetic *a =
                m.catalogue.at(m.catalogue.findByName(QLatin1String(Agents[k].iniName)));
            const QColor color = lineColor(a);
            for (int n = 0; n < 2; ++n) {
                const Run &run = runs[k][size_t(n)];
                const std::vector<double> &xs = panel.washout ? run.washTimeMin : run.timeMin;
                const std::vector<double> &ys = panel.washout ? run.washout : run.uptake;
                QPainterPath path(map(0, panel.washout ? 1.0 : 0.0));
                for (size_t i = 0; i < xs.size() && xs[i] <= panel.xMax + 1e-9; ++i)
                    path.lineTo(map(xs[i], ys[i]));
                QPen pen(color, 2, n ? Qt::DashLine : Qt::SolidLine);
                p.setPen(pen);
                p.setBrush(Qt::NoBrush);
                p.drawPath(path);
            }
            // The volunteers: the mean, and a bar of one SD each way.
            // Side by side, so that close means do not hide each other.
            const double x = (panel.washout ? 5.0 : 30.0) + (double(k) - 1.0) * panel.xMax / 60.0;
            const double mean = panel.washout ? Agents[k].washout5 : Agents[k].uptake30;
            const double sd = panel.washout ? Agents[k].washout5Sd : Agents[k].uptake30Sd;
            p.setPen(QPen(color, 2));
            const QPointF centre = map(x, mean);
            p.drawLine(map(x, mean - sd), map(x, mean + sd));
            p.drawLine(map(x, mean - sd) + QPointF(-4, 0), map(x, mean - sd) + QPointF(4, 0));
            p.drawLine(map(x, mean + sd) + QPointF(-4, 0), map(x, mean + sd) + QPointF(4, 0));
            p.setBrush(Qt::white);
            p.drawEllipse(centre, 4.5, 4.5);
        }
    }
    // The key.
    double x = 30;
    const double y = height - 22;
    for (size_t k = 0; k < runs.size(); ++k) {
        const QenAnesthetic *a =
            m.catalogue.at(m.catalogue.findByName(QLatin1String(Agents[k].iniName)));
        p.setPen(QPen(lineColor(a), 2));
        p.drawLine(QPointF(x, y), QPointF(x + 24, y));
        p.setPen(Qt::black);
        p.drawText(QPointF(x + 30, y + 5), a->displayName);
        x += 30 + p.fontMetrics().horizontalAdvance(a->displayName) + 24;
    }
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine));
    p.drawLine(QPointF(x, y), QPointF(x + 24, y));
    p.drawText(QPointF(x + 30, y + 5), word(w.alone));
    x += 30 + p.fontMetrics().horizontalAdvance(word(w.alone)) + 24;
    p.setPen(QPen(Qt::black, 2, Qt::DashLine));
    p.drawLine(QPointF(x, y), QPointF(x + 24, y));
    const QString with = word(w.keyWith).arg(double(NitrousBackground));
    p.drawText(QPointF(x + 30, y + 5), with);
    x += 30 + p.fontMetrics().horizontalAdvance(with) + 24;
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(x + 12, y), 4.5, 4.5);
    p.drawText(QPointF(x + 30, y + 5), word(w.keyVolunteers));
    return image;
}

int fail(const QString &text)
{
    std::fprintf(stderr, "quenor-validation: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Text in the figure needs fonts, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("The help's language (en_US, zh_CN)."),
                                      QStringLiteral("locale"), QStringLiteral("en_US"));
    parser.addOption(language);
    parser.addPositionalArgument(QStringLiteral("HELPDIR"), QStringLiteral("The staged help."));
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("usage: quenor-validation [--language zh_CN] HELPDIR"));
    const QDir dir(parser.positionalArguments().at(0));
    const QString locale = parser.value(language);
    if (locale != QLatin1String("en_US") && locale != QLatin1String("zh_CN"))
        return fail(QStringLiteral("no words for the language %1 (en_US, zh_CN)").arg(locale));

    Model m;
    m.words = locale == QLatin1String("zh_CN") ? &Chinese : &English;
    m.ini.setPath(QenFiles::builtInCopy(QStringLiteral("quenor.ini"), locale));
    if (m.catalogue.load(m.ini, QenVocabulary::colorNames(), nullptr) <= 0)
        return fail(QStringLiteral("the built-in agent table did not load"));
    m.defaults = QenDefaults::load(m.ini);
    for (const char *name : {"Desflurane", "Sevoflurane", "Isoflurane", "Nitrous Oxide"})
        if (m.catalogue.findByName(QLatin1String(name)) < 0)
            return fail(QStringLiteral("the built-in agent table lacks %1").arg(name));

    std::vector<std::array<Run, 2>> runs;
    for (const Agent &a : Agents)
        runs.push_back({simulate(m, a.iniName, 0.0f, 30, 10),
                        simulate(m, a.iniName, NitrousBackground, 30, 10)});
    const Run sevoAlone = simulate(m, "Sevoflurane", 0.0f, 2, 0);
    const Run sevoWith = simulate(m, "Sevoflurane", NitrousPeyton, 2, 0);

    const QString pagePath = dir.filePath(QStringLiteral("validation.html"));
    QFile in(pagePath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(pagePath, in.errorString()));
    QString page = QString::fromUtf8(in.readAll());
    in.close();
    const std::pair<QString, QString> parts[] = {
        {QStringLiteral("uptake"), uptakeTable(m, runs)},
        {QStringLiteral("washout"), washoutTable(m, runs)},
        {QStringLiteral("secondgas"), secondGasTable(m, sevoAlone, sevoWith)},
        {QStringLiteral("dose"), QString::number(MacFraction)},
    };
    for (const auto &[name, html] : parts) {
        const QString marker = QStringLiteral("<!-- generated: %1 -->").arg(name);
        if (!page.contains(marker))
            return fail(QStringLiteral("%1 has no marker %2").arg(pagePath, marker));
        page.replace(marker, html);
    }
    QSaveFile out(pagePath);
    if (!out.open(QIODevice::WriteOnly) || out.write(page.toUtf8()) < 0 || !out.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(pagePath, out.errorString()));

    if (!dir.mkpath(QStringLiteral("images")))
        return fail(QStringLiteral("cannot make %1/images").arg(dir.path()));
    const QString imagePath = dir.filePath(QStringLiteral("images/validation.png"));
    if (!figure(m, runs).save(imagePath))
        return fail(QStringLiteral("cannot write %1").arg(imagePath));
    return 0;
}
