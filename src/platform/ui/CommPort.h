#pragma once

#include <QObject>

namespace platform::ui {

// The serial-port control that stored forms carry: windowless, with the
// OnComm event through which the platform's control reports port activity.
// This platform opens no serial port, so the event is never raised; a form
// keeps the control for its design and its (empty) event handler.
class CommPort : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void OnComm();
};

} // namespace platform::ui
