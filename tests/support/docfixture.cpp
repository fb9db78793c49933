#include "docfixture.h"

#include <QCoreApplication>

DocFixture::DocFixture(const QStringList &agents)
{
    open({}, agents);
}

DocFixture::DocFixture(const QList<QPair<QString, QVariant>> &defaults)
{
    open(defaults, {});
}

void DocFixture::open(const QList<QPair<QString, QVariant>> &defaults, const QStringList &agents)
{
    iniPath = writeDefaultIni(dir.path());
    host = std::make_unique<RecordingDocHost>(iniPath, &prompt);
    for (const auto &d : defaults)
        host->ini().setValue(QStringLiteral("Defaults"), d.first, d.second);
    host->reloadDefaults();
    doc = new QenDoc(host.get());
    ok = doc->newDocument();
    for (const QString &name : agents)
        ok = ok && doc->addAgent(name) >= 0;
    doc->setModified(false);
}

DocFixture::~DocFixture()
{
    // Windows a derived fixture made may be gone without telling the
    // document: it is deleted without turning the event loop again.
    delete doc.data();
}

QString DocFixture::agent(const char *iniName) const
{
    const int i = doc->catalogue().findByName(QLatin1String(iniName));
    return i < 0 ? QString() : doc->catalogue().at(i)->displayName;
}

void DocFixture::flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
