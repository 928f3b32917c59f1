// The progress texts of the NTFS tree builds, by the language of the scan settings.
#pragma once

namespace keldrin::ntfs {

inline constexpr int kLanguageGerman = 1;

inline const char* NtfsReadingPhaseText(int language) {
    return language == kLanguageGerman ? "NTFS: Lese Daten" : "NTFS:Reading files";
}

inline const char* NtfsDirectoryPhaseText(int language) {
    return language == kLanguageGerman ? "NTFS: Erstelle Verzeichnissbaum" : "NTFS:Building directory tree";
}

}  // namespace keldrin::ntfs
