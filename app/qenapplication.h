#pragma once

#include "engine/qenini.h"
#include "engine/qentranslations.h"
#include "app/qensplashscreen.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QStringList>

#include <memory>

class QenDoc;
class QenMainWindow;
class QenPrompt;

#define qenApp (static_cast<QenApplication *>(QCoreApplication::instance()))

// The program: finds or restores quenor.ini at construction, holds the settings
// store, the word lists, the prompt every message goes through, and the files to delete
// at exit.
class QenApplication : public QApplication
{
    Q_OBJECT

public:
    // `programDir` is the folder quenor.ini and the translations live in; empty
    // means the program's own folder. `userDir` holds quenor.ini when the
    // program folder cannot be written; empty means the user's configuration
    // folder. Tests give folders of their own.
    QenApplication(int &argc, char **argv, const QString &programDir = QString(),
                   const QString &userDir = QString());
    ~QenApplication() override;

    const QString &programDir() const { return m_programDir; }
    // Empty when quenor.ini was missing and could not be written.
    const QString &iniPath() const { return m_ini.path(); }
    bool hasIni() const;
    const QenIni &ini() const { return m_ini; }

    QVariant value(const QString &group, const QString &key,
                   const QVariant &defaultValue = QVariant()) const;
    // Doubles and floats are written rounded to six decimals.
    void setValue(const QString &group, const QString &key, const QVariant &value) const;

    // The file beside the program, restored from the built-in copy of the
    // system locale when missing; a file the program writes lives in the
    // user's folder when the program folder is read-only. Empty when that is
    // impossible.
    QString findFile(const QString &name, const QString &relativePath) const;

    // Chooses the locale ([Application] Locale, else the system's; en_US when it
    // is not a locale name), makes it the default and installs the program's and
    // Qt's translations from the language folder. Returns the locale's name.
    QString installTranslations();
    const QString &localeName() const { return m_localeName; }

    // Builds the user interface; false when no document can be created.
    bool initialize();

    // Re-reads the defaults new documents start from, after the options wrote
    // them to the INI. The record itself lives in the main window's document
    // host (QenDocHost::defaults()), the one place documents read it from.
    void loadDefaults();

    // Reads the word lists in the current language.
    void loadVocabulary();
    const QStringList &circuits() const { return m_circuits; }
    const QStringList &speeds() const { return m_speeds; }
    const QStringList &graphSpans() const { return m_graphSpans; }
    const QStringList &colorNames() const { return m_colorNames; }
    const QStringList &translatedColorNames() const { return m_translatedColorNames; }

    // Registers a file to delete when the program ends.
    void addTemporaryFile(const QString &path);
    const QStringList &temporaryFiles() const { return m_temporaryFiles; }
    // Deletes the registered files that still exist.
    void deleteTemporaryFiles();

    // Finds or restores the export stylesheet and the large icon beside the
    // program (part of initialize()).
    void findExportFiles();
    QString stylesheetPath() const { return m_stylesheetPath; }
    QString iconPath() const { return m_iconPath; }
    const QStringList &commandLineFiles() const { return m_commandLineFiles; }

    QenPrompt *prompt() const { return m_prompt.get(); }
    void setPrompt(std::unique_ptr<QenPrompt> prompt);

    QenMainWindow *mainWindow() const { return m_mainWindow.get(); }

    // The open documents, in the order they were created; the main window
    // adds each one it creates and removes it when it is destroyed.
    const QList<QenDoc *> &documents() const { return m_documents; }
    void addDocument(QenDoc *doc);
    void removeDocument(QObject *doc);
    QenSplashScreen *splashScreen() const { return m_splash; }

private:
    QString m_programDir;
    QString m_userDir;
    QenIni m_ini;
    QString m_stylesheetPath;
    QString m_iconPath;
    QString m_localeName;
    QStringList m_commandLineFiles;
    QStringList m_temporaryFiles;
    QStringList m_circuits;
    QStringList m_speeds;
    QStringList m_graphSpans;
    QStringList m_colorNames;
    QStringList m_translatedColorNames;
    std::unique_ptr<QenPrompt> m_prompt;
    QenTranslations m_translations;
    QList<QenDoc *> m_documents;
    std::unique_ptr<QenMainWindow> m_mainWindow;
    QPointer<QenSplashScreen> m_splash;
};
