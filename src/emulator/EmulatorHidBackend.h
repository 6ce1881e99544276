#pragma once
// The HID back end that plays the mouse: one HID interface with two
// top-level collections, an ordinary pointer collection (usage page 1,
// usage 2) and the vendor configuration collection (usage page 0xFFA0,
// usage 1, feature reports 2 to 6 of 16 to 4096 bytes), as the real mouse
// shows them. Feature reports go to a MouseEmulator.
//
// With a state file the mouse's state lives in that file, written atomically
// (a new file, then a rename) under a lock (flock on STATEFILE.lock, which
// stays), so separate processes see one mouse. During a device sequence
// (beginSequence to endSequence, the one-writer lock held, so no other
// program reaches the mouse) the state is read at its beginning, kept in
// memory, and written and flushed once at the end: the sequence's exchanges
// touch no file, and a kill at any point leaves the state before the
// sequence or after it. An exchange outside a sequence reads the file, runs,
// and writes it back; it is flushed at an end mark (and when the back end
// goes). Without a state file the mouse lives in this object only.

#include "emulator/EmulatorFaults.h"
#include "platform/hid/HidBackend.h"
#include "emulator/MouseEmulator.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>

namespace k4812 {

class EmulatorHidBackend final : public HidBackend {
public:
    // A mouse that lives in this object only.
    EmulatorHidBackend();
    ~EmulatorHidBackend() override;

    // A mouse kept in `stateFile`, whose folder is made if missing; a missing
    // file is a new mouse. Nothing, with a message in `error`, when the file
    // cannot be read or is damaged.
    static std::unique_ptr<EmulatorHidBackend> create(const QString& stateFile, const EmulatorFaults& faults,
                                                      QString& error);

    std::vector<HidCollection> enumerate() override;
    std::unique_ptr<HidDeviceHandle> open(const HidCollection& collection, int& error) override;
    // The state file's canonical path; empty for a mouse in this object only.
    std::string lockIdentity(const HidCollection& collection) override;
    void beginSequence() override;
    // Writes and flushes what the sequence changed (at the last of nested ends).
    std::string endSequence() override;

    // The model, for tests: its log, faults and (for an in-memory mouse) state.
    MouseEmulator& mouse() { return m_mouse; }
    // The last failure to read or write the state file; empty when none.
    const QString& lastError() const { return m_lastError; }

    // One exchange with the model, with the state file read before and
    // written after, and flushed to the disk when `endsSequence`. A state
    // file that cannot be read or written makes the exchange fail with EIO.
    int exchange(const std::function<int(MouseEmulator&)>& action, bool endsSequence = false);

    // The interface's report descriptor, and the collections it gives.
    static const std::vector<std::uint8_t>& reportDescriptor();
    static std::vector<HidCollection> collections(const std::string& path);

private:
    explicit EmulatorHidBackend(QString stateFile, EmulatorState state);
    bool reload();
    void stateFileFailed(const QString& message);
    void flush();

    QString m_stateFile;
    MouseEmulator m_mouse;
    QString m_lastError;
    bool m_unflushed = false; // written since the last flush to the disk
    int m_sequenceDepth = 0;  // nested sequences running
    bool m_held = false;      // the state is in memory for the running sequence
    bool m_changed = false;   // and was changed there
    // The sequence's end may run on another thread (the window's storage thread).
    std::recursive_mutex m_mutex;
};

} // namespace k4812
