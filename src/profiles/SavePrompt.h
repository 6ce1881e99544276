#pragma once
// What the window's Cancel stores when the user answers the save prompt
// ("The settings was changed, save the current setting anyway?") with OK:
// the all-settings record and all five profiles (the current one with the
// working copy) to the registry and their files, each profile's two copies
// together. Nothing reaches the mouse.

#include <QString>
#include <QStringList>

namespace k4812 {

class TDM;

// The English source texts of the prompt and of its failure (shown translated).
inline constexpr const char* kSavePromptTitle = "Warning";
inline constexpr const char* kSavePromptText = "The settings was changed, save the current setting anyway?";
inline constexpr const char* kSavePromptFailedText = "Not every profile could be saved.";

struct SavePromptResult {
    // One sentence (English detail) per store that was not saved.
    QStringList failures;

    bool saved() const { return failures.isEmpty(); }
};

// Stores as described. Every store is tried, each profile on its own, even
// when an earlier one failed or threw: one file that cannot be written must
// not keep the others unsaved. Storage errors are caught and listed.
SavePromptResult StoreOnSavePrompt(TDM& dm);

} // namespace k4812
