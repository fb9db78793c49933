#include "document/qendoc.h"

#include "document/qendochost.h"
#include "document/qenchildwindowinterface.h"
#include "document/qenmailclient.h"
#include "document/qenpacer.h"
#include "document/qensimfile.h"
#include "document/qenupdateevent.h"
#include "engine/qenprompt.h"
#include "engine/qenvocabulary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {
// Untitled documents are numbered across the whole process; a number is never
// given twice, even after its document closed.
int untitledCounter = 0;
constexpr int recentFileLimit = 5;
} // namespace

// The engine's view of the desktop: notices go to this document's windows,
// everything else to the application's host.
class QenDoc::EngineHost : public QenEngineHost
{
public:
    explicit EngineHost(QenDoc *doc) : m_doc(doc) {}

    void notify(int agentNumber, int hints, QenOrigin origin) override
    {
        // The engine has emitted updateControl() already.
        m_doc->sendToViews(agentNumber, hints, origin);
    }
    QenPrompt *prompt() override { return m_doc->m_host->prompt(); }
    bool ctrlHeld() const override { return m_doc->m_host->ctrlHeld(); }
    bool isActiveDocument() const override { return m_doc->m_host->isActiveDocument(m_doc); }
    void beep() override { m_doc->m_host->beep(); }
    void playSound(const QString &path) override { m_doc->m_host->playSound(path); }
    void refreshActions() override { m_doc->m_host->refreshActions(); }
    void releaseMouseGrab() override { m_doc->m_host->releaseMouseGrab(); }

private:
    QenDoc *m_doc;
};

QenDoc::QenDoc(QenDocHost *host, QObject *parent)
    : QObject(parent), m_host(host), m_engineHost(std::make_unique<EngineHost>(this)),
      m_catalogue(std::make_unique<QenCatalogue>())
{
    m_engine = makeEngine(m_catalogue.get());
    m_graphMinutes = m_host->defaultGraphMinutes();
    m_pacer = new QenPacer(this);
    loadGaugeTops(nullptr);
}

QenDoc::~QenDoc()
{
    m_engine.reset();
}

std::unique_ptr<QenEngine> QenDoc::makeEngine(const QenCatalogue *catalogue)
{
    auto engine = std::make_unique<QenEngine>(catalogue, m_engineHost.get());
    engine->setIni(m_host->ini());
    engine->setDefaults(m_host->defaults());
    connect(engine.get(), &QenEngine::updateControl, this, &QenDoc::updateControl);
    connect(engine.get(), &QenEngine::updatePanel, this, &QenDoc::updatePanel);
    connect(engine.get(), &QenEngine::modified, this, [this](bool m) {
        if (m)
            changed();
    });
    connect(engine.get(), &QenEngine::stateChanged, this, &QenDoc::stateChanged);
    connect(engine.get(), &QenEngine::runStopped, this, &QenDoc::runStopped);
    connect(engine.get(), &QenEngine::agentChanged, this, [this](int agent, const QString &name) {
        emit agentChanged(agent, name);
        updateTitles();
    });
    return engine;
}

void QenDoc::swapIn(std::unique_ptr<QenCatalogue> catalogue, std::unique_ptr<QenEngine> engine)
{
    // The old engine points into the old catalogue: it goes first.
    if (m_pacer)
        m_pacer->stop();
    m_engine = std::move(engine);
    m_catalogue = std::move(catalogue);
}

void QenDoc::changed()
{
    setModified(true);
    emit modified(true);
    emit modified();
}

QString QenDoc::boxTitle() const
{
    return tr("Quenor®");
}

QString QenDoc::title() const
{
    return QFileInfo(m_fileName).completeBaseName();
}

void QenDoc::setModified(bool modified)
{
    m_modified = modified;
    for (QenChildWindowInterface *view : std::as_const(m_views))
        view->setWindowModified(modified);
}

void QenDoc::setDescription(const QString &text)
{
    if (text == m_description)
        return;
    m_description = text;
    changed();
}

// --- file lifecycle

bool QenDoc::newDocument()
{
    m_fileName = tr("Untitled%1.qen").arg(++untitledCounter);
    m_untitled = true;
    std::unique_ptr<QenCatalogue> catalogue;
    if (!loadCatalogue(&catalogue)) {
        m_host->prompt()->critical(boxTitle(),
                                   tr("<p>Can't read anesthetic parameters from QUENOR.INI"));
        return false;
    }
    auto engine = makeEngine(catalogue.get());
    swapIn(std::move(catalogue), std::move(engine));
    resetDocumentState();
    return true;
}

bool QenDoc::loadCatalogue(std::unique_ptr<QenCatalogue> *catalogue) const
{
    *catalogue = std::make_unique<QenCatalogue>();
    return (*catalogue)->load(m_host->ini(), m_host->colorNames(), m_host->prompt()) > 0;
}

// Every setting from the defaults, one primary agent, nothing recorded.
void QenDoc::resetDocumentState()
{
    m_engine->setDefaults(m_host->defaults());
    m_engine->reset(m_host->defaults());
    m_graphMinutes = m_host->defaultGraphMinutes();
    m_documentValue = 1;
    m_panelMarker = 0;
    m_panel = {};
    loadGaugeTops(nullptr);
    m_fileVersion = QenSimFile::versionWritten;
    m_colors.clear();
    for (int i = 0; i < agentCount(); ++i)
        m_colors.append(defaultColor(i));
}

void QenDoc::loadGaugeTops(const QenChildWindowInterface::PanelSettings *stored)
{
    static const char *keys[] = {"HighFGF", "HighVA", "HighCO"};
    for (int i = 0; i < 3; ++i) {
        int top =
            m_host->ini().value(QStringLiteral("Defaults"), QLatin1String(keys[i]), 10).toInt();
        // A saved simulation's own tops count only from files that mark them so.
        if (stored && m_panelMarker >= 10 && stored->flag && stored->gaugeTops[i] > 0)
            top = stored->gaugeTops[i];
        if (top < 1 || top > maxScaleTop(FgfScale + i, 0))
            top = 10;
        m_gaugeTops[i] = top;
    }
}

int QenDoc::scaleTop(int setting, int agent) const
{
    if (setting == DelScale) {
        const QenAnesthetic *a =
            agent >= 0 && agent < agentCount() ? m_engine->agentOf(agent) : nullptr;
        return a && a->high != 0 ? a->high : 10;
    }
    if (setting < FgfScale || setting > CoScale)
        return 10;
    return m_gaugeTops[setting - FgfScale];
}

int QenDoc::maxScaleTop(int setting, int agent) const
{
    if (setting == DelScale) {
        const QenAnesthetic *a =
            agent >= 0 && agent < agentCount() ? m_engine->agentOf(agent) : nullptr;
        return a ? std::max(1, int(a->max)) : 1;
    }
    return 500;
}

bool QenDoc::setScaleTop(int setting, int agent, int top)
{
    if (setting < DelScale || setting > CoScale || top < 1 || top > maxScaleTop(setting, agent))
        return false;
    if (top == scaleTop(setting, agent))
        return true;
    if (setting == DelScale) {
        if (agent < 0 || agent >= agentCount())
            return false;
        QenAnesthetic *a = m_catalogue->value(m_engine->track(agent).agent);
        if (!a)
            return false;
        a->high = quint16(top);
    } else {
        m_gaugeTops[setting - FgfScale] = top;
    }
    changed();
    emit scaleTopChanged(setting, agent);
    return true;
}

void QenDoc::setSpeed(QenOrigin origin, int value)
{
    m_engine->setSpeed(origin, value);
    m_pacer->followSpeed();
}

QString QenDoc::withQenExtension(const QString &answer)
{
    if (answer.split(QLatin1Char('.')).last().toLower() != QLatin1String("qen"))
        return answer + QStringLiteral(".qen");
    return answer;
}

bool QenDoc::save()
{
    if (m_untitled)
        return saveAs();
    return saveFile(m_fileName, true);
}

bool QenDoc::saveAs()
{
    const QString dir = m_host->lastSaveDirectory();
    // Without a remembered folder the bare title lets the dialog pick its own
    // folder rather than the root.
    const QString proposal = dir.isEmpty() ? title() : dir + QDir::separator() + title();
    const QString answer =
        m_host->getSaveFileName(tr("Save As"), proposal, tr("Quenor®Files (*.qen )"));
    if (answer.isEmpty())
        return false;
    const QString path = withQenExtension(answer);
    if (!saveFile(path, true))
        return false;
    m_host->setLastSaveDirectory(QFileInfo(path).absolutePath());
    return true;
}

bool QenDoc::saveFile(const QString &path, bool remember)
{
    // Written aside and put in place only when complete, so a failed write
    // never costs the user the previous file.
    QSaveFile file(path);
    auto refuse = [&](const QString &error) {
        m_host->prompt()->warning(boxTitle(), tr("<p>Cannot write file %1:\n%2.").arg(path, error));
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return refuse(file.errorString());

    m_host->setWaitCursor(true);
    const bool written = writeTo(&file);
    m_host->setWaitCursor(false);
    if (!written) {
        const QString error = file.errorString();
        file.cancelWriting();
        return refuse(error);
    }
    if (!file.commit())
        return refuse(file.errorString());
    m_fileVersion = QenSimFile::versionWritten;
    if (remember)
        afterLoadOrSave(path);
    return true;
}

void QenDoc::mail()
{
    QenMailClient *client = m_host->mailClient();
    auto failed = [this] {
        m_host->prompt()->critical(tr("Quenor® "), tr("Send Mail failed to send message."));
    };
    const QString folder = client && client->isAvailable() ? client->newFolder() : QString();
    if (folder.isEmpty()) {
        failed();
        return;
    }
    // The attachment carries the document's own name, "Untitled1.qen" too.
    const QString path = folder + QLatin1Char('/') + QFileInfo(m_fileName).fileName();
    // Written without remembering: the document keeps its name, recent files
    // and modified mark, as after no save at all.
    if (!saveFile(path, false))
        return;
    const QString name = QFileInfo(path).fileName();
    client->send(path, this, [this, failed, name](QenMailClient::Result result) {
        if (result == QenMailClient::Result::Failed)
            failed();
        else
            emit announced(tr("%1 handed to the mail program").arg(name));
    });
}

bool QenDoc::openFile(const QString &path, bool remember)
{
    if (!readFile(path))
        return false;
    afterLoadOrSave(path, remember);
    return true;
}

bool QenDoc::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_host->prompt()->warning(boxTitle(),
                                  tr("<p>Cannot read file %1:\n%2.").arg(path, file.errorString()));
        return false;
    }
    return readFrom(&file, path);
}

bool QenDoc::openAsUntitled(const QString &path)
{
    if (!readFile(path))
        return false;
    m_fileName = tr("Untitled%1.qen").arg(++untitledCounter);
    m_untitled = true;
    setModified(false);
    updateTitles();
    return true;
}

bool QenDoc::readFrom(QIODevice *device, const QString &path)
{
    m_host->setWaitCursor(true);
    // Read into a fresh record first: a refused file changes nothing here.
    auto contents = std::make_unique<QenSimFile>();
    const QenSimFile::Result result = contents->read(device, &m_host->ini(), m_host->colorNames());
    m_host->setWaitCursor(false);
    if (result != QenSimFile::Result::Ok) {
        m_host->prompt()->warning(
            boxTitle(),
            tr("<p>File %1 is either corrupt or from an unknown version of Quenor®\n.").arg(path));
        return false;
    }
    takeFile(*contents);
    return true;
}

bool QenDoc::writeTo(QIODevice *device) const
{
    QenSimFile contents;
    fillFile(&contents);
    return contents.write(device);
}

void QenDoc::afterLoadOrSave(const QString &path, bool remember)
{
    m_fileName = QFileInfo(path).canonicalFilePath();
    m_untitled = false;
    setModified(false);
    if (remember && !path.isEmpty())
        rememberRecentFile(m_fileName);
    updateTitles();
}

void QenDoc::rememberRecentFile(const QString &path)
{
    const QString group = QStringLiteral("Settings");
    const QString key = QStringLiteral("RecentFileList");
    QStringList files = m_host->ini().value(group, key, QStringList()).toStringList();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > recentFileLimit)
        files.removeLast();
    m_host->ini().setValue(group, key, files);
    m_host->recentFilesChanged();
}

bool QenDoc::maybeSave()
{
    if (!m_modified)
        return true;
    const int answer = m_host->prompt()->choose(
        QenPrompt::Warning, boxTitle(), tr("<p>Save changes to %1?").arg(title().toHtmlEscaped()),
        {{QenPrompt::Save, tr("&Save")},
         {QenPrompt::Discard, tr("&Discard")},
         {QenPrompt::Cancel, tr("&Cancel")}},
        QenPrompt::Save);
    if (answer == QenPrompt::Save)
        return save();
    if (answer == QenPrompt::Cancel)
        return false;
    setModified(false);
    return true;
}

// --- windows

void QenDoc::addView(QenChildWindowInterface *view)
{
    if (!view || m_views.contains(view))
        return;
    m_views.append(view);
    view->setWindowModified(m_modified);
    updateTitles();
}

void QenDoc::viewClosed(QenChildWindowInterface *view)
{
    if (!m_views.removeOne(view))
        return;
    const int agent = view->agentIndex();
    if (agent >= 0) {
        bool shown = false;
        for (QenChildWindowInterface *other : std::as_const(m_views))
            shown = shown || other->agentIndex() == agent;
        if (!shown)
            emit noViewsOfAgent(agent);
    }
    if (m_views.isEmpty())
        deleteLater();
    else
        updateTitles();
}

void QenDoc::updateTitles()
{
    const QString docTitle = title();
    const bool severalAgents = agentCount() > 1;
    int pictures = 0;
    int graphs = 0;
    for (QenChildWindowInterface *view : std::as_const(m_views)) {
        QString frameNum;
        if (view->viewType() == QenChildWindowInterface::Picture)
            frameNum = QString::number(++pictures);
        else if (view->viewType() == QenChildWindowInterface::Graph)
            frameNum = QString::number(++graphs);
        QString priority;
        QString label;
        const int agent = view->agentIndex();
        if (severalAgents && view->viewType() != QenChildWindowInterface::Control && agent >= 0 &&
            agent < agentCount()) {
            priority = agent == 0 ? tr("Primary") : tr("Add'l");
            label = agentName(agent);
        }
        view->setTitle(docTitle, frameNum, priority, label);
    }
    emit titleChanged(docTitle);
}

// --- colours

void QenDoc::setAgentColor(int agent, const QString &color)
{
    if (agent < 0 || agent >= m_colors.size() || m_colors[agent] == color)
        return;
    m_colors[agent] = color;
    changed();
    emit agentColorsChanged();
}

void QenDoc::swapAgentColors(int a, int b)
{
    if (a < 0 || b < 0 || a >= m_colors.size() || b >= m_colors.size() || a == b)
        return;
    m_colors.swapItemsAt(a, b);
    changed();
    emit agentColorsChanged();
}

void QenDoc::defaultAgentColors()
{
    // One at a time, so the chooser sees the colours already given.
    for (int i = 0; i < m_colors.size(); ++i)
        m_colors[i].clear();
    for (int i = 0; i < m_colors.size(); ++i)
        m_colors[i] = defaultColor(i);
    changed();
    emit agentColorsChanged();
}

QString QenDoc::defaultColor(int agent) const
{
    const QenAnesthetic *entry =
        agent >= 0 && agent < agentCount() ? m_engine->agentOf(agent) : nullptr;
    if (entry && !entry->color.isEmpty())
        return entry->color;
    return m_host->pickColor(this);
}

void QenDoc::notifyViews(int agentNumber, int hints, QenOrigin origin)
{
    emit updateControl();
    sendToViews(agentNumber, hints, origin);
}

void QenDoc::sendToViews(int agentNumber, int hints, QenOrigin origin)
{
    // A view's own change is not reported back to it; its window's other view
    // still hears of it.
    const QList<QenChildWindowInterface *> views = m_views;
    for (QenChildWindowInterface *view : views) {
        for (QObject *target : {view->pictureView(), view->graphView()}) {
            if (!target || (origin != QenSystemOrigin && origin == originOf(target)))
                continue;
            QenUpdateEvent event(this, agentNumber, hints);
            QCoreApplication::sendEvent(target, &event);
        }
    }
}

// --- agents

QString QenDoc::agentName(int agent) const
{
    if (agent < 0 || agent >= agentCount())
        return QString();
    return m_engine->track(agent).displayName;
}

bool QenDoc::setAgent(QenOrigin origin, int track, const QString &name)
{
    const QenAnesthetic *before =
        track >= 0 && track < agentCount() ? m_engine->agentOf(track) : nullptr;
    const QString oldDefault = before ? before->color : QString();
    if (!m_engine->setAgent(origin, track, name))
        return false;
    // A row still in its old agent's colour takes the new agent's, so that the
    // colour keeps naming the agent; a colour the user picked stays.
    if (track < m_colors.size() && !oldDefault.isEmpty() &&
        m_colors[track].compare(oldDefault, Qt::CaseInsensitive) == 0) {
        const QString color = defaultColor(track);
        if (!color.isEmpty() && color != m_colors[track]) {
            m_colors[track] = color;
            changed();
            emit agentColorsChanged();
        }
    }
    updateTitles();
    return true;
}

int QenDoc::addAgent(const QString &name)
{
    const int agent = m_engine->addAgent(name);
    if (agent < 0)
        return agent;
    while (m_colors.size() < agentCount())
        m_colors.append(QString());
    m_colors[agent] = defaultColor(agent);
    changed();
    emit agentColorsChanged();
    updateTitles();
    return agent;
}

QList<QenChildWindowInterface *> QenDoc::removeAgent(int agent)
{
    QList<QenChildWindowInterface *> showing;
    if (!m_engine->removeAgent(agent))
        return showing;
    if (agent < m_colors.size())
        m_colors.removeAt(agent);
    for (QenChildWindowInterface *view : std::as_const(m_views)) {
        if (view->viewType() == QenChildWindowInterface::Control)
            continue;
        if (view->agentIndex() > agent)
            view->setAgentIndex(view->agentIndex() - 1);
        else if (view->agentIndex() == agent)
            showing.append(view);
    }
    changed();
    emit agentColorsChanged();
    updateTitles();
    return showing;
}

bool QenDoc::swapAgents(int a, int b)
{
    const int n = agentCount();
    if (a < 0 || b < 0 || a >= n || b >= n || a == b)
        return false;
    std::vector<Qen> &tracks = m_engine->tracks();
    std::swap(tracks[size_t(a)], tracks[size_t(b)]);
    // The first track indexes the recording's steps.
    m_engine->rebuildStepIndex();
    m_engine->invalidateCaches();
    const int current = m_engine->currentTrack();
    if (current == a || current == b)
        m_engine->setCurrentTrack(current == a ? b : a);
    while (m_colors.size() < n)
        m_colors.append(QString());
    m_colors.swapItemsAt(a, b);
    for (QenChildWindowInterface *view : std::as_const(m_views)) {
        if (view->viewType() == QenChildWindowInterface::Control)
            continue;
        if (view->agentIndex() == a)
            view->setAgentIndex(b);
        else if (view->agentIndex() == b)
            view->setAgentIndex(a);
    }
    changed();
    emit agentColorsChanged();
    notifyViews(0, QenHint::All);
    updateTitles();
    return true;
}

bool QenDoc::editCost()
{
    return editCost([this](float *cost, int *size) { return m_host->editCost(cost, size); });
}

bool QenDoc::editCost(const std::function<bool(float *, int *)> &edit)
{
    m_engine->pause();
    const int track = m_engine->currentTrack();
    if (track < 0 || track >= agentCount())
        return false;
    QenAnesthetic *entry = m_catalogue->value(m_engine->track(track).agent);
    if (!entry)
        return false;
    float cost = entry->bottleCost;
    int size = entry->bottleSize;
    if (!edit(&cost, &size))
        return false;
    if (cost == entry->bottleCost && size == entry->bottleSize)
        return false;
    entry->bottleCost = cost;
    entry->bottleSize = size;
    changed();
    notifyViews(track + 1, QenHint::Values);
    return true;
}

void QenDoc::setBookmarks(const QList<quint32> &bookmarks)
{
    const QList<quint32> before = m_engine->bookmarks();
    m_engine->setBookmarks(bookmarks);
    if (m_engine->bookmarks() != before)
        changed();
}

bool QenDoc::setBreakpoint(const QString &text)
{
    const QString before = m_engine->breakpointText();
    if (!m_engine->setBreakpoint(text))
        return false;
    if (m_engine->breakpointText() != before)
        changed();
    return true;
}

// --- erasing

bool QenDoc::eraseAndRestoreDefaults()
{
    m_engine->pause();
    const int answer = m_host->prompt()->question(
        boxTitle(), tr("<p>Erase simulation %1 and restore settings to defaults?").arg(title()),
        QenPrompt::Ok | QenPrompt::Cancel, QenPrompt::Ok);
    if (answer != QenPrompt::Ok)
        return false;

    // Read the agent table before touching anything: without it the
    // simulation stays as it was, and the program (with every other open
    // document) keeps running.
    std::unique_ptr<QenCatalogue> catalogue;
    if (!loadCatalogue(&catalogue)) {
        m_host->prompt()->critical(boxTitle(),
                                   tr("<p>Can't read anesthetic parameters from QUENOR.INI"));
        return false;
    }

    QList<QenChildWindowInterface *> closing;
    for (QenChildWindowInterface *view : std::as_const(m_views)) {
        if (view->viewType() != QenChildWindowInterface::Control && view->agentIndex() != 0)
            closing.append(view);
    }
    for (QenChildWindowInterface *view : std::as_const(closing))
        view->closeView();

    // The reset clears the recording, the agents and the bookmarks; the
    // breakpoint, like the description, is the teacher's and stays. So do
    // the stops the remaining graph windows have registered.
    const QString breakpoint = m_engine->breakpointText();
    const std::vector<quint32> wakeUps = m_engine->wakeUps();
    auto engine = makeEngine(catalogue.get());
    swapIn(std::move(catalogue), std::move(engine));
    resetDocumentState();
    m_engine->setBreakpoint(breakpoint);
    for (quint32 t : wakeUps)
        m_engine->addWakeUp(t);
    changed();
    emit allCleared();
    emit agentColorsChanged();
    updateTitles();
    notifyViews(0, QenHint::All, QenUserOrigin);
    return true;
}

bool QenDoc::eraseKeepSettings()
{
    return m_engine->eraseKeepSettings(title());
}

// --- file contents

void QenDoc::fillFile(QenSimFile *contents) const
{
    for (int i = 0; i < m_catalogue->size(); ++i)
        contents->catalogue.append(QenSimFile::copyOf(*m_catalogue->at(i)));

    contents->tracks.resize(size_t(agentCount()));
    for (int i = 0; i < agentCount(); ++i) {
        QenSimFile::Track &out = contents->tracks[size_t(i)];
        static_cast<Qen &>(out) = m_engine->track(i);
        if (out.samples.empty())
            out.settings = m_engine->makeSample(i);
    }

    QenSimFile::Settings &block = contents->settings;
    block.stepMs = m_engine->stepMs();
    block.documentValue = m_documentValue;
    // Every existing file holds the selected agent here.
    block.panelMarker = qint16(m_engine->currentTrack());
    QenChildWindowInterface::PanelSettings panel = m_panel;
    if (!m_views.isEmpty()) {
        // The tops the windows show now.
        panel.delTop = qint16(scaleTop(DelScale, m_engine->currentTrack()));
        for (int i = 0; i < 3; ++i)
            panel.gaugeTops[i] = qint16(m_gaugeTops[i]);
        panel.flag = true;
    }
    block.delTop = panel.delTop;
    std::copy(std::begin(panel.gaugeTops), std::end(panel.gaugeTops), block.gaugeTops);
    block.panelFlag = panel.flag ? 1 : 0;
    block.speed = qint16(m_engine->speed());
    block.graphMinutes = qint16(m_graphMinutes);

    contents->description = m_description;
    contents->liveTime = m_engine->liveTime();
    contents->colors = m_colors;
    contents->simTime = m_engine->simTime();
    // A display that moved before anything was recorded (or after the whole
    // recording was erased) leaves nothing to replay: the file says so, as
    // opening it would.
    contents->endTime = m_engine->endTime();
    if (contents->tracks.front().samples.empty())
        contents->simTime = contents->endTime = contents->liveTime = 0;
    contents->bookmarks = m_engine->bookmarks();
    std::copy(m_engine->volumes(), m_engine->volumes() + QenCompartments,
              contents->volumes.begin());
    std::copy(m_engine->flowFractions(), m_engine->flowFractions() + QenCompartments,
              contents->flows);
    contents->stepIndex = m_engine->stepIndex();
    contents->breakpointText = m_engine->breakpointText();
}

void QenDoc::takeFile(QenSimFile &contents)
{
    auto catalogue = std::make_unique<QenCatalogue>(std::move(contents.catalogue));
    auto engine = makeEngine(catalogue.get());
    engine->reset(m_host->defaults());

    const QenSimFile::Settings &block = contents.settings;
    engine->setStepMs(block.stepMs);
    // Each track was set up from its first sample as it was read.
    std::vector<Qen> &tracks = engine->tracks();
    tracks.clear();
    for (QenSimFile::Track &in : contents.tracks)
        tracks.push_back(std::move(static_cast<Qen &>(in)));
    for (int c = 0; c < QenCompartments; ++c) {
        engine->setVolume(c, contents.volumes[c]);
        engine->setFlowFraction(c, contents.flows[c]);
    }
    engine->setBookmarks(contents.bookmarks);
    engine->setBreakpoint(contents.breakpointText); // an illegal text leaves none

    const bool recorded = !tracks.front().samples.empty();
    if (recorded) {
        engine->setStepIndex(contents.stepIndex);
        engine->restoreClocks(contents.simTime, contents.endTime, contents.liveTime);
    } else {
        // Nothing recorded: nothing to replay or to look up.
        engine->restoreClocks(0, 0, 0);
    }
    const bool oldest = block.layout < 0;
    const int speed = oldest ? m_host->defaults().speed : block.speed;
    engine->setSpeed(QenSystemOrigin, QenVocabulary::speedValues().contains(speed)
                                          ? speed
                                          : m_host->defaults().speed);
    engine->invalidateCaches();

    swapIn(std::move(catalogue), std::move(engine));

    m_fileVersion = contents.version;
    m_description = contents.description;
    m_documentValue = oldest ? qint16(1) : block.documentValue;
    m_panelMarker = oldest ? qint16(0) : block.panelMarker;
    m_panel.delTop = oldest ? qint16(0) : block.delTop;
    std::copy(std::begin(block.gaugeTops), std::end(block.gaugeTops), m_panel.gaugeTops);
    m_panel.flag = !oldest && block.panelFlag != 0;
    loadGaugeTops(&m_panel);
    m_graphMinutes = oldest ? m_host->defaultGraphMinutes() : block.graphMinutes;

    // Colours as stored, through the translation; names beyond the agents
    // are dropped, agents beyond the names get a chosen colour.
    m_colors.clear();
    for (int i = 0; i < agentCount(); ++i)
        m_colors.append(i < contents.colors.size() ? m_host->translateColor(contents.colors[i])
                                                   : QString());
    for (int i = contents.colors.size(); i < agentCount(); ++i)
        m_colors[i] = m_host->pickColor(this);

    // Replay from the start: the settings come from the first sample (the
    // settings sample of a file that has none, removed again afterwards).
    if (!recorded)
        m_engine->tracks().front().appendSample(contents.tracks[0].settings, 1);
    m_engine->rewind();
    if (!recorded) {
        Qen &primary = m_engine->tracks().front();
        primary.samples.clear();
        primary.current = -1;
        // Doses and a flush given before the first step wait in the settings
        // samples, not yet consumed by a step; the rewind above has just
        // dropped them.
        std::vector<Qen> &tracks = m_engine->tracks();
        for (size_t i = 0; i < tracks.size() && i < contents.tracks.size(); ++i)
            tracks[i].pendingDoses = contents.tracks[i].settings.doses();
        m_engine->setFlush(contents.tracks[0].settings.hasFlush());
        m_engine->invalidateCaches();
    }
    emit agentColorsChanged();
}
