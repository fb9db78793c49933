#pragma once

#include "app/qendialogs.h"
#include "app/qenwindowarranger.h"
#include "document/qenchildwindowinterface.h"

#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;
class QenActions;
class QenAppDocHost;
class QenAssistant;
class QenChildWindow;
class QenCommands;
class QenDoc;
class QenReports;
class QenStatusMessages;

// The one top-level window of the program. It owns the multiple-document
// area in which every open simulation shows its child windows as tabs, the
// menus and the tool bar, and opens, saves and closes the documents. Where the
// child windows sit is the arranger's business; what each command is, where it
// sits and when it is usable, the command table's (QenActions); what it does
// to the active document, its handler's (QenCommands).
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
    QenStatusMessages *statusMessages() const { return m_status; }
    // File dialogs and setting dialogs are answered by tests.
    void setOpenDialog(OpenDialog dialog) { m_openDialog = std::move(dialog); }
    void setDialogRunner(QenDialogs::Runner runner) { m_dialogRunner = std::move(runner); }
    const QenDialogs::Runner &dialogRunner() const { return m_dialogRunner; }

    QMdiArea *mdiArea() const { return m_mdiArea; }
    QToolBar *toolBar() const { return m_toolBar; }
    // The command whose object name is `name` ("actionRun", ...).
    QAction *action(const QString &name) const;
    QenActions *actions() const { return m_actions; }
    QList<QAction *> recentFileActions() const { return m_recentFileActs; }
    QMenu *newGraphMenu() const { return m_newGraphMenu; }
    QMenu *newPictureMenu() const { return m_newPictureMenu; }
    QMenu *windowMenu() const { return m_windowMenu; }
    // The picture Select All grabbed, until Copy Selection copies it.
    const QPixmap &selection() const;

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

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QMenu *createPopupMenu() override;

private:
    // The menus and the tool bar, from the command table.
    void createMenus();
    void readSettings();
    void writeSettings();

    // A document of this window, not yet initialised.
    QenDoc *addDocument();
    void watchChild(QenChildWindow *child);
    bool closeDocument(QenDoc *doc);

    std::unique_ptr<QenAppDocHost> m_host;
    std::unique_ptr<QenAssistant> m_assistant;
    QMdiArea *m_mdiArea = nullptr;
    QToolBar *m_toolBar = nullptr;
    QString m_lastOpenDirectory;
    QenReports *m_reports = nullptr;
    QenStatusMessages *m_status = nullptr;

    OpenDialog m_openDialog;
    QenDialogs::Runner m_dialogRunner;

    QenActions *m_actions = nullptr;
    QenCommands *m_commands = nullptr;
    QenWindowArranger *m_arranger = nullptr;
    QList<QAction *> m_recentFileActs;

    QMenu *m_newGraphMenu = nullptr;
    QMenu *m_newPictureMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    // The Window menu's own commands, before the list of windows.
    int m_windowCommands = 0;
};
