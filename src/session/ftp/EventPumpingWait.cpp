#include "session/ftp/EventPumpingWait.h"

#include <QCoreApplication>

namespace vendrel {

void handlePendingEventsExceptInput()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace vendrel
