#include "runsimulation.h"

#include "document/qendoc.h"
#include "engine/qencatalogue.h"
#include "engine/qenengine.h"
#include "runoptions.h"
#include "runqen.h"

#include <algorithm>
#include <cmath>

namespace QenRun {

namespace {

int agentIndex(const QenCatalogue &catalogue, const QString &name)
{
    const int exact = catalogue.findByName(name);
    if (exact >= 0)
        return exact;
    for (int i = 0; i < catalogue.size(); ++i)
        if (catalogue.at(i)->name.compare(name, Qt::CaseInsensitive) == 0 ||
            catalogue.at(i)->displayName.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// Parses "MIN:OP" against the agents of the scenario.
bool parseOperation(const QString &spec, const Scenario &s, const QenCatalogue &catalogue,
                    Operation *op, Problem *problem)
{
    const int colon = spec.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        *problem = {BadInput, QStringLiteral("--at %1: expected MIN:OP").arg(spec)};
        return false;
    }
    const std::optional<double> minutes = number(spec.left(colon));
    if (!minutes || *minutes < 0.0 || *minutes > 100000.0) {
        *problem = {
            BadInput,
            QStringLiteral("--at %1: '%2' is not a time in minutes").arg(spec, spec.left(colon))};
        return false;
    }
    op->atMs = quint32(std::ceil(*minutes * 60000.0));
    op->text = spec;
    const QString body = spec.mid(colon + 1).trimmed();
    const int equals = body.indexOf(QLatin1Char('='));
    QString key = equals < 0 ? body : body.left(equals);
    const QString value = equals < 0 ? QString() : body.mid(equals + 1).trimmed();
    const QString what = QStringLiteral("--at %1").arg(spec);

    // An agent number after a dot, counted from 1.
    const int dot = key.indexOf(QLatin1Char('.'));
    op->track = 0;
    if (dot >= 0) {
        bool ok = false;
        const int n = key.mid(dot + 1).toInt(&ok);
        if (!ok || n < 1 || n > int(s.agents.size())) {
            *problem = {BadInput, QStringLiteral("%1: no agent %2 (there are %3)")
                                      .arg(what, key.mid(dot + 1))
                                      .arg(s.agents.size())};
            return false;
        }
        op->track = n - 1;
        key = key.left(dot);
        if (key != QLatin1String("del") && key != QLatin1String("inject")) {
            *problem = {BadInput, QStringLiteral("%1: unknown operation '%2'").arg(what, body)};
            return false;
        }
    }
    op->name = key;
    const bool needsValue = key != QLatin1String("inject") && key != QLatin1String("flush");
    if (needsValue != (equals >= 0)) {
        *problem = {BadInput, QStringLiteral("%1: unknown operation '%2'").arg(what, body)};
        return false;
    }
    if (key == QLatin1String("fgf") || key == QLatin1String("va") || key == QLatin1String("co"))
        return readValue(what, value, 0.0, 500.0, &op->value, problem);
    if (key == QLatin1String("weight"))
        return readValue(what, value, 0.05, 1500.0, &op->value, problem);
    if (key == QLatin1String("del")) {
        const QenAnesthetic *a = catalogue.at(s.agents[size_t(op->track)].catalogueIndex);
        return readValue(what, value, 0.0, a->max, &op->value, problem);
    }
    if (key == QLatin1String("circuit")) {
        op->circuit = matchCircuit(value);
        if (op->circuit.isEmpty()) {
            *problem = {BadInput, QStringLiteral("%1: unknown circuit '%2'").arg(what, value)};
            return false;
        }
        return true;
    }
    if (key == QLatin1String("uptake") || key == QLatin1String("return") ||
        key == QLatin1String("vapor"))
        return readOnOff(what, value, &op->on, problem);
    if (key == QLatin1String("inject") || key == QLatin1String("flush"))
        return true;
    *problem = {BadInput, QStringLiteral("%1: unknown operation '%2'").arg(what, body)};
    return false;
}

bool apply(QenEngine &engine, const Operation &op, Problem *problem)
{
    // As the desktop does: the replay guard first (never a question here,
    // since the display stands at the live end), then the change as the user's.
    engine.replayGuard(false);
    if (op.name == QLatin1String("fgf"))
        engine.setFGF(QenUserOrigin, op.value);
    else if (op.name == QLatin1String("va"))
        engine.setVA(QenUserOrigin, op.value);
    else if (op.name == QLatin1String("co"))
        engine.setCO(QenUserOrigin, op.value);
    else if (op.name == QLatin1String("del"))
        engine.setDEL(QenUserOrigin, op.track, op.value);
    else if (op.name == QLatin1String("weight"))
        engine.setWeight(QenUserOrigin, op.value);
    else if (op.name == QLatin1String("circuit"))
        engine.setCircuit(QenUserOrigin, op.circuit);
    else if (op.name == QLatin1String("uptake"))
        engine.disableUptake(!op.on);
    else if (op.name == QLatin1String("return"))
        engine.disableReturn(!op.on);
    else if (op.name == QLatin1String("vapor"))
        engine.enableVapor(op.on);
    else if (op.name == QLatin1String("flush"))
        engine.flushCircuit();
    else if (op.name == QLatin1String("inject")) {
        if (!engine.canInject(op.track)) {
            *problem = {BadInput,
                        QStringLiteral("--at %1: %2 cannot be injected now (it needs a unit dose "
                                       "and a semi-closed or closed circuit)")
                            .arg(op.text, engine.track(op.track).displayName)};
            return false;
        }
        engine.injectDose(op.track);
    }
    return true;
}

// Moves the display up to the live time, so that a change counts from there.
void showLive(QenEngine &engine)
{
    for (int i = 0; i < 100000 && engine.displayTime() < engine.simTime(); ++i)
        engine.advance(int(engine.simTime()));
}

// The program computes one step ahead of what it shows, so the state at the
// end of the run is a recorded sample when it exports; here too, for the
} // namespace

double Scenario::endMs() const
{
    return std::min(minutes * 60000.0, 4294967295.0);
}

void recordEnd(QenEngine &engine)
{
    if (engine.simTime() <= engine.endTime() && engine.simTime() < engine.limitMs())
        engine.advanceOneStep();
}

Problem startSimulation(QenDoc &doc, const RunOptions &options, StderrPrompt &prompt)
{
    if (options.openPath.isEmpty()) {
        if (!doc.newDocument())
            return {Failure, QStringLiteral("%1 names no usable agent").arg(options.iniPath)};
        return {};
    }
    if (!options.setupGiven.isEmpty())
        return {BadInput,
                QStringLiteral("--%1 cannot be combined with --open (use --at for changes)")
                    .arg(options.setupGiven.first())};
    return openSimulation(doc, options.openPath, prompt);
}

Problem buildScenario(QenDoc &doc, const RunOptions &options, Scenario *scenario)
{
    Problem problem;
    Scenario &s = *scenario;
    s.continued = !options.openPath.isEmpty();
    const QenCatalogue &catalogue = doc.catalogue();
    QenEngine &engine = *doc.engine();

    if (options.agents.isEmpty() && !s.continued)
        return {BadInput, QStringLiteral("no --agent given")};
    for (const QString &spec : options.agents) {
        const int equals = spec.indexOf(QLatin1Char('='));
        const QString name = (equals < 0 ? spec : spec.left(equals)).trimmed();
        AgentRequest request;
        request.catalogueIndex = agentIndex(catalogue, name);
        if (request.catalogueIndex < 0)
            return {BadInput, QStringLiteral("--agent %1: unknown agent '%2'").arg(spec, name)};
        for (const AgentRequest &other : s.agents)
            if (other.catalogueIndex == request.catalogueIndex)
                return {BadInput, QStringLiteral("--agent %1: agent given twice").arg(spec)};
        if (equals >= 0) {
            float del = 0.0f;
            if (!readValue(QStringLiteral("--agent %1").arg(spec), spec.mid(equals + 1), 0.0,
                           catalogue.at(request.catalogueIndex)->max, &del, &problem))
                return problem;
            request.del = del;
        }
        s.agents.push_back(request);
    }

    if (s.continued) {
        // The agents are the saved simulation's, for the --at changes.
        for (int k = 0; k < engine.trackCount(); ++k)
            s.agents.push_back({engine.track(k).agent, std::nullopt});
    }

    auto optionalValue = [&](const char *option, const std::optional<QString> &given, double low,
                             double high, std::optional<float> *out) {
        if (!given)
            return true;
        float v = 0.0f;
        if (!readValue(QStringLiteral("--%1").arg(QLatin1String(option)), *given, low, high, &v,
                       &problem))
            return false;
        *out = v;
        return true;
    };
    if (!optionalValue("weight", options.weight, 0.05, 1500.0, &s.weight) ||
        !optionalValue("fgf", options.fgf, 0.0, 500.0, &s.fgf) ||
        !optionalValue("va", options.va, 0.0, 500.0, &s.va) ||
        !optionalValue("co", options.co, 0.0, 500.0, &s.co) ||
        !optionalValue("wake-fgf", options.wakeFgf, 0.0, 500.0, &s.wakeFgf))
        return problem;
    if (s.wakeFgf && !options.decrementPath)
        return {BadInput, QStringLiteral("--wake-fgf needs --decrement")};
    if (options.circuit) {
        const QString circuit = matchCircuit(*options.circuit);
        if (circuit.isEmpty())
            return {BadInput,
                    QStringLiteral("--circuit: unknown circuit '%1'").arg(*options.circuit)};
        s.circuit = circuit;
    }
    if (options.minutes) {
        const std::optional<double> m = number(*options.minutes);
        if (!m || *m <= 0.0 || *m > 100000.0)
            return {BadInput, QStringLiteral("--minutes: '%1' is not a positive number of minutes")
                                  .arg(*options.minutes)};
        s.minutes = *m;
    }
    const double wantedMs = s.endMs();
    for (const QString &spec : options.changes) {
        Operation op;
        if (!parseOperation(spec, s, catalogue, &op, &problem))
            return problem;
        if (double(op.atMs) >= std::min(wantedMs, double(engine.limitMs())))
            return {BadInput,
                    QStringLiteral("--at %1: at or after the end of the run (%2 min)")
                        .arg(spec, QString::number(std::min(wantedMs, double(engine.limitMs())) /
                                                   60000.0))};
        s.operations.push_back(op);
    }
    std::stable_sort(s.operations.begin(), s.operations.end(),
                     [](const Operation &a, const Operation &b) { return a.atMs < b.atMs; });
    return {};
}

Problem play(QenDoc &doc, const Scenario &s)
{
    Problem problem;
    const QenCatalogue &catalogue = doc.catalogue();
    QenEngine &engine = *doc.engine();
    if (s.continued) {
        // A saved simulation goes on from the end of its recording.
        showLive(engine);
    } else {
        // The simulation, set up as a user would at time 0.
        doc.setAgent(QenUserOrigin, 0, catalogue.at(s.agents[0].catalogueIndex)->displayName);
        for (size_t k = 1; k < s.agents.size(); ++k)
            doc.addAgent(catalogue.at(s.agents[k].catalogueIndex)->displayName);
    }
    if (s.weight)
        engine.setWeight(QenUserOrigin, *s.weight);
    if (s.circuit)
        engine.setCircuit(QenUserOrigin, *s.circuit);
    if (s.fgf)
        engine.setFGF(QenUserOrigin, *s.fgf);
    if (s.va)
        engine.setVA(QenUserOrigin, *s.va);
    if (s.co)
        engine.setCO(QenUserOrigin, *s.co);
    for (size_t k = 0; !s.continued && k < s.agents.size(); ++k) {
        const QenAnesthetic *a = catalogue.at(s.agents[k].catalogueIndex);
        engine.setDEL(QenUserOrigin, int(k), s.agents[k].del.value_or(a->defaultDel));
    }
    // The run goes as fast as it can; the saved simulation keeps its own speed.
    const int speed = engine.speed();
    engine.setSpeed(QenSystemOrigin, 1000);

    const double wantedMs = s.endMs();
    size_t next = 0;
    for (;;) {
        const quint32 now = engine.simTime();
        // A change due by now is made before the run may end here: one given
        // between the last step and the end counts from the end row.
        if (next < s.operations.size() && s.operations[next].atMs <= now) {
            showLive(engine);
            for (; next < s.operations.size() && s.operations[next].atMs <= now; ++next)
                if (!apply(engine, s.operations[next], &problem))
                    return problem;
        }
        if (double(now) >= wantedMs || now >= engine.limitMs())
            break;
        if (!engine.advanceOneStep())
            return {Failure, engine.stepOutOfRange()
                                 ? QStringLiteral("the values left the range the model can "
                                                  "compute at %1 ms")
                                       .arg(now)
                                 : QStringLiteral("the engine stopped at %1 ms").arg(now)};
    }
    showLive(engine);
    engine.setSpeed(QenSystemOrigin, speed);
    return {};
}

} // namespace QenRun
