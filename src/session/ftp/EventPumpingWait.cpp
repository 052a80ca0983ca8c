#include "session/ftp/EventPumpingWait.h"

#include <QCoreApplication>

namespace vendrel {

void handlePendingEvents(WaitEvents events)
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(events == WaitEvents::All ? QEventLoop::AllEvents
                                                                   : QEventLoop::ExcludeUserInputEvents);
}

} // namespace vendrel
