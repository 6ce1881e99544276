#pragma once
// The keyboard capture component of the key dialogs and the macro manager.
//
// While one of its recorders runs, the hook library delivers every key event
// of the program's windows; the component turns them into a single key, a
// combination or a macro recording and reports them through its handlers.
// One recorder is active at a time in the whole process: starting one stops
// whichever ran before.
//
// The library is loaded by the first component and shared by all living
// ones; it is unloaded when the last one goes. When the file cannot be
// loaded, every creation shows "<file> can not be found!" and the recorders
// stay silent (no events, no keys swallowed); stopping a macro recording
// still reports an empty list. A library without one of its four functions
// counts as not loaded, without a message.
//
// Everything runs on the GUI thread: the library calls back on the thread
// that started the recording.

#include "macros/ComboKeyRecorder.h"
#include "macros/HookLibrary.h"
#include "macros/HookRecords.h"
#include "macros/MacroKeyRecorder.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace k4812 {

class TuiHook {
public:
    using KeyHeld = ComboKeyRecorder::KeyHeld;
    using MessageSink = std::function<void(const QString& caption, const QString& text)>;
    using LibraryLoader = std::function<HookLibraryLoad()>;

    using TRecordKeyboardSingleKeyEvent = std::function<void(int Key, std::uint32_t ScanKey, int AState,
                                                             int AKeyExtended, const QString& SingleKeyString,
                                                             bool& ABlocked)>;
    using TRecordKeyboardComboKeyEvent = std::function<void(int Key1, int Key1Extended, int Key2, int Key2Extended,
                                                            int Modifier, const QString& ComboKeyString)>;
    // Time is the event's millisecond stamp as a plain number.
    using TRecordKeyboardMacroKeyExEvent = std::function<void(
        int MacroType, int Key1, int AState, int Extended, double Time, std::uint32_t TotalTime,
        const QString& MacroKeyString, const QString& MacroKeyStateString, const std::vector<TMACROKEYHOOK>& KeyList)>;
    // The list stays the component's and is emptied when the handler returns.
    using TStopRecordKeyboardMacroKeyEvent = std::function<void(const std::vector<TMACROKEYHOOK>& KeyoboardRecordList)>;

    struct Environment {
        // Default: loadHookLibrary() from the program folder.
        LibraryLoader loadLibrary;
        // Where the missing-library message goes (the window's message
        // dialog). Default: a warning on stderr.
        MessageSink showError;
        // Whether a modifier key is held now, for the combination recorder,
        // asked when the library cannot tell how it was at the event itself.
        // Default: as the key events of the running recording left it.
        KeyHeld keyHeld;
    };

    explicit TuiHook(Environment environment = {});
    ~TuiHook();
    TuiHook(const TuiHook&) = delete;
    TuiHook& operator=(const TuiHook&) = delete;

    // True when the library and all four of its functions were found.
    bool DLLLoaded() const;

    void RecordKeyboardSingleKey();
    void StopRecordKeyboardSingleKey();
    void RecordKeyboardComboKey();
    void StopRecordKeyboardComboKey();
    void RecordKeyboardMacroKeyEx();
    void StopRecordKeyboardMacroKeyEx();

    // The macro recording so far.
    const std::vector<TMACROKEYHOOK>& macroKeyList() const { return m_macro.entries(); }

    TRecordKeyboardSingleKeyEvent OnRecordKeyboardSingleKey;
    TRecordKeyboardComboKeyEvent OnRecordKeyboardComboKey;
    TRecordKeyboardMacroKeyExEvent OnRecordKeyboardMacroKeyEx;
    TStopRecordKeyboardMacroKeyEvent OnStopRecordKeyboardMacroKey;

private:
    static void singleKeyCallback(void* userData, int code, int message, TKBDLLHOOKSTRUCT* event, bool* blocked);
    static void comboKeyCallback(void* userData, int code, int message, TKBDLLHOOKSTRUCT* event, bool* blocked);
    static void macroKeyCallback(void* userData, int code, int message, TKBDLLHOOKSTRUCT* event, bool* blocked);

    void startRecording(K4812KeyboardHookCallback callback);
    void stopRecording();
    void noteKeyState(const TKBDLLHOOKSTRUCT& event);
    bool keyHeld(int virtualKey) const;

    Environment m_environment;
    ComboKeyRecorder m_combo;
    MacroKeyRecorder m_macro;
    std::array<bool, 256> m_seenHeld{};
};

} // namespace k4812
