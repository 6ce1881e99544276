#include "platform/desktop/DeviceSequenceLock.h"

#include "platform/desktop/RuntimeFolder.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k4812 {

namespace {

// The keys this process holds: the open, flock'ed file, how many holders
// share it, the length of the holder's line written into it (-1: none), and
// when the mouse's quiet time ends (the monotonic clock's nanoseconds).
struct HeldFile {
    int fd = -1;
    int holders = 0;
    qint64 lineSize = -1;
    qint64 quietUntilNs = 0;
};

constexpr char kQuietKey[] = "quiet-until ";

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(DeviceSequenceLock::Clock::now().time_since_epoch())
        .count();
}

// The end of the quiet time the last holder left in the file (its
// "quiet-until NS" line), or 0.
qint64 readQuietUntil(int fd)
{
    char buffer[256] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    if (n <= 0)
        return 0;
    const QByteArray text(buffer, n);
    const qsizetype at = text.indexOf(QByteArray("\n") + kQuietKey);
    if (at < 0)
        return 0;
    const qsizetype begin = at + 1 + qsizetype(sizeof kQuietKey) - 1;
    const qsizetype end = text.indexOf('\n', begin);
    if (end < 0)
        return 0;
    bool ok = false;
    const qint64 value = text.mid(begin, end - begin).toLongLong(&ok);
    return ok && value > 0 ? value : 0;
}

std::mutex& tableMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::map<QString, HeldFile>& heldFiles()
{
    static std::map<QString, HeldFile> files;
    return files;
}

QByteArray programName()
{
    return QByteArray(program_invocation_short_name);
}

// "the mouse is in use by NAME (process PID)" from the file's "PID NAME" line.
QString describeHolder(int fd)
{
    char buffer[256] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    // The first line only: a holder writes its line over a longer one before cutting the rest.
    const QString text =
        n > 0 ? QString::fromLocal8Bit(buffer, n).section(QLatin1Char('\n'), 0, 0).trimmed() : QString();
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    bool ok = false;
    const qint64 pid = text.left(space).toLongLong(&ok);
    if (!ok || space < 0)
        return QStringLiteral("another program");
    return QStringLiteral("%1 (process %2)").arg(text.mid(space + 1)).arg(pid);
}

enum class Take { Taken, Busy, Failed };

Take takeFile(const QString& path, QString& problem)
{
    auto& files = heldFiles();
    if (auto it = files.find(path); it != files.end()) {
        ++it->second.holders;
        return Take::Taken;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        problem = QStringLiteral("cannot open the lock file %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return Take::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK) {
            problem = describeHolder(fd);
            ::close(fd);
            return Take::Busy;
        }
        ::close(fd);
        problem = QStringLiteral("cannot lock %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
        return Take::Failed;
    }
    const qint64 quietUntil = readQuietUntil(fd);
    // Who holds it, for the message of the next one; failing to say so stops
    // nothing (the next program's message then says "another program"). The
    // line is written over the last holder's and the file cut only when it
    // was longer: emptying it first costs a journal commit on some file
    // systems, and the runtime folder is not always in memory.
    const QByteArray line = QByteArray::number(qint64(::getpid())) + ' ' + programName() + '\n';
    struct stat info {};
    off_t keep = -1;
    if (::pwrite(fd, line.constData(), std::size_t(line.size()), 0) != line.size())
        keep = 0; // no name rather than the last holder's
    else if (::fstat(fd, &info) == 0 && info.st_size > line.size())
        keep = line.size();
    if (keep >= 0 && ::ftruncate(fd, keep) != 0) {
        // The rest of a longer line stays; readers take the first line only.
    }
    files[path] = HeldFile{fd, 1, keep == 0 ? -1 : qint64(line.size()), quietUntil};
    return Take::Taken;
}

void dropFile(const QString& path)
{
    auto& files = heldFiles();
    const auto it = files.find(path);
    if (it == files.end() || --it->second.holders > 0)
        return;
    // A quiet time still running goes to the next holder, after the
    // holder's line (which the next holder writes over and cuts).
    const HeldFile& held = it->second;
    if (held.lineSize >= 0 && held.quietUntilNs > nowNs()) {
        const QByteArray quiet = kQuietKey + QByteArray::number(held.quietUntilNs) + '\n';
        if (::pwrite(held.fd, quiet.constData(), std::size_t(quiet.size()), held.lineSize) != quiet.size()) {
            // Not handed on: the next holder's first command may come sooner
            // than the mouse wants, which a failed write cannot mend.
        }
    }
    ::flock(it->second.fd, LOCK_UN);
    ::close(it->second.fd);
    files.erase(it);
}

} // namespace

DeviceSequenceLock::DeviceSequenceLock(QStringList keys) : m_keys(std::move(keys))
{
    // One order for every program, so that two sequences reaching the same
    // two mice never hold one each while waiting for the other.
    m_keys.removeAll(QString());
    m_keys.sort();
    m_keys.removeDuplicates();
}

DeviceSequenceLock::~DeviceSequenceLock()
{
    release();
}

QString DeviceSequenceLock::lockFileName(const QString& key)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("mouse-%1.lock").arg(QString::fromLatin1(hash));
}

int DeviceSequenceLock::waitLimitMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("K4812_DEVICE_WAIT_MS", &ok);
    return ok && ms >= 0 && ms <= 600000 ? ms : kDefaultWaitMs;
}

bool DeviceSequenceLock::tryAll(const QString& folder, QString& holder)
{
    const std::lock_guard<std::mutex> guard(tableMutex());
    for (const QString& key : m_keys) {
        const QString path = folder + QLatin1Char('/') + lockFileName(key);
        QString problem;
        const Take take = takeFile(path, problem);
        if (take == Take::Taken) {
            m_taken << path;
            continue;
        }
        for (const QString& taken : std::as_const(m_taken))
            dropFile(taken);
        m_taken.clear();
        holder = problem;
        if (take == Take::Failed)
            m_error = problem;
        return false;
    }
    return true;
}

bool DeviceSequenceLock::acquire(int waitMs, const std::function<void(int ms)>& wait)
{
    if (m_held)
        return true;
    m_error.clear();
    if (m_keys.isEmpty()) {
        m_held = true;
        return true;
    }
    const QString folder = runtimeFolder(&m_error);
    if (folder.isEmpty()) {
        m_error = QStringLiteral("the mouse cannot be locked for this program: %1").arg(m_error);
        return false;
    }
    const QDeadlineTimer deadline(std::max(waitMs, 0));
    for (;;) {
        QString holder;
        if (tryAll(folder, holder)) {
            m_held = true;
            return true;
        }
        if (!m_error.isEmpty())
            return false;
        const qint64 left = deadline.remainingTime();
        if (left <= 0) {
            m_error = QStringLiteral("the mouse is in use by %1; try again when it has finished").arg(holder);
            return false;
        }
        if (wait)
            wait(int(std::min<qint64>(left, kRetryMs)));
    }
}

int DeviceSequenceLock::quietLeftMs() const
{
    const std::lock_guard<std::mutex> guard(tableMutex());
    qint64 until = 0;
    for (const QString& path : m_taken) {
        if (const auto it = heldFiles().find(path); it != heldFiles().end())
            until = std::max(until, it->second.quietUntilNs);
    }
    const qint64 left = until - nowNs();
    if (left <= 0)
        return 0;
    return int(std::min<qint64>((left + 999999) / 1000000, kLongestQuietMs));
}

void DeviceSequenceLock::leaveQuietUntil(Clock::time_point until)
{
    const qint64 ns = std::chrono::duration_cast<std::chrono::nanoseconds>(until.time_since_epoch()).count();
    const std::lock_guard<std::mutex> guard(tableMutex());
    for (const QString& path : std::as_const(m_taken)) {
        if (const auto it = heldFiles().find(path); it != heldFiles().end())
            it->second.quietUntilNs = std::max(it->second.quietUntilNs, ns);
    }
}

void DeviceSequenceLock::release()
{
    if (!m_held)
        return;
    const std::lock_guard<std::mutex> guard(tableMutex());
    for (const QString& path : std::as_const(m_taken))
        dropFile(path);
    m_taken.clear();
    m_held = false;
}

} // namespace k4812
