#include "emulator/EmulatorHidBackend.h"

#include "emulator/EmulatorStateFile.h"
#include "wire/ReportFraming.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace k4812 {

namespace {

// Another process holding the mouse for longer than this is taken as hung.
constexpr int kLockTimeoutMs = 10000;

// A test vendor and product ID (pid.codes), so that no include list written
// for a real mouse matches the emulator by accident.
constexpr const char* kVidPid = "VID_1209&PID_0001";
constexpr const char* kModalias = "hid:b0003g0001v00001209p00000001";

// The lock of one exchange on STATEFILE.lock: flock, which the kernel lets
// go when the process ends (a killed process never leaves it taken) and which
// writes nothing. A lock file with its holder's name written and synced at
// every exchange made each exchange wait for the disk, on the window's thread.
class ExchangeLock {
public:
    explicit ExchangeLock(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
    }
    ~ExchangeLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // lets the lock go
    }
    ExchangeLock(const ExchangeLock&) = delete;
    ExchangeLock& operator=(const ExchangeLock&) = delete;

    // Waits for another holder up to `timeoutMs`; false when it did not let go
    // or the lock file cannot be opened.
    bool tryLock(int timeoutMs)
    {
        if (m_fd < 0)
            return false;
        const QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
                return true;
            if (errno != EWOULDBLOCK && errno != EINTR)
                return false;
            if (deadline.hasExpired())
                return false;
            QThread::msleep(1);
        }
    }

private:
    int m_fd;
};

class EmulatorHandle final : public HidDeviceHandle {
public:
    explicit EmulatorHandle(EmulatorHidBackend& backend) : m_backend(backend) {}

    int setFeature(const std::uint8_t* report, std::size_t length) override
    {
        // The end mark closes a sequence: the state it left is flushed then.
        const bool endMark = length >= 3 && report[1] == kCommandUpdateMark && report[2] == kUpdateMarkEnd;
        return m_backend.exchange([&](MouseEmulator& mouse) { return mouse.setFeature(report, length); }, endMark);
    }

    int getFeature(std::uint8_t* report, std::size_t length) override
    {
        return m_backend.exchange([&](MouseEmulator& mouse) { return mouse.getFeature(report, length); });
    }

private:
    EmulatorHidBackend& m_backend;
};

} // namespace

EmulatorHidBackend::EmulatorHidBackend() = default;

EmulatorHidBackend::~EmulatorHidBackend()
{
    while (m_sequenceDepth > 0)
        endSequence();
    flush();
}

EmulatorHidBackend::EmulatorHidBackend(QString stateFile, EmulatorState state)
    : m_stateFile(std::move(stateFile)), m_mouse(std::move(state))
{
}

std::unique_ptr<EmulatorHidBackend> EmulatorHidBackend::create(const QString& stateFile, const EmulatorFaults& faults,
                                                               QString& error)
{
    const QString folder = QFileInfo(stateFile).absolutePath();
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot create the folder %1 for the emulator's state file").arg(folder);
        return nullptr;
    }
    std::optional<EmulatorState> state = loadEmulatorState(stateFile, error);
    if (!state)
        return nullptr;
    std::unique_ptr<EmulatorHidBackend> backend(new EmulatorHidBackend(stateFile, std::move(*state)));
    backend->m_mouse.setFaults(faults);
    return backend;
}

std::vector<HidCollection> EmulatorHidBackend::enumerate()
{
    const std::lock_guard<std::recursive_mutex> guard(m_mutex);
    // The state file is replaced by a rename, so it can be read without the
    // lock; during a sequence the state in memory is the mouse's.
    if (!m_stateFile.isEmpty() && !m_held)
        reload();
    if (!m_mouse.isPresent())
        return {};
    return collections(m_stateFile.isEmpty() ? std::string("emulator")
                                             : "emulator:" + m_stateFile.toStdString());
}

std::string EmulatorHidBackend::lockIdentity(const HidCollection&)
{
    if (m_stateFile.isEmpty())
        return {};
    // The folder resolved (the file may not exist yet), so that every
    // spelling of the path names one mouse.
    const QFileInfo file(m_stateFile);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    const QString path = folder.isEmpty() ? file.absoluteFilePath() : folder + QLatin1Char('/') + file.fileName();
    return "emulator:" + path.toStdString();
}

std::unique_ptr<HidDeviceHandle> EmulatorHidBackend::open(const HidCollection&, int& error)
{
    if (!m_mouse.isPresent()) {
        error = MouseEmulator::kErrorUnplugged;
        return nullptr;
    }
    return std::make_unique<EmulatorHandle>(*this);
}

int EmulatorHidBackend::exchange(const std::function<int(MouseEmulator&)>& action, bool endsSequence)
{
    if (m_stateFile.isEmpty())
        return action(m_mouse);

    const std::lock_guard<std::recursive_mutex> guard(m_mutex);
    if (m_sequenceDepth > 0) {
        if (!m_held) {
            ExchangeLock lock(m_stateFile + QLatin1String(".lock"));
            if (!lock.tryLock(kLockTimeoutMs)) {
                stateFileFailed(QStringLiteral("cannot lock the emulator's state file %1").arg(m_stateFile));
                return EIO;
            }
            if (!reload())
                return EIO;
            m_held = true;
        }
        m_changed = true;
        return action(m_mouse);
    }

    ExchangeLock lock(m_stateFile + QLatin1String(".lock"));
    if (!lock.tryLock(kLockTimeoutMs)) {
        stateFileFailed(QStringLiteral("cannot lock the emulator's state file %1").arg(m_stateFile));
        return EIO;
    }
    if (!reload())
        return EIO;
    const int result = action(m_mouse);
    QString error;
    if (!saveEmulatorState(m_stateFile, m_mouse.state(), error, Durable::No)) {
        stateFileFailed(error);
        return EIO;
    }
    m_unflushed = true;
    if (endsSequence)
        flush();
    return result;
}

void EmulatorHidBackend::beginSequence()
{
    const std::lock_guard<std::recursive_mutex> guard(m_mutex);
    if (++m_sequenceDepth > 1 || m_stateFile.isEmpty())
        return;
    // Read now, on the caller's thread (the window's storage thread); when it
    // cannot be read, the first exchange tries again and fails with EIO.
    ExchangeLock lock(m_stateFile + QLatin1String(".lock"));
    if (lock.tryLock(kLockTimeoutMs) && reload())
        m_held = true;
}

std::string EmulatorHidBackend::endSequence()
{
    const std::lock_guard<std::recursive_mutex> guard(m_mutex);
    if (m_sequenceDepth == 0 || --m_sequenceDepth > 0)
        return {};
    const bool changed = m_held && m_changed;
    m_held = false;
    m_changed = false;
    if (!changed)
        return {};
    ExchangeLock lock(m_stateFile + QLatin1String(".lock"));
    QString error;
    if (!lock.tryLock(kLockTimeoutMs))
        error = QStringLiteral("cannot lock the emulator's state file %1").arg(m_stateFile);
    else if (saveEmulatorState(m_stateFile, m_mouse.state(), error, Durable::Yes))
        return {};
    stateFileFailed(error);
    return error.toStdString();
}

void EmulatorHidBackend::flush()
{
    if (!m_unflushed)
        return;
    m_unflushed = false;
    QString error;
    if (!syncEmulatorState(m_stateFile, error))
        stateFileFailed(error);
}

bool EmulatorHidBackend::reload()
{
    QString error;
    std::optional<EmulatorState> state = loadEmulatorState(m_stateFile, error);
    if (!state) {
        stateFileFailed(error);
        return false;
    }
    m_mouse.state() = std::move(*state);
    return true;
}

void EmulatorHidBackend::stateFileFailed(const QString& message)
{
    m_lastError = message;
    qWarning().noquote() << "k4812 emulator:" << message;
}

const std::vector<std::uint8_t>& EmulatorHidBackend::reportDescriptor()
{
    static const std::vector<std::uint8_t> descriptor = {
        // Pointer: report 1, eight buttons, X and Y (16 bit), wheel.
        0x05, 0x01,       // Usage Page (Generic Desktop)
        0x09, 0x02,       // Usage (Mouse)
        0xA1, 0x01,       // Collection (Application)
        0x85, 0x01,       //   Report ID (1)
        0x09, 0x01,       //   Usage (Pointer)
        0xA1, 0x00,       //   Collection (Physical)
        0x05, 0x09,       //     Usage Page (Button)
        0x19, 0x01,       //     Usage Minimum (1)
        0x29, 0x08,       //     Usage Maximum (8)
        0x15, 0x00,       //     Logical Minimum (0)
        0x25, 0x01,       //     Logical Maximum (1)
        0x95, 0x08,       //     Report Count (8)
        0x75, 0x01,       //     Report Size (1)
        0x81, 0x02,       //     Input (Data, Variable, Absolute)
        0x05, 0x01,       //     Usage Page (Generic Desktop)
        0x09, 0x30,       //     Usage (X)
        0x09, 0x31,       //     Usage (Y)
        0x16, 0x01, 0x80, //     Logical Minimum (-32767)
        0x26, 0xFF, 0x7F, //     Logical Maximum (32767)
        0x75, 0x10,       //     Report Size (16)
        0x95, 0x02,       //     Report Count (2)
        0x81, 0x06,       //     Input (Data, Variable, Relative)
        0x09, 0x38,       //     Usage (Wheel)
        0x15, 0x81,       //     Logical Minimum (-127)
        0x25, 0x7F,       //     Logical Maximum (127)
        0x75, 0x08,       //     Report Size (8)
        0x95, 0x01,       //     Report Count (1)
        0x81, 0x06,       //     Input (Data, Variable, Relative)
        0xC0,             //   End Collection
        0xC0,             // End Collection
        // Configuration: feature reports 2 to 6 of 15, 63, 1023, 2047, 4095 data bytes.
        0x06, 0xA0, 0xFF, // Usage Page (0xFFA0)
        0x09, 0x01,       // Usage (1)
        0xA1, 0x01,       // Collection (Application)
        0x15, 0x00,       //   Logical Minimum (0)
        0x26, 0xFF, 0x00, //   Logical Maximum (255)
        0x75, 0x08,       //   Report Size (8)
        0x85, 0x02,       //   Report ID (2)
        0x09, 0x01,       //   Usage (1)
        0x95, 0x0F,       //   Report Count (15)
        0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
        0x85, 0x03,       //   Report ID (3)
        0x09, 0x01,       //   Usage (1)
        0x95, 0x3F,       //   Report Count (63)
        0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
        0x85, 0x04,       //   Report ID (4)
        0x09, 0x01,       //   Usage (1)
        0x96, 0xFF, 0x03, //   Report Count (1023)
        0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
        0x85, 0x05,       //   Report ID (5)
        0x09, 0x01,       //   Usage (1)
        0x96, 0xFF, 0x07, //   Report Count (2047)
        0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
        0x85, 0x06,       //   Report ID (6)
        0x09, 0x01,       //   Usage (1)
        0x96, 0xFF, 0x0F, //   Report Count (4095)
        0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
        0xC0,             // End Collection
    };
    return descriptor;
}

std::vector<HidCollection> EmulatorHidBackend::collections(const std::string& path)
{
    const std::string vidPid = kVidPid;
    HidCollection pointer;
    pointer.path = path;
    pointer.usagePage = 0x0001;
    pointer.usage = 0x0002;
    pointer.inputReportByteLength = 7; // ID, buttons, X, Y, wheel
    pointer.hardwareIds = {"HID\\" + vidPid + "&REV_0100&Col01", "HID\\" + vidPid + "&Col01",
                           "HID\\VID_1209&UP:0001_U:0002", "HID_DEVICE_SYSTEM_MOUSE",
                           "HID_DEVICE_UP:0001_U:0002", "HID_DEVICE", kModalias};

    HidCollection configuration;
    configuration.path = path;
    configuration.usagePage = 0xFFA0;
    configuration.usage = 0x0001;
    configuration.featureReportByteLength = 4096;
    configuration.hardwareIds = {"HID\\" + vidPid + "&REV_0100&Col02", "HID\\" + vidPid + "&Col02",
                                 "HID\\VID_1209&UP:FFA0_U:0001", "HID_DEVICE_UP:FFA0_U:0001", "HID_DEVICE",
                                 kModalias};
    return {pointer, configuration};
}

} // namespace k4812
