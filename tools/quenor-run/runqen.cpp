#include "runqen.h"

#include "document/qendoc.h"

namespace QenRun {

Problem openSimulation(QenDoc &doc, const QString &path, StderrPrompt &prompt)
{
    // A batch run reads the simulation without making it a recent file of
    // the program: the settings file it was given is not written.
    return prompt.attempt([&] { return doc.openFile(path, false); },
                          QStringLiteral("cannot open %1").arg(path));
}

Problem saveSimulation(QenDoc &doc, const QString &path, StderrPrompt &prompt)
{
    return prompt.attempt([&] { return doc.saveFile(path, false); },
                          QStringLiteral("cannot save %1").arg(path));
}

} // namespace QenRun
