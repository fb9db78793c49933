#include "engine/qentranslations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

QenTranslations::QenTranslations() = default;

QenTranslations::~QenTranslations()
{
    for (const std::unique_ptr<QTranslator> *translator : {&m_program, &m_toolkit}) {
        if (*translator)
            QCoreApplication::removeTranslator(translator->get());
    }
}

QString QenTranslations::localeName(const QString &wanted)
{
    return QLocale(wanted).name() == wanted ? wanted : QStringLiteral("en_US");
}

QString QenTranslations::install(const QString &wanted, const QString &folder)
{
    const QString name = localeName(wanted);
    QLocale::setDefault(QLocale(name));
    auto load = [&](std::unique_ptr<QTranslator> &translator, const QString &prefix) {
        if (translator) {
            QCoreApplication::removeTranslator(translator.get());
            translator.reset();
        }
        auto loaded = std::make_unique<QTranslator>();
        if (loaded->load(prefix + name, folder)) {
            translator = std::move(loaded);
            QCoreApplication::installTranslator(translator.get());
        }
    };
    load(m_program, QStringLiteral("quenor_"));
    load(m_toolkit, QStringLiteral("qt_"));
    return name;
}
