#include "rundecrement.h"

#include "engine/qendecrement.h"
#include "runoutput.h"

namespace QenRun {

Problem writeDecrement(QenEngine &engine, const QString &path, std::optional<float> wakeFgf,
                       QByteArray *output)
{
    Problem problem;
    deliver(path, QenDecrement::csv(engine, 600000, wakeFgf), output, &problem);
    return problem;
}

} // namespace QenRun
