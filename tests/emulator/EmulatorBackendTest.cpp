#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"
#include "emulator/HidBackendFactory.h"
#include "emulator/EmulatorHidBackend.h"
#include "emulator/EmulatorStateFile.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::TestEnvironment;
using k4812::test::writeFile;

namespace {

using Bytes = std::vector<std::uint8_t>;

EmulatorState sampleState()
{
    EmulatorState state = EmulatorState::initial();
    for (std::size_t i = 0; i < state.memory.size(); ++i)
        state.memory[i] = std::uint8_t(i * 7);
    state.shownLight = std::array<std::uint8_t, 5>{1, 2, 3, 4, 5};
    state.lastActivation = std::array<std::uint8_t, 2>{1, 4};
    state.pendingAnswer.assign(64, 0x33);
    state.pendingAnswer[0] = 3;
    state.exchangeCount = 77;
    return state;
}

// Sets the trailing checksum right again after a deliberate change.
QByteArray withChecksum(QByteArray bytes)
{
    const quint16 sum = qChecksum(QByteArrayView(bytes.constData(), bytes.size() - 2), Qt::ChecksumIso3309);
    bytes[bytes.size() - 2] = char(sum & 0xFF);
    bytes[bytes.size() - 1] = char(sum >> 8);
    return bytes;
}

std::unique_ptr<EmulatorHidBackend> createEmulator(const QString& stateFile, const char* faults = "")
{
    QString error;
    const EmulatorFaults parsed = parseEmulatorFaults(QString::fromLatin1(faults), error).value();
    auto backend = EmulatorHidBackend::create(stateFile, parsed, error);
    EXPECT_TRUE(backend) << error.toStdString();
    return backend;
}

// The device link over a file-backed emulator; `emulator` stays valid while `hid` lives.
struct Link {
    EmulatorHidBackend* emulator;
    std::unique_ptr<TuiHIDData> hid;
};

Link link(const QString& stateFile, const char* faults = "")
{
    auto backend = createEmulator(stateFile, faults);
    EmulatorHidBackend* emulator = backend.get();
    return {emulator, std::make_unique<TuiHIDData>(std::move(backend), QStringList{})};
}

} // namespace

TEST(EmulatorStateFile, EveryFieldSurvivesTheRoundTrip)
{
    for (const EmulatorState& state : {EmulatorState::initial(), sampleState()}) {
        QString error;
        const auto decoded = decodeEmulatorState(encodeEmulatorState(state), error);
        ASSERT_TRUE(decoded) << error.toStdString();
        EXPECT_EQ(*decoded, state);
    }
}

TEST(EmulatorStateFile, DamagedStateIsRefused)
{
    const QByteArray good = encodeEmulatorState(sampleState());
    const int pendingOffset = 26 + int(kSettingsMemorySize);
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* reason;
    };
    auto changed = [&](int offset, char value) {
        QByteArray b = good;
        b[offset] = value;
        return b;
    };
    const Case cases[] = {
        {"empty", QByteArray(), "not an emulator state file"},
        {"other magic", changed(0, 'X'), "not an emulator state file"},
        {"newer version", changed(8, 2), "version 2"},
        {"one byte short", good.left(good.size() - 1), "wrong size"},
        {"one byte more", good + 'x', "wrong size"},
        {"pending length changed", changed(24, 16), "wrong size"},
        {"flipped memory byte", changed(26 + 0x40, char(good[26 + 0x40] ^ 0x01)), "checksum"},
        {"unknown flag", withChecksum(changed(16, 0x07)), "inconsistent"},
        {"pending answer under an undeclared ID", withChecksum(changed(pendingOffset, 9)), "inconsistent"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(decodeEmulatorState(c.bytes, error)) << c.name;
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << c.name << ": " << error.toStdString();
    }
}

TEST(EmulatorBackend, ShowsThePointerAndTheConfigurationCollectionOfOneInterface)
{
    EmulatorHidBackend emulator;
    const std::vector<HidCollection> collections = emulator.enumerate();
    ASSERT_EQ(collections.size(), 2u);
    EXPECT_EQ(collections[0].path, collections[1].path);
    EXPECT_EQ(collections[0].usagePage, 0x0001);
    EXPECT_EQ(collections[0].usage, 0x0002);
    EXPECT_EQ(collections[0].featureReportByteLength, 0u);
    EXPECT_EQ(collections[1].usagePage, 0xFFA0);
    EXPECT_EQ(collections[1].usage, 0x0001);
    EXPECT_EQ(collections[1].featureReportByteLength, 4096u);

    // An include list naming the configuration collection lets it through.
    TuiHIDData filtered(std::make_unique<EmulatorHidBackend>(), {"hid_device_up:ffa0_u:0001"});
    EXPECT_TRUE(filtered.IsDeviceExist(THIDDataParam{}));
    TuiHIDData elsewhere(std::make_unique<EmulatorHidBackend>(), {"HID\\VID_046D&PID_C077"});
    EXPECT_FALSE(elsewhere.IsDeviceExist(THIDDataParam{}));
}

TEST(EmulatorBackend, SeparateInstancesShareTheMouseThroughTheStateFile)
{
    TestEnvironment env;
    const QString stateFile = env.path("mice/k4812.state");
    {
        Link first = link(stateFile);
        const std::uint8_t mode = 1;
        ASSERT_EQ(WriteDeviceMemory(*first.hid, kActiveBankAddress, &mode, 1), 0);
        ASSERT_EQ(SendLightPreview(*first.hid, {9, 8, 7, 6, 5}), 0);
        ASSERT_EQ(SendActivate(*first.hid, 1, 2), 0);
        // A read request whose answer another instance fetches.
        const Bytes request = {0x02, 0x03, 0x40, 0x00, 0x01, 0x00, 0xFA, 0xFA, 0, 0, 0, 0, 0, 0, 0, 0};
        ASSERT_EQ(first.emulator->exchange([&](MouseEmulator& m) { return m.setFeature(request.data(), 16); }), 0);
    }
    Link second = link(stateFile);
    Bytes answer(16, 0);
    answer[0] = 2;
    ASSERT_EQ(second.emulator->exchange([&](MouseEmulator& m) { return m.getFeature(answer.data(), 16); }), 0);
    EXPECT_EQ(answer[8], 1);

    std::uint8_t mode = 0;
    ASSERT_EQ(ReadDeviceMemory(*second.hid, kActiveBankAddress, &mode, 1), 0);
    EXPECT_EQ(mode, 1);
    const EmulatorState& state = second.emulator->mouse().state();
    EXPECT_EQ(state.shownLight, (std::array<std::uint8_t, 5>{9, 8, 7, 6, 5}));
    EXPECT_EQ(state.lastActivation, (std::array<std::uint8_t, 2>{1, 2}));
    EXPECT_EQ(state.exchangeCount, 7u);

    // Written by rename: nothing but the state file and its lock file (kept,
    // so that locking writes nothing) is left behind.
    EXPECT_EQ(QDir(env.path("mice")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"k4812.state", "k4812.state.lock"}));
}

TEST(EmulatorBackend, FaultCountsGoOnAcrossInstances)
{
    TestEnvironment env;
    const QString stateFile = env.path("k4812.state");
    {
        Link first = link(stateFile);
        ASSERT_EQ(SendUpdateMark(*first.hid, kUpdateMarkBegin), 0);
    }
    Link failing = link(stateFile, "fail=2");
    EXPECT_EQ(SendUpdateMark(*failing.hid, kUpdateMarkEnd), EIO);
    EXPECT_EQ(SendUpdateMark(*failing.hid, kUpdateMarkEnd), 0);

    Link unplugging = link(stateFile, "unplug=4");
    EXPECT_TRUE(unplugging.hid->IsDeviceExist(THIDDataParam{}));
    EXPECT_EQ(SendUpdateMark(*unplugging.hid, kUpdateMarkBegin), 0);
    EXPECT_FALSE(unplugging.hid->IsDeviceExist(THIDDataParam{}));
    EXPECT_EQ(SendUpdateMark(*unplugging.hid, kUpdateMarkEnd), ENODEV);
}

TEST(EmulatorBackend, DamagedStateFileIsAnErrorAndIsKept)
{
    TestEnvironment env;
    const QString stateFile = env.path("k4812.state");
    const QByteArray damaged = encodeEmulatorState(EmulatorState::initial()).left(100);
    ASSERT_TRUE(writeFile(stateFile, damaged));

    QString error;
    EXPECT_FALSE(EmulatorHidBackend::create(stateFile, EmulatorFaults{}, error));
    EXPECT_TRUE(error.contains(stateFile)) << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String("damaged"))) << error.toStdString();
    EXPECT_EQ(readFile(stateFile), damaged);

    // Damaged while in use: the exchange fails and the file stays as found.
    QFile::remove(stateFile);
    Link live = link(stateFile);
    ASSERT_EQ(SendUpdateMark(*live.hid, kUpdateMarkBegin), 0);
    ASSERT_TRUE(writeFile(stateFile, damaged));
    const std::uint8_t value = 1;
    EXPECT_EQ(WriteDeviceMemory(*live.hid, kActiveBankAddress, &value, 1), EIO);
    EXPECT_TRUE(live.emulator->lastError().contains(QLatin1String("damaged")));
    EXPECT_EQ(readFile(stateFile), damaged);
}

TEST(EmulatorBackend, FactoryUsesTheDefaultStateFileAndTheFaultVariable)
{
    TestEnvironment env;
    const DeviceSelection emulator{DeviceSelection::Kind::Emulator, {}};
    QString error;
    std::unique_ptr<HidBackend> backend = createHidBackend(emulator, error);
    ASSERT_TRUE(backend) << error.toStdString();
    EXPECT_TRUE(defaultEmulatorStateFile().startsWith(env.home()));
    EXPECT_TRUE(QFileInfo(QFileInfo(defaultEmulatorStateFile()).absolutePath()).isDir());
    TuiHIDData hid(std::move(backend), {});
    const std::uint8_t value = 0x41;
    ASSERT_EQ(WriteDeviceMemory(hid, kReportRateAddress, &value, 1), 0);
    error.clear();
    const auto stored = loadEmulatorState(defaultEmulatorStateFile(), error);
    ASSERT_TRUE(stored) << error.toStdString();
    EXPECT_EQ(stored->memory[kReportRateAddress], 0x41);

    env.set(kEmulatorFaultsVariable, QStringLiteral("absent"));
    TuiHIDData absent(createHidBackend(emulator, error), {});
    EXPECT_FALSE(absent.IsDeviceExist(THIDDataParam{}));

    env.set(kEmulatorFaultsVariable, QStringLiteral("melt=1"));
    EXPECT_FALSE(createHidBackend(emulator, error));
    EXPECT_TRUE(error.contains(QLatin1String(kEmulatorFaultsVariable))) << error.toStdString();
}

TEST(EmulatorBackend, EverySpellingOfAStateFileNamesOneMouseForTheLock)
{
    TestEnvironment env;
    ASSERT_TRUE(QDir().mkpath(env.path("emu")));
    ASSERT_TRUE(QFile::link(env.path("emu"), env.path("linked")));
    QString error;
    QStringList identities;
    for (const QString& spelling : {env.path("emu/mouse.state"), env.path("emu/../emu/./mouse.state"),
                                    env.path("linked/mouse.state")}) {
        auto backend = EmulatorHidBackend::create(spelling, EmulatorFaults{}, error);
        ASSERT_TRUE(backend) << error.toStdString();
        identities << QString::fromStdString(backend->lockIdentity(backend->enumerate().front()));
    }
    EXPECT_EQ(identities.count(identities.first()), 3) << identities.join(' ').toStdString();
    EXPECT_TRUE(identities.first().startsWith(QLatin1String("emulator:/"))) << identities.first().toStdString();

    // A mouse that lives in one object is reached by no other program.
    EmulatorHidBackend inMemory;
    EXPECT_EQ(inMemory.lockIdentity(inMemory.enumerate().front()), "");
}
