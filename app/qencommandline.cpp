#include "app/qencommandline.h"

#include "app/qenaboutdlg.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstring>

QenCommandLine QenCommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Quenor® simulates the uptake and distribution of inhaled anaesthetics."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(tr("files"), tr("Simulation files (.qen) to open."),
                                 tr("[files...]"));

    QenCommandLine result;
    const QString program = arguments.isEmpty() ? QStringLiteral("quenor") : arguments.first();
    if (!parser.parse(arguments)) {
        result.action = Refuse;
        result.text = QStringLiteral("%1: %2").arg(program, parser.errorText());
        return result;
    }
    if (parser.isSet(help)) {
        result.action = ShowHelp;
        result.text = parser.helpText();
    } else if (parser.isSet(version)) {
        result.action = ShowVersion;
        result.text = QStringLiteral("Quenor %1").arg(QenAboutDlg::versionText());
    } else {
        result.files = parser.positionalArguments();
    }
    return result;
}

bool QenCommandLine::asksQuestion(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            return false;
        for (const char *question : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(arg, question) == 0)
                return true;
        }
    }
    return false;
}

int QenCommandLine::report() const
{
    const bool refused = action == Refuse;
    std::fputs(qPrintable(text + QLatin1Char('\n')), refused ? stderr : stdout);
    return refused ? 2 : 0;
}
