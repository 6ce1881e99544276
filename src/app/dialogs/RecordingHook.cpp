#include "app/dialogs/RecordingHook.h"

#include "i18n/Translation.h"
#include "macros/HookLibrary.h"
#include "ui/dialogs/ErrorBox.h"

#include <QEvent>

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

bool isKeyEvent(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

} // namespace k4812
