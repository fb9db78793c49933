#pragma once

#include <QDoubleValidator>

// The setting fields' validator: a non-negative number with at most two
// decimals, at most its limit when it has one. An empty text and a lone "." count as Intermediate
// so that the user can clear a field and start typing a fraction; anything the base validator does
// not fully accept is refused outright.
class QenDoubleValidator : public QDoubleValidator
{
    Q_OBJECT

public:
    explicit QenDoubleValidator(QObject *parent = nullptr);

    // The highest value the setting takes. A number above it may still be
    // typed (Intermediate) and is brought down to it when the field is left
    // or confirmed, so the user sees the value that was used.
    void setLimit(double limit) { m_limit = limit; }
    double limit() const { return m_limit; }

    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    double m_limit = -1.0; // none
};
