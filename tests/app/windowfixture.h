#pragma once

// A stand-in for the main window: it makes the child windows the control tray
// asks for, puts a document's children into one tab widget, closes the windows
// the tray gives up and records what it is asked to bring to front.

#include "app/qenchildwindow.h"
#include "app/qencontrol.h"
#include "app/qentabwidget.h"
#include "docfixture.h"
#include "document/qendoc.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

#include <memory>

class FakeMainWindow : public QObject
{
public:
    explicit FakeMainWindow(QenDoc *doc)
    {
        area.resize(900, 700);
        tabs = newTabWidget();
        control = new QenChildWindow(doc, 0, QenChildWindowInterface::Control);
        tray = control->control();
        connect(doc, qOverload<bool>(&QenDoc::modified), control,
                [c = control.data()](bool m) { c->setWindowModified(m); });
        connect(tray, &QenControl::addAgentView, this, &FakeMainWindow::newView);
        connect(tray, &QenControl::removeChildWindow, this, [this](QObject *child) {
            removed.append(child);
            if (auto *w = qobject_cast<QWidget *>(child))
                w->close();
        });
        connect(tray, &QenControl::activateChild, this,
                [this](QWidget *child) { activated.append(child); });
        tabs->addTab(control, control->title());
    }

    QenTabWidget *newTabWidget()
    {
        auto *t = new QenTabWidget;
        connect(t, &QenTabWidget::reparentChildDrop, this,
                [this](QDropEvent *, QenTabWidget *target) { drops.append(target); });
        QMdiSubWindow *sub = area.addSubWindow(t);
        sub->show();
        return t;
    }

    // New views go into the first tab widget, as tabifying does for the
    // active document.
    void newView(QenDoc *doc, int agent, QenViewType type)
    {
        auto *child = new QenChildWindow(doc, agent, type);
        made.append(child);
        if (tabs)
            tabs->addTab(child, child->title());
    }

    QMdiArea area;
    QPointer<QenTabWidget> tabs;
    QPointer<QenChildWindow> control;
    QPointer<QenControl> tray;
    QList<QPointer<QenChildWindow>> made;
    QList<QObject *> removed;
    QList<QWidget *> activated;
    QList<QenTabWidget *> drops;
};

// A document with the stand-in main window above.
class WindowFixture : public DocFixture
{
public:
    using DocFixture::DocFixture;
    ~WindowFixture() override
    {
        if (doc)
            doc->setModified(false);
        main.reset();
        flushDeletes();
    }

    // The Control window with its tray in a tab widget; `populate` also makes
    // a picture and a graph view of every agent.
    FakeMainWindow *open(bool populate = true)
    {
        main = std::make_unique<FakeMainWindow>(doc);
        if (populate)
            main->tray->populate();
        return main.get();
    }

    std::unique_ptr<FakeMainWindow> main;
};
