#include "platform/hid/TracingHidBackend.h"

#include <QFile>

namespace k4812 {

namespace {

void appendLine(const QString& file, const QString& line)
{
    QFile f(file);
    if (f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        f.write(line.toLatin1());
        f.write("\n");
    }
}

class TracingHandle final : public HidDeviceHandle {
public:
    TracingHandle(std::unique_ptr<HidDeviceHandle> inner, const QString& traceFile)
        : m_inner(std::move(inner)), m_traceFile(traceFile)
    {
    }

    int setFeature(const std::uint8_t* report, std::size_t length) override
    {
        const int result = m_inner->setFeature(report, length);
        if (result == 0)
            appendLine(m_traceFile, TracingHidBackend::formatLine("SET", report, length));
        return result;
    }

    int getFeature(std::uint8_t* report, std::size_t length) override
    {
        const int result = m_inner->getFeature(report, length);
        if (result == 0)
            appendLine(m_traceFile, TracingHidBackend::formatLine("GET", report, length));
        return result;
    }

private:
    std::unique_ptr<HidDeviceHandle> m_inner;
    const QString& m_traceFile;
};

} // namespace

TracingHidBackend::TracingHidBackend(std::unique_ptr<HidBackend> inner, QString traceFile)
    : m_inner(std::move(inner)), m_traceFile(std::move(traceFile))
{
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
    return std::make_unique<TracingHandle>(std::move(handle), m_traceFile);
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
