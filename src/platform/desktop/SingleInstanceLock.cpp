#include "platform/desktop/SingleInstanceLock.h"

#include "platform/desktop/RuntimeFolder.h"
#include "platform/desktop/WindowMessage.h"

#include <QLockFile>
#include <QSysInfo>

#include <cerrno>
#include <csignal>

namespace k4812 {

SingleInstanceLock::SingleInstanceLock(QString name)
    : m_name(std::move(name))
{
}

SingleInstanceLock::~SingleInstanceLock() = default;

bool SingleInstanceLock::tryAcquire()
{
    if (isHeld())
        return true;
    m_anotherInstance = false;
    m_error.clear();
    if (!isValidWindowClass(m_name)) {
        m_error = QStringLiteral("\"%1\" is not a valid lock name").arg(m_name);
        return false;
    }
    const QString folder = runtimeFolder(&m_error);
    if (folder.isEmpty())
        return false;
    m_path = folder + QLatin1Char('/') + m_name + QStringLiteral(".lock");
    auto lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: the program may run for days. Only a lock whose
    // process is gone is taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() == QLockFile::LockFailedError) {
            m_anotherInstance = true;
            qint64 pid = 0;
            lock->getLockInfo(&pid, nullptr, nullptr);
            m_error = QStringLiteral("another copy is running (process %1)").arg(pid);
        } else {
            m_error = QStringLiteral("cannot create the lock file %1").arg(m_path);
        }
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

std::optional<qint64> SingleInstanceLock::runningHolder(const QString& name)
{
    if (!isValidWindowClass(name))
        return std::nullopt;
    const QString folder = runtimeFolder();
    if (folder.isEmpty())
        return std::nullopt;
    // The lock file exists while a copy holds it, or after one that crashed.
    const QLockFile lock(folder + QLatin1Char('/') + name + QStringLiteral(".lock"));
    qint64 pid = 0;
    QString host;
    if (!lock.getLockInfo(&pid, &host, nullptr) || pid <= 0)
        return std::nullopt;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return std::nullopt;
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return std::nullopt;
    return pid;
}

bool SingleInstanceLock::isHeld() const
{
    return m_lock != nullptr && m_lock->isLocked();
}

} // namespace k4812
