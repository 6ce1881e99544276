// The switch rule: a switch only when the focused application wants another
// mode than the active one, never two within a second, and a held-back switch
// made once the second is over unless the focus moved on.

#include "monitor/SwitchDecision.h"

#include <gtest/gtest.h>

#include <vector>

using namespace k4812;

namespace {

// One step: the focus moves to `app` (or, with an empty app, only the clock
// runs and tick() is asked) at `ms`; `expected` is the switch made, if any.
struct Step {
    const char* app;
    qint64 ms;
    std::optional<int> expected;
};

struct Case {
    const char* name;
    std::optional<int> returnMode;
    std::vector<Step> steps;
};

constexpr std::nullopt_t none = std::nullopt;

class SwitchDecisionTable : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(SwitchDecisionTable, FocusSequenceAndClockGiveTheSwitches)
{
    const Case& c = GetParam();
    SwitchDecision decision;
    decision.setRules({{QStringLiteral("game"), 1}, {QStringLiteral("editor"), 0}}, c.returnMode);
    int active = 0;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        const std::optional<int> made = *step.app == '\0'
                                            ? decision.tick(step.ms, active)
                                            : decision.focusChanged(QString::fromLatin1(step.app), step.ms, active);
        EXPECT_EQ(made, step.expected) << c.name << ", step " << i;
        if (made)
            active = *made;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SwitchDecisionTable,
    ::testing::Values(
        Case{"a rule for another mode switches", none, {{"game", 0, 1}}},
        Case{"a rule for the active mode does nothing", none, {{"editor", 0, none}}},
        Case{"no rule and no return mode stays", none, {{"game", 0, 1}, {"shell", 5000, none}}},
        Case{"no rule goes to the return mode", 0, {{"game", 0, 1}, {"shell", 5000, 0}}},
        Case{"the same app again does nothing", none, {{"game", 0, 1}, {"game", 3000, none}}},
        Case{"a second switch within a second waits", 0,
             {{"game", 0, 1}, {"shell", 400, none}, {"", 999, none}, {"", 1000, 0}}},
        Case{"a held-back switch is made once only", 0,
             {{"game", 0, 1}, {"shell", 400, none}, {"", 1200, 0}, {"", 5000, none}}},
        Case{"a later focus replaces the held-back switch", 0,
             {{"game", 0, 1}, {"shell", 300, none}, {"game", 600, none}, {"", 1500, none}}},
        Case{"flapping focus makes at most one switch a second", 0,
             {{"game", 0, 1},
              {"shell", 200, none},
              {"game", 400, none},
              {"shell", 600, none},
              {"", 1000, 0},
              {"game", 1100, none},
              {"", 2000, 1}}},
        Case{"exactly one second apart both switch", 0, {{"game", 0, 1}, {"shell", 1000, 0}}}),
    [](const ::testing::TestParamInfo<Case>& param) { return "Case" + std::to_string(param.index); });

TEST(SwitchDecision, DueAtNamesWhenAHeldBackSwitchIsDue)
{
    SwitchDecision decision;
    decision.setRules({{QStringLiteral("game"), 1}}, 0);
    EXPECT_EQ(decision.dueAt(), std::nullopt);
    ASSERT_EQ(decision.focusChanged(QStringLiteral("game"), 10'000, 0), 1);
    EXPECT_EQ(decision.focusChanged(QStringLiteral("shell"), 10'300, 1), std::nullopt);
    EXPECT_EQ(decision.dueAt(), 11'000);
}
