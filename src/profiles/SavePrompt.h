#pragma once
// What the window's Cancel stores when the user answers the save prompt
// ("The settings was changed, save the current setting anyway?") with OK:
// the all-settings record and all five profiles (the current one with the
// working copy) to the registry and their files, each profile's two copies
// together. Nothing reaches the mouse.

#include <QString>

namespace k4812 {

class TDM;

// The English source texts of the prompt (shown translated).
inline constexpr const char* kSavePromptTitle = "Warning";
inline constexpr const char* kSavePromptText = "The settings was changed, save the current setting anyway?";

// Stores as described; false when a store could not be saved. StorageError
// from the storage layers passes through.
bool StoreOnSavePrompt(TDM& dm);

} // namespace k4812
