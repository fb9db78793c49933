#pragma once

#include "app/qendialogs.h"
#include "app/qenwindowarranger.h"
#include "document/qenchildwindowinterface.h"

#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <functional>
#include <initializer_list>
#include <memory>

class QAction;
class QMdiArea;
class QMenu;
class QShortcut;
class QToolBar;
class QenActions;
class QenAppDocHost;
class QenAssistant;
struct QenActiveState;
class QenChildWindow;
class QenDoc;
class QenGraphView;
class QenPanelView;
class QenReports;

// The one top-level window of the program. It owns the multiple-document
// area in which every open simulation shows its child windows as tabs, the
// menus and the tool bar, opens, saves and closes the documents and passes
// each command on to the active one. Where the child windows sit is the
// arranger's business; what each command is and when it is usable, the
// command table's (QenActions).
//
// Ownership: the documents are children of this window (they delete
// themselves when their last window closes); the child windows are owned by
// the tab widgets, which are the widgets of the MDI sub-windows. The window
// also owns the document host through which the documents reach the
// desktop.
class QenMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Asks for the file to open; an empty answer cancels.
    using OpenDialog = std::function<QString(QWidget *parent, const QString &title,
                                             const QString &dir, const QString &filter)>;

    explicit QenMainWindow(QWidget *parent = nullptr);
    ~QenMainWindow() override;

    QenAppDocHost *host() const { return m_host.get(); }
    // Export, printing and the report's page setup.
    QenReports *reports() const { return m_reports; }
    // File dialogs and setting dialogs are answered by tests.
    void setOpenDialog(OpenDialog dialog) { m_openDialog = std::move(dialog); }
    void setDialogRunner(QenDialogs::Runner runner) { m_dialogRunner = std::move(runner); }

    QMdiArea *mdiArea() const { return m_mdiArea; }
    QToolBar *toolBar() const { return m_toolBar; }
    // The command whose object name is `name` ("actionRun", ...).
    QAction *action(const QString &name) const;
    QenActions *actions() const { return m_actions; }
    QList<QAction *> recentFileActions() const { return m_recentFileActs; }
    QMenu *newGraphMenu() const { return m_newGraphMenu; }
    QMenu *newPictureMenu() const { return m_newPictureMenu; }
    QMenu *windowMenu() const { return m_windowMenu; }
    const QPixmap &selection() const { return m_selection; }

    // Open documents, in the order they were created.
    QList<QenDoc *> documents() const;
    // The current tab of the tab widget in the active sub-window, when it is
    // a child window that shows an agent; else null.
    QenChildWindow *activeChild() const;
    QenWindowArranger *arranger() const { return m_arranger; }
    void setActiveWindow(QWidget *widget) { m_arranger->setActiveWindow(widget); }
    QenDoc *activeDocument() const;
    // Every child window of every document, document by document.
    QList<QenChildWindow *> allChildren() const { return m_arranger->allChildren(); }
    static QList<QenChildWindow *> childrenOf(const QenDoc *doc)
    {
        return QenWindowArranger::childrenOf(doc);
    }

    QenDoc *createDocument();
    bool openDocument(const QString &path);
    // An example lesson, opened as a new untitled simulation.
    bool openExample(const QString &path);
    QenChildWindow *createControlWindow(QenDoc *doc);
    void updateRecentFileActions();

    QString lastOpenDirectory() const { return m_lastOpenDirectory; }
    QString lastSaveDirectory() const;

public slots:
    bool newFile();
    // Brings the title and every command in step with the active window.
    void updateAllActions();
    // Brings the commands alone in step with what is active.
    void updateActions();
    void removeChild(QObject *child);
    // Shows one page of the help ("overlay.html"): for the Help buttons of
    // the program's windows and dialogs.
    void showHelpPage(const QString &page);
    bool editDescription();
    void updateActiveQen();
    void openFile();
    void closeFile();
    // Without a document: a view of the active one, at its current agent.
    QenChildWindow *
    newView(QenDoc *doc = nullptr, int nQen = 0,
            QenChildWindowInterface::Type viewType = QenChildWindowInterface::Picture);
    void removeDoc(QObject *doc);
    void createWindowMenu();
    void updateTitle();
    void runAllSimulation();
    void setBookmark();
    void setBreakPoint();
    void changePatient();
    void unitDose();
    void setCost();
    void adjustDel();
    void changeAgent();
    // What every command without a handler of its own answers.
    void showNotImplemented();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QMenu *createPopupMenu() override;

private:
    void createActions();
    void connectCommands();
    // Adds the named commands to a menu or the tool bar; null is a separator.
    void addActions(QWidget *widget, std::initializer_list<const char *> names);
    QenActiveState activeState() const;
    // From a New Graph / New Picture menu: `text` is an agent of the active
    // document, or "(Add) " and an agent to add to it.
    void newViewOrAdd(QString text, bool graph);
    void createMenus();
    void createToolBar();
    void readSettings();
    void writeSettings();

    // A document of this window, not yet initialised.
    QenDoc *addDocument();
    void watchChild(QenChildWindow *child);
    bool closeDocument(QenDoc *doc);
    QenPanelView *activePanel() const;
    QenGraphView *activeGraph() const;
    void fillNewViewMenu(QMenu *menu, QenDoc *doc, bool graph);

    std::unique_ptr<QenAppDocHost> m_host;
    std::unique_ptr<QenAssistant> m_assistant;
    QMdiArea *m_mdiArea = nullptr;
    QToolBar *m_toolBar = nullptr;
    QShortcut *m_breakPointShortcut = nullptr;
    QPixmap m_selection;
    QString m_lastOpenDirectory;
    QenReports *m_reports = nullptr;

    OpenDialog m_openDialog;
    QenDialogs::Runner m_dialogRunner;

    QenActions *m_actions = nullptr;
    QenWindowArranger *m_arranger = nullptr;
    QList<QAction *> m_recentFileActs;

    QMenu *m_fileMenu = nullptr;
    QMenu *m_recentMenu = nullptr;
    QMenu *m_exportMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_anesthesiaMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_newGraphMenu = nullptr;
    QMenu *m_newPictureMenu = nullptr;
    QMenu *m_specialMenu = nullptr;
    QMenu *m_toolsMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
};
