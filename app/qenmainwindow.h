#pragma once

#include "app/qendialogs.h"
#include "document/qendocview.h"

#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QDropEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QShortcut;
class QToolBar;
class QenAppDocHost;
class QenChildWindow;
class QenDoc;
class QenGraphView;
class QenPanelView;
class QenReports;
class QenTabWidget;

// The one top-level window of the program. It owns the multiple-document
// area in which every open simulation shows its child windows as tabs, the
// menus, the tool bar and every command, and keeps the commands in step with
// the active child window.
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
    // Shows the description editor filled with `text`; false on Cancel.
    using DescriptionDialog = std::function<bool(QWidget *parent, QString *text)>;

    explicit QenMainWindow(QWidget *parent = nullptr);
    ~QenMainWindow() override;

    QenAppDocHost *host() const { return m_host.get(); }
    // Export, printing and the report's page setup.
    QenReports *reports() const { return m_reports; }
    // File dialogs and setting dialogs are answered by tests.
    void setOpenDialog(OpenDialog dialog) { m_openDialog = std::move(dialog); }
    void setDescriptionDialog(DescriptionDialog dialog) { m_descriptionDialog = std::move(dialog); }
    void setDialogRunner(QenDialogs::Runner runner) { m_dialogRunner = std::move(runner); }

    QMdiArea *mdiArea() const { return m_mdiArea; }
    QToolBar *toolBar() const { return m_toolBar; }
    // The command whose object name is `name` ("actionRun", ...).
    QAction *action(const QString &name) const;
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
    QenDoc *activeDocument() const;
    // Every child window of every document, document by document.
    QList<QenChildWindow *> allChildren() const;
    static QList<QenChildWindow *> childrenOf(const QenDoc *doc);

    QenDoc *createDocument();
    bool openDocument(const QString &path);
    QenChildWindow *createControlWindow(QenDoc *doc);
    void updateRecentFileActions();

    QString lastOpenDirectory() const { return m_lastOpenDirectory; }
    QString lastSaveDirectory() const;

public slots:
    bool newFile();
    void updateAllActions();
    void removeChild(QObject *child);
    void showHelpTopic();
    void newViewOrAdd();
    void groupSubWindows();
    bool editDescription();
    void reparentChildDrop(QDropEvent *event, QenTabWidget *target);
    void reparentChildDrop(QDropEvent *event);
    void reparentChild(QenChildWindow *child, QenTabWidget *source, QenTabWidget *target,
                       QPoint point);
    void reparentChild(QenChildWindow *child, QenTabWidget *source, QenTabWidget *target);
    void reparentChild(QenChildWindow *child, QenTabWidget *source);
    void tabifyChild(QenChildWindow *child);
    void giveFocusToMain();
    void updateActiveQen();
    void openFile();
    void saveFile();
    void saveFileAs();
    void closeFile();
    void sendMail();
    void aboutQuenor();
    void print();
    void printPreview();
    void pageSetup();
    void selectPrintOutput();
    void exportToPdf();
    void exportToXml();
    void exportToHtml();
    QenChildWindow *newView(QenDoc *doc, int nQen, QenDocView::Type viewType);
    QenChildWindow *newView(QenDoc *doc, int nQen);
    QenChildWindow *newView(QenDoc *doc);
    QenChildWindow *newView();
    void showHelp();
    void setShowToolbar(bool show);
    void setDefaultOptions();
    void openRecentFile();
    void removeDoc(QObject *doc);
    void createViewMenu();
    void createWindowMenu();
    void updateWindowMenu();
    void updateFileMenu();
    void updateEditMenu();
    void updateAnesthesiaMenu();
    void updateSpecialMenu();
    void updateViewMenu();
    void updateTitle();
    void setActiveWindow(QWidget *widget);
    void setActiveWindowIfNec(QWidget *widget);
    void runSimulation();
    void runAllSimulation();
    void liquidInject();
    void rewind();
    void fastFwd();
    void zeroTimer();
    void clearAll();
    void copyData();
    void selectAll();
    void copySelection();
    void defaultAgentColors();
    void showCost(bool on);
    void hideNumerics(bool on);
    void disableUptake(bool on);
    void disableReturn(bool on);
    void enableVapor(bool on);
    void enableScrolling(bool on);
    void setBookmark();
    void setBreakPoint();
    void changePatient();
    void unitDose();
    void setCost();
    void adjustDel();
    void changeAgent();
    void overlay();
    void zoomin();
    void zoomout();
    void windowStateChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QMenu *createPopupMenu() override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void readSettings();
    void writeSettings();

    // A document of this window, not yet initialised.
    QenDoc *addDocument();
    QAction *makeAction(const char *name, const QString &text, const char *icon = nullptr);
    QenTabWidget *makeTabWidget(QenDoc *doc);
    QMdiSubWindow *addTabWidget(QenTabWidget *tabs);
    void fitToViews(QMdiSubWindow *sub, QenChildWindow *child);
    QenTabWidget *activeTabWidget() const;
    static QenTabWidget *tabWidgetOf(QenChildWindow *child);
    void watchChild(QenChildWindow *child);
    bool closeDocument(QenDoc *doc);
    // The graph child an overlay would compare against; null when none.
    QenChildWindow *overlayTarget() const;
    QenPanelView *activePanel() const;
    QenGraphView *activeGraph() const;
    bool activeHasAgent(int *agent) const;
    void fillNewViewMenu(QMenu *menu, QenDoc *doc, bool graph);
    QenDoc *runStateSource(bool *anyRunning, bool *anyStartable) const;

    std::unique_ptr<QenAppDocHost> m_host;
    QMdiArea *m_mdiArea = nullptr;
    QToolBar *m_toolBar = nullptr;
    QShortcut *m_breakPointShortcut = nullptr;
    QPixmap m_selection;
    QString m_lastOpenDirectory;
    QenReports *m_reports = nullptr;

    OpenDialog m_openDialog;
    DescriptionDialog m_descriptionDialog;
    QenDialogs::Runner m_dialogRunner;

    QAction *m_newAct = nullptr;
    QAction *m_openAct = nullptr;
    QAction *m_closeAct = nullptr;
    QAction *m_saveAct = nullptr;
    QAction *m_saveAsAct = nullptr;
    QAction *m_runAct = nullptr;
    QAction *m_runAllAct = nullptr;
    QAction *m_printAct = nullptr;
    QAction *m_sendAct = nullptr;
    QAction *m_printPreviewAct = nullptr;
    QAction *m_exportXmlAct = nullptr;
    QAction *m_exportHtmlAct = nullptr;
    QAction *m_exportPdfAct = nullptr;
    QAction *m_pageSetupAct = nullptr;
    QAction *m_printSelectAct = nullptr;
    QAction *m_exitAct = nullptr;
    QAction *m_rewindAct = nullptr;
    QAction *m_fastFwdAct = nullptr;
    QAction *m_zeroTimerAct = nullptr;
    QAction *m_clearAllAct = nullptr;
    QAction *m_selectAllAct = nullptr;
    QAction *m_copySelectionAct = nullptr;
    QAction *m_copyDataAct = nullptr;
    QAction *m_liquidInjectAct = nullptr;
    QAction *m_unitDoseAct = nullptr;
    QAction *m_setCostAct = nullptr;
    QAction *m_adjustDelAct = nullptr;
    QAction *m_changeAgentAct = nullptr;
    QAction *m_defaultColorsAct = nullptr;
    QAction *m_toolbarAct = nullptr;
    QAction *m_tileAct = nullptr;
    QAction *m_groupAct = nullptr;
    QAction *m_cascadeAct = nullptr;
    QAction *m_newGraphViewAct = nullptr;
    QAction *m_newPictureViewAct = nullptr;
    QAction *m_overlayAct = nullptr;
    QAction *m_zoomInAct = nullptr;
    QAction *m_zoomOutAct = nullptr;
    QAction *m_disableUptakeAct = nullptr;
    QAction *m_disableReturnAct = nullptr;
    QAction *m_enableVaporAct = nullptr;
    QAction *m_changePatientAct = nullptr;
    QAction *m_setBookmarkAct = nullptr;
    QAction *m_setBreakPointAct = nullptr;
    QAction *m_enableScrollingAct = nullptr;
    QAction *m_hideNumericsAct = nullptr;
    QAction *m_showCostAct = nullptr;
    QAction *m_helpTopicAct = nullptr;
    QAction *m_aboutAct = nullptr;
    QAction *m_descriptionAct = nullptr;
    QAction *m_optionsAct = nullptr;
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
