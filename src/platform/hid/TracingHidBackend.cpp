#include "platform/hid/TracingHidBackend.h"

#include "platform/storage/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k4812 {

struct TracingHidBackend::Sink {
    QString file;
    FailureReport onFailure;
    bool failed = false;

    void append(const QString& line)
    {
        const QString problem = appendTo(line.toLatin1() + '\n');
        if (problem.isEmpty() || failed)
            return;
        failed = true; // once: a full disk would otherwise repeat it for every report
        if (onFailure)
            onFailure(problem);
    }

    QString appendTo(const QByteArray& bytes) const
    {
        int fd = -1;
        QString problem = openTrace(file, fd);
        if (!problem.isEmpty())
            return problem;
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                problem = QStringLiteral("the trace file \"%1\" cannot be written: %2")
                              .arg(file, QString::fromLocal8Bit(std::strerror(n < 0 ? errno : EIO)));
                break;
            }
            done += n;
        }
        ::close(fd);
        return problem;
    }

    static QString openTrace(const QString& path, int& fd)
    {
        constexpr int kFlags = O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        fd = ::open(QFile::encodeName(path).constData(), kFlags, 0666);
        struct stat info {};
        if (fd < 0) {
            const int error = errno;
            // A FIFO without a reader cannot be opened without blocking: say what it is.
            if (::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode))
                return QStringLiteral("the trace file \"%1\" is %2, neither a regular file nor a terminal")
                    .arg(path, fileKindText(info.st_mode));
            return QStringLiteral("the trace file \"%1\" cannot be opened: %2")
                .arg(path, QString::fromLocal8Bit(std::strerror(error)));
        }
        if (::fstat(fd, &info) != 0 || (!S_ISREG(info.st_mode) && !::isatty(fd))) {
            ::close(fd);
            fd = -1;
            return QStringLiteral("the trace file \"%1\" is %2, neither a regular file nor a terminal")
                .arg(path, fileKindText(info.st_mode));
        }
        return {};
    }
};

namespace {

class TracingHandle final : public HidDeviceHandle {
public:
    TracingHandle(std::unique_ptr<HidDeviceHandle> inner, std::shared_ptr<TracingHidBackend::Sink> sink)
        : m_inner(std::move(inner)), m_sink(std::move(sink))
    {
    }

    int setFeature(const std::uint8_t* report, std::size_t length) override
    {
        const int result = m_inner->setFeature(report, length);
        if (result == 0)
            m_sink->append(TracingHidBackend::formatLine("SET", report, length));
        return result;
    }

    int getFeature(std::uint8_t* report, std::size_t length) override
    {
        const int result = m_inner->getFeature(report, length);
        if (result == 0)
            m_sink->append(TracingHidBackend::formatLine("GET", report, length));
        return result;
    }

private:
    std::unique_ptr<HidDeviceHandle> m_inner;
    std::shared_ptr<TracingHidBackend::Sink> m_sink;
};

} // namespace

TracingHidBackend::TracingHidBackend(std::unique_ptr<HidBackend> inner, QString traceFile, FailureReport onFailure)
    : m_inner(std::move(inner)), m_sink(std::make_shared<Sink>(Sink{std::move(traceFile), std::move(onFailure)}))
{
}

QString TracingHidBackend::traceFileProblem(const QString& path)
{
    int fd = -1;
    const QString problem = Sink::openTrace(path, fd);
    if (fd >= 0)
        ::close(fd);
    return problem;
}

std::vector<HidCollection> TracingHidBackend::enumerate()
{
    return m_inner->enumerate();
}

std::unique_ptr<HidDeviceHandle> TracingHidBackend::open(const HidCollection& collection, int& error)
{
    std::unique_ptr<HidDeviceHandle> handle = m_inner->open(collection, error);
    if (!handle)
        return nullptr;
    return std::make_unique<TracingHandle>(std::move(handle), m_sink);
}

QString TracingHidBackend::formatLine(const char* direction, const std::uint8_t* report, std::size_t length)
{
    QString line = QLatin1String(direction);
    line.reserve(qsizetype(4 + 3 * length));
    static const char digits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < length; ++i) {
        line += QLatin1Char(' ');
        line += QLatin1Char(digits[report[i] >> 4]);
        line += QLatin1Char(digits[report[i] & 0xF]);
    }
    return line;
}

} // namespace k4812
