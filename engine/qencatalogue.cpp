#include "engine/qencatalogue.h"

#include "engine/qenini.h"
#include "engine/qenprompt.h"

int QenCatalogue::load(const QenIni &ini, const QStringList &colorNames, QenPrompt *prompt)
{
    clear();
    const QStringList names =
        ini.value(QStringLiteral("Agents"), QStringLiteral("Agents"), QStringList()).toStringList();
    for (const QString &agentName : names) {
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
