#include "emulator/EmulatorStateFile.h"

#include "wire/MemoryMap.h"

#include "platform/storage/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>

namespace k4812 {

namespace {

constexpr char kMagic[8] = {'K', '4', '8', '1', '2', 'E', 'M', 'U'};
constexpr std::uint32_t kFormatVersion = 1;
constexpr int kFixedSize = 26;
constexpr int kChecksumSize = 2;
constexpr std::uint8_t kFlagShownLight = 0x01;
constexpr std::uint8_t kFlagActivation = 0x02;

void putLe(QByteArray& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

std::uint32_t getLe(const QByteArray& in, int offset, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint32_t(std::uint8_t(in[offset + i])) << (8 * i);
    return value;
}

void putBytes(QByteArray& out, const std::uint8_t* bytes, std::size_t count)
{
    out.append(reinterpret_cast<const char*>(bytes), qsizetype(count));
}

std::uint16_t checksum(const QByteArray& bytes, qsizetype count)
{
    return qChecksum(QByteArrayView(bytes.constData(), count), Qt::ChecksumIso3309);
}

bool isAnswerReport(const QByteArray& bytes, int offset, std::size_t length)
{
    const std::uint8_t id = std::uint8_t(bytes[offset]);
    return std::any_of(std::begin(MouseEmulator::kFeatureReports), std::end(MouseEmulator::kFeatureReports),
                       [&](const MouseEmulator::FeatureReport& r) {
                           return r.id == id && r.length == length && r.length <= MouseEmulator::kLongestAnswer;
                       });
}

// Flushes a folder's entries (a rename in it) to the disk.
bool syncFolder(const QString& folder, QString& error)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

} // namespace

QByteArray encodeEmulatorState(const EmulatorState& state)
{
    QByteArray out;
    out.append(kMagic, sizeof kMagic);
    putLe(out, kFormatVersion, 4);
    putLe(out, state.exchangeCount, 4);
    putLe(out, (state.shownLight ? kFlagShownLight : 0) | (state.lastActivation ? kFlagActivation : 0), 1);
    const std::array<std::uint8_t, 5> light = state.shownLight.value_or(std::array<std::uint8_t, 5>{});
    putBytes(out, light.data(), light.size());
    const std::array<std::uint8_t, 2> activation = state.lastActivation.value_or(std::array<std::uint8_t, 2>{});
    putBytes(out, activation.data(), activation.size());
    putLe(out, std::uint32_t(state.pendingAnswer.size()), 2);
    putBytes(out, state.memory.data(), state.memory.size());
    putBytes(out, state.pendingAnswer.data(), state.pendingAnswer.size());
    putLe(out, checksum(out, out.size()), kChecksumSize);
    return out;
}

std::optional<EmulatorState> decodeEmulatorState(const QByteArray& bytes, QString& error)
{
    constexpr int kMemorySize = int(kSettingsMemorySize);
    if (bytes.size() < kFixedSize + kMemorySize + kChecksumSize || !bytes.startsWith(QByteArrayView(kMagic, 8))) {
        error = QStringLiteral("not an emulator state file");
        return std::nullopt;
    }
    const std::uint32_t version = getLe(bytes, 8, 4);
    if (version != kFormatVersion) {
        error = QStringLiteral("unknown state file version %1").arg(version);
        return std::nullopt;
    }
    const int pendingSize = int(getLe(bytes, 24, 2));
    const qsizetype expected = kFixedSize + kMemorySize + pendingSize + kChecksumSize;
    if (bytes.size() != expected) {
        error = QStringLiteral("wrong size: %1 bytes where %2 are expected").arg(bytes.size()).arg(expected);
        return std::nullopt;
    }
    if (getLe(bytes, int(expected) - kChecksumSize, kChecksumSize) != checksum(bytes, expected - kChecksumSize)) {
        error = QStringLiteral("checksum mismatch: the file is damaged");
        return std::nullopt;
    }
    const std::uint8_t flags = std::uint8_t(bytes[16]);
    const int pendingOffset = kFixedSize + kMemorySize;
    if ((flags & ~(kFlagShownLight | kFlagActivation)) != 0
        || (pendingSize != 0 && !isAnswerReport(bytes, pendingOffset, std::size_t(pendingSize)))) {
        error = QStringLiteral("inconsistent contents");
        return std::nullopt;
    }

    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    EmulatorState state;
    state.exchangeCount = getLe(bytes, 12, 4);
    if (flags & kFlagShownLight) {
        std::array<std::uint8_t, 5> light{};
        std::copy_n(raw + 17, light.size(), light.begin());
        state.shownLight = light;
    }
    if (flags & kFlagActivation)
        state.lastActivation = std::array<std::uint8_t, 2>{raw[22], raw[23]};
    state.memory.assign(raw + kFixedSize, raw + pendingOffset);
    state.pendingAnswer.assign(raw + pendingOffset, raw + pendingOffset + pendingSize);
    return state;
}

std::optional<EmulatorState> loadEmulatorState(const QString& path, QString& error)
{
    const RegularFileRead file = readRegularFile(path, kMaxEmulatorStateBytes);
    if (file.status == RegularFileRead::Status::Missing)
        return EmulatorState::initial();
    if (!file.read()) {
        error = QStringLiteral("cannot use the emulator's state file: %1").arg(file.error);
        return std::nullopt;
    }
    if (file.longerThan(kMaxEmulatorStateBytes)) {
        error = QStringLiteral("the emulator's state file %1 is longer than %2 bytes; remove it to start with a new "
                               "mouse")
                    .arg(path)
                    .arg(kMaxEmulatorStateBytes);
        return std::nullopt;
    }
    QString reason;
    std::optional<EmulatorState> state = decodeEmulatorState(file.bytes, reason);
    if (!state)
        error = QStringLiteral("the emulator's state file %1 is damaged (%2); remove it to start with a new mouse")
                    .arg(path, reason);
    return state;
}

bool saveEmulatorState(const QString& path, const EmulatorState& state, QString& error, Durable durable)
{
    const QByteArray bytes = encodeEmulatorState(state);
    // A whole new file beside the old one, then the rename: never written in
    // place, so that a crash leaves the old state or the new one.
    const QFileInfo info(path);
    QByteArray temporary =
        QFile::encodeName(info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1String(".XXXXXX.tmp"));
    // Named as the program's other temporary files (".NAME.XXXXXX.tmp"): one a kill left is never read.
    const int fd = mkostemps(temporary.data(), 4, O_CLOEXEC);
    auto fail = [&](int code) {
        error = QStringLiteral("cannot write the emulator's state file %1: %2")
                    .arg(path, QString::fromLocal8Bit(std::strerror(code)));
        return false;
    };
    if (fd < 0)
        return fail(errno);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, std::size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int code = n < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(temporary.constData());
            return fail(code);
        }
        written += n;
    }
    // Durable: the new bytes reach the disk before the name points at them.
    if (durable == Durable::Yes && ::fdatasync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        ::unlink(temporary.constData());
        return fail(code);
    }
    const bool closed = ::close(fd) == 0;
    const int closeError = errno;
    if (!closed || ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        const int code = closed ? errno : closeError;
        ::unlink(temporary.constData());
        return fail(code);
    }
    if (durable == Durable::Yes && !syncFolder(info.absolutePath(), error)) {
        error = QStringLiteral("cannot flush the emulator's state file %1 to the disk: %2").arg(path, error);
        return false;
    }
    return true;
}

bool syncEmulatorState(const QString& path, QString& error)
{
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    for (const QByteArray& name : {file, folder}) {
        const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0) {
            error = QStringLiteral("cannot flush the emulator's state file %1 to the disk: %2")
                        .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            if (fd >= 0)
                ::close(fd);
            return false;
        }
        ::close(fd);
    }
    return true;
}

} // namespace k4812
