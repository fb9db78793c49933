#include "views/qendoublevalidator.h"

#include <QLocale>

QenDoubleValidator::QenDoubleValidator(QObject *parent) : QDoubleValidator(parent)
{
    setBottom(0.0);
    setDecimals(2);
    setNotation(QDoubleValidator::StandardNotation);
    // The program reads and writes its fields with "." whatever the desktop's
    // language.
    setLocale(QLocale::c());
}

QDoubleValidator::State QenDoubleValidator::validate(QString &input, int &pos) const
{
    if (input.isEmpty() || input == QLatin1String("."))
        return Intermediate;
    if (QDoubleValidator::validate(input, pos) != Acceptable)
        return Invalid;
    return m_limit >= 0.0 && locale().toDouble(input) > m_limit ? Intermediate : Acceptable;
}

void QenDoubleValidator::fixup(QString &input) const
{
    bool ok = false;
    const double value = locale().toDouble(input, &ok);
    if (ok && m_limit >= 0.0 && value > m_limit)
        input = locale().toString(m_limit, 'f', 2);
}
