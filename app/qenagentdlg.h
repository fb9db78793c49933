#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class QenAgent;
}

// The agent and the circuit of a picture's simulation. The agent can be
// changed only before the run has begun; the circuit always.
class QenAgentDlg : public QDialog
{
    Q_OBJECT

public:
    explicit QenAgentDlg(QWidget *parent = nullptr);
    ~QenAgentDlg() override;

    // The agents offered, the one to preselect and whether it may change.
    void setAgents(const QStringList &agents) { m_agents = agents; }
    void setAgent(const QString &agent) { m_agent = agent; }
    void setAgentChangeable(bool changeable) { m_changeable = changeable; }
    // Selects the circuit whose name matches ignoring case.
    void setCircuit(const QString &circuit);

    QString agent() const;
    QString circuit() const;

    Ui::QenAgent *form() const { return m_ui.get(); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillAgents();

    std::unique_ptr<Ui::QenAgent> m_ui;
    QStringList m_agents;
    QString m_agent;
    bool m_changeable = true;
    bool m_filled = false;
};
