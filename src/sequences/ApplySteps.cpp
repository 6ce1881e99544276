#include "sequences/ApplySteps.h"

#include "i18n/Translation.h"

#include <algorithm>

namespace k4812 {

const char* applyStepSourceText(ApplyStep step)
{
    switch (step) {
    case ApplyStep::UpdateBegin: return "Start of the update";
    case ApplyStep::CpiReadBack: return "Reading the active CPI level";
    case ApplyStep::Buttons: return "Button settings of Mode %1";
    case ApplyStep::Macros: return "Macros of Mode %1";
    case ApplyStep::Light: return "Light of Mode %1";
    case ApplyStep::CpiLevels: return "CPI levels of Mode %1";
    case ApplyStep::ReportRate: return "Report rate";
    case ApplyStep::ActiveMode: return "Active mode";
    case ApplyStep::WheelLight: return "Wheel light";
    case ApplyStep::Activation: return "Activation";
    case ApplyStep::UpdateEnd: return "End of the update";
    }
    return "";
}

QString applyStepText(const ApplyStepResult& result)
{
    const QString text = translate(QLatin1String(applyStepSourceText(result.step)));
    return result.bank >= 0 ? text.arg(result.bank + 1) : text;
}

bool isWriteStep(ApplyStep step)
{
    return step != ApplyStep::CpiReadBack;
}

std::optional<ApplyStepResult> firstFailedStep(const std::vector<ApplyStepResult>& steps)
{
    const auto failed = std::find_if(steps.begin(), steps.end(),
                                     [](const ApplyStepResult& s) { return s.error != 0 && isWriteStep(s.step); });
    return failed != steps.end() ? std::optional<ApplyStepResult>(*failed) : std::nullopt;
}

} // namespace k4812
