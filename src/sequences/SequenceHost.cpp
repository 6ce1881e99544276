#include "sequences/SequenceHost.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/PointerSettingsFactory.h"

namespace k4812 {

SendResult SequenceHost::sendToMonitor(const WindowMessage& message)
{
    return sendWindowMessage(QLatin1String(kMonitorWindowClass), message);
}

SendResult SequenceHost::postToMonitor(const WindowMessage& message)
{
    return postWindowMessage(QLatin1String(kMonitorWindowClass), message);
}

std::shared_ptr<PointerSettings> SequenceHost::pointerSettings()
{
    return createPointerSettings();
}

} // namespace k4812
