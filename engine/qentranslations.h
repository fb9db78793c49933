#pragma once

#include <QString>

#include <memory>

class QTranslator;

// The program's translation and the toolkit's, loaded from the language folder
// beside the program. The program and the batch runner both load them here, so
// that a report the runner writes speaks the language the program would.
class QenTranslations
{
public:
    QenTranslations();
    ~QenTranslations();
    QenTranslations(const QenTranslations &) = delete;
    QenTranslations &operator=(const QenTranslations &) = delete;

    // The locale a wanted name stands for: itself when it is a locale's own
    // name, otherwise en_US.
    static QString localeName(const QString &wanted);

    // Chooses the locale for `wanted` (see localeName), makes it the default
    // and installs "quenor_<locale>" and "qt_<locale>" from `folder` into the
    // running application, in place of what an earlier call installed. A
    // missing file leaves that part untranslated. Returns the locale's name.
    QString install(const QString &wanted, const QString &folder);

private:
    std::unique_ptr<QTranslator> m_program;
    std::unique_ptr<QTranslator> m_toolkit;
};
