#pragma once
// The rules of giving a button a function, on a profile record: what each
// menu choice stores in the button's TBUTTONFUNCINFO, the two primary
// buttons (never both "Right Click"), and the limit of five distinct macros.
//
// The window runs the dialogs (single key, combination, fire key) and then
// calls the matching operation with the dialog's result; the command line
// calls them with values from its arguments. None of them saves anything:
// the caller writes the profile back (TDM::SaveBackToCurrentProfileInfo).
//
// Buttons are numbered by their element of ButtonFuncInfo (0 to 14); 0 and
// 1 are the primary buttons, which take only "Click" and "Right Click".

#include "records/Records.h"

#include <QString>

namespace k4812 {

constexpr int kMaxAssignedMacros = 5;
constexpr int kFireCountMin = 1;
constexpr int kFireCountMax = 255;
constexpr int kFireDelayMin = 1;     // units of 10 ms, as the fire dialog takes it
constexpr int kFireDelayMax = 255;

enum class AssignmentResult {
    Assigned,
    NoSuchButton,      // element outside 0 to 14
    NotOnThisButton,   // the primary buttons take only Click and Right Click
    NeedsValue,        // a choice with a dialog: use its own operation
    UnknownChoice,     // no such menu item
    KeyNotSendable,    // a key the mouse cannot send (no usage, or one above 255)
    BadValue,          // fire count or delay outside 1 to 255, unknown modifier bits
    NoSuchMacro,       // the profile's list has no macro of that index
    TooManyMacros,     // a sixth distinct macro; the button keeps its function
};

struct AssignmentOutcome {
    AssignmentResult result = AssignmentResult::Assigned;
    // The other primary button, when choosing Right Click turned it into Click; else -1.
    int alsoChanged = -1;

    bool assigned() const { return result == AssignmentResult::Assigned; }
};

// The choices that need no value: mouse buttons (1-5), the Basic and
// Advanced shortcuts (801-808, 901-906), media keys (1001-1007), DPI Switch,
// DPI + and DPI - (12-14) and Disable (16).
AssignmentOutcome AssignButtonFunction(TMOUSEPROFILEINFO& profile, int button, int menuId);

// "Single Key" with the key the dialog recorded (nKey1Extended 0 or 1).
AssignmentOutcome AssignSingleKey(TMOUSEPROFILEINFO& profile, int button, const TSINGLEKEYINFO& key);

// "Combo Key" with the combination the dialog recorded: a first key, an
// optional second key (0 = none) and modifier bits 1 Alt, 2 Ctrl, 4 Shift, 8 Win.
AssignmentOutcome AssignComboKey(TMOUSEPROFILEINFO& profile, int button, const TCOMBOKEYINFO& combo);

// What the fire dialog starts from: the button's own fire values, or the
// profile's FireKeyCount and FireKeySpeed when its delay is 0.
TFIREKEYINFO FireKeyDialogInput(const TMOUSEPROFILEINFO& profile, int button);

// "Fire Key..." with the dialog's count and delay (each 1 to 255).
AssignmentOutcome AssignFireKey(TMOUSEPROFILEINFO& profile, int button, const TFIREKEYINFO& fire);

// Macro `macroIndex` of the profile's list (menu item 1102 + macroIndex).
// Refused, the button unchanged, when it would make a sixth distinct macro.
AssignmentOutcome AssignMacro(TMOUSEPROFILEINFO& profile, int button, int macroIndex);

// Distinct macros (by nMacroIndex) on button elements 0 to 9.
int CountAssignedMacros(const TMOUSEPROFILEINFO& profile);

// The index of the first macro of the profile's list with exactly this name
// (at most 50 units), or -1.
int FindMacroByName(const TMOUSEPROFILEINFO& profile, const QString& name);

// Whether the mouse can send this key from a button: it has a HID usage that
// fits a byte.
bool IsSendableKey(int virtualKey, int extendedFlag);

} // namespace k4812
