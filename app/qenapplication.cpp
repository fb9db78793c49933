#include "app/qenapplication.h"

#include "app/qencommandline.h"
#include "app/qenappdochost.h"
#include "app/qenmainwindow.h"
#include "app/qenmessageprompt.h"
#include "document/qendoc.h"
#include "document/qenmailclient.h"
#include "app/qensplashscreen.h"
#include "engine/qengwpupdate.h"
#include "engine/qenfiles.h"
#include "engine/qentranslations.h"
#include "engine/qenprompt.h"
#include "engine/qenvocabulary.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QPixmap>

QenApplication::QenApplication(int &argc, char **argv, const QString &programDir,
                               const QString &userDir)
    : QApplication(argc, argv),
      m_programDir(programDir.isEmpty() ? applicationDirPath() : programDir),
      m_userDir(userDir.isEmpty() ? QenFiles::userFolder() : userDir),
      m_prompt(std::make_unique<QenMessagePrompt>())
{
    m_ini.setPath(findFile(QStringLiteral("quenor.ini"), QString()));
    m_commandLineFiles = QenCommandLine::parse(arguments()).files;
    setQuitOnLastWindowClosed(true);
}

QenApplication::~QenApplication()
{
    deleteTemporaryFiles();
    m_mainWindow.reset();
}

bool QenApplication::hasIni() const
{
    return !m_ini.path().isEmpty() && QFile::exists(m_ini.path());
}

QVariant QenApplication::value(const QString &group, const QString &key,
                               const QVariant &defaultValue) const
{
    return m_ini.value(group, key, defaultValue);
}

void QenApplication::setValue(const QString &group, const QString &key, const QVariant &value) const
{
    m_ini.setValue(group, key, value);
}

QString QenApplication::findFile(const QString &name, const QString &relativePath) const
{
    return QenFiles::findFile(name, relativePath, m_programDir, QLocale::system().name(),
                              m_userDir);
}

QString QenApplication::installTranslations()
{
    const QString wanted =
        value(QStringLiteral("Application"), QStringLiteral("Locale"), QLocale::system().name())
            .toString();
    m_localeName = m_translations.install(wanted, m_programDir + QStringLiteral("/language"));
    return m_localeName;
}

bool QenApplication::initialize()
{
    QIcon icon;
    for (const char *file : {":/images/quenor.png", ":/images/quenor_lg.png"}) {
        if (QFile::exists(QLatin1String(file)))
            icon.addFile(QLatin1String(file));
    }
    if (!icon.isNull())
        setWindowIcon(icon);

    findExportFiles();

    // Copies an earlier session handed to the mail client and could not
    // remove (it ended abruptly) go now.
    QenMailClient::removeLeftovers(QDir::tempPath());

    QenDocHost::ensureColorList(m_ini);
    QenGwpUpdate::apply(m_ini, QenIni(QenFiles::builtInCopy(QStringLiteral("quenor.ini"),
                                                            QStringLiteral("en_US"))));
    loadVocabulary();

    m_mainWindow = std::make_unique<QenMainWindow>();

    const QPixmap pixmap(QStringLiteral(":/images/splash.png"));
    const int splashSeconds =
        value(QStringLiteral("Defaults"), QStringLiteral("SplashTime"), 5).toInt();
    // The main window first, so that the splash is shown once, already over it.
    m_mainWindow->show();
    // Without its picture the splash would be an empty frame: start without it.
    if (!pixmap.isNull()) {
        m_splash = new QenSplashScreen(m_mainWindow.get(), pixmap);
        m_splash->showFor(splashSeconds);
    }

    // Settings refused while the defaults were read are said once, here.
    const QString refused = m_mainWindow->host()->defaults().refusalMessage(m_ini.path());
    if (!refused.isEmpty())
        m_prompt->warning(tr("Quenor®"), refused);

    for (const QString &file : std::as_const(m_commandLineFiles))
        m_mainWindow->openDocument(file);
    if (m_documents.isEmpty() && !m_mainWindow->newFile())
        return false;
    m_mainWindow->update();
    return true;
}

void QenApplication::findExportFiles()
{
    const QenFiles::ExportFiles files =
        QenFiles::exportFiles(m_programDir, QLocale::system().name(), m_userDir);
    m_stylesheetPath = files.stylesheetPath;
    m_iconPath = files.iconPath;
}

void QenApplication::addDocument(QenDoc *doc)
{
    if (doc && !m_documents.contains(doc))
        m_documents.append(doc);
}

void QenApplication::removeDocument(QObject *doc)
{
    m_documents.removeIf([doc](const QenDoc *d) { return static_cast<const QObject *>(d) == doc; });
}

void QenApplication::loadDefaults()
{
    if (m_mainWindow)
        m_mainWindow->host()->reloadDefaults();
}

void QenApplication::loadVocabulary()
{
    m_circuits = QenVocabulary::circuits();
    m_speeds = QenVocabulary::speeds();
    m_graphSpans = QenVocabulary::graphSpans();
    m_colorNames = QenVocabulary::colorNames();
    m_translatedColorNames = QenVocabulary::translatedColorNames();
}

void QenApplication::addTemporaryFile(const QString &path)
{
    if (!m_temporaryFiles.contains(path))
        m_temporaryFiles.append(path);
}

void QenApplication::deleteTemporaryFiles()
{
    for (const QString &path : std::as_const(m_temporaryFiles)) {
        if (QFile::exists(path))
            QFile::remove(path);
    }
    m_temporaryFiles.clear();
}

void QenApplication::setPrompt(std::unique_ptr<QenPrompt> prompt)
{
    m_prompt = std::move(prompt);
}
