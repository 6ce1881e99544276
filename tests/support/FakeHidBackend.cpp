#include "FakeHidBackend.h"

#include <algorithm>
#include <cerrno>

namespace k4812::test {

namespace {

class FakeHandle final : public HidDeviceHandle {
public:
    FakeHandle(FakeHidBackend& owner, std::string path) : m_owner(owner), m_path(std::move(path)) {}

    int setFeature(const std::uint8_t* report, std::size_t length) override
    {
        m_owner.events.push_back({FakeHidBackend::Event::Set, m_path, {report, report + length}});
        const auto own = m_owner.setResultOf.find(m_path);
        return own != m_owner.setResultOf.end() ? own->second : m_owner.setResult;
    }

    int getFeature(std::uint8_t* report, std::size_t length) override
    {
        const auto own = m_owner.getResultOf.find(m_path);
        const int result = own != m_owner.getResultOf.end() ? own->second : m_owner.getResult;
        if (result != 0)
            return result;
        if (m_owner.answer)
            m_owner.answer(m_path, report, length);
        m_owner.events.push_back({FakeHidBackend::Event::Get, m_path, {report, report + length}});
        return 0;
    }

private:
    FakeHidBackend& m_owner;
    std::string m_path;
};

} // namespace

std::unique_ptr<HidDeviceHandle> FakeHidBackend::open(const HidCollection& collection, int& error)
{
    events.push_back({Event::Open, collection.path, {}});
    if (std::find(unopenable.begin(), unopenable.end(), collection.path) != unopenable.end()) {
        error = openError;
        return nullptr;
    }
    return std::make_unique<FakeHandle>(*this, collection.path);
}

std::size_t FakeHidBackend::count(Event::Kind kind) const
{
    return std::size_t(std::count_if(events.begin(), events.end(), [&](const Event& e) { return e.kind == kind; }));
}

HidCollection FakeHidBackend::mouseCollection(const std::string& path, std::uint32_t featureLength,
                                              std::vector<std::string> ids)
{
    HidCollection c;
    c.path = path;
    c.usagePage = 0xFFA0;
    c.usage = 0x0001;
    c.featureReportByteLength = featureLength;
    c.hardwareIds = std::move(ids);
    return c;
}

} // namespace k4812::test
