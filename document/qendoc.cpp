#include "document/qendoc.h"

#include "document/qendochost.h"
#include "document/qendocview.h"
#include "document/qensimfile.h"
#include "engine/qenprompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// Untitled documents are numbered across the whole process; a number is never
// given twice, even after its document closed.
int untitledCounter = 0;
constexpr int recentFileLimit = 5;
} // namespace

QenDoc::QenDoc(QenDocHost *host, QObject *parent) : QObject(parent), m_host(host)
{
    connect(this, qOverload<bool>(&QenDoc::modified), this, [this](bool m) {
        if (m)
            setModified(true);
    });
}

QenDoc::~QenDoc() = default;

QString QenDoc::boxTitle() const
{
    return tr("Quenor®");
}

int QenDoc::nextUntitledNumber()
{
    return untitledCounter + 1;
}

QString QenDoc::title() const
{
    return QFileInfo(m_fileName).completeBaseName();
}

void QenDoc::setModified(bool modified)
{
    m_modified = modified;
    for (QenDocView *view : std::as_const(m_views))
        view->setWindowModified(modified);
}

void QenDoc::setDescription(const QString &text)
{
    if (text == m_description)
        return;
    m_description = text;
    emit modified(true);
    emit modified();
}

// --- file lifecycle

bool QenDoc::newDocument()
{
    m_fileName = tr("Untitled%1.qen").arg(++untitledCounter);
    m_untitled = true;
    return true;
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
    QenSimFile contents;
    fillFile(&contents);
    const bool written = contents.write(&file);
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

bool QenDoc::openFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_host->prompt()->warning(boxTitle(),
                                  tr("<p>Cannot read file %1:\n%2.").arg(path, file.errorString()));
        return false;
    }

    m_host->setWaitCursor(true);
    // Read into a fresh record first: a refused file changes nothing here.
    auto contents = std::make_unique<QenSimFile>();
    const QenSimFile::Result result = contents->read(&file, &m_host->ini(), m_host->colourNames());
    m_host->setWaitCursor(false);
    if (result != QenSimFile::Result::Ok) {
        m_host->prompt()->warning(
            boxTitle(),
            tr("<p>File %1 is either corrupt or from an unknown version of Quenor®\n.").arg(path));
        return false;
    }
    takeFile(std::move(contents));
    afterLoadOrSave(path);
    return true;
}

void QenDoc::afterLoadOrSave(const QString &path)
{
    m_fileName = QFileInfo(path).canonicalFilePath();
    m_untitled = false;
    setModified(false);
    if (!path.isEmpty())
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
    const int answer = m_host->prompt()->warning(
        boxTitle(), tr("<p>The document has been modified. Do you want to save your changes?"),
        QenPrompt::Save | QenPrompt::Discard | QenPrompt::Cancel, QenPrompt::Save);
    if (answer == QenPrompt::Save)
        return save();
    if (answer == QenPrompt::Cancel)
        return false;
    setModified(false);
    return true;
}

// --- windows

void QenDoc::addView(QenDocView *view)
{
    if (!view || m_views.contains(view))
        return;
    m_views.append(view);
    view->setWindowModified(m_modified);
    updateTitles();
}

void QenDoc::viewClosed(QenDocView *view)
{
    if (!m_views.removeOne(view))
        return;
    const int agent = view->agentIndex();
    if (agent >= 0) {
        bool shown = false;
        for (QenDocView *other : std::as_const(m_views))
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
    for (QenDocView *view : std::as_const(m_views)) {
        QString frameNum;
        if (view->viewType() == QenDocView::Picture)
            frameNum = QString::number(++pictures);
        else if (view->viewType() == QenDocView::Graph)
            frameNum = QString::number(++graphs);
        QString priority;
        QString agentName;
        const int agent = view->agentIndex();
        if (severalAgents && view->viewType() != QenDocView::Control && agent >= 0 &&
            agent < agentCount()) {
            priority = agent == 0 ? tr("Primary") : tr("Add'l");
            agentName = agentDisplayName(agent);
        }
        view->setTitle(docTitle, frameNum, priority, agentName);
    }
    emit titleChanged(docTitle);
}

// --- colours

void QenDoc::setAgentColour(int agent, const QString &colour)
{
    if (agent < 0 || agent >= m_colours.size() || m_colours[agent] == colour)
        return;
    m_colours[agent] = colour;
    emit modified(true);
    emit modified();
    emit agentColorsChanged();
}

void QenDoc::swapAgentColours(int a, int b)
{
    if (a < 0 || b < 0 || a >= m_colours.size() || b >= m_colours.size() || a == b)
        return;
    m_colours.swapItemsAt(a, b);
    emit modified(true);
    emit modified();
    emit agentColorsChanged();
}

void QenDoc::defaultAgentColours()
{
    for (int i = 0; i < m_colours.size(); ++i)
        m_colours[i] = defaultColour(i);
    emit modified(true);
    emit modified();
    emit agentColorsChanged();
}

QString QenDoc::defaultColour(int agent) const
{
    const QenAnesthetic *entry = catalogue().value(agentCatalogueIndex(agent));
    if (entry && !entry->color.isEmpty())
        return entry->color;
    return m_host->pickColor(this);
}

// --- engine state (provisional until the engine holds the tracks)

int QenDoc::agentCount() const
{
    return int(m_colours.size());
}

QString QenDoc::agentDisplayName(int agent) const
{
    const QenAnesthetic *entry = m_catalogue.value(agentCatalogueIndex(agent));
    return entry ? entry->displayName : QString();
}

int QenDoc::agentCatalogueIndex(int agent) const
{
    return agent >= 0 && agent < agentCount() ? 0 : -1;
}

const QenCatalogue &QenDoc::catalogue() const
{
    return m_catalogue;
}

void QenDoc::fillFile(QenSimFile *contents) const
{
    contents->description = m_description;
    contents->colours = m_colours;
    contents->tracks.resize(1);
}

void QenDoc::takeFile(std::unique_ptr<QenSimFile> contents)
{
    m_fileVersion = contents->version;
    m_description = contents->description;
}
