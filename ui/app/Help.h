// The help pages shipped with the program, one per help context id, in English and German, opened
// in the desktop's browser. A missing page is silent, as a missing help file would be.
#pragma once

#include <QString>
#include <functional>

class QKeyEvent;
class QUrl;

namespace keldrin::ui {

// The help context ids of the dialogs.
inline constexpr int kHelpOptionDialog = 46;
inline constexpr int kHelpSearchDialogs = 23;
inline constexpr int kHelpDiskImage = 20;

// The maker's online help, opened by the menu's "Help" and F1.
inline constexpr const char* kOnlineHelpAddress = "https://keldrin.ostrevan.example/help";

// The folder of the pages: $KELDRIN_HELP_DIR, else "help" beside the program, else
// "../share/keldrin/help" from the program's folder. Empty when none exists.
QString HelpFolder();
// The page of contextId in language (0 English, 1 German); empty when there is none.
QString HelpPagePath(int contextId, int language);
// Opens the page; false when there is none.
bool OpenHelp(int contextId, int language);
bool OpenOnlineHelp();
// F1 in a dialog: opens the dialog's English page and takes the key; false for any other key.
bool HandleHelpKey(QKeyEvent* event, int contextId);

// What opens an address; the desktop's browser unless a test replaces it.
std::function<bool(const QUrl&)>& HelpOpener();

}  // namespace keldrin::ui
