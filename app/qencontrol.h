#pragma once

#include "app/qenchildwindow.h"
#include "app/qenshownvalue.h"
#include "engine/qenengine.h"
#include "views/qenviewcommon.h"

#include <memory>

class QAbstractButton;
class QAction;
class QComboBox;
class QTableWidget;
class QTableWidgetItem;
class QenAgentDelegate;
class QenPanelView;
namespace Ui {
class QenControl;
}

// The control tray of a simulation: weight, circuit and speed, the special
// switches, Begin/Pause/Continue and the table of the simulation's agents,
// whose last row adds an agent. The tray changes nothing itself: settings and
// the run go through the picture view of the document's first window, agent
// operations to the document, and new or closing views to the main window
// through the signals below.
//
// Ownership: the tray is owned by its Control window; the document is held by
// a guarded pointer. The special-switch actions belong to the main window.
class QenControl : public QenViewCommon
{
    Q_OBJECT

public:
    QenControl(QenDoc *document, QenChildWindowInterface *owner, int agent,
               QWidget *parent = nullptr);
    ~QenControl() override;

    Ui::QenControl *form() const { return m_ui.get(); }
    QTableWidget *table() const;
    // The five actions of the table's context menu.
    QAction *newGraphAction() const { return m_newGraph; }
    QAction *newPictureAction() const { return m_newPicture; }
    QAction *deleteAction() const { return m_delete; }
    QAction *bringToFrontAction() const { return m_bringToFront; }
    QAction *setCostAction() const { return m_setCost; }
    bool isTableEditable() const { return m_editable; }

    // Ties the special-switch buttons to the main window's actions, so that a
    // click does exactly what the menu command does. Without actions the
    // buttons set the switches of this tray's document themselves.
    void setSpecialActions(QAction *disableUptake, QAction *disableReturn, QAction *enableVapor);

    // The current agent row, if the table's current row is one.
    bool currentAgent(int *agent) const override;

    // Fills a row per agent and asks for a picture and a graph view of each.
    void populate();
    bool isPopulating() const { return m_populating; }
    // Ends an open editor of the agent table without taking its text: the
    // simulation's agents were changed elsewhere.
    void closeAgentEditor();
    // Enables "Bring To Front" as the context menu shows it.
    void updateBringToFront(int row);

public slots:
    void updateControlVals();
    void setWeight(double weight);
    void setCircuit(const QString &circuit);
    void setSpeed(const QString &speed);
    void setState(AState state);
    void setTitle(const QString &title);
    void setAgent(int row, const QString &name);
    void changeAgent(int row, const QString &name);
    void agentColorsChanged();
    void clearAllRequested();
    void updateAgentWidget(QTableWidgetItem *item);
    void updateWeight();
    void updateCircuit(const QString &circuit);
    void updateSpeed(const QString &speed);
    void runSim();
    void pauseSim();
    void newViewRequested();
    void deleteAgentRequested();
    void bringToFrontRequested();
    void removeAgent(int n);
    void moveUpRequested();
    void moveDownRequested();
    void swapRows(int a, int b, QTableWidgetItem *item);
    void updateAgentWidgetState(bool enable);
    void setCost();
    void onSelectChanged(int currentRow, int currentColumn, int previousRow, int previousColumn);
    void onAFAPButton();

signals:
    void activateChild(QWidget *child);
    void addAgentView(QenDoc *document, int agent, QenViewType type);
    void removeChildWindow(QObject *child);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The picture view that paces the run: that of the document's first window.
    QenPanelView *firstPanel() const;
    int agentRows() const;
    int currentAgentRow() const;
    // Windows other than Control that show `agent` outside the tray's own tab widget.
    QList<QenChildWindow *> frontCandidates(int agent) const;
    void writeAddRow();
    void ensureAddRow();
    void setColorItem(int row, const QString &color);
    void renumber();
    void selectIgnoringCase(QComboBox *box, const QString &text);
    void showSpecialSwitches();
    void connectSpecialButtons();
    void closeDocument();
    bool showContextMenu(const QPoint &globalPos);

    std::unique_ptr<Ui::QenControl> m_ui;
    QenAgentDelegate *m_nameDelegate = nullptr;
    QenAgentDelegate *m_colorDelegate = nullptr;
    QAction *m_newGraph = nullptr;
    QAction *m_newPicture = nullptr;
    QAction *m_delete = nullptr;
    QAction *m_bringToFront = nullptr;
    QAction *m_setCost = nullptr;
    QAction *m_specialActions[3] = {};
    QList<QMetaObject::Connection> m_specialConnections;
    bool m_editable = true;
    int m_busy = 0;
    QenShownValue m_weight;
    bool m_populating = false;
};
