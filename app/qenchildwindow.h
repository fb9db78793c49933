#pragma once

#include "document/qenchildwindowinterface.h"

#include <QByteArray>
#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QString>

class QScrollArea;
class QenControl;
class QenDoc;
class QenGraphView;
class QenPanelView;
class QenTabWidget;

// What a child window shows: 0 Picture, 1 Graph, 2 Control.
using QenViewType = QenChildWindowInterface::Type;

// One view of a simulation document, shown as a tab of a QenTabWidget. Every
// child holds both a picture view and a graph view (each in a scroll area that
// resizes it) and shows the one its type names; the Control child shows the
// control tray instead. Every document has exactly one Control child, which
// closes only together with its document.
//
// Ownership: the child owns its views and the tray; the document is not owned
// (the child registers itself with it and reports its closing). The tab
// widget that holds the child owns it; it deletes itself when closed.
class QenChildWindow : public QMainWindow, public QenChildWindowInterface
{
    Q_OBJECT

public:
    QenChildWindow(QenDoc *document, int agent, QenViewType type, QWidget *parent = nullptr);
    ~QenChildWindow() override;

    QenDoc *document() const;
    QenViewType type() const { return m_type; }
    QenPanelView *panelView() const { return m_panel; }
    QenGraphView *graphViewWidget() const { return m_graph; }
    // The tray of a Control child; null for the others.
    QenControl *control() const { return m_control; }
    // The size at which every view of this child shows whole, without scroll bars.
    QSize viewsSizeHint() const;
    // The title text without the modified mark.
    QString title() const { return m_title; }
    // The tab widget that holds this child, if any.
    QenTabWidget *tabWidget() const;

    // The agent's colour, or the fallback colour when the child shows no
    // agent that has one.
    QString colorName() const;
    QColor color() const { return QColor(colorName()); }
    static QString fallbackColorName();

    // The identity a dragged tab carries, and the live child it names (null
    // for a number that names no child of this program that is still alive).
    QByteArray identity() const;
    static QenChildWindow *fromIdentity(const QByteArray &identity);

    // Kept while the main window is minimised.
    Qt::WindowStates rememberedState() const { return m_rememberedState; }
    void rememberState(Qt::WindowStates state) { m_rememberedState = state; }

    // True once the child has agreed to close.
    bool hasClosed() const { return m_closed; }

    // QenChildWindowInterface
    int viewType() const override { return m_type; }
    int agentIndex() const override;
    void setAgentIndex(int agent) override;
    bool isWindowModified() const override { return QWidget::isWindowModified(); }
    void setWindowModified(bool modified) override { QWidget::setWindowModified(modified); }
    void setTitle(const QString &t, const QString &frameNum, const QString &priority,
                  const QString &agent) override;
    QObject *pictureView() const override;
    QObject *graphView() const override;
    void closeView() override { close(); }

signals:
    void titleUpdated(const QString &title);
    void viewsChanged();
    void beforeClose();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool closeDocument();
    void finishClose();
    void unregister();

    QPointer<QenDoc> m_doc;
    QenViewType m_type;
    QenPanelView *m_panel = nullptr;
    QenGraphView *m_graph = nullptr;
    QenControl *m_control = nullptr;
    QScrollArea *m_panelArea = nullptr;
    QScrollArea *m_graphArea = nullptr;
    Qt::WindowStates m_rememberedState = Qt::WindowNoState;
    QString m_title;
    quint64 m_serial = 0;
    bool m_registered = false;
    bool m_closed = false;
    bool m_closingDocument = false;
};
