#pragma once

#include "engine/qenanesthetic.h"

#include <memory>
#include <vector>

class QenIni;
class QenPrompt;

// The agents a simulation may use, sorted by display name. A document holds its
// own copy and addresses agents by their index in it.
class QenCatalogue
{
public:
    QenCatalogue() = default;
    QenCatalogue(QenCatalogue &&) = default;
    QenCatalogue &operator=(QenCatalogue &&) = default;
    QenCatalogue(const QenCatalogue &) = delete;
    QenCatalogue &operator=(const QenCatalogue &) = delete;

    // Reads every agent named in [Agents] Agents; an agent whose parameters fail
    // their checks is reported through `prompt` and left out. Returns the count.
    int load(const QenIni &ini, const QStringList &colorNames, QenPrompt *prompt);

    // Inserts before the first entry whose display name is greater than the new
    // one's, so equal names keep the order in which they were added.
    int insertSorted(std::unique_ptr<QenAnesthetic> agent);
    // Appends without sorting (a saved simulation keeps its own order).
    void append(std::unique_ptr<QenAnesthetic> agent);
    void clear() { m_agents.clear(); }

    int size() const { return int(m_agents.size()); }
    bool isEmpty() const { return m_agents.empty(); }
    QenAnesthetic *at(int index) const { return m_agents.at(size_t(index)).get(); }
    QenAnesthetic *value(int index) const
    {
        return index >= 0 && index < size() ? m_agents[size_t(index)].get() : nullptr;
    }

    int findByDisplayName(const QString &text) const;
    int findByName(const QString &text) const;

private:
    std::vector<std::unique_ptr<QenAnesthetic>> m_agents;
};
