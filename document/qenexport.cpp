#include "document/qenexport.h"

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenxslt.h"
#include "engine/qencatalogue.h"
#include "engine/qendecrement.h"
#include "engine/qenengine.h"
#include "engine/qenfootprint.h"
#include "engine/qenprompt.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QUrl>
#include <QXmlStreamWriter>

#include <vector>

namespace {

QString number(double value)
{
    return QString::number(value, 'f', 4);
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Where the tree goes: a DOM for callers that want the tree, a stream for
// files, so that a long recording is written without a tree in memory. Both
// see the same calls; attributes follow the opening of their element.
class Sink
{
public:
    virtual ~Sink() = default;
    virtual void start(const QString &stylesheetPath) = 0;
    virtual void open(const QString &name) = 0;
    virtual void attribute(const QString &name, const QString &value) = 0;
    virtual void close() = 0;
    virtual void finish() = 0;
};

QString stylesheetData(const QString &path)
{
    // A path holding an apostrophe is quoted the other way.
    const QChar quote = path.contains(QLatin1Char('\'')) ? QLatin1Char('"') : QLatin1Char('\'');
    return QStringLiteral("type='text/xsl' href=%1%2%1").arg(quote, path);
}

class DomSink : public Sink
{
public:
    explicit DomSink(QDomDocument *doc) : m_doc(doc) {}
    void start(const QString &stylesheetPath) override
    {
        m_doc->appendChild(m_doc->createProcessingInstruction(
            QStringLiteral("xml"), QStringLiteral("version='1.0' encoding='utf-8'")));
        m_doc->appendChild(m_doc->createProcessingInstruction(QStringLiteral("xml-stylesheet"),
                                                              stylesheetData(stylesheetPath)));
    }
    void open(const QString &name) override
    {
        QDomElement e = m_doc->createElement(name);
        if (m_stack.empty())
            m_doc->appendChild(e);
        else
            m_stack.back().appendChild(e);
        m_stack.push_back(e);
    }
    void attribute(const QString &name, const QString &value) override
    {
        m_stack.back().setAttribute(name, value);
    }
    void close() override { m_stack.pop_back(); }
    void finish() override {}

private:
    QDomDocument *m_doc;
    std::vector<QDomElement> m_stack;
};

class StreamSink : public Sink
{
public:
    StreamSink(QByteArray *out, int indent) : m_writer(out)
    {
        m_writer.setAutoFormatting(indent > 0);
        m_writer.setAutoFormattingIndent(indent);
    }
    void start(const QString &stylesheetPath) override
    {
        m_writer.writeStartDocument(QStringLiteral("1.0"));
        m_writer.writeProcessingInstruction(QStringLiteral("xml-stylesheet"),
                                            stylesheetData(stylesheetPath));
    }
    void open(const QString &name) override { m_writer.writeStartElement(name); }
    void attribute(const QString &name, const QString &value) override
    {
        m_writer.writeAttribute(name, value);
    }
    void close() override { m_writer.writeEndElement(); }
    void finish() override { m_writer.writeEndDocument(); }

private:
    QXmlStreamWriter m_writer;
};

// XML 1.0 cannot carry most control characters: a description pasted with
// one would make the page unreadable, so they are left out.
QString xmlSafe(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u >= 0x20 || u == 0x09 || u == 0x0A || u == 0x0D)
            out += c;
    }
    return out;
}

// Writes the tree of one document.
class Writer
{
public:
    Writer(QenDoc *doc, Sink &sink) : m_doc(doc), m_engine(*doc->engine()), m_out(sink) {}

    void write(const QByteArray &imageData, const QString &externalImagePath,
               const QString &iconPath, bool printGraph, bool printPrintout, bool withResults,
               const QString &stylesheetPath, const QSize &imageSize)
    {
        m_withResults = withResults;
        m_out.start(stylesheetPath);
        m_out.open(QStringLiteral("quenor"));
        m_out.attribute(QStringLiteral("datetime"), QDateTime::currentDateTime().toString(
                                                        QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        m_out.attribute(QStringLiteral("iconPath"), iconPath);
        m_out.attribute(QStringLiteral("description"), xmlSafe(m_doc->description()));
        if (!externalImagePath.isNull()) {
            m_out.attribute(QStringLiteral("externalImage"), externalImagePath);
            m_out.attribute(QStringLiteral("printGraph"), boolText(printGraph));
            if (imageSize.isValid()) {
                m_out.attribute(QStringLiteral("imageWidth"), QString::number(imageSize.width()));
                m_out.attribute(QStringLiteral("imageHeight"), QString::number(imageSize.height()));
            }
        } else {
            m_out.attribute(QStringLiteral("imageData"), QString::fromLatin1(imageData));
            m_out.attribute(QStringLiteral("printGraph"), boolText(false));
        }
        m_out.attribute(QStringLiteral("printPrintout"), boolText(printPrintout));
        params();
        settings();
        gasUsed();
        forecast();
        m_out.close();
        m_out.finish();
    }

private:
    void element(const QString &name, const QList<QPair<QString, QString>> &attributes)
    {
        m_out.open(name);
        for (const auto &a : attributes)
            m_out.attribute(a.first, a.second);
        m_out.close();
    }

    void params()
    {
        m_out.open(QStringLiteral("params"));
        m_out.open(QStringLiteral("patient"));
        const double weight = m_engine.weight();
        element(QStringLiteral("weight"), {{QStringLiteral("value"), number(weight)},
                                           {QStringLiteral("unit"), QenExport::tr("kilograms")}});
        const float *v = m_engine.volumes();
        const double scale = weight / 70.0;
        element(QStringLiteral("volumes"), {{QStringLiteral("alv"), number(v[ALV] * scale)},
                                            {QStringLiteral("vrg"), number(v[VRG] * scale)},
                                            {QStringLiteral("mus"), number(v[MUS] * scale)},
                                            {QStringLiteral("fat"), number(v[FAT] * scale)},
                                            {QStringLiteral("ven"), number(v[VEN] * scale)}});
        const float *f = m_engine.flowFractions();
        element(QStringLiteral("flows"), {{QStringLiteral("vrg"), number(f[VRG])},
                                          {QStringLiteral("mus"), number(f[MUS])},
                                          {QStringLiteral("fat"), number(f[FAT])}});
        m_out.close();

        m_out.open(QStringLiteral("agents"));
        for (int k = 0; k < m_engine.trackCount(); ++k) {
            const QenAnesthetic *a = m_engine.agentOf(k);
            if (!a)
                continue;
            element(QStringLiteral("agent"),
                    {{QStringLiteral("name"), a->displayName},
                     {QStringLiteral("lambdaBlood"), number(a->lambdaBlood)},
                     {QStringLiteral("lambdaVrg"), number(a->partition[VRG])},
                     {QStringLiteral("lambdaFat"), number(a->partition[FAT])},
                     {QStringLiteral("volatility"), QString::number(a->volatility)},
                     {QStringLiteral("bottleSize"), QString::number(a->bottleSize)},
                     {QStringLiteral("bottleCost"), number(a->bottleCost)}});
        }
        m_out.close();
        m_out.close();
    }

    // The wake-up forecast from the displayed time, for the handout: minutes
    // until each agent's VRG falls by 50, 80 and 90 % with the vaporizers
    // off; a level not reached before the limit is an empty attribute and
    // `remaining` says how long the forecast looked; `fgf` names the fresh
    // gas flow it assumed, held as it was at that time. Left out before
    // anything is recorded, and for an agent whose VRG holds nothing to fall
    // from.
    void forecast()
    {
        if (m_engine.track(0).samples.empty() || !m_engine.catalogue())
            return;
        const quint32 from = m_engine.displayTime();
        const QenDecrement::Start start = QenDecrement::startAt(m_engine, from);
        const std::optional<std::vector<QenDecrement::Times>> times =
            QenDecrement(*m_engine.catalogue()).run(start);
        if (!times)
            return;
        bool opened = false;
        for (const QenDecrement::Times &t : *times) {
            if (!(t.vrgAtStart > 0.0f))
                continue;
            if (!opened) {
                m_out.open(QStringLiteral("forecast"));
                m_out.attribute(QStringLiteral("time"), QenExport::timeText(from));
                m_out.attribute(QStringLiteral("fgf"),
                                QString::number(double(QenDecrement::flowFromD(start)), 'f', 1));
                opened = true;
            }
            m_out.open(QStringLiteral("agentforecast"));
            m_out.attribute(QStringLiteral("name"), t.agent);
            for (int i = 0; i < QenDecrement::Levels; ++i)
                m_out.attribute(QStringLiteral("t%1").arg(QenDecrement::Percents[i]),
                                t.minutes[i] ? QString::number(*t.minutes[i], 'f', 1) : QString());
            m_out.attribute(QStringLiteral("remaining"), QString::number(t.remainingMin, 'f', 0));
            m_out.close();
        }
        if (opened)
            m_out.close();
    }

    // The recorded sample of agent k at time t, or, before the agent was
    // recorded, its current settings.
    QenSample agentSample(int k, quint32 t, bool *recorded = nullptr)
    {
        const QenSample *s = m_engine.sampleOf(k, t);
        if (recorded)
            *recorded = s != nullptr;
        if (s)
            return *s;
        QenSample current = m_engine.makeSample(k);
        current.time = t;
        return current;
    }

    // Whether any agent's settings at the primary agent's sample i differ
    // from those of the sample before.
    bool changedAt(size_t i)
    {
        const std::vector<QenSample> &primary = m_engine.track(0).samples;
        const quint32 before = primary[i - 1].time;
        const quint32 now = primary[i].time;
        for (int k = 0; k < m_engine.trackCount(); ++k) {
            bool hadSample = false;
            bool hasSample = false;
            const QenSample a = agentSample(k, before, &hadSample);
            const QenSample b = agentSample(k, now, &hasSample);
            // An agent whose recording starts here joined the simulation.
            if (hadSample != hasSample || QenSample::changesBetween(a, b) != 0)
                return true;
        }
        return false;
    }

    void settings()
    {
        m_out.open(QStringLiteral("settings"));
        const std::vector<QenSample> &primary = m_engine.track(0).samples;
        if (primary.empty()) {
            setting(0, m_engine.makeSample(0).flags);
            if (m_withResults) {
                m_out.open(QStringLiteral("results"));
                result(0);
                m_out.close();
            }
        } else {
            // The recording ends where the display went furthest; a step
            // computed ahead of it is not part of the simulation yet.
            const quint32 limitSeconds = m_engine.endTime() / 1000;
            const size_t count = primary.size();
            size_t i = 0;
            while (i < count && primary[i].time / 1000 <= limitSeconds) {
                setting(primary[i].time, primary[i].flags);
                if (m_withResults)
                    m_out.open(QStringLiteral("results"));
                size_t j = i;
                do {
                    if (m_withResults)
                        result(primary[j].time);
                    ++j;
                } while (j < count && primary[j].time / 1000 <= limitSeconds && !changedAt(j));
                if (m_withResults)
                    m_out.close();
                i = j;
            }
        }
        m_out.close();
    }

    void setting(quint32 t, quint16 flags)
    {
        m_out.open(QStringLiteral("setting"));
        m_out.attribute(QStringLiteral("time"), QenExport::timeText(t));
        // The flows in effect at the sample's own time: a change in the middle
        // of a minute shows in the row it starts.
        m_out.attribute(QStringLiteral("va"), number(m_engine.vaBreathedAt(t)));
        m_out.attribute(QStringLiteral("co"), number(m_engine.coAt(t)));
        m_out.attribute(QStringLiteral("fgf"), number(m_engine.fgfDeliveredAt(0, t)));
        m_out.attribute(QStringLiteral("circuit"), QenExport::circuitText(flags));
        m_out.open(QStringLiteral("agentsettings"));
        for (int k = 0; k < m_engine.trackCount(); ++k) {
            const QenSample s = agentSample(k, t);
            m_out.open(QStringLiteral("agentsetting"));
            m_out.attribute(QStringLiteral("agentname"), agentName(s.agent, k));
            m_out.attribute(QStringLiteral("del"), number(s.del));
            m_out.attribute(QStringLiteral("inject"), QenExport::injectText(s.doses(), s.unitDose));
            m_out.close();
        }
        m_out.close();
        m_out.close();
    }

    QString agentName(int catalogueIndex, int track) const
    {
        if (const QenAnesthetic *a = m_engine.catalogue()->value(catalogueIndex))
            return a->displayName;
        return m_engine.track(track).displayName;
    }

    void result(quint32 t)
    {
        m_out.open(QStringLiteral("result"));
        m_out.attribute(QStringLiteral("time"), QenExport::timeText(t));
        const QString va = number(m_engine.vaBreathedAt(t));
        for (int k = 0; k < m_engine.trackCount(); ++k)
            agentResult(k, t, va);
        m_out.close();
    }

    void agentResult(int k, quint32 t, const QString &va)
    {
        static const char *const names[7] = {
            QT_TRANSLATE_NOOP("QenExport", "CKT"), QT_TRANSLATE_NOOP("QenExport", "ALV"),
            QT_TRANSLATE_NOOP("QenExport", "ART"), QT_TRANSLATE_NOOP("QenExport", "VRG"),
            QT_TRANSLATE_NOOP("QenExport", "MUS"), QT_TRANSLATE_NOOP("QenExport", "FAT"),
            QT_TRANSLATE_NOOP("QenExport", "VEN")};
        // The arterial blood leaves the alveoli at their partial pressure.
        static const int elements[7] = {CKT, ALV, ALV, VRG, MUS, FAT, VEN};

        const QenSample *s = m_engine.sampleOf(k, t);
        m_out.open(QStringLiteral("agentresult"));
        m_out.attribute(QStringLiteral("name"),
                        agentName(s ? s->agent : m_engine.track(k).agent, k));
        m_out.attribute(QStringLiteral("fgf"), number(m_engine.fgfDeliveredAt(k, t)));
        m_out.attribute(QStringLiteral("va"), va);
        m_out.attribute(QStringLiteral("uptake"), number(m_engine.compartmentAt(k, QenUptake, t)));
        m_out.attribute(QStringLiteral("delivered"),
                        number(m_engine.compartmentAt(k, QenDelivered, t)));
        // Only an agent whose warming potential and molar mass are known has
        // a footprint; a reader tells "unknown" by the missing attribute.
        if (const std::optional<double> co2e = QenFootprint::co2eAt(m_engine, k, t))
            m_out.attribute(QStringLiteral("co2e"), number(*co2e));
        m_out.open(QStringLiteral("compartments"));
        for (int c = 0; c < 7; ++c) {
            m_out.open(QStringLiteral("compartment"));
            m_out.attribute(QStringLiteral("name"), QenExport::tr(names[c]));
            m_out.attribute(QStringLiteral("value"),
                            number(m_engine.compartmentAt(k, elements[c], t)));
            m_out.close();
        }
        m_out.close();
        m_out.close();
    }

    // What the lesson used by the displayed time, per agent: the vapour
    // delivered, the liquid it came from, its cost and its footprint, with
    // the warming potential and where it comes from. A value the agent's
    // constants cannot give (no volatility, no bottle, no warming potential
    // or molar mass) is left out, so that it reads as unknown and not as 0.
    void gasUsed()
    {
        const quint32 t = m_engine.displayTime();
        m_out.open(QStringLiteral("gasused"));
        m_out.attribute(QStringLiteral("time"), QenExport::timeText(t));
        for (int k = 0; k < m_engine.trackCount(); ++k) {
            const QenAnesthetic *a = m_engine.agentOf(k);
            if (!a)
                continue;
            const double vapourL = double(m_engine.compartmentAt(k, QenDelivered, t));
            m_out.open(QStringLiteral("agentgas"));
            m_out.attribute(QStringLiteral("name"), a->displayName);
            m_out.attribute(QStringLiteral("vapour"), number(vapourL));
            if (a->volatility > 0) {
                // The volatility is the mL of vapour one mL of liquid gives.
                m_out.attribute(QStringLiteral("liquid"), number(vapourL * 1000.0 / a->volatility));
                if (a->bottleSize > 0)
                    m_out.attribute(QStringLiteral("cost"),
                                    number(vapourL * double(m_engine.costPerLitre(k))));
            }
            if (const std::optional<double> co2e = QenFootprint::co2eKg(a, vapourL)) {
                m_out.attribute(QStringLiteral("co2e"), number(*co2e));
                m_out.attribute(QStringLiteral("gwp100"), QString::number(double(*a->gwp100)));
                m_out.attribute(QStringLiteral("gwpSource"), QenFootprint::sourceOf(a));
            }
            m_out.close();
        }
        m_out.close();
    }

    QenDoc *m_doc;
    QenEngine &m_engine;
    Sink &m_out;
    bool m_withResults = false;
};

QString boxTitle()
{
    return QenExport::tr("Quenor®");
}

void warn(QenDoc *doc, const QString &text)
{
    if (QenPrompt *prompt = doc->host() ? doc->host()->prompt() : nullptr)
        prompt->warning(boxTitle(), text);
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QenExport::tr("<p>Cannot write file %1:\n%2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

// Writes `data` to `path` whole or not at all.
bool writeWhole(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}

// A new temporary file holding `data`, kept until the program ends.
QString writeTemporary(const QByteArray &data, const QString &suffix,
                       const QenExportSettings &settings, QString *error)
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/quenor_XXXXXX") + suffix);
    file.setAutoRemove(false);
    if (!file.open() || file.write(data) != data.size() || !file.flush()) {
        *error = file.errorString();
        file.remove();
        return QString();
    }
    const QString path = QFileInfo(file.fileName()).absoluteFilePath();
    if (settings.addTemporaryFile)
        settings.addTemporaryFile(path);
    return path;
}

// The name of a file beside the page as a relative URL: a "#" or "?" in it
// would otherwise start a fragment or a query, and a "%" an escape.
QString relativeUrl(const QString &path)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(path).fileName()));
}

QByteArray iconPng(const QString &iconPath)
{
    if (iconPath.isEmpty())
        return QByteArray();
    const QImage icon(iconPath);
    if (icon.isNull())
        return QByteArray();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return icon.save(&buffer, "PNG") ? png : QByteArray();
}

} // namespace

QDomDocument QenExport::exportDocument(QenDoc *doc, const QByteArray &imageData,
                                       const QString &externalImagePath, const QString &iconPath,
                                       bool printGraph, bool printPrintout, bool withResults,
                                       const QString &stylesheetPath)
{
    QDomDocument tree;
    DomSink sink(&tree);
    Writer(doc, sink).write(imageData, externalImagePath, iconPath, printGraph, printPrintout,
                            withResults, stylesheetPath, QSize());
    return tree;
}

QByteArray QenExport::xmlText(QenDoc *doc, const QByteArray &imageData,
                              const QString &externalImagePath, const QString &iconPath,
                              bool printGraph, bool printPrintout, bool withResults,
                              const QString &stylesheetPath, int indent)
{
    QByteArray out;
    StreamSink sink(&out, indent);
    Writer(doc, sink).write(imageData, externalImagePath, iconPath, printGraph, printPrintout,
                            withResults, stylesheetPath, QSize());
    return out;
}

QByteArray QenExport::xmlFile(QenDoc *doc, const QenExportSettings &settings)
{
    const QByteArray png = settings.graphPng ? settings.graphPng() : QByteArray();
    return xmlText(doc, png.toBase64(), QString(), settings.iconPath, settings.printGraph,
                   settings.printPrintout, true, settings.stylesheetPath, 0);
}

bool QenExport::writeXml(QenDoc *doc, const QString &path, const QenExportSettings &settings)
{
    const QByteArray text = xmlFile(doc, settings);
    QString error;
    if (writeWhole(path, text, &error))
        return true;
    warn(doc, cannotWrite(path, error));
    return false;
}

bool QenExport::writeHtml(QenDoc *doc, const QString &path, bool temporary,
                          const QenExportSettings &settings)
{
    const QFileInfo page(path);
    const QString base = page.absolutePath() + QLatin1Char('/') + page.completeBaseName();
    // Files of this export that must not outlive a failed one.
    QStringList written;
    auto failed = [&](const QString &text) {
        for (const QString &file : std::as_const(written))
            QFile::remove(file);
        warn(doc, text);
        return false;
    };

    // The graphs: beside the page, named after it, so the page and its
    // pictures travel together; the page names them relative to itself.
    QString imageRef;
    QString error;
    const QByteArray png = settings.graphPng ? settings.graphPng() : QByteArray();
    if (!png.isEmpty()) {
        if (temporary) {
            imageRef = writeTemporary(png, QStringLiteral("_img.png"), settings, &error);
            if (imageRef.isEmpty())
                return failed(cannotWrite(QDir::tempPath(), error));
        } else {
            const QString imagePath = base + QStringLiteral("_img.png");
            if (!writeWhole(imagePath, png, &error))
                return failed(cannotWrite(imagePath, error));
            written << imagePath;
            imageRef = relativeUrl(imagePath);
        }
    }

    // The icon is a nicety: without it the page says so and goes on.
    QString iconRef = QStringLiteral("missing");
    const QByteArray icon = iconPng(settings.iconPath);
    if (!icon.isEmpty()) {
        if (temporary) {
            const QString t = writeTemporary(icon, QStringLiteral("_icon.png"), settings, &error);
            if (!t.isEmpty())
                iconRef = t;
        } else {
            const QString iconPath = base + QStringLiteral("_icon.png");
            if (writeWhole(iconPath, icon, &error)) {
                written << iconPath;
                iconRef = relativeUrl(iconPath);
            }
        }
    }

    // Without a picture the page shows no graph rather than a broken one.
    QByteArray xml;
    {
        QByteArray out;
        StreamSink sink(&out, 1);
        Writer(doc, sink).write(QByteArray(), imageRef.isEmpty() ? QStringLiteral("") : imageRef,
                                iconRef, settings.printGraph && !imageRef.isEmpty(),
                                settings.printPrintout, false, settings.stylesheetPath,
                                settings.graphDisplaySize);
        xml = out;
    }

    QByteArray html;
    if (!QenXslt::transform(settings.stylesheetPath, xml, &html, &error))
        return failed(tr("<p>Cannot export %1:\n%2.").arg(QDir::toNativeSeparators(path), error));
    if (!writeWhole(path, html, &error))
        return failed(cannotWrite(path, error));
    return true;
}

QString QenExport::withSuffix(const QString &answer, const QString &suffix)
{
    if (answer.isEmpty() || !QFileInfo(answer).suffix().isEmpty())
        return answer;
    return answer + suffix;
}

QString QenExport::timeText(quint32 ms)
{
    const quint32 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString QenExport::switchCode(quint16 flags)
{
    // U: uptake switched off, R: return switched off, V: vapour switched on,
    // and the asterisk a flush in that interval. Rows by return and uptake
    // (off/off, off/on, on/off, on/on), columns plain, flushed, vapour,
    // vapour and flushed.
    static const char *const codes[4][4] = {
        {QT_TR_NOOP("(UR)"), QT_TR_NOOP("(UR)*"), QT_TR_NOOP("(VUR)"), QT_TR_NOOP("(VUR)*")},
        {QT_TR_NOOP("(R)"), QT_TR_NOOP("(R)*"), QT_TR_NOOP("(VR)"), QT_TR_NOOP("(VR)*")},
        {QT_TR_NOOP("(U)"), QT_TR_NOOP("(U)*"), QT_TR_NOOP("(VU)"), QT_TR_NOOP("(VU)*")},
        {"", QT_TR_NOOP("*"), QT_TR_NOOP("(V)"), QT_TR_NOOP("(V)*")},
    };
    const int row =
        ((flags & QenSample::VenousReturn) ? 2 : 0) + ((flags & QenSample::UptakeEffect) ? 1 : 0);
    const int column =
        ((flags & QenSample::VaporEffect) ? 2 : 0) + ((flags & QenSample::Flush) ? 1 : 0);
    const char *code = codes[row][column];
    return *code ? tr(code) : QString();
}

QString QenExport::circuitText(quint16 flags)
{
    const QString code = switchCode(flags);
    switch ((flags & QenSample::CircuitMask) >> QenSample::CircuitShift) {
    case 1:
        return tr("Semi%1").arg(code);
    case 2:
        return tr("Closed%1").arg(code);
    case 3:
        return tr("Ideal%1").arg(code);
    default:
        return tr("Open%1").arg(code);
    }
}

QString QenExport::injectText(int doses, float unitDose)
{
    if (doses == 0)
        return QStringLiteral("0");
    return QStringLiteral("%1").arg(double(doses) * double(unitDose), 5, 'f', 2);
}
