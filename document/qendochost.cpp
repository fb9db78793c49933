#include "document/qendochost.h"

#include "document/qendoc.h"
#include "document/qenmailclient.h"
#include "engine/qenvocabulary.h"

#include <QCoreApplication>

namespace {

const QString colorsGroup = QStringLiteral("Colors");

// The [Colors] Colors list as the user wrote it: blanks around the names and
// empty entries dropped, so that " red" names red.
QStringList configuredColors(const QenIni &ini)
{
    QStringList list = ini.value(colorsGroup, colorsGroup, QStringList()).toStringList();
    for (QString &entry : list)
        entry = entry.trimmed();
    list.removeAll(QString());
    return list;
}

// The colour-name table entries `wanted` names, by Qt name or translation.
QStringList tableColorsIn(const QStringList &wanted)
{
    const QStringList names = QenVocabulary::colorNames();
    const QStringList translated = QenVocabulary::translatedColorNames();
    QStringList result;
    for (int i = 0; i < names.size(); ++i) {
        if (wanted.contains(names[i], Qt::CaseInsensitive) ||
            wanted.contains(translated.value(i), Qt::CaseInsensitive))
            result.append(names[i]);
    }
    return result;
}

int usesOf(const QStringList &colors, const QString &color)
{
    int uses = 0;
    for (const QString &c : colors)
        uses += c.compare(color, Qt::CaseInsensitive) == 0;
    return uses;
}

} // namespace

QenDocHost::QenDocHost(const QString &iniPath, QenPrompt *prompt)
    : m_ini(iniPath), m_prompt(prompt), m_defaults(QenDefaults::load(m_ini))
{}

QenDocHost::QenDocHost(const QenIni &ini, QenPrompt *prompt)
    : m_ini(ini), m_prompt(prompt), m_defaults(QenDefaults::load(m_ini))
{}

QenDocHost::~QenDocHost() = default;

QenMailClient *QenDocHost::mailClient()
{
    if (!m_mailClient)
        m_mailClient = std::make_unique<QenMailClient>();
    return m_mailClient.get();
}

void QenDocHost::setMailClient(std::unique_ptr<QenMailClient> client)
{
    m_mailClient = std::move(client);
}

void QenDocHost::reloadDefaults()
{
    m_defaults = QenDefaults::load(m_ini);
}

int QenDocHost::defaultGraphMinutes() const
{
    const QString text =
        m_ini.value(QStringLiteral("Defaults"), QStringLiteral("GraphMinutes"), 15).toString();
    bool number = false;
    const int minutes = text.trimmed().toInt(&number);
    if (number && QenVocabulary::graphSpanMinutes().contains(minutes))
        return minutes;
    // Written by hand as the span list shows it ("2 Hr").
    return QenVocabulary::graphSpanFromText(text);
}

void QenDocHost::ensureColorList(const QenIni &ini)
{
    if (configuredColors(ini).isEmpty())
        ini.setValue(colorsGroup, colorsGroup, QenVocabulary::defaultColorList());
}

QStringList QenDocHost::colorNames() const
{
    QStringList names = configuredColors(m_ini);
    for (const QString &name : QenVocabulary::colorNames()) {
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

QStringList QenDocHost::colorList() const
{
    const QStringList list = tableColorsIn(configuredColors(m_ini));
    return list.isEmpty() ? tableColorsIn(QenVocabulary::defaultColorList()) : list;
}

QString QenDocHost::pickColor(const QenDoc *doc) const
{
    QStringList iniColors;
    QStringList own;
    if (doc) {
        const QenCatalogue &catalogue = doc->catalogue();
        for (int a = 0; a < catalogue.size(); ++a)
            iniColors.append(catalogue.at(a)->color);
        own = doc->agentColors();
    }
    QList<QStringList> others;
    for (const QenDoc *other : openDocuments()) {
        if (other != doc)
            others.append(other->agentColors());
    }
    return pickColor(colorList(), iniColors, others, own);
}

QString QenDocHost::pickColor(const QStringList &colors, const QStringList &iniColors,
                              const QList<QStringList> &otherDocuments,
                              const QStringList &ownColors)
{
    struct Counts
    {
        int catalogue = 0;
        int others = 0;
        int own = 0;
    };
    QList<Counts> counts(colors.size());
    for (int c = 0; c < colors.size(); ++c) {
        counts[c].catalogue = usesOf(iniColors, colors[c]);
        for (const QStringList &document : otherDocuments)
            counts[c].others += usesOf(document, colors[c]);
        counts[c].own = usesOf(ownColors, colors[c]);
    }
    for (int c = 0; c < colors.size(); ++c) {
        if (counts[c].catalogue == 0 && counts[c].others == 0 && counts[c].own == 0)
            return colors[c];
    }
    for (int c = 0; c < colors.size(); ++c) {
        if (counts[c].catalogue == 0 && counts[c].own == 0)
            return colors[c];
    }
    int best = -1;
    int bestTotal = 0;
    for (int c = 0; c < colors.size(); ++c) {
        const int total = counts[c].catalogue + counts[c].others + counts[c].own;
        if (best < 0 || total < bestTotal) {
            best = c;
            bestTotal = total;
        }
    }
    return best < 0 ? QString() : colors[best];
}

QString QenDocHost::translateColor(const QString &name) const
{
    // The document draws with the colour's toolkit name, and files keep it.
    // Translating a stored "red" would hand the painter a name it does not
    // know (black curves) and write it into the next save; a name a translated
    // copy did store is mapped back instead.
    return QenVocabulary::toolkitColorName(name);
}

QString QenDocHost::getSaveFileName(const QString &, const QString &, const QString &)
{
    return QString();
}

bool QenDocHost::editCost(float *, int *)
{
    return false;
}
