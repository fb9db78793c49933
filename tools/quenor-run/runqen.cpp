#include "runqen.h"

#include "document/qendoc.h"

namespace QenRun {

Problem openSimulation(QenDoc &doc, const QString &path, StderrPrompt &prompt)
{
    return prompt.attempt([&] { return doc.openFile(path); },
                          QStringLiteral("cannot open %1").arg(path));
}

Problem saveSimulation(QenDoc &doc, const QString &path, StderrPrompt &prompt)
{
    return prompt.attempt([&] { return doc.saveFile(path, false); },
                          QStringLiteral("cannot save %1").arg(path));
}

} // namespace QenRun
