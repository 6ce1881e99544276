#pragma once
// The frame of the command-line tool: global options, the device, and a
// registry of verbs. Each verb lives in its own file and registers itself
// with a static VerbRegistration.

#include "wire/HidData.h"
#include "sequences/DeviceLocking.h"
#include "platform/hid/DeviceSelection.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>
#include <optional>
#include <vector>

namespace k4812::cli {

// Exit statuses shared by all verbs.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;   // the operation failed or the answer is "no"
constexpr int kExitUsage = 2;     // the command line is wrong

struct GlobalOptions {
    QString device;   // --device=...
    QString trace;    // --trace=FILE
};

class Context {
public:
    Context(GlobalOptions options, QTextStream& out, QTextStream& err);
    ~Context();

    QTextStream& out() { return m_out; }
    QTextStream& err() { return m_err; }
    const GlobalOptions& options() const { return m_options; }

    // The device selection of --device or K4812_DEVICE; nothing (with a
    // message on err()) when it is malformed.
    const DeviceSelection* deviceSelection();

    // The device link, built on first use: the selected back end, traced when
    // --trace is given, filtered by config.ini's include list. nullptr (with
    // a message on err()) when the selection is bad.
    TuiHIDData* link();
    // The device link with the mouse locked for this verb (DeviceSequenceLock):
    // a verb is one device sequence, so no other program's sequence runs
    // between its exchanges. Waits for another program's sequence up to the
    // wait bound; nullptr (with a message naming the holder) when it does not
    // end in time.
    TuiHIDData* hid();
    // After the verb: the mouse's state stored (the emulator keeps it in
    // memory for the verb's sequence) and the lock let go. `status`, or a
    // failure with a message when the state could not be stored.
    int endSequence(int status);

    // For verbs that change the stored profiles or the mouse. While the
    // configuration window runs it holds its own copy of every profile and
    // its next Apply or save writes that over whatever changed meanwhile, so
    // such a change is refused: true, with a message that the window is
    // open, when it runs.
    bool windowIsOpen();

    // Prints "k4812ctl: MESSAGE" on err() and returns kExitFailure.
    int fail(const QString& message);
    // Prints a usage error with the verb's usage line and returns kExitUsage.
    int usageError(const QString& message);

    // Set by the dispatcher: the verb being run.
    QString verbName;
    QString verbUsage;

private:
    GlobalOptions m_options;
    QTextStream& m_out;
    QTextStream& m_err;
    bool m_selectionResolved = false;
    std::optional<DeviceSelection> m_selection;
    std::unique_ptr<TuiHIDData> m_hid;
    std::unique_ptr<DeviceSequenceHold> m_deviceLock;
};

using VerbFunction = int (*)(Context& context, const QStringList& args);

// For the shell completion: the words that may come next after the verb and
// the words `after` it, which is a bash pattern over those words joined by
// blanks ("" right after the verb, "light", "button [1-7]").
struct ArgumentWords {
    QString after;
    QStringList words;
};

struct Verb {
    const char* name;     // first word on the command line
    const char* usage;    // full usage text, printed by --help
    const char* summary;  // one line for the verb list; nullptr keeps the verb out of it
    VerbFunction run;
    // The completion of the verb's arguments; without it the words right
    // after the verb come from its usage lines.
    std::vector<ArgumentWords> (*arguments)() = nullptr;
};

struct VerbRegistration {
    explicit VerbRegistration(const Verb& verb);
};

// Every registered verb, in registration order.
const std::vector<Verb>& registeredVerbs();

// Runs the tool with the arguments after the program name. Used by main()
// and by the tests, which run verbs in-process.
int runCli(const QStringList& args, QTextStream& out, QTextStream& err);

// Parses a number written in decimal or with a 0x prefix. Fails on anything
// else, on a negative number and on a value above `max`.
std::optional<unsigned> parseNumber(const QString& text, unsigned max);

// Bytes as upper-case two-digit hex separated by single spaces.
QString hexBytes(const std::uint8_t* bytes, std::size_t count);

} // namespace k4812::cli
