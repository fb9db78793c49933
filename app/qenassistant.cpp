#include "app/qenassistant.h"

#include "engine/qenprompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>

namespace {
// The names the viewer goes by: Qt's own, and the one some distributions
// give it on PATH.
const QStringList programNames = {QStringLiteral("assistant"), QStringLiteral("assistant-qt6"),
                                  QStringLiteral("assistant6")};
constexpr int startTimeoutMs = 30000;
constexpr int finishTimeoutMs = 3000;
const char helpNamespace[] = "org.quenor.help";

QString tr(const char *text)
{
    return QCoreApplication::translate("QenAssistant", text);
}
} // namespace

QenAssistant::QenAssistant(QenPrompt *prompt, const QString &programDir)
    : m_prompt(prompt), m_programDir(programDir),
      m_program(qEnvironmentVariable("QUENOR_ASSISTANT"))
{}

QenAssistant::~QenAssistant()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(finishTimeoutMs)) {
            // A viewer that ignores the request must not outlive the program.
            m_process->kill();
            m_process->waitForFinished(finishTimeoutMs);
        }
    }
}

QString QenAssistant::collectionFile() const
{
    // The help in the program's language where there is one, else the English.
    const QString english = m_programDir + QDir::separator() + QStringLiteral("Quenor.qhc");
    const QString locale = QLocale().name();
    if (locale == QLatin1String("en_US"))
        return english;
    const QString translated =
        m_programDir + QDir::separator() + QStringLiteral("Quenor_%1.qhc").arg(locale);
    return QFileInfo::exists(translated) ? translated : english;
}

QString QenAssistant::pageUrl(const QString &page)
{
    return QStringLiteral("qthelp://%1/quenor/%2").arg(QLatin1String(helpNamespace), page);
}

QStringList QenAssistant::searchDirs() const
{
    if (m_searchPathsSet)
        return m_searchPaths;
    QStringList dirs = {m_programDir};
    const QString binaries = QLibraryInfo::path(QLibraryInfo::BinariesPath);
    if (!binaries.isEmpty() && !dirs.contains(binaries))
        dirs.append(binaries);
    return dirs;
}

QString QenAssistant::findProgram() const
{
    if (!m_program.isEmpty()) {
        const QFileInfo info(m_program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    const QStringList dirs = searchDirs();
    // Folder by folder, so that a viewer beside the program wins over any
    // other whatever its name.
    for (const QString &dir : dirs) {
        if (dir.isEmpty())
            continue;
        const QString found = QStandardPaths::findExecutable(programNames.first(), {dir});
        if (!found.isEmpty())
            return found;
    }
    for (const QString &name : programNames) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

QString QenAssistant::searchedPlaces() const
{
    if (!m_program.isEmpty())
        return QDir::toNativeSeparators(m_program);
    QStringList places;
    for (const QString &dir : searchDirs()) {
        if (!dir.isEmpty())
            places.append(QDir::toNativeSeparators(dir + QLatin1Char('/') + programNames.first()));
    }
    places.append(programNames.join(QLatin1Char('/')) + tr(" on PATH"));
    return places.join(QStringLiteral(", "));
}

bool QenAssistant::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

qint64 QenAssistant::processId() const
{
    return m_process ? m_process->processId() : 0;
}

bool QenAssistant::startAssistant()
{
    if (!m_process)
        m_process = std::make_unique<QProcess>();
    if (m_process->state() != QProcess::NotRunning)
        return true;

    const QString program = findProgram();
    if (program.isEmpty()) {
        m_prompt->critical(tr("Simple Text Viewer"),
                           tr("Unable to launch Qt Assistant (%1)").arg(searchedPlaces()));
        return false;
    }
    // Without its collection the viewer would open empty or quit at once,
    // and the help command would seem to do nothing.
    if (!QFileInfo::exists(collectionFile())) {
        m_prompt->critical(
            tr("Quenor® "),
            tr("<p>The help file %1 is missing.").arg(QDir::toNativeSeparators(collectionFile())));
        return false;
    }

    const QStringList arguments = {QStringLiteral("-collectionFile"), collectionFile(),
                                   QStringLiteral("-enableRemoteControl")};
    // Nothing reads what the viewer prints; kept, it would only pile up.
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->start(program, arguments, QIODevice::ReadWrite);
    if (!m_process->waitForStarted(startTimeoutMs)) {
        m_prompt->critical(tr("Simple Text Viewer"),
                           tr("Unable to launch Qt Assistant (%1)")
                               .arg(QDir::toNativeSeparators(program) + QStringLiteral(": ") +
                                    m_process->errorString()));
        return false;
    }
    return true;
}

void QenAssistant::showDocumentation(const QString &page)
{
    if (!startAssistant())
        return;
    QByteArray command("SetSource ");
    command.append(pageUrl(page).toLocal8Bit());
    command.append('\0');
    m_process->write(command);
    // Handed over now: the viewer is a separate program and must not wait
    // for this one's event loop.
    m_process->waitForBytesWritten(finishTimeoutMs);
}
