#include "app/dialogs/RecordingHook.h"

#include "i18n/Translation.h"
#include "macros/HookLibrary.h"
#include "ui/dialogs/ErrorBox.h"

#include <QPointer>
#include <QWidget>

namespace k4812 {

TuiHook::Environment recordingHookEnvironment(TuiHook::Environment hook, QWidget* owner)
{
    if (!hook.loadLibrary)
        hook.loadLibrary = [] { return loadHookLibrary(); };
    if (!hook.showError) {
        const QPointer<QWidget> guarded(owner);
        hook.showError = [guarded](const QString& caption, const QString& text) {
            ShowErrorBox(translate(caption), translate(text), guarded);
        };
    }
    return hook;
}

} // namespace k4812
