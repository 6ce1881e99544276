#pragma once
// The factory defaults of every stored record. Each function changes only
// the fields it names and leaves every other byte as it was, so restoring a
// record that already holds data keeps its reserved areas (and, for a
// profile, the bodies of its macros).

#include "records/Records.h"

#include <QString>

namespace k4812 {

// The registry key below HKEY_CURRENT_USER that holds every stored record.
inline constexpr const char* kProfileKeyPath = "software\\ZOZozadOdediv4812";
// The folder of the profile files, inside the user's documents folder.
inline constexpr const char* kProfilesFolderName = "Gaming Mouse Profiles";

// "Profile" + number (1 to 5) + ".pfd".
QString defaultProfileFileName(int profileIndex);

// The profile defaults: button and wheel functions, pointer, report rate,
// light, CPI levels and fire defaults; no macro in use (their bodies stay).
void applyProfileDefaults(TMOUSEPROFILEINFO& profile);

// Every profile in its file "ProfileN.pfd" in `profilesFolder` (given
// without a trailing '/'), macros in "ProfileN_Macros" beside them; Mode 1
// active, bound to profile 0, Mode 2 bound to profile 1.
void applyProfileSettingGroupDefaults(TProfileSettingGroup& group, const QString& profilesFolder);

// 0 for a language the language file does not carry first ("0409" and any
// other), 1 for "0804", 2 for "0404"; letter case does not matter.
int languageIndexOfWindowsLanguageId(const QString& windowsLanguageId);

// Profile 0 current, the language of `windowsLanguageId`.
void applyAllSettingsDefaults(TALLGAMESINFO& all, const QString& windowsLanguageId);

// The factory-test profile: version 258, eight buttons, the last three
// sending raw codes. Zeroes the whole record first.
void applyTestProfileDefaults(TMOUSEPROFILEINFO& profile);

// The four default CPI levels (400, 800, 1600, 3500) in CPIState, and the
// same snapped to the sensor's steps in HWCPIState; levels 4 to 9 zero.
void applyDefaultCpiLevels(TMOUSECONFIGINFO& config);

// The Sensitivity page's "restore defaults". CPILevel is kept.
void applyCpiSettingDefaults(TMOUSEPROFILEINFO& profile);

// The Advanced page's "restore defaults": options, fire, report rate, light.
void applyLightAndReportAdvancedDefaults(TMOUSEPROFILEINFO& profile);

} // namespace k4812
