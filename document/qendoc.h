#pragma once

#include "engine/qencatalogue.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QenDocHost;
class QenDocView;
class QenSimFile;

// One simulation: the unit the user creates, runs, saves and opens. It owns the
// engine that holds the agents, settings, samples and clocks, and the things
// only a document has: its file, its title, the agents' colours, the
// description and the list of windows that show it (not owned). Windows are
// told of every change by a QenUpdateEvent sent to their views.
class QenDoc : public QObject
{
    Q_OBJECT

public:
    explicit QenDoc(QenDocHost *host, QObject *parent = nullptr);
    ~QenDoc() override;

    QenDocHost *host() const { return m_host; }

    // --- file lifecycle
    bool newDocument();
    bool openFile(const QString &path);
    bool save();
    bool saveAs();
    bool saveFile(const QString &path, bool remember);
    bool maybeSave();
    // The answer of the save dialog with ".qen" appended unless it ends so.
    static QString withQenExtension(const QString &answer);
    // The number the next untitled document will carry.
    static int nextUntitledNumber();

    QString fileName() const { return m_fileName; }
    bool isUntitled() const { return m_untitled; }
    // The file name without folder and last extension: Untitled1 for Untitled1.qen.
    QString title() const;
    quint32 fileVersion() const { return m_fileVersion; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    QString description() const { return m_description; }
    void setDescription(const QString &text);

    // --- windows
    void addView(QenDocView *view);
    void viewClosed(QenDocView *view);
    const QList<QenDocView *> &views() const { return m_views; }
    void updateTitles();

    // --- agents and colours
    const QenCatalogue &catalogue() const;
    const QStringList &agentColours() const { return m_colours; }
    QString agentColour(int agent) const { return m_colours.value(agent); }
    void setAgentColour(int agent, const QString &colour);
    void swapAgentColours(int a, int b);
    void defaultAgentColours();
    QString defaultColour(int agent) const;

signals:
    void updateControl();
    void updatePanel();
    void agentChanged(int agent, const QString &name);
    void allCleared();
    void modified(bool modified);
    void modified();
    void stateChanged(int state);
    void titleChanged(const QString &title);
    void noViewsOfAgent(int agent);
    void agentColorsChanged();

    int agentCount() const;
    QString agentDisplayName(int agent) const;
    int agentCatalogueIndex(int agent) const;

private:
    void fillFile(QenSimFile *contents) const;
    void takeFile(std::unique_ptr<QenSimFile> contents);
    void afterLoadOrSave(const QString &path);
    void rememberRecentFile(const QString &path);
    QString message(const char *text) const;
    QString boxTitle() const;

    QenDocHost *m_host;
    QList<QenDocView *> m_views;
    QString m_fileName;
    bool m_untitled = true;
    bool m_modified = false;
    quint32 m_fileVersion = 15;
    QString m_description;
    QStringList m_colours;
    QenCatalogue m_catalogue; // until the engine holds it
};
