#include "app/qencontrol.h"

#include "app/qenagentdelegate.h"
#include "app/qenapplication.h"
#include "app/qendialogs.h"
#include "app/qentabwidget.h"
#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenpacer.h"
#include "document/qenupdateevent.h"
#include "engine/qenreadingorder.h"
#include "engine/qenvocabulary.h"
#include "views/qenpanelview.h"

#include "ui_qencontrol.h"
#include "views/qenfieldguard.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTableWidget>

namespace {

// An edit the tray makes itself is not a user's edit.
class Busy
{
public:
    explicit Busy(int &counter) : m_counter(counter) { ++m_counter; }
    ~Busy() { --m_counter; }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    int &m_counter;
};

QStringList circuitNames()
{
    if (auto *app = qobject_cast<QenApplication *>(QCoreApplication::instance()))
        return app->circuits();
    return QenVocabulary::circuits();
}

QStringList speedNames()
{
    if (auto *app = qobject_cast<QenApplication *>(QCoreApplication::instance()))
        return app->speeds();
    return QenVocabulary::speeds();
}

} // namespace

QenControl::QenControl(QenDoc *document, QenChildWindowInterface *owner, int agent, QWidget *parent)
    : QenViewCommon(document, owner, parent), m_ui(std::make_unique<Ui::QenControl>())
{
    Q_UNUSED(agent);
    m_ui->setupUi(this);
    QenFieldGuard::guardSpinBoxes(this);
    setAutoFillBackground(true);
    setTitle(document ? document->title() : QString());

    QTableWidget *t = m_ui->agentTableWidget;
    m_nameDelegate = new QenAgentDelegate(QenAgentDelegate::AgentName, this);
    m_colorDelegate = new QenAgentDelegate(QenAgentDelegate::ColorName, this);
    if (document) {
        QStringList names;
        const QenCatalogue &catalogue = document->catalogue();
        for (int i = 0; i < catalogue.size(); ++i)
            names.append(catalogue.at(i)->displayName);
        m_nameDelegate->setItems(inReadingOrder(names));
        QStringList colors;
        for (const QString &color : document->host()->colorList())
            colors.append(QenVocabulary::shownColorName(color));
        m_colorDelegate->setItems(colors);
    }
    t->setItemDelegateForColumn(0, m_nameDelegate);
    t->setItemDelegateForColumn(1, m_colorDelegate);
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    t->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    t->horizontalHeader()->setStretchLastSection(false);
    t->setColumnWidth(0, 180);

    QDoubleSpinBox *weight = m_ui->weightDoubleSpinBox;
    weight->setDecimals(2);
    weight->setRange(0.05, 1500);
    weight->setValue(70);
    m_ui->circuitComboBox->addItems(circuitNames());
    m_ui->speedComboBox->addItems(speedNames());

    m_newGraph = new QAction(tr("New &Graph View"), this);
    m_newPicture = new QAction(tr("New &Picture View"), this);
    m_delete = new QAction(tr("&Delete Agent"), this);
    m_bringToFront = new QAction(tr("&Bring To Front"), this);
    m_setCost = new QAction(tr("&Set Cost"), this);
    t->addActions({m_newGraph, m_newPicture, m_delete, m_bringToFront, m_setCost});
    connect(m_newGraph, &QAction::triggered, this, &QenControl::newViewRequested);
    connect(m_newPicture, &QAction::triggered, this, &QenControl::newViewRequested);
    connect(m_delete, &QAction::triggered, this, &QenControl::deleteAgentRequested);
    connect(m_bringToFront, &QAction::triggered, this, &QenControl::bringToFrontRequested);
    connect(m_setCost, &QAction::triggered, this, &QenControl::setCost);
    connect(t, &QTableWidget::currentCellChanged, this, &QenControl::onSelectChanged);
    connect(t, &QTableWidget::itemChanged, this, &QenControl::updateAgentWidget);

    showSpecialSwitches();
    connectSpecialButtons();

    clearAllRequested();
    updateControlVals();

    connect(m_ui->upPushButton, &QPushButton::clicked, this, &QenControl::moveUpRequested);
    connect(m_ui->downPushButton, &QPushButton::clicked, this, &QenControl::moveDownRequested);
    connect(weight, &QDoubleSpinBox::editingFinished, this, &QenControl::updateWeight);
    connect(m_ui->circuitComboBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { updateCircuit(m_ui->circuitComboBox->itemText(index)); });
    connect(m_ui->speedComboBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { updateSpeed(m_ui->speedComboBox->itemText(index)); });
    connect(m_ui->runPushButton, &QPushButton::clicked, this, &QenControl::runSim);
    connect(m_ui->afapPushButton, &QPushButton::clicked, this, &QenControl::onAFAPButton);
    if (document) {
        connect(document, &QenDoc::stateChanged, this, &QenControl::setState);
        connect(document, qOverload<bool>(&QenDoc::modified), this, &QenControl::setWindowModified);
        connect(document, qOverload<bool>(&QenDoc::modified), this, &QenControl::updateControlVals);
        connect(document, &QenDoc::updateControl, this, &QenControl::updateControlVals);
        connect(document, &QenDoc::allCleared, this, &QenControl::clearAllRequested);
        connect(document, &QenDoc::agentChanged, this, &QenControl::changeAgent);
        connect(document, &QenDoc::agentColorsChanged, this, &QenControl::agentColorsChanged);
        connect(document, &QenDoc::titleChanged, this, &QenControl::setTitle);
    }

    m_ui->viewLabel->hide();
    m_ui->viewComboBox->hide();
    m_ui->afapPushButton->hide();
    t->installEventFilter(this);
    t->viewport()->installEventFilter(this);
}

QenControl::~QenControl()
{
    // A tray that goes while its document still has windows takes the
    // document with it, as closing the Control window would.
    QenDoc *doc = document();
    if (doc && !doc->views().isEmpty())
        closeDocument();
}

QTableWidget *QenControl::table() const
{
    return m_ui->agentTableWidget;
}

// --- special switches

void QenControl::setSpecialActions(QAction *disableUptake, QAction *disableReturn,
                                   QAction *enableVapor)
{
    m_specialActions[0] = disableUptake;
    m_specialActions[1] = disableReturn;
    m_specialActions[2] = enableVapor;
    connectSpecialButtons();
}

void QenControl::connectSpecialButtons()
{
    for (const QMetaObject::Connection &c : std::as_const(m_specialConnections))
        disconnect(c);
    m_specialConnections.clear();
    QAbstractButton *buttons[3] = {m_ui->disUpRadioButton, m_ui->disRetRadioButton,
                                   m_ui->enVapRadioButton};
    for (int i = 0; i < 3; ++i) {
        if (m_specialActions[i]) {
            m_specialConnections.append(connect(buttons[i], &QAbstractButton::toggled,
                                                m_specialActions[i], &QAction::toggled));
            continue;
        }
        m_specialConnections.append(
            connect(buttons[i], &QAbstractButton::toggled, this, [this, i](bool on) {
                QenDoc *doc = document();
                if (!doc)
                    return;
                if (i == 0)
                    doc->engine()->disableUptake(on);
                else if (i == 1)
                    doc->engine()->disableReturn(on);
                else
                    doc->engine()->enableVapor(on);
            }));
    }
}

void QenControl::showSpecialSwitches()
{
    const QenDoc *doc = document();
    if (!doc)
        return;
    const QenEngine *e = doc->engine();
    // Showing the switches must not issue the commands again.
    const QSignalBlocker b0(m_ui->disUpRadioButton);
    const QSignalBlocker b1(m_ui->disRetRadioButton);
    const QSignalBlocker b2(m_ui->enVapRadioButton);
    m_ui->disUpRadioButton->setChecked(!e->uptakeEffect());
    m_ui->disRetRadioButton->setChecked(!e->venousReturn());
    m_ui->enVapRadioButton->setChecked(e->vaporEffect());
}

// --- showing values

void QenControl::setTitle(const QString &title)
{
    setWindowTitle(title + QStringLiteral("[*]"));
}

void QenControl::selectIgnoringCase(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchFixedString);
    if (index < 0)
        return;
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(index);
}

void QenControl::setWeight(double weight)
{
    m_weight.show(m_ui->weightDoubleSpinBox, weight);
}

void QenControl::setCircuit(const QString &circuit)
{
    selectIgnoringCase(m_ui->circuitComboBox, circuit);
}

void QenControl::setSpeed(const QString &speed)
{
    selectIgnoringCase(m_ui->speedComboBox, speed);
}

void QenControl::updateControlVals()
{
    QenDoc *doc = document();
    if (!doc)
        return;
    const QenEngine *e = doc->engine();
    setWeight(e->weight());
    setCircuit(e->circuit());
    setSpeed(e->speed() == 1000 ? tr("AFAP") : QStringLiteral("%1x").arg(e->speed()));
    setState(e->state());
    agentColorsChanged();
    ensureAddRow();
    showSpecialSwitches();
}

void QenControl::setState(AState state)
{
    QPushButton *run = m_ui->runPushButton;
    bool editable = false;
    switch (state) {
    case ARunning:
        run->setText(tr("Pause"));
        break;
    case APaused: {
        run->setText(tr("Continue"));
        const QenDoc *doc = document();
        editable = doc && doc->engine()->displayTime() == 0;
        break;
    }
    case ANotRun:
        run->setText(tr("Begin"));
        run->setEnabled(true);
        editable = true;
        break;
    case AFinished:
        run->setText(tr("End"));
        run->setEnabled(false);
        break;
    }
    updateAgentWidgetState(editable);
}

// --- the agent table

int QenControl::agentRows() const
{
    const QenDoc *doc = document();
    return doc ? doc->agentCount() : 0;
}

int QenControl::currentAgentRow() const
{
    const int row = m_ui->agentTableWidget->currentRow();
    return row >= 0 && row < agentRows() ? row : -1;
}

bool QenControl::currentAgent(int *agent) const
{
    const int row = currentAgentRow();
    if (agent)
        *agent = row;
    if (row < 0)
        return false;
    if (QenDoc *doc = document())
        doc->engine()->setCurrentTrack(row);
    return true;
}

void QenControl::writeAddRow()
{
    QTableWidget *t = m_ui->agentTableWidget;
    const int row = t->rowCount() - 1;
    if (row < 0)
        return;
    const Busy busy(m_busy);
    auto *name = new QTableWidgetItem(tr("Click to Add"));
    name->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
    t->setItem(row, 0, name);
    t->setItem(row, 1, new QTableWidgetItem(QString()));
    t->setVerticalHeaderItem(row, new QTableWidgetItem(QString()));
    t->setRowHidden(row, !m_editable);
}

void QenControl::ensureAddRow()
{
    QTableWidget *t = m_ui->agentTableWidget;
    const int agents = agentRows();
    if (t->rowCount() > agents)
        return;
    const Busy busy(m_busy);
    const int last = t->rowCount() - 1;
    if (last >= 0)
        t->setVerticalHeaderItem(last, new QTableWidgetItem(QString::number(last + 1)));
    t->setRowCount(t->rowCount() + 1);
    writeAddRow();
}

void QenControl::setColorItem(int row, const QString &color)
{
    const Busy busy(m_busy);
    // The user reads the colour in their language; the document keeps the
    // toolkit's name. A swatch beside it shows the colour the graphs draw in.
    auto *item = new QTableWidgetItem(QenVocabulary::shownColorName(color));
    item->setData(Qt::DecorationRole, QColor(color));
    m_ui->agentTableWidget->setItem(row, 1, item);
}

void QenControl::setAgent(int row, const QString &name)
{
    const Busy busy(m_busy);
    auto *item = new QTableWidgetItem(name);
    item->setFlags(m_editable ? Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled
                              : Qt::ItemIsSelectable);
    m_ui->agentTableWidget->setItem(row, 0, item);
}

void QenControl::changeAgent(int row, const QString &name)
{
    QTableWidget *t = m_ui->agentTableWidget;
    if (row < 0 || row >= t->rowCount())
        return;
    const Busy busy(m_busy);
    if (QTableWidgetItem *item = t->item(row, 0))
        item->setText(name);
    else
        setAgent(row, name);
}

void QenControl::agentColorsChanged()
{
    const QenDoc *doc = document();
    if (!doc)
        return;
    QTableWidget *t = m_ui->agentTableWidget;
    for (int i = 0; i < doc->agentCount() && i < t->rowCount(); ++i) {
        const QString color = doc->agentColor(i);
        const QTableWidgetItem *item = t->item(i, 1);
        // The user's pick changed the text alone: the swatch follows it too.
        if (!item || item->text() != QenVocabulary::shownColorName(color) ||
            item->data(Qt::DecorationRole).value<QColor>() != QColor(color))
            setColorItem(i, color);
    }
}

void QenControl::renumber()
{
    QTableWidget *t = m_ui->agentTableWidget;
    const Busy busy(m_busy);
    for (int i = 0; i < t->rowCount(); ++i) {
        const bool addRow = i >= agentRows();
        t->setVerticalHeaderItem(i,
                                 new QTableWidgetItem(addRow ? QString() : QString::number(i + 1)));
    }
}

void QenControl::clearAllRequested()
{
    QTableWidget *t = m_ui->agentTableWidget;
    const Busy busy(m_busy);
    t->clearContents();
    t->setRowCount(1);
    t->setColumnCount(2);
    const QenDoc *doc = document();
    const int agents = agentRows();
    t->setRowCount(agents + 1);
    for (int i = 0; i < agents; ++i) {
        setAgent(i, doc->agentName(i));
        setColorItem(i, doc->agentColor(i));
    }
    renumber();
    writeAddRow();
}

void QenControl::populate()
{
    QenDoc *doc = document();
    if (!doc)
        return;
    clearAllRequested();
    m_populating = true;
    for (int i = 0; i < doc->agentCount(); ++i) {
        emit addAgentView(doc, i, QenChildWindowInterface::Picture);
        QCoreApplication::processEvents();
        if (!document())
            break;
        emit addAgentView(doc, i, QenChildWindowInterface::Graph);
    }
    m_populating = false;
    // Each view made the current agent its own: the agent the simulation had
    // selected when it was saved (its first, for a new one) is selected again.
    if (document()) {
        const int selected = doc->panelMarker();
        if (selected >= 0 && selected < agentRows()) {
            doc->engine()->setCurrentTrack(selected);
            if (m_ui->agentTableWidget->currentRow() != selected) {
                m_ui->agentTableWidget->setCurrentCell(selected, 0);
                // Selected, not being renamed.
                closeAgentEditor();
            }
        }
    }
}

void QenControl::updateAgentWidgetState(bool enable)
{
    m_editable = enable;
    QTableWidget *t = m_ui->agentTableWidget;
    const Busy busy(m_busy);
    const int agents = agentRows();
    if (!enable)
        closeAgentEditor();
    if (t->rowCount() > agents)
        t->setRowHidden(t->rowCount() - 1, !enable);
    for (int i = 0; i < agents && i < t->rowCount(); ++i) {
        if (QTableWidgetItem *item = t->item(i, 0)) {
            item->setFlags(enable ? Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled
                                  : Qt::ItemIsSelectable);
        }
    }
    m_ui->weightDoubleSpinBox->setEnabled(enable);
    m_ui->upPushButton->setEnabled(enable);
    m_ui->downPushButton->setEnabled(enable);
    m_delete->setEnabled(enable);
    if (t->currentRow() < 0 && t->rowCount() > 0) {
        t->scrollToTop();
        t->setCurrentCell(0, 0);
    }
}

void QenControl::closeAgentEditor()
{
    QTableWidget *t = m_ui->agentTableWidget;
    if (QWidget *editor = t->indexWidget(t->currentIndex()))
        QMetaObject::invokeMethod(
            t, "closeEditor", Q_ARG(QWidget *, editor),
            Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
}

void QenControl::updateAgentWidget(QTableWidgetItem *item)
{
    QenDoc *doc = document();
    if (m_busy || !item || !doc)
        return;
    const int row = item->row();
    const int agents = doc->agentCount();
    if (item->column() == 1) {
        if (row < agents)
            doc->setAgentColor(row, QenVocabulary::toolkitColorName(item->text()));
        return;
    }
    const QString name = item->text();
    if (doc->catalogue().findByDisplayName(name) < 0) {
        // Not an agent: nothing changes, the add row asks again.
        if (row >= agents)
            writeAddRow();
        else
            changeAgent(row, doc->agentName(row));
        return;
    }
    if (row >= agents) {
        if (!doc->engine()->replayGuard(false)) {
            writeAddRow();
            return;
        }
        const int added = doc->addAgent(name);
        if (added < 0) {
            writeAddRow();
            return;
        }
        emit addAgentView(doc, added, QenChildWindowInterface::Picture);
        QCoreApplication::processEvents();
        if (document())
            emit addAgentView(doc, added, QenChildWindowInterface::Graph);
        return;
    }
    if (name == doc->agentName(row))
        return;
    if (!doc->engine()->replayGuard(false)) {
        changeAgent(row, doc->agentName(row));
        return;
    }
    if (!doc->setAgent(QenUserOrigin, row, name))
        changeAgent(row, doc->agentName(row));
}

// --- settings through the picture view

QenPanelView *QenControl::firstPanel() const
{
    const QenDoc *doc = document();
    if (!doc || doc->views().isEmpty())
        return nullptr;
    return qobject_cast<QenPanelView *>(doc->views().first()->pictureView());
}

void QenControl::updateWeight()
{
    // Leaving the box fires this too: only a weight the user changed is
    // applied (applying it rescales the patient and may erase the recording).
    QenDoc *doc = document();
    if (!doc || !m_weight.isEdited())
        return;
    if (QenPanelView *panel = firstPanel())
        panel->ChangeWeight(m_ui->weightDoubleSpinBox->value());
    // A refused change shows the weight the simulation kept.
    if (document())
        setWeight(doc->engine()->weight());
}

void QenControl::updateCircuit(const QString &circuit)
{
    if (QenPanelView *panel = firstPanel())
        panel->ChangeCircuit(circuit);
}

void QenControl::updateSpeed(const QString &speed)
{
    if (QenPanelView *panel = firstPanel())
        panel->ChangeSpeed(speed);
}

void QenControl::runSim()
{
    if (QenDoc *doc = document())
        doc->pacer()->toggle();
}

void QenControl::pauseSim()
{
    QenDoc *doc = document();
    if (!doc || doc->engine()->state() != ARunning)
        return;
    doc->pacer()->pause();
    setState(APaused);
}

void QenControl::onAFAPButton() {}

// --- agent commands

void QenControl::newViewRequested()
{
    QenDoc *doc = document();
    const int row = currentAgentRow();
    if (!doc || row < 0)
        return;
    doc->engine()->setCurrentTrack(row);
    const auto *action = qobject_cast<QAction *>(sender());
    const bool graph = action && action->text() == tr("New &Graph View");
    emit addAgentView(doc, row,
                      graph ? QenChildWindowInterface::Graph : QenChildWindowInterface::Picture);
}

void QenControl::deleteAgentRequested()
{
    QenDoc *doc = document();
    const int row = currentAgentRow();
    if (!doc || row < 0)
        return;
    doc->engine()->setCurrentTrack(row);
    removeAgent(row);
}

QList<QenChildWindow *> QenControl::frontCandidates(int agent) const
{
    QList<QenChildWindow *> found;
    const QenDoc *doc = document();
    if (!doc)
        return found;
    QenTabWidget *own = nullptr;
    for (QWidget *w = parentWidget(); w && !own; w = w->parentWidget())
        own = qobject_cast<QenTabWidget *>(w);
    for (QenChildWindowInterface *view : doc->views()) {
        auto *child = dynamic_cast<QenChildWindow *>(view);
        if (child && child->type() != QenChildWindowInterface::Control &&
            child->agentIndex() == agent && (!own || child->tabWidget() != own))
            found.append(child);
    }
    return found;
}

void QenControl::updateBringToFront(int row)
{
    m_bringToFront->setEnabled(row >= 0 && !frontCandidates(row).isEmpty());
}

void QenControl::bringToFrontRequested()
{
    QenDoc *doc = document();
    const int row = currentAgentRow();
    if (!doc || row < 0)
        return;
    doc->engine()->setCurrentTrack(row);
    for (QenChildWindow *child : frontCandidates(row))
        emit activateChild(child);
}

void QenControl::setCost()
{
    QenDoc *doc = document();
    const int row = currentAgentRow();
    if (!doc || row < 0)
        return;
    doc->engine()->setCurrentTrack(row);
    QenDialogs::setCost(*doc, this);
}

void QenControl::closeDocument()
{
    QenDoc *doc = document();
    if (!doc)
        return;
    // The window is asked only while it is still registered: a window being
    // destroyed has left the list already.
    QenChildWindowInterface *own = owner();
    if (own && doc->views().contains(own)) {
        auto *window = dynamic_cast<QenChildWindow *>(own);
        if (window && !window->hasClosed()) {
            window->close();
            return;
        }
    }
    if (!doc->maybeSave())
        return;
    const QList<QenChildWindowInterface *> views = doc->views();
    for (QenChildWindowInterface *view : views) {
        if (document() && document()->views().contains(view))
            view->closeView();
    }
}

void QenControl::removeAgent(int n)
{
    QenDoc *doc = document();
    if (!doc || n < 0 || n >= doc->agentCount())
        return;
    if (doc->agentCount() == 1) {
        // A simulation needs an agent: deleting the last one closes it.
        closeDocument();
        return;
    }
    if (!doc->engine()->replayGuard(false)) {
        writeAddRow();
        return;
    }
    const QList<QenChildWindowInterface *> showing = doc->removeAgent(n);
    for (QenChildWindowInterface *view : showing) {
        auto *child = dynamic_cast<QenChildWindow *>(view);
        if (!child)
            continue;
        QPointer<QenChildWindow> guard(child);
        emit removeChildWindow(child);
        // Without a main window to take it, the window closes itself.
        if (guard && !guard->hasClosed())
            guard->close();
    }
    if (!document())
        return;
    const Busy busy(m_busy);
    QTableWidget *t = m_ui->agentTableWidget;
    if (n < t->rowCount() - 1)
        t->removeRow(n);
    renumber();
    ensureAddRow();
}

// --- reordering

void QenControl::moveUpRequested()
{
    QTableWidgetItem *item = m_ui->agentTableWidget->currentItem();
    if (!item)
        return;
    const int row = item->row();
    if (row <= 0 || row >= agentRows())
        return;
    swapRows(row, row - 1, item);
}

void QenControl::moveDownRequested()
{
    QTableWidgetItem *item = m_ui->agentTableWidget->currentItem();
    if (!item)
        return;
    const int row = item->row();
    if (row >= m_ui->agentTableWidget->rowCount() - 2)
        return;
    swapRows(row, row + 1, item);
}

void QenControl::swapRows(int a, int b, QTableWidgetItem *item)
{
    QenDoc *doc = document();
    const int agents = agentRows();
    // Only before the run has moved on: a track added later holds fewer
    // samples than the first, so the recording could not follow the swap.
    if (!doc || !m_editable || a < 0 || b < 0 || a >= agents || b >= agents || a == b)
        return;
    if (!doc->engine()->replayGuard(true))
        return;
    QTableWidget *t = m_ui->agentTableWidget;
    const Busy busy(m_busy);
    QTableWidgetItem *rowA[2] = {t->takeItem(a, 0), t->takeItem(a, 1)};
    QTableWidgetItem *rowB[2] = {t->takeItem(b, 0), t->takeItem(b, 1)};
    for (int c = 0; c < 2; ++c) {
        t->setItem(a, c, rowB[c]);
        t->setItem(b, c, rowA[c]);
    }
    doc->swapAgents(a, b);
    if (item)
        t->setCurrentItem(item);
}

void QenControl::onSelectChanged(int currentRow, int currentColumn, int previousRow,
                                 int previousColumn)
{
    Q_UNUSED(currentColumn);
    Q_UNUSED(previousRow);
    Q_UNUSED(previousColumn);
    const bool agentRow = currentRow >= 0 && currentRow < agentRows();
    m_ui->agentTableWidget->setContextMenuPolicy(agentRow ? Qt::DefaultContextMenu
                                                          : Qt::NoContextMenu);
}

// --- context menu

bool QenControl::showContextMenu(const QPoint &globalPos)
{
    QTableWidget *t = m_ui->agentTableWidget;
    const int row = currentAgentRow();
    // The pointer row is taken in the viewport, below the header.
    const int pointerRow = t->rowAt(t->viewport()->mapFromGlobal(globalPos).y());
    if (row < 0 || pointerRow != row)
        return false;
    updateBringToFront(row);
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions(t->actions());
    menu->popup(globalPos);
    return true;
}

bool QenControl::eventFilter(QObject *watched, QEvent *event)
{
    QTableWidget *t = m_ui->agentTableWidget;
    if ((watched == t || watched == t->viewport()) && event->type() == QEvent::ContextMenu) {
        showContextMenu(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return QenViewCommon::eventFilter(watched, event);
}
