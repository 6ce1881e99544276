#pragma once
// The window's side of a device sequence (apply, profile and mode buttons):
// a pause lets the window handle its pending events (it repaints, its busy
// indicator turns) and then waits with the event loop running; the progress
// indicator is the window's busy indicator; warnings go to the message
// dialog; stores run where the window says (its storage thread). The waiting
// itself is injected, so window tests run the sequences without sleeping.

#include "sequences/SequenceHost.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

namespace k4812 {

class WindowSequenceHost final : public SequenceHost {
public:
    struct Operations {
        // Shows (true) or hides the busy indicator APPLYAniIndicator.
        std::function<void(bool visible)> showProgress;
        // Waits `ms` with the event loop running (tests: records and returns).
        std::function<void(int ms)> wait;
        // The message dialog (title, text).
        std::function<void(const QString& title, const QString& text)> warn;
        // FPreSavedLedConfig := light.
        std::function<void(const TLEDCONFIG& light)> setPreSavedLedConfig;
        // After a profile or mode switch: the window refreshes its pages.
        std::function<void()> currentProfileChanged;
        // Runs a store and waits for it (the window: on its storage thread,
        // holding its input); empty: at once.
        std::function<void(const std::function<void()>& store)> runStorage;
        // The desktop's pointer settings the apply hands to its worker (the
        // ones the System Setting page shows); empty: K4812_POINTER_SETTINGS's.
        std::shared_ptr<PointerSettings> pointerSettings;
        // What became of them, on the thread of `receiver` once the worker
        // has ended; not called when `receiver` is gone by then.
        std::function<void(const SystemMouseParamsResult& result)> pointerSettingsDone;
        QPointer<QObject> receiver;
    };

    explicit WindowSequenceHost(Operations operations);

    // Runs a nested event loop for `ms`: what the programs use as `wait`.
    static void waitWithEventLoop(int ms);

    void runStorage(const std::function<void()>& store) override;
    void pause(int milliseconds) override;
    void processMessages() override;
    void showProgress(bool visible) override;
    void showWarning(const QString& title, const QString& text) override;
    // A note of a sequence that still succeeded, in the same dialog under the
    // title "Apply", so the user learns of it.
    void showNote(const QString& text) override;
    void setPreSavedLedConfig(const TLEDCONFIG& light) override;
    void currentProfileChanged() override;
    std::shared_ptr<PointerSettings> pointerSettings() override;
    // Posts the worker's result to the receiver's thread.
    SystemMouseParamsReport pointerSettingsReport() override;

private:
    Operations m_ops;
};

} // namespace k4812
