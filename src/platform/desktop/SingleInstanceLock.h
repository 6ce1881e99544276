#pragma once
// The single-instance lock, standing in for the named mutex "TK4812CfgMain":
// a lock file "<name>.lock" in the user's private runtime folder
// (RuntimeFolder.h). It is held for the life of this object. A lock file
// left by a process that is no longer running is taken over; a lock held by
// a running process is never, however old.

#include "platform/desktop/MonitorLinkNames.h"

#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace k4812 {

class SingleInstanceLock {
public:
    explicit SingleInstanceLock(QString name = QLatin1String(kConfigWindowClass));
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock without waiting. False when another copy holds it
    // (anotherInstance() is then true) or the lock file cannot be made.
    bool tryAcquire();
    bool isHeld() const;
    // Whether the last tryAcquire() failed because another copy runs.
    bool anotherInstance() const { return m_anotherInstance; }
    QString errorString() const { return m_error; }
    QString lockFilePath() const { return m_path; }

    // The process id of a running program that holds the lock `name` (on
    // this machine), found without taking the lock; nothing when none does.
    static std::optional<qint64> runningHolder(const QString& name = QLatin1String(kConfigWindowClass));

private:
    QString m_name;
    QString m_path;
    QString m_error;
    bool m_anotherInstance = false;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace k4812
