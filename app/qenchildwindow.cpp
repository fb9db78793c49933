#include "app/qenchildwindow.h"

#include "app/qencontrol.h"
#include "app/qentabwidget.h"
#include "document/qendoc.h"
#include "views/qengraphview.h"
#include "views/qenicon.h"
#include "views/qenpanelview.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHash>
#include <QIcon>
#include <QRandomGenerator>
#include <QScrollArea>

namespace {

// Live children by serial number. A dragged tab names its child by number, and
// a drop accepts only a number found here, so a number from another running
// copy of the program (or from a child since closed) is never followed.
QHash<quint64, QenChildWindow *> &liveChildren()
{
    static QHash<quint64, QenChildWindow *> children;
    return children;
}

// The high half of every identity is drawn once per process, so that another
// copy of the program, which numbers its children from 1 as well, does not
// name ours.
quint64 processKey()
{
    static const quint64 key = quint64(QRandomGenerator::global()->generate() | 1u) << 32;
    return key;
}

quint64 nextSerial()
{
    static quint32 serial = 0;
    return processKey() | ++serial;
}

QScrollArea *scrollAreaFor(QWidget *view, QWidget *parent)
{
    auto *area = new QScrollArea(parent);
    area->setWidgetResizable(true);
    area->setWidget(view);
    return area;
}

} // namespace

QenChildWindow::QenChildWindow(QenDoc *document, int agent, QenViewType type, QWidget *parent)
    : QMainWindow(parent), m_doc(document), m_type(type), m_serial(nextSerial())
{
    liveChildren().insert(m_serial, this);
    setWindowIcon(qenIcon(QStringLiteral(":/images/quenor_sm.png")));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setObjectName(QStringLiteral("Child"));

    m_graph = new QenGraphView(document, this);
    m_graphArea = scrollAreaFor(m_graph, this);
    m_panel = new QenPanelView(document, this);
    m_panelArea = scrollAreaFor(m_panel, this);
    m_panel->selectAgent(agent);
    m_graph->selectAgent(agent);

    switch (type) {
    case Picture:
        setObjectName(QStringLiteral("Panel"));
        m_graphArea->hide();
        setCentralWidget(m_panelArea);
        break;
    case Graph:
        setObjectName(QStringLiteral("Graph"));
        m_panelArea->hide();
        setCentralWidget(m_graphArea);
        break;
    case Control: {
        setObjectName(QStringLiteral("Control"));
        m_panelArea->hide();
        m_graphArea->hide();
        m_control = new QenControl(document, this, agent);
        QScrollArea *area = scrollAreaFor(m_control, this);
        area->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setCentralWidget(area);
        break;
    }
    }
    updateGeometry();
    emit viewsChanged();

    if (document) {
        document->addView(this);
        m_registered = true;
    }
}

QSize QenChildWindow::viewsSizeHint() const
{
    auto whole = [](const QScrollArea *area) {
        const int frame = 2 * area->frameWidth();
        return area->widget()->sizeHint() + QSize(frame, frame);
    };
    QSize size = whole(m_panelArea).expandedTo(whole(m_graphArea));
    if (auto *area = qobject_cast<const QScrollArea *>(centralWidget()))
        size = size.expandedTo(whole(area));
    return size;
}

QenChildWindow::~QenChildWindow()
{
    liveChildren().remove(m_serial);
    unregister();
}

QenDoc *QenChildWindow::document() const
{
    return m_doc;
}

QenTabWidget *QenChildWindow::tabWidget() const
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *tabs = qobject_cast<QenTabWidget *>(w))
            return tabs;
    }
    return nullptr;
}

QString QenChildWindow::fallbackColorName()
{
    return QColor::colorNames().value(2);
}

QString QenChildWindow::colorName() const
{
    int agent = -1;
    if (m_panel)
        m_panel->currentAgent(&agent);
    if (m_doc && agent >= 0 && agent < m_doc->agentColors().size()) {
        const QString name = m_doc->agentColors().at(agent);
        if (!name.isEmpty())
            return name;
    }
    return fallbackColorName();
}

QByteArray QenChildWindow::identity() const
{
    return QByteArray::number(m_serial);
}

QenChildWindow *QenChildWindow::fromIdentity(const QByteArray &identity)
{
    bool ok = false;
    const quint64 serial = identity.trimmed().toULongLong(&ok);
    if (!ok)
        return nullptr;
    return liveChildren().value(serial, nullptr);
}

int QenChildWindow::agentIndex() const
{
    int agent = -1;
    if (m_panel)
        m_panel->currentAgent(&agent);
    return agent;
}

void QenChildWindow::setAgentIndex(int agent)
{
    m_panel->selectAgent(agent);
    m_graph->selectAgent(agent);
}

void QenChildWindow::setTitle(const QString &t, const QString &frameNum, const QString &priority,
                              const QString &agent)
{
    static const char *const words[] = {QT_TR_NOOP("Picture"), QT_TR_NOOP("Graph"),
                                        QT_TR_NOOP("Control")};
    QString title = t + QLatin1Char(':') + tr(words[m_type]) + frameNum;
    if (m_type != Control && !priority.isEmpty())
        title += QStringLiteral(":(") + priority + QLatin1Char(':') + agent + QLatin1Char(')');
    m_title = title;
    setWindowTitle(title + QStringLiteral("[*]"));
    emit titleUpdated(title);
}

QObject *QenChildWindow::pictureView() const
{
    return m_panel;
}

QObject *QenChildWindow::graphView() const
{
    return m_graph;
}

void QenChildWindow::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    if (m_type == Control && m_doc && !m_closingDocument && !closeDocument()) {
        event->ignore();
        return;
    }
    finishClose();
    event->accept();
}

// The Control child goes only with its document: the document may ask to
// save, and the user may refuse; otherwise every other window of the document
// closes first.
bool QenChildWindow::closeDocument()
{
    if (!m_doc->maybeSave())
        return false;
    m_closingDocument = true;
    const QList<QenChildWindowInterface *> views = m_doc->views();
    for (QenChildWindowInterface *view : views) {
        if (view != this && m_doc && m_doc->views().contains(view))
            view->closeView();
    }
    return true;
}

void QenChildWindow::finishClose()
{
    m_closed = true;
    emit beforeClose();
    unregister();
}

void QenChildWindow::unregister()
{
    if (!m_registered)
        return;
    m_registered = false;
    if (m_doc)
        m_doc->viewClosed(this);
}
