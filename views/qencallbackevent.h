#pragma once

#include "views/qenevents.h"

#include <QEvent>
#include <QPointer>

class QLineEdit;

// A setting change the panel view posts to itself, so that the field's focus
// and editing signals have finished before the document changes. It carries
// the value read when the change was made: pausing the run on the way
// refreshes the fields, which must not lose what the user typed.
class QenCallbackEvent : public QEvent
{
public:
    QenCallbackEvent(QLineEdit *field, double value, bool resume)
        : QEvent(QenCallbackEventType), m_field(field), m_value(value), m_resume(resume)
    {}

    QLineEdit *field() const { return m_field; }
    double value() const { return m_value; }
    // The run was paused for the change and goes on once it is applied.
    bool resume() const { return m_resume; }

private:
    QPointer<QLineEdit> m_field;
    double m_value;
    bool m_resume;
};
