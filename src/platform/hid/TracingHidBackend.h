#pragma once
// A back end that passes everything to another one and appends every feature
// report exchanged to a trace file, one line each: "SET" or "GET", a space,
// then every byte of the report (report ID first, full length) as upper-case
// two-digit hex separated by single spaces. A GET shows the bytes as the
// device returned them. Failed exchanges are not written: nothing crossed.
//
// The trace goes to a regular file or a terminal only, opened without
// blocking (a FIFO without a reader would hold the program). A line that
// cannot be written is reported once, through the failure callback.

#include "platform/hid/HidBackend.h"

#include <QString>

#include <functional>
#include <memory>

namespace k4812 {

class TracingHidBackend final : public HidBackend {
public:
    using FailureReport = std::function<void(const QString& message)>;
    TracingHidBackend(std::unique_ptr<HidBackend> inner, QString traceFile, FailureReport onFailure = {});

    // Why the trace cannot go to `path` (a missing folder, no permission, not
    // a regular file or terminal), or an empty text. Creates the file.
    static QString traceFileProblem(const QString& path);

    struct Sink;   // the file and its one-time failure report, shared with the open handles

    std::vector<HidCollection> enumerate() override;
    std::unique_ptr<HidDeviceHandle> open(const HidCollection& collection, int& error) override;
    std::string lockIdentity(const HidCollection& collection) override { return m_inner->lockIdentity(collection); }
    void beginSequence() override { m_inner->beginSequence(); }
    std::string endSequence() override { return m_inner->endSequence(); }

    // One trace line for a report.
    static QString formatLine(const char* direction, const std::uint8_t* report, std::size_t length);

private:
    std::unique_ptr<HidBackend> m_inner;
    std::shared_ptr<Sink> m_sink;
};

} // namespace k4812
