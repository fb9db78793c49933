#include "engine/qencatalogue.h"

#include "engine/qenini.h"
#include "engine/qenprompt.h"

int QenCatalogue::load(const QenIni &settings, const QStringList &colorNames, QenPrompt *prompt)
{
    clear();
    // Some twenty keys an agent: the file is read once for all of them.
    const QenIni ini = settings.readOnce();
    const QStringList names =
        ini.value(QStringLiteral("Agents"), QStringLiteral("Agents"), QStringList()).toStringList();
    // Section names are matched without regard to case, so "HALOTHANE" and
    // "Halothane" are one agent: the first mention is read, the rest are
    // dropped and named in one message.
    QStringList seen;
    QStringList repeated;
    for (const QString &agentName : names) {
        if (seen.contains(agentName, Qt::CaseInsensitive)) {
            repeated.append(agentName);
            continue;
        }
        seen.append(agentName);
        auto agent = std::make_unique<QenAnesthetic>();
        agent->name = agentName;
        QString failedKey;
        if (agent->readFromIni(ini, colorNames, &failedKey)) {
            insertSorted(std::move(agent));
        } else if (prompt) {
            prompt->critical(
                QCoreApplication::translate("QenAnesthetic", "Quenor®"),
                QCoreApplication::translate("QenAnesthetic",
                                            "<p>Error reading '%1' parameter for anesthetic '%2'. "
                                            "Agent ignored.")
                    .arg(failedKey, agentName));
        }
    }
    if (!repeated.isEmpty() && prompt) {
        prompt->warning(QCoreApplication::translate("QenAnesthetic", "Quenor®"),
                        QCoreApplication::translate(
                            "QenCatalogue", "<p>[Agents] Agents in %1 names an agent more than "
                                            "once; only the first is used. Left out: %2")
                            .arg(settings.path().toHtmlEscaped(),
                                 repeated.join(QStringLiteral(", ")).toHtmlEscaped()));
    }
    return size();
}

int QenCatalogue::insertSorted(std::unique_ptr<QenAnesthetic> agent)
{
    // Past the entries that sort equal, so equal names keep their reading order.
    auto it = m_agents.begin();
    while (it != m_agents.end() && !(agent->displayName < (*it)->displayName))
        ++it;
    const int index = int(it - m_agents.begin());
    m_agents.insert(it, std::move(agent));
    return index;
}

void QenCatalogue::append(std::unique_ptr<QenAnesthetic> agent)
{
    m_agents.push_back(std::move(agent));
}

int QenCatalogue::findByDisplayName(const QString &text) const
{
    for (int i = 0; i < size(); ++i) {
        const QString &shown = m_agents[size_t(i)]->displayName;
        if (shown == text)
            return i;
        if (!(shown < text))
            break;
    }
    return -1;
}

int QenCatalogue::findByName(const QString &text) const
{
    for (int i = 0; i < size(); ++i) {
        if (m_agents[size_t(i)]->name == text)
            return i;
    }
    return -1;
}
