#include "engine/qengwpupdate.h"

#include "engine/qenini.h"

#include <QString>

#include <cmath>

namespace {

const QString GwpKey = QStringLiteral("GWP100");
// Which table the values come from; the update runs once per new table, so a
// user who later types an earlier value again keeps it.
const QString ApplicationGroup = QStringLiteral("Application");
const QString TableKey = QStringLiteral("GwpTable");

// What earlier built-in copies held: a value, or none (-1) where they left
// the agent's footprint unknown.
struct Earlier
{
    const char *section;
    double gwp100;
};
constexpr Earlier earlierCopies[] = {
    {"Desflurane", 2540.0}, {"Isoflurane", 510.0}, {"Sevoflurane", 130.0},
    {"Halothane", -1.0},    {"Enflurane", -1.0},
};

} // namespace

QStringList QenGwpUpdate::apply(const QenIni &settings, const QenIni &builtIn)
{
    QStringList changed;
    const QString table = builtIn.value(ApplicationGroup, TableKey).toString();
    if (table.isEmpty() || settings.value(ApplicationGroup, TableKey).toString() == table)
        return changed;
    for (const Earlier &earlier : earlierCopies) {
        const QString section = QLatin1String(earlier.section);
        bool known = false;
        const double current = builtIn.value(section, GwpKey).toDouble(&known);
        // An agent the user removed, or one the built-in copy does not rate,
        // is left as it is.
        if (!known || settings.childKeys(section).isEmpty())
            continue;
        const QVariant stored = settings.value(section, GwpKey);
        bool number = false;
        const double value = stored.toDouble(&number);
        // An empty value reads as unknown, as no key does.
        const bool absent = !stored.isValid() || stored.toString().trimmed().isEmpty();
        const bool asEarlier =
            earlier.gwp100 < 0 ? absent : number && std::fabs(value - earlier.gwp100) < 1e-6;
        if (!asEarlier || (number && value == current))
            continue;
        if (settings.setValue(section, GwpKey, current))
            changed << section;
    }
    settings.setValue(ApplicationGroup, TableKey, table);
    return changed;
}
