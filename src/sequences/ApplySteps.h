#pragma once
// The steps of writing a whole configuration into the mouse, as the apply
// sequence reports them: each command (or group of commands) it sends, with
// the bank it concerns and its error code.

#include <QString>

#include <optional>
#include <vector>

namespace k4812 {

enum class ApplyStep {
    UpdateBegin,   // update mark, begin
    CpiReadBack,   // the mouse's active CPI level read back
    Buttons,       // button block, per bank
    Macros,        // macro blocks, per bank
    Light,         // light block, per bank
    CpiLevels,     // CPI block, per bank
    ReportRate,
    ActiveMode,
    WheelLight,
    Activation,
    UpdateEnd,     // update mark, end
};

struct ApplyStepResult {
    ApplyStep step = ApplyStep::UpdateBegin;
    int bank = -1;   // 0 or 1 for the per-bank steps, else -1
    int error = 0;   // 0 = done, else the errno value of the first failing command

    bool operator==(const ApplyStepResult&) const = default;
};

// The step's English name, the source text of its translation, with "%1"
// for the mode's number in the per-bank steps: "Button settings of Mode %1".
const char* applyStepSourceText(ApplyStep step);

// The step's name as shown: translated, with the mode's number (bank + 1).
QString applyStepText(const ApplyStepResult& result);

// Whether the step writes to the mouse. The CPI read-back only reads: when it
// fails, level 1 becomes active and the settings are still all written.
bool isWriteStep(ApplyStep step);

// The first step that writes to the mouse and whose error is not 0.
std::optional<ApplyStepResult> firstFailedStep(const std::vector<ApplyStepResult>& steps);

} // namespace k4812
