#pragma once

#include <QDoubleValidator>

// The setting fields' validator: a non-negative number with at most two
// decimals. An empty text and a lone "." count as Intermediate so that the
// user can clear a field and start typing a fraction; anything the base
// validator does not fully accept is refused outright.
class QenDoubleValidator : public QDoubleValidator
{
    Q_OBJECT

public:
    explicit QenDoubleValidator(QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
};
