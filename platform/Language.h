// The interface language the user chose: the desktop keeps it under the settings key
// "Language/Language" ("English" or "Deutsch") of organisation "Ostrevan", application "Keldrin";
// the engine reads the same value for its phase texts.
#pragma once

namespace keldrin::platform {

enum Language : int { kEnglish = 0, kGerman = 1 };

// Read at the moment of use: $KELDRIN_LANGUAGE when set, else the settings file
// ($XDG_CONFIG_HOME or ~/.config)/Ostrevan/Keldrin.conf; English when neither says "Deutsch".
Language CurrentLanguage();

}  // namespace keldrin::platform
