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
    return QDoubleValidator::validate(input, pos) == Acceptable ? Acceptable : Invalid;
}
