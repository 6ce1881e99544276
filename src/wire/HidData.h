#pragma once
// TuiHIDData: reaches the mouse's configuration interface.
//
// It keeps no open handle. Every operation lists the HID collections anew,
// filters them, opens each qualifying interface, acts on it and closes it
// again; it acts on every qualifying interface, so two connected mice both
// receive a setting. A send fails when any mouse failed to take it (the first
// failure is returned); a read gives the answer of the mouse enumerated last,
// and when that one fails, the error with Data left as it was.

#include "platform/hid/HidBackend.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>

namespace k4812 {

class IniFile;

struct USAGE_AND_PAGE {
    std::uint16_t Usage = 0;
    std::uint16_t UsagePage = 0;
};

// The mouse's configuration collection: usage page 0xFFA0, usage 1.
constexpr USAGE_AND_PAGE kMouseUsageAndPage{0x0001, 0xFFA0};

// The report buffer of every device operation: the report ID first, then the
// report's data; DATASIZE is the report length including the report ID.
struct THidReallyData {
    static constexpr std::size_t kCapacity = 65536;
    std::array<std::uint8_t, kCapacity> Report{};
    std::uint32_t DATASIZE = 0;

    std::uint8_t ReportID() const { return Report[0]; }
    void setReportID(std::uint8_t id) { Report[0] = id; }
};

struct THIDDataParam {
    USAGE_AND_PAGE UsageAndPage = kMouseUsageAndPage;
    // Hardware ID the interface must carry (presence check only); empty or
    // "*" means any.
    QString DeviceID;
    THidReallyData Data;
};

class TuiHIDData {
public:
    // Returned when no interface qualifies: nothing was sent or fetched.
    static constexpr int kErrorNoDevice = ENODEV;
    // Returned when DATASIZE is 0 or larger than the report buffer.
    static constexpr int kErrorBadLength = EINVAL;
    // The include list holds at most this many hardware IDs.
    static constexpr int kMaxIncludeEntries = 101;

    TuiHIDData(std::unique_ptr<HidBackend> backend, QStringList includeList);

    // [IncludeHIDDeviceList] id1, id2, ... up to id101, stopping at the first
    // key that is missing or empty.
    static QStringList readIncludeList(const IniFile& config);

    bool IsDeviceExist(const THIDDataParam& param);
    // 0 when every qualifying interface took the report, else the first error.
    int HidFindAndSetFeatureReport(THIDDataParam& param);
    // The last qualifying interface's result; Data changes only when it is 0.
    int HidFindAndGetFeatureReport(THIDDataParam& param);

    // The lock identities (HidBackend::lockIdentity) of every interface a
    // device operation for `usage` would reach, each once; empty when none
    // needs a lock.
    QStringList lockIdentities(const USAGE_AND_PAGE& usage = kMouseUsageAndPage);

    // The mouse's quiet time after a sequence's last command, left to
    // whoever sends the next one instead of waited out before the sequence
    // ends (DeviceSequenceHold hands it on to the next holder of the mouse,
    // who waits what is left through its own host). An exchange through this
    // link that comes sooner still waits it out first.
    using Clock = std::chrono::steady_clock;
    void leaveQuietFor(int milliseconds);
    Clock::time_point quietUntil() const { return m_quietUntil; }
    // What is left of it now, in whole milliseconds rounded up; 0 when none.
    int quietLeftMs() const;

    const QStringList& FHidDeviceList() const { return m_includeList; }
    HidBackend& backend() { return *m_backend; }

    // Whether a collection passes the include list (any entry equals any of
    // its hardware IDs, ignoring case; an empty list passes everything).
    bool passesIncludeList(const HidCollection& collection) const;

private:
    enum class Act { Set, Get };
    int findAndExchange(THIDDataParam& param, Act act);

    std::unique_ptr<HidBackend> m_backend;
    QStringList m_includeList;
    Clock::time_point m_quietUntil{};
};

} // namespace k4812
