#pragma once
// A back end that passes everything to another one and appends every feature
// report exchanged to a trace file, one line each: "SET" or "GET", a space,
// then every byte of the report (report ID first, full length) as upper-case
// two-digit hex separated by single spaces. A GET shows the bytes as the
// device returned them. Failed exchanges are not written: nothing crossed.

#include "platform/hid/HidBackend.h"

#include <QString>

namespace k4812 {

class TracingHidBackend final : public HidBackend {
public:
    TracingHidBackend(std::unique_ptr<HidBackend> inner, QString traceFile);

    std::vector<HidCollection> enumerate() override;
    std::unique_ptr<HidDeviceHandle> open(const HidCollection& collection, int& error) override;
    std::string lockIdentity(const HidCollection& collection) override { return m_inner->lockIdentity(collection); }

    // One trace line for a report.
    static QString formatLine(const char* direction, const std::uint8_t* report, std::size_t length);

private:
    std::unique_ptr<HidBackend> m_inner;
    QString m_traceFile;
};

} // namespace k4812
