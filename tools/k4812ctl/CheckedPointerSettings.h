#pragma once
// The desktop's pointer settings as `k4812ctl apply` hands them to the apply
// sequence: every call goes to the desktop's own back end, and a setting the
// desktop could not take (it was not reachable, or the value did not stick)
// is remembered, so that the command reports it and fails instead of ending
// with success. Settings a desktop has no place for are not failures.

#include "platform/desktop/PointerSettings.h"

#include <QStringList>
#include <memory>
#include <mutex>

namespace k4812::cli {

class CheckedPointerSettings final : public PointerSettings {
public:
    explicit CheckedPointerSettings(std::shared_ptr<PointerSettings> desktop) : m_desktop(std::move(desktop)) {}

    QString name() const override { return m_desktop->name(); }
    PointerSettingSupport support(PointerSetting setting) const override { return m_desktop->support(setting); }

    // "pointer speed", … : the settings that failed, in the order they were set.
    QStringList failures() const;

protected:
    PointerSettingResult applyMouseAcceleration(const MouseAcceleration& value) override;
    PointerSettingResult applyMouseSpeed(int speed) override;
    PointerSettingResult applyWheelScrollLines(int lines) override;
    PointerSettingResult applyDoubleClickTime(int milliseconds) override;

private:
    PointerSettingResult note(PointerSetting setting, PointerSettingResult result);

    std::shared_ptr<PointerSettings> m_desktop;
    mutable std::mutex m_mutex; // the settings are applied on a worker thread
    QStringList m_failures;
};

} // namespace k4812::cli
