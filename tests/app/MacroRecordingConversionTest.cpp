// Turning a recording into macro actions, and the rows shown while recording.

#include "app/macro/ActionRows.h"
#include "app/macro/LiveRecordingRows.h"
#include "app/macro/RecordingConversion.h"

#include "../macros/MacroTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace k4812 {
namespace {

using test::keyDown;
using test::keyUp;
using test::makeMacro;
using test::sameAction;

TMACROKEYHOOK pause(int ms)
{
    TMACROKEYHOOK entry;
    entry.nKeyType = kMacroHookPause;
    entry.nKeyValue = std::uint16_t(ms);
    return entry;
}

TMACROKEYHOOK key(int vk, bool down, int extended = 0)
{
    TMACROKEYHOOK entry;
    entry.nKeyType = kMacroHookKey;
    entry.nKeyState = down ? 1 : 0;
    entry.nKeyValue = std::uint16_t(vk);
    entry.nKeyValueExtended = std::uint16_t(extended);
    return entry;
}

std::vector<TMACROKEY> actionsOf(const TMACROKEYINFO& macro)
{
    return {macro.MacroList, macro.MacroList + macro.MacroListCount};
}

void expectActions(const TMACROKEYINFO& macro, const std::vector<TMACROKEY>& expected)
{
    const auto actual = actionsOf(macro);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(sameAction(actual[i], expected[i])) << "action " << i;
}

const std::vector<TMACROKEYHOOK> kReloadRecording{key('R', true), pause(5), key('R', false), pause(12000),
                                                  key('R', true), pause(300), key('R', false)};

TEST(RecordingConversion, PausesBecomeDelaysOfAtLeastTenMs)
{
    const auto macro = convertRecording(makeMacro("Reload"), kReloadRecording, RecordingOptions{});
    expectActions(macro, {keyDown('R'), makeDelayAction(10), keyUp('R'), makeDelayAction(12000), keyDown('R'),
                          makeDelayAction(300), keyUp('R')});
    EXPECT_EQ(macro.nAutoAddDelay, 1);
    EXPECT_EQ(macro.nLoopCount, 0);
}

TEST(RecordingConversion, DefaultDelayReplacesEveryPause)
{
    RecordingOptions options;
    options.insertDefaultDelay = true;
    options.defaultDelay = 250;
    const auto macro = convertRecording(makeMacro("Reload"), kReloadRecording, options);
    expectActions(macro, {keyDown('R'), makeDelayAction(250), keyUp('R'), makeDelayAction(250), keyDown('R'),
                          makeDelayAction(250), keyUp('R')});
}

TEST(RecordingConversion, WithoutDelaysOnlyKeysAreStored)
{
    RecordingOptions options;
    options.recordDelays = false;
    options.insertDefaultDelay = true;   // the default delay does not bring delays back
    const auto macro = convertRecording(makeMacro("Reload"), kReloadRecording, options);
    expectActions(macro, {keyDown('R'), keyUp('R'), keyDown('R'), keyUp('R')});
    EXPECT_EQ(macro.nAutoAddDelay, 0);
}

TEST(RecordingConversion, AKeyActionRepeatingTheLastOneIsSkipped)
{
    RecordingOptions options;
    options.recordDelays = false;
    const std::vector<TMACROKEYHOOK> recording{key('A', true),  key('A', true),  key('A', true, 1),
                                               key('A', false), key('A', false), key('A', false, 1)};
    const auto macro = convertRecording(makeMacro("A"), recording, options);
    expectActions(macro, {keyDown('A'), keyDown('A', 1), keyUp('A'), keyUp('A', 1)});
}

TEST(RecordingConversion, KeepsNameAndOtherFieldsButReplacesTheActions)
{
    auto base = makeMacro("Keep", {keyDown('X'), keyUp('X'), keyDown('Y')});
    base.nMacroIndex = 3;
    base.HaveErrors = 1;
    const auto macro = convertRecording(base, {key('B', true)}, RecordingOptions{});
    expectActions(macro, {keyDown('B')});
    EXPECT_EQ(macroNameOf(macro), QStringLiteral("Keep"));
    EXPECT_EQ(macro.nMacroIndex, 3);
    EXPECT_TRUE(sameAction(macro.MacroList[1], keyUp('X')));   // past the count, untouched
}

TEST(RecordingConversion, StoresAtMost127Actions)
{
    std::vector<TMACROKEYHOOK> recording;
    for (int i = 0; i < 130; ++i) {
        if (i > 0)
            recording.push_back(pause(20));
        recording.push_back(key(0x41 + i % 26, i % 2 == 0));
    }
    RecordingOptions noDelays;
    noDelays.recordDelays = false;
    EXPECT_EQ(convertRecording(makeMacro("M"), recording, noDelays).MacroListCount, kMaxRecordedActions);
    EXPECT_EQ(convertRecording(makeMacro("M"), recording, RecordingOptions{}).MacroListCount, kMaxRecordedActions);
}

TEST(RecordingConversion, LoopCountComesFromThePressedOption)
{
    struct Case {
        bool loop;
        int count;
        int stored;
    };
    for (const Case c : {Case{false, 5, 0}, Case{true, 5, 5}, Case{true, 0, 0}, Case{true, 255, 255},
                         Case{true, 300, 255}}) {
        RecordingOptions options;
        options.loop = c.loop;
        options.loopCount = c.count;
        EXPECT_EQ(convertRecording(makeMacro("L"), {}, options).nLoopCount, c.stored)
            << c.loop << " " << c.count;
    }
}

TEST(RecordingConversion, DelayClampIsTenTo65535)
{
    EXPECT_EQ(clampDelayMs(-5), 10);
    EXPECT_EQ(clampDelayMs(9), 10);
    EXPECT_EQ(clampDelayMs(10), 10);
    EXPECT_EQ(clampDelayMs(65535), 65535);
    EXPECT_EQ(clampDelayMs(70000), 65535);
}

TEST(ActionRows, DelaysShowOnlyForMacrosRecordedWithThem)
{
    TMACROKEY mouse = makeMacroAction(kMacroKeyMouse, kMacroKeyDown, 1, 0);
    TMACROKEY other = makeMacroAction(kMacroKeyType5, kMacroKeyDown, 1, 0);
    const std::vector<TMACROKEY> actions{keyDown('R'), makeDelayAction(250), other, keyUp('R'), mouse};

    const auto withDelays = actionRowsOf(actions, true);
    ASSERT_EQ(withDelays.size(), 4u);
    EXPECT_EQ(withDelays[0], (ActionRow{ActionRow::Kind::KeyDown, QStringLiteral(" R"), 0}));
    EXPECT_EQ(withDelays[1], (ActionRow{ActionRow::Kind::Delay, QStringLiteral("250"), 1}));
    EXPECT_EQ(withDelays[2].kind, ActionRow::Kind::KeyUp);
    EXPECT_EQ(withDelays[2].actionIndex, 3);
    EXPECT_EQ(withDelays[3].kind, ActionRow::Kind::MouseDown);
    EXPECT_EQ(withDelays[3].text, QStringLiteral(" Mouse Left Click"));

    // Without delay rows the rows still name their own actions.
    const auto withoutDelays = actionRowsOf(actions, false);
    ASSERT_EQ(withoutDelays.size(), 3u);
    EXPECT_EQ(withoutDelays[1].actionIndex, 3);
    EXPECT_EQ(rowOfAction(withoutDelays, 3), 1);
    EXPECT_EQ(rowOfAction(withoutDelays, 1), -1);
}

struct LiveEvent {
    int state;
    std::uint32_t totalTime;
};

std::vector<ActionRow> playLive(LiveRecordingRows& live, const std::vector<LiveEvent>& events,
                                const RecordingOptions& options, std::vector<ActionRow> rows = {})
{
    for (const LiveEvent& e : events)
        for (const auto& [position, row] : live.keyEvent(e.state, e.totalTime, QStringLiteral("R"), options).inserts)
            rows.insert(rows.begin() + position, row);
    return rows;
}

std::vector<QString> textsOf(const std::vector<ActionRow>& rows)
{
    std::vector<QString> texts;
    for (const ActionRow& row : rows)
        texts.push_back(row.text.trimmed());
    return texts;
}

TEST(LiveRecordingRows, ShowsPausesBelowTenSecondsBeforeTheirKey)
{
    LiveRecordingRows live;
    live.start(LiveRecordingRows::Mode::Replace, 0);
    const auto rows = playLive(live, {{1, 0}, {0, 5}, {1, 12000}, {0, 9999}, {1, 0}}, RecordingOptions{});
    EXPECT_EQ(textsOf(rows), (std::vector<QString>{"R", "10", "R", "R", "9999", "R", "R"}));
    EXPECT_EQ(live.rowCount(), 7);
}

// As with recorded pauses, one of 10 s or more is not shown (it is stored).
TEST(LiveRecordingRows, DefaultDelayIsShownForEveryKeyButTheFirst)
{
    RecordingOptions options;
    options.insertDefaultDelay = true;
    options.defaultDelay = 250;
    LiveRecordingRows live;
    live.start(LiveRecordingRows::Mode::Replace, 0);
    EXPECT_EQ(textsOf(playLive(live, {{1, 0}, {0, 0}, {1, 20000}}, options)),
              (std::vector<QString>{"R", "250", "R", "R"}));

    options.recordDelays = false;
    live.start(LiveRecordingRows::Mode::Replace, 0);
    EXPECT_EQ(textsOf(playLive(live, {{1, 0}, {0, 40}}, options)), (std::vector<QString>{"R", "R"}));
}

TEST(LiveRecordingRows, StopsAt127RowsAndReportsReachedMax)
{
    for (const bool delays : {false, true}) {
        RecordingOptions options;
        options.recordDelays = delays;
        LiveRecordingRows live;
        live.start(LiveRecordingRows::Mode::Replace, 0);
        int firstMax = -1;
        for (int i = 0; i < 130; ++i) {
            const auto step = live.keyEvent(i % 2 == 0, 20, QStringLiteral("A"), options);
            if (step.reachedMax && firstMax < 0)
                firstMax = i;
            if (step.reachedMax) {
                EXPECT_TRUE(step.inserts.empty());
            }
            EXPECT_LE(live.rowCount(), LiveRecordingRows::kMaxRows);
        }
        EXPECT_EQ(live.rowCount(), LiveRecordingRows::kMaxRows) << delays;
        EXPECT_EQ(firstMax, delays ? 64 : 127) << delays;
    }
}

TEST(LiveRecordingRows, InsertModePlacesRowsAfterTheSelectedRow)
{
    const std::vector<ActionRow> existing{{ActionRow::Kind::KeyDown, QStringLiteral("A"), 0},
                                          {ActionRow::Kind::KeyUp, QStringLiteral("A"), 1},
                                          {ActionRow::Kind::KeyDown, QStringLiteral("B"), 2}};
    RecordingOptions options;
    options.recordDelays = false;
    LiveRecordingRows live;
    live.selectRow(0);
    live.start(LiveRecordingRows::Mode::InsertAfter, 3);
    const auto rows = playLive(live, {{1, 0}, {0, 0}}, options, existing);
    EXPECT_EQ(textsOf(rows), (std::vector<QString>{"A", "R", "R", "A", "B"}));
    EXPECT_EQ(live.rowCount(), 5);
}

} // namespace
} // namespace k4812
