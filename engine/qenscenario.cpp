#include "engine/qenscenario.h"

#include <QFile>
#include <QRegularExpression>

bool QenScenario::read(const QString &path, QString *error)
{
    m_title.clear();
    m_arguments.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    // A scenario is a page of text; anything larger is not one.
    constexpr qint64 largest = 1 << 20;
    if (file.size() > largest) {
        *error = QStringLiteral("%1 is too large for a scenario").arg(path);
        return false;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    static const QRegularExpression optionLine(QStringLiteral("^([a-z]+)(?:\\s+(.*))?$"));
    QStringList description;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QRegularExpressionMatch match = optionLine.match(line);
        const QString name = match.captured(1);
        const QString value = match.captured(2).trimmed();
        QString problem;
        if (!match.hasMatch())
            problem = QStringLiteral("'%1' is not an option").arg(line);
        else if (name == QLatin1String("scenario"))
            problem = QStringLiteral("a scenario cannot name another");
        else if (value.isEmpty())
            problem = QStringLiteral("%1 without a value").arg(name);
        if (!problem.isEmpty()) {
            *error = QStringLiteral("%1 line %2: %3").arg(path).arg(i + 1).arg(problem);
            m_title.clear();
            m_arguments.clear();
            return false;
        }
        if (name == QLatin1String("title"))
            m_title = value;
        else if (name == QLatin1String("description"))
            description << value;
        else
            m_arguments << QStringLiteral("--") + name << value;
    }
    if (!description.isEmpty())
        m_arguments << QStringLiteral("--description") << description.join(QLatin1Char('\n'));
    return true;
}

QString QenScenario::titleOf(const QString &path)
{
    QenScenario scenario;
    QString error;
    return scenario.read(path, &error) ? scenario.title() : QString();
}
