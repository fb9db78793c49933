#include "testfiles.h"

#include "engine/qenengine.h"

#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTranslator>
#include <QTest>

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeDefaultIni(const QString &dir)
{
    Q_INIT_RESOURCE(safecopy);
    const QString path = QDir(dir).filePath(QStringLiteral("quenor.ini"));
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(":/safeCopy/quenor_en_US.ini"), path))
        return QString();
    // Resource copies are read-only; the tests write settings.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

QString writeIniText(const QString &dir, const QString &text)
{
    static int files = 0;
    const QString path = QDir(dir).filePath(QStringLiteral("quenor%1.ini").arg(++files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the test INI");
    file.write(text.toUtf8());
    return path;
}

QString writeScript(const QString &dir, const QString &name, const QString &body)
{
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write("#!/bin/sh\n");
    file.write(body.toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void runEngineTo(QenEngine *engine, quint32 ms, RunTo mode)
{
    const bool pastStops = mode == RunTo::PastStops;
    if (pastStops)
        engine->setState(QenUserOrigin, ARunning);
    int guard = 10000000;
    while (engine->displayTime() < ms && guard-- > 0) {
        if (!pastStops && engine->state() != ARunning)
            return;
        engine->advance(int(ms));
        while (engine->timerActive() && guard-- > 0)
            engine->tick();
        if (pastStops && engine->state() != ARunning)
            engine->setState(QenUserOrigin, ARunning);
    }
    QVERIFY2(guard > 0, "the run never reached the time");
    if (pastStops)
        engine->pause();
}

void installGalleryLanguage()
{
    const QString language = qEnvironmentVariable("QUENOR_GALLERY_LANGUAGE");
    static bool installed = false;
    if (language.isEmpty() || installed)
        return;
    installed = true;
    QLocale::setDefault(QLocale(language));
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/language");
    for (const QString &prefix : {QStringLiteral("quenor_"), QStringLiteral("qt_")}) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(prefix + language, folder))
            QCoreApplication::installTranslator(translator);
        else
            qWarning("no %s%s in %s", qPrintable(prefix), qPrintable(language), qPrintable(folder));
    }
}
