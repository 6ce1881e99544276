#include "wire/HidData.h"

#include "platform/storage/IniFile.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace k4812 {

namespace {

bool hasHardwareId(const HidCollection& collection, const QString& id)
{
    return std::any_of(collection.hardwareIds.cbegin(), collection.hardwareIds.cend(),
                       [&](const std::string& hw) {
                           return QString::fromStdString(hw).compare(id, Qt::CaseInsensitive) == 0;
                       });
}

bool hasUsage(const HidCollection& collection, const USAGE_AND_PAGE& wanted)
{
    return collection.usagePage == wanted.UsagePage && collection.usage == wanted.Usage;
}

} // namespace

TuiHIDData::TuiHIDData(std::unique_ptr<HidBackend> backend, QStringList includeList)
    : m_backend(std::move(backend))
    , m_includeList(std::move(includeList))
{
}

QStringList TuiHIDData::readIncludeList(const IniFile& config)
{
    QStringList list;
    for (int i = 1; i <= kMaxIncludeEntries; ++i) {
        const QString value = config.value(QStringLiteral("IncludeHIDDeviceList"), QStringLiteral("id%1").arg(i));
        if (value.isEmpty())
            break;
        list.append(value);
    }
    return list;
}

bool TuiHIDData::passesIncludeList(const HidCollection& collection) const
{
    if (m_includeList.isEmpty())
        return true;
    return std::any_of(m_includeList.cbegin(), m_includeList.cend(),
                       [&](const QString& id) { return hasHardwareId(collection, id); });
}

bool TuiHIDData::IsDeviceExist(const THIDDataParam& param)
{
    const bool byDeviceId = !param.DeviceID.isEmpty() && param.DeviceID != QLatin1String("*");
    for (const HidCollection& c : m_backend->enumerate()) {
        const bool passes = byDeviceId ? hasHardwareId(c, param.DeviceID) : passesIncludeList(c);
        if (!passes || !hasUsage(c, param.UsageAndPage))
            continue;
        // Present means: it can be opened, as the feature operations will need.
        int error = 0;
        if (m_backend->open(c, error))
            return true;
    }
    return false;
}

QStringList TuiHIDData::lockIdentities(const USAGE_AND_PAGE& usage)
{
    QStringList identities;
    for (const HidCollection& c : m_backend->enumerate()) {
        if (!passesIncludeList(c) || !hasUsage(c, usage))
            continue;
        const std::string identity = m_backend->lockIdentity(c);
        if (!identity.empty())
            identities << QString::fromStdString(identity);
    }
    identities.removeDuplicates();
    return identities;
}

int TuiHIDData::HidFindAndSetFeatureReport(THIDDataParam& param)
{
    return findAndExchange(param, Act::Set);
}

int TuiHIDData::HidFindAndGetFeatureReport(THIDDataParam& param)
{
    return findAndExchange(param, Act::Get);
}

void TuiHIDData::leaveQuietFor(int milliseconds)
{
    m_quietUntil = std::max(m_quietUntil, Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0)));
}

int TuiHIDData::quietLeftMs() const
{
    const auto left = m_quietUntil - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    return int(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

int TuiHIDData::findAndExchange(THIDDataParam& param, Act act)
{
    const std::uint32_t size = param.Data.DATASIZE;
    if (size == 0 || size > THidReallyData::kCapacity)
        return kErrorBadLength;
    // Only an exchange sent outside a held sequence can come this soon: a
    // sequence waits the quiet time out through its host when it begins.
    if (const int quiet = quietLeftMs(); quiet > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(quiet));

    int result = kErrorNoDevice;
    bool acted = false;
    std::vector<std::uint8_t> answer;
    for (const HidCollection& c : m_backend->enumerate()) {
        // The collection's capabilities are known without opening it, so an
        // interface that is not the mouse's is never opened at all.
        if (!passesIncludeList(c) || !hasUsage(c, param.UsageAndPage) || c.featureReportByteLength < size)
            continue;
        int openError = 0;
        std::unique_ptr<HidDeviceHandle> handle = m_backend->open(c, openError);
        if (!handle)
            continue;
        if (act == Act::Set) {
            // A later mouse that took the report must not hide one that did not.
            const int error = handle->setFeature(param.Data.Report.data(), size);
            if (!acted || result == 0)
                result = error;
        } else {
            // Fetch into a scratch buffer: Data takes only the answer whose
            // result is returned, and a failure leaves it as it was.
            answer.assign(size, 0);
            answer[0] = param.Data.ReportID();
            result = handle->getFeature(answer.data(), size);
        }
        acted = true;
    }
    if (act == Act::Get && acted && result == 0)
        std::copy(answer.cbegin(), answer.cend(), param.Data.Report.begin());
    return result;
}

} // namespace k4812
