// Wall time of one apply (the window's Apply button) against the emulated
// mouse: with the sequence's real pauses (500 ms in all, which the mouse
// needs), and with no pauses, to show what the rest costs (storing the
// profiles and about twenty reports, each with an enumeration of the
// device). The profiles, the registry and the emulator's state file live in
// a temporary folder.

#include "sequences/MouseReadBack.h"
#include "sequences/ApplySequence.h"
#include "emulator/EmulatorHidBackend.h"
#include "platform/desktop/JournalPointerSettings.h"
#include "platform/desktop/TuiThread.h"
#include "profiles/ProfileManager.h"

#include <QByteArray>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace k4812;

namespace {

// HOME and the XDG folders in a temporary folder for the whole run, so that
// the user's own profiles and registry are never touched.
class TemporaryHome {
public:
    TemporaryHome()
    {
        QStandardPaths::setTestModeEnabled(false);
        const QByteArray home = m_dir.path().toLocal8Bit();
        setenv("HOME", home.constData(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").constData(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").constData(), 1);
        setenv("XDG_RUNTIME_DIR", (home + "/runtime").constData(), 1);
        setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").constData(), 1);
        QDir().mkpath(m_dir.path() + QStringLiteral("/runtime"));
    }
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

private:
    QTemporaryDir m_dir;
};

TemporaryHome& home()
{
    static TemporaryHome h;
    return h;
}

class BenchmarkHost final : public SequenceHost {
public:
    explicit BenchmarkHost(bool realPauses) : m_realPauses(realPauses) {}

    void pause(int milliseconds) override
    {
        if (m_realPauses)
            m_sleeping.pause(milliseconds);
    }
    std::shared_ptr<PointerSettings> pointerSettings() override
    {
        return std::make_shared<JournalPointerSettings>(home().path(QStringLiteral("pointer.journal")));
    }

private:
    bool m_realPauses;
    SleepingPauser m_sleeping;
};

std::unique_ptr<TuiHIDData> emulatedMouse(bool stateFile)
{
    std::unique_ptr<HidBackend> backend;
    if (stateFile) {
        QString error;
        backend = EmulatorHidBackend::create(home().path(QStringLiteral("emulator.state")), {}, error);
    } else {
        backend = std::make_unique<EmulatorHidBackend>();
    }
    return std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
}

void runApplies(benchmark::State& state, bool realPauses, bool stateFile, bool verify = true)
{
    home();
    TDM dm;
    const std::unique_ptr<TuiHIDData> mouse = emulatedMouse(stateFile);
    BenchmarkHost host(realPauses);
    MainWindowState window;
    window.SystemMouseParams = SystemMouseParamsOf(dm.FCurrentProfileInfo());
    for (auto _ : state) {
        ApplyOptions options;
        options.verify = verify;
        const bool applied = ApplySettings(dm, *mouse, window, host, nullptr, options);
        TuiThread::waitForAll();
        if (!applied)
            state.SkipWithError("the apply failed");
    }
}

void BM_ApplyWithRealPauses(benchmark::State& state)
{
    runApplies(state, true, false);
}

void BM_ApplyWithoutPauses(benchmark::State& state)
{
    runApplies(state, false, false);
}

void BM_ApplyWithoutPausesEmulatorStateFile(benchmark::State& state)
{
    runApplies(state, false, true);
}

// The same without the read-back after the sequence: the difference to the
// two above is what the check costs (3 reads, and 50 ms with real pauses).
void BM_ApplyWithRealPausesUnchecked(benchmark::State& state)
{
    runApplies(state, true, false, false);
}

void BM_ApplyWithoutPausesUnchecked(benchmark::State& state)
{
    runApplies(state, false, false, false);
}

// Reading one whole bank back into a profile (reads and decoding), no pauses.
void BM_ReadWholeBankWithoutPauses(benchmark::State& state)
{
    home();
    TDM dm;
    const std::unique_ptr<TuiHIDData> mouse = emulatedMouse(false);
    BenchmarkHost host(false);
    MainWindowState window;
    window.SystemMouseParams = SystemMouseParamsOf(dm.FCurrentProfileInfo());
    if (!ApplySettings(dm, *mouse, window, host))
        state.SkipWithError("the apply that fills the banks failed");
    TuiThread::waitForAll();
    const int bank = int(state.range(0));
    for (auto _ : state) {
        TMOUSEPROFILEINFO profile = dm.FCurrentProfileInfo();
        const QString problem = ReadMouseBank(*mouse, host, bank, profile);
        if (!problem.isEmpty())
            state.SkipWithError(problem.toStdString().c_str());
        benchmark::DoNotOptimize(profile);
    }
}

// Step 1 alone: the five profiles to their files and the registry.
void BM_StoreAllProfiles(benchmark::State& state)
{
    home();
    TDM dm;
    for (auto _ : state)
        StoreAllProfiles(dm);
}

} // namespace

BENCHMARK(BM_ApplyWithRealPauses)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ApplyWithoutPauses)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ApplyWithoutPausesEmulatorStateFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ApplyWithRealPausesUnchecked)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ApplyWithoutPausesUnchecked)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadWholeBankWithoutPauses)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StoreAllProfiles)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
