#include "app/qenapplication.h"
#include "app/qencommandline.h"
#include "engine/qenprompt.h"

int main(int argc, char *argv[])
{
    if (QenCommandLine::asksQuestion(argc, argv)) {
        const QCoreApplication core(argc, argv);
        return QenCommandLine::parse(QCoreApplication::arguments()).report();
    }
    QenApplication app(argc, argv);
    // The toolkit has taken its own options out; what is left and not a file
    // is refused before any window opens.
    const QenCommandLine commandLine = QenCommandLine::parse(app.arguments());
    if (commandLine.action != QenCommandLine::Run)
        return commandLine.report();
    if (!app.hasIni()) {
        app.prompt()->critical(
            QCoreApplication::translate("QenApplication", "Quenor® "),
            QCoreApplication::translate("QenApplication",
                                        "quenor.ini not found! The application will be closed."),
            QenPrompt::Ok);
        return 0;
    }
    QCoreApplication::addLibraryPath(app.programDir());
    app.installTranslations();
    if (!app.initialize())
        return 0;
    return app.exec();
}
