#include "session/ftp/EventPumpingWait.h"

#include "session/ftp/WaitObserver.h"

#include <QCoreApplication>

namespace vendrel {

void handlePendingEvents(WaitEvents events)
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(events == WaitEvents::All ? QEventLoop::AllEvents
                                                                  : QEventLoop::ExcludeUserInputEvents);
}

bool WaitObserver::handleEvents()
{
    handlePendingEventsExceptInput();
    return false;
}

} // namespace vendrel
