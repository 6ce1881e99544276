#pragma once
// Helpers the file-format fuzzers share: a private folder for the files a
// target writes, and a device link on an in-memory emulated mouse that
// never waits.

#include "wire/HidData.h"
#include "sequences/SequenceHost.h"
#include "emulator/EmulatorHidBackend.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdlib>
#include <memory>

namespace k4812::fuzz {

// A folder of its own for this fuzzer process, made once and reused by
// every input (libFuzzer runs the inputs one after the other).
inline const QString& scratchFolder()
{
    static const QString folder = [] {
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/k4812-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return QString::fromLocal8Bit(pattern);
    }();
    return folder;
}

inline void writeWholeFile(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes.data(), bytes.size()) != bytes.size())
        std::abort();
}

inline QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A host for the device sequences that neither waits nor shows anything.
class SilentHost final : public SequenceHost {
public:
    void pause(int) override {}
    SendResult sendToMonitor(const WindowMessage&) override { SendResult r; r.status = SendStatus::NoWindow; return r; }
    SendResult postToMonitor(const WindowMessage&) override { SendResult r; r.status = SendStatus::NoWindow; return r; }
};

inline std::unique_ptr<TuiHIDData> emulatedMouse()
{
    return std::make_unique<TuiHIDData>(std::make_unique<EmulatorHidBackend>(), QStringList{});
}

} // namespace k4812::fuzz
