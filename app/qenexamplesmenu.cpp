#include "app/qenexamplesmenu.h"

#include "app/qenapplication.h"
#include "engine/qenscenario.h"

#include <QDir>
#include <QFileInfo>

QenExamplesMenu::QenExamplesMenu(QWidget *parent) : QMenu(tr("&Examples"), parent)
{
    menuAction()->setObjectName(QStringLiteral("actionExamples"));
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &QenExamplesMenu::refill);
    refill();
}

QList<QenExamplesMenu::Example> QenExamplesMenu::examples(const QString &programDir,
                                                          const QString &localeName)
{
    QList<Example> found;
    for (const QString &locale : {localeName, QStringLiteral("en_US")}) {
        const QDir folder(programDir + QStringLiteral("/examples/") + locale);
        const QFileInfoList files =
            folder.entryInfoList({QStringLiteral("*.qen")}, QDir::Files, QDir::Name);
        for (const QFileInfo &file : files) {
            const QString scenario =
                folder.filePath(file.completeBaseName() + QStringLiteral(".scenario"));
            QString title = QenScenario::titleOf(scenario);
            if (title.isEmpty())
                title = file.completeBaseName();
            found.append({title, file.filePath()});
        }
        if (!found.isEmpty())
            break;
    }
    return found;
}

void QenExamplesMenu::refill()
{
    clear();
    const QList<Example> list = examples(qenApp->programDir(), qenApp->localeName());
    for (const Example &example : list) {
        QAction *act = addAction(example.title);
        act->setToolTip(QDir::toNativeSeparators(example.path));
        const QString path = example.path;
        connect(act, &QAction::triggered, this, [this, path] { emit exampleChosen(path); });
    }
    if (list.isEmpty())
        addAction(tr("No examples installed"))->setEnabled(false);
}
