#pragma once
// One writer per mouse across programs: a device sequence (apply, profile or
// mode switch, light preview or restore, reads) holds this lock from its
// first exchange to its last, so two programs never interleave their reports
// inside the mouse's update brackets or take each other's answers.
//
// A mouse is named by a key, its stable identity (the HID device behind its
// hidraw node, the emulator's state file). Each key is a kernel file lock
// (flock) on "mouse-<hash>.lock" in the user's private runtime folder
// (RuntimeFolder.h); the kernel drops it when the holder ends, even by
// kill -9, so a lock is never stale. The file holds the holder's process id
// and program name, for the message of a program that has to give up, and,
// once the holder has let go, when the mouse's quiet time after its last
// command ends ("quiet-until NS", the system's monotonic clock): a sequence
// that ends with a pause the mouse needs before its next command leaves it to
// the next holder, who waits what is left of it (quietLeftMs) before its
// first command.
//
// Within one process the lock is shared: a second holder of the same key
// (k4812ctl holds its mouse for the whole verb, the sequences inside take it
// again) counts, and the key is freed with its last holder.

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace k4812 {

class DeviceSequenceLock {
public:
    // How long a sequence waits for another program's by default.
    static constexpr int kDefaultWaitMs = 5000;
    // The pause between two tries.
    static constexpr int kRetryMs = 50;
    // The longest quiet time a holder waits, whatever a lock file says.
    static constexpr int kLongestQuietMs = 1000;
    using Clock = std::chrono::steady_clock;

    // The keys of the mice one sequence reaches (any order, repeats allowed).
    // No keys: nothing to lock, acquire() succeeds at once.
    explicit DeviceSequenceLock(QStringList keys);
    ~DeviceSequenceLock();
    DeviceSequenceLock(const DeviceSequenceLock&) = delete;
    DeviceSequenceLock& operator=(const DeviceSequenceLock&) = delete;

    // Takes every key or none. While another process holds one, calls
    // wait(kRetryMs or less) and tries again, until `waitMs` have passed;
    // then fails with errorString() naming the holder. `wait` is where the
    // caller keeps its window alive (or sleeps).
    bool acquire(int waitMs, const std::function<void(int ms)>& wait);
    void release();
    bool isHeld() const { return m_held; }
    QString errorString() const { return m_error; }

    // What is left of the quiet time the last holder of any key left (in
    // this process or another), in whole milliseconds rounded up, at most
    // kLongestQuietMs; 0 when none.
    int quietLeftMs() const;
    // Leaves the mouse's quiet time, ending at `until`, to the next holder
    // of every key held; a later end of an earlier holder's is kept.
    void leaveQuietUntil(Clock::time_point until);

    // The wait bound: K4812_DEVICE_WAIT_MS (milliseconds, 0 to 600000) when
    // set and valid, else kDefaultWaitMs.
    static int waitLimitMs();
    // The lock file of a key, in `folder`.
    static QString lockFileName(const QString& key);

private:
    bool tryAll(const QString& folder, QString& holder);

    QStringList m_keys;
    QStringList m_taken;   // the keys this object holds
    bool m_held = false;
    QString m_error;
};

} // namespace k4812
