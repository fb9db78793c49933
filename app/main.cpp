#include "app/qenapplication.h"
#include "engine/qenprompt.h"

int main(int argc, char *argv[])
{
    QenApplication app(argc, argv);
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
