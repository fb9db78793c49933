#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QDropEvent;
class QMdiArea;
class QMdiSubWindow;
class QWidget;
class QenChildWindow;
class QenDoc;
class QenTabWidget;

// Where the child windows of the documents sit in the main window's area:
// which tab widget holds them, in which sub-window, how large it is, which
// is active, and where a tab dragged out of its widget lands.
//
// It watches the area (for drops on its free part) and every child window
// given to `watch()` (to fit its sub-window once its views are laid out). The
// main window owns it and calls `detach()` before the area goes.
class QenWindowArranger : public QObject
{
    Q_OBJECT

public:
    // Suspends the updates of a widget for the life of the guard.
    class UpdatesSuspended
    {
    public:
        explicit UpdatesSuspended(QWidget *widget);
        ~UpdatesSuspended();

    private:
        QPointer<QWidget> m_widget;
        bool m_was;
    };

    QenWindowArranger(QMdiArea *area, QObject *parent);
    void detach();

    // Every child window of `doc`, the Control window first.
    static QList<QenChildWindow *> childrenOf(const QenDoc *doc);
    static QenTabWidget *tabWidgetOf(QenChildWindow *child);
    // Every child window of every document, document by document.
    QList<QenChildWindow *> allChildren() const;
    QenTabWidget *activeTabWidget() const;
    // The current tab of the active sub-window when it shows an agent; else null.
    QenChildWindow *activeChild() const;
    // The graph child an overlay would compare against; null when none.
    QenChildWindow *overlayTarget() const;

    void watch(QenChildWindow *child);
    // Hides every child window while the main window is minimised and shows
    // the current tabs again when it is restored.
    void setMinimised(bool minimised);

public slots:
    // Into the active tab widget when that shows the same document, else into
    // a sub-window of its own.
    void tabifyChild(QenChildWindow *child);
    // Into the tab widget that holds `sibling`, a window of the same document
    // already placed; into the active one as above when it has none.
    void tabifyBeside(QenChildWindow *child, QenChildWindow *sibling);
    // Moves `child` out of `source` into `target`; without a target, into a
    // window of its own at `point` of the area.
    void reparentChild(QenChildWindow *child, QenTabWidget *source, QenTabWidget *target = nullptr,
                       QPoint point = QPoint(0, 0));
    // A child window dragged from its tab and dropped onto `target`, or onto
    // the free area when that is null.
    void reparentChildDrop(QDropEvent *event, QenTabWidget *target = nullptr);
    // One sub-window per document, holding all its child windows.
    void groupSubWindows();
    void setActiveWindow(QWidget *widget);
    // Brings `widget` to the front unless it belongs to the active document.
    void setActiveWindowIfNec(QWidget *widget);

signals:
    // Another tab became current.
    void currentTabChanged();
    // A sub-window was minimised, maximised or restored.
    void subWindowStateChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QenTabWidget *makeTabWidget(QenDoc *doc);
    QMdiSubWindow *addTabWidget(QenTabWidget *tabs);
    void fitToViews(QMdiSubWindow *sub, QenChildWindow *child);
    bool filterAreaEvent(QEvent *event);

    QMdiArea *m_area;
    // The first document of the session, while it is the only one, fills the
    // work area and follows its size; later ones cascade.
    bool m_firstPlaced = false;
    QPointer<QMdiSubWindow> m_filling;
};
