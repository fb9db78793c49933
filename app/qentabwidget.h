#pragma once

#include <QColor>
#include <QList>
#include <QPointer>
#include <QTabWidget>

class QDropEvent;
class QMimeData;
class QToolButton;
class QenChildWindow;
class QenTabBar;

// The tabs of one sub-window: child windows of one document. A tab can be
// dragged to another place in the bar, onto another tab widget (the main
// window moves it there, `reparentChildDrop`) or out into a new window. The
// tab widget closes itself, and its sub-window, when its last tab goes.
//
// Ownership: the tab widget owns its child windows; it is deleted when closed.
class QenTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    static const QString mimeType;

    explicit QenTabWidget(QWidget *parent = nullptr);
    ~QenTabWidget() override;

    QenTabBar *qenTabBar() const { return m_bar; }
    QToolButton *closeButton() const { return m_closeButton; }
    QenChildWindow *child(int index) const;
    QList<QenChildWindow *> childWindows() const;
    // The Control child among the tabs, if any.
    QenChildWindow *controlChild() const;

    // The drag data of the child at `index`.
    QMimeData *mimeDataFor(int index) const;
    // The live child a drag names, or null.
    static QenChildWindow *draggedChild(const QMimeData *data);

    QSize sizeHint() const override { return QSize(435, 350); }
    // The text colour of a tab whose child has the colour `agent`.
    QColor textColor(const QColor &agent) const;
    // The size that gives a page `page` pixels beside the bar and the frame.
    QSize sizeForPage(const QSize &page) const;
    // The size in which every tab text shows whole beside the close button.
    QSize sizeForTabs() const;

public slots:
    void updateTabTextColor();
    void handleDrag(int index);
    void tryCloseTab();
    void updateTab(const QString &title);
    void removeTabOnClose();
    void toggleCloseButton();

signals:
    void reparentChildDrop(QDropEvent *event, QenTabWidget *tabWidget);

protected:
    void tabInserted(int index) override;
    // A tab's tip: its whole title, then how tabs are dragged.
    QString tabTip(const QString &title) const;
    void tabRemoved(int index) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The tab widget a drag came from: the event's source when the drag began
    // in this program, else the tab widget that holds the named child.
    QenTabWidget *dragSource(const QDropEvent *event, QenChildWindow *child) const;
    bool overTabBar(const QPoint &pos) const;
    void reorder(QenChildWindow *child, const QPoint &pos);

    QenTabBar *m_bar;
    QToolButton *m_closeButton;
    QList<QPointer<QenChildWindow>> m_connected;
};
