#include "macros/TuiHook.h"

#include "wire/KeyCodeTable.h"

#include <QDebug>

namespace k4812 {

namespace {

// The library and its entry points are the process's, shared by every
// component; `users` counts the living components, `active` is the one whose
// callback the library holds (so no callback outlives its component).
struct SharedHookLibrary {
    bool loaded = false;
    HookLibraryLoad library;
    int users = 0;
    const TuiHook* active = nullptr;
};

SharedHookLibrary& shared()
{
    static SharedHookLibrary state;
    return state;
}

} // namespace

TuiHook::TuiHook(Environment environment) : m_environment(std::move(environment))
{
    SharedHookLibrary& s = shared();
    ++s.users;
    if (s.loaded)
        return;
    HookLibraryLoad load = m_environment.loadLibrary ? m_environment.loadLibrary() : loadHookLibrary();
    switch (load.status) {
    case HookLibraryLoad::Status::Loaded:
        s.library = std::move(load);
        s.loaded = true;
        break;
    case HookLibraryLoad::Status::CannotLoad: {
        const QString text = load.fileName + QStringLiteral(" can not be found!");
        if (m_environment.showError)
            m_environment.showError(QStringLiteral("Error"), text);
        else
            qWarning().noquote() << text << load.detail;
        break;
    }
    case HookLibraryLoad::Status::FunctionMissing:
        break;
    }
}

TuiHook::~TuiHook()
{
    SharedHookLibrary& s = shared();
    stopRecording();
    if (--s.users == 0 && s.loaded) {
        if (s.library.unload)
            s.library.unload();
        s = SharedHookLibrary{};
    }
}

bool TuiHook::DLLLoaded() const
{
    return shared().loaded;
}

void TuiHook::startRecording(K4812KeyboardHookCallback callback)
{
    SharedHookLibrary& s = shared();
    if (!s.loaded)
        return;
    m_seenHeld.fill(false);
    s.library.entryPoints.DisableKeyboardHook();
    s.library.entryPoints.EnableKeyboardHook(callback, this, 0);
    s.active = this;
}

void TuiHook::stopRecording()
{
    SharedHookLibrary& s = shared();
    // Another component's recording replaced ours: leave it running.
    if (!s.loaded || s.active != this)
        return;
    s.library.entryPoints.DisableKeyboardHook();
    s.active = nullptr;
}

void TuiHook::RecordKeyboardSingleKey()
{
    startRecording(&TuiHook::singleKeyCallback);
}

void TuiHook::StopRecordKeyboardSingleKey()
{
    stopRecording();
}

void TuiHook::RecordKeyboardComboKey()
{
    startRecording(&TuiHook::comboKeyCallback);
    m_combo.restart();
}

void TuiHook::StopRecordKeyboardComboKey()
{
    stopRecording();
    m_combo.restart();
}

void TuiHook::RecordKeyboardMacroKeyEx()
{
    m_macro.clear();
    startRecording(&TuiHook::macroKeyCallback);
}

void TuiHook::StopRecordKeyboardMacroKeyEx()
{
    stopRecording();
    if (OnStopRecordKeyboardMacroKey)
        OnStopRecordKeyboardMacroKey(m_macro.entries());
    m_macro.clear();
}

void TuiHook::noteKeyState(const TKBDLLHOOKSTRUCT& event)
{
    if (event.vkCode < m_seenHeld.size())
        m_seenHeld[event.vkCode] = (event.flags & kKeyFlagReleased) == 0;
}

bool TuiHook::keyHeld(int virtualKey) const
{
    // As it was when the event was made, where the library can tell.
    if (const K4812GetHookKeyState keyState = shared().library.entryPoints.GetHookKeyState) {
        if (const int state = keyState(virtualKey); state >= 0)
            return state != 0;
    }
    if (m_environment.keyHeld)
        return m_environment.keyHeld(virtualKey);
    return virtualKey >= 0 && virtualKey < int(m_seenHeld.size()) && m_seenHeld[std::size_t(virtualKey)];
}

void TuiHook::singleKeyCallback(void* userData, int, int, TKBDLLHOOKSTRUCT* event, bool* blocked)
{
    auto* self = static_cast<TuiHook*>(userData);
    if (self == nullptr || event == nullptr || blocked == nullptr || !self->OnRecordKeyboardSingleKey)
        return;
    self->noteKeyState(*event);
    const int extended = (event->flags & kKeyFlagExtended) != 0 ? 1 : 0;
    const int state = (event->flags & kKeyFlagReleased) != 0 ? 0 : 1;
    // The handler may block the key; the recorder itself lets it through.
    self->OnRecordKeyboardSingleKey(int(event->vkCode), event->scanCode, state, extended,
                                    KeyNameOf(int(event->vkCode), extended), *blocked);
}

void TuiHook::comboKeyCallback(void* userData, int, int, TKBDLLHOOKSTRUCT* event, bool* blocked)
{
    auto* self = static_cast<TuiHook*>(userData);
    if (self == nullptr || event == nullptr || blocked == nullptr)
        return;
    self->noteKeyState(*event);
    if (!self->OnRecordKeyboardComboKey)
        return;
    const ComboKeyRecorder::Outcome outcome =
        self->m_combo.record(*event, [self](int virtualKey) { return self->keyHeld(virtualKey); });
    if (outcome.combo) {
        const TCOMBOKEY& c = *outcome.combo;
        self->OnRecordKeyboardComboKey(c.nKeyValue1, c.nKeyValue1Extended, c.nKeyValue2, c.nKeyValue2Extended,
                                       c.nModifier, outcome.text);
    }
    if (outcome.blocked)
        *blocked = true;
}

void TuiHook::macroKeyCallback(void* userData, int, int, TKBDLLHOOKSTRUCT* event, bool* blocked)
{
    auto* self = static_cast<TuiHook*>(userData);
    if (self == nullptr || event == nullptr || blocked == nullptr || !self->OnRecordKeyboardMacroKeyEx)
        return;
    const MacroKeyRecorder::Outcome outcome = self->m_macro.record(*event);
    if (outcome.key) {
        const TMACROKEYHOOK& k = *outcome.key;
        self->OnRecordKeyboardMacroKeyEx(1, k.nKeyValue, k.nKeyState, k.nKeyValueExtended, k.Time, outcome.totalTime,
                                         k.MacroKeyString, k.MacroKeyStateString, self->m_macro.entries());
    }
    if (outcome.blocked)
        *blocked = true;
}

} // namespace k4812
