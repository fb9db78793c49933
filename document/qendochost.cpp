#include "document/qendochost.h"

#include "document/qendoc.h"
#include "document/qenmailclient.h"
#include "engine/qenvocabulary.h"

#include <QCoreApplication>

namespace {
int usesOf(const QStringList &colours, const QString &colour)
{
    int uses = 0;
    for (const QString &c : colours)
        uses += c.compare(colour, Qt::CaseInsensitive) == 0;
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

QStringList QenDocHost::colourNames() const
{
    QStringList names =
        m_ini.value(QStringLiteral("Colors"), QStringLiteral("Colors"), QStringList())
            .toStringList();
    for (const QString &name : QenVocabulary::colourNames()) {
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

QStringList QenDocHost::colorList() const
{
    const QStringList chosen =
        m_ini.value(QStringLiteral("Colors"), QStringLiteral("Colors"), QStringList())
            .toStringList();
    QStringList list;
    for (const QString &name : QenVocabulary::colourNames()) {
        if (chosen.contains(name, Qt::CaseInsensitive))
            list.append(name);
    }
    return list.isEmpty() ? QenVocabulary::colourNames() : list;
}

QString QenDocHost::pickColor(const QenDoc *doc) const
{
    const QStringList candidates = colorList();
    QList<const QenDoc *> others = openDocuments();
    others.removeAll(doc);

    struct Counts
    {
        int catalogue = 0;
        int others = 0;
        int own = 0;
    };
    QList<Counts> counts(candidates.size());
    for (int c = 0; c < candidates.size(); ++c) {
        const QString &colour = candidates[c];
        if (doc) {
            const QenCatalogue &catalogue = doc->catalogue();
            for (int a = 0; a < catalogue.size(); ++a)
                counts[c].catalogue +=
                    catalogue.at(a)->color.compare(colour, Qt::CaseInsensitive) == 0;
            counts[c].own += usesOf(doc->agentColours(), colour);
        }
        for (const QenDoc *other : others)
            counts[c].others += usesOf(other->agentColours(), colour);
    }
    for (int c = 0; c < candidates.size(); ++c) {
        if (counts[c].catalogue == 0 && counts[c].others == 0 && counts[c].own == 0)
            return candidates[c];
    }
    for (int c = 0; c < candidates.size(); ++c) {
        if (counts[c].catalogue == 0 && counts[c].own == 0)
            return candidates[c];
    }
    int best = -1;
    int bestTotal = 0;
    for (int c = 0; c < candidates.size(); ++c) {
        const int total = counts[c].catalogue + counts[c].others + counts[c].own;
        if (best < 0 || total < bestTotal) {
            best = c;
            bestTotal = total;
        }
    }
    return best < 0 ? QString() : candidates[best];
}

QString QenDocHost::translateColour(const QString &name) const
{
    // The document draws with the colour's toolkit name, and files keep it.
    // Translating a stored "red" would hand the painter a name it does not
    // know (black curves) and write it into the next save; a name a translated
    // copy did store is mapped back instead.
    const int translated = int(QenVocabulary::translatedColourNames().indexOf(name));
    return translated >= 0 ? QenVocabulary::colourNames().at(translated) : name;
}

QString QenDocHost::getSaveFileName(const QString &, const QString &, const QString &)
{
    return QString();
}

bool QenDocHost::editCost(float *, int *)
{
    return false;
}
