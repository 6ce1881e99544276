#include "platform/desktop/WarnOnce.h"

#include <QSet>
#include <QtGlobal>

#include <mutex>

namespace k4812 {

bool warnOnce(const QString& key, const QString& message)
{
    static std::mutex mutex;
    static QSet<QString> seen;
    {
        std::lock_guard lock(mutex);
        if (seen.contains(key))
            return false;
        seen.insert(key);
    }
    qWarning("%s", qUtf8Printable(message));
    return true;
}

} // namespace k4812
