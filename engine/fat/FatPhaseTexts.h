// The progress texts of the FAT tree builds, by the language of the scan settings.
#pragma once

namespace keldrin::fat {

inline constexpr int kLanguageGerman = 1;

enum class FatPhase { kReadingParameters, kDirectories, kNormalFiles, kLayout, kLostFiles, kFixing };

inline const char* FatPhaseText(FatPhase phase, int language) {
    const bool german = language == kLanguageGerman;
    switch (phase) {
        case FatPhase::kReadingParameters:
            return german ? "Lese Partitionsparameter..." : "Reading partition parameters...";
        case FatPhase::kDirectories:
            return german ? "Erstelle Verzeichnisse..." : "Building Directories...";
        case FatPhase::kNormalFiles:
            return german ? "Erstelle normale Daten..." : "Building normal files...";
        case FatPhase::kLayout:
            return german ? "Erstelle Layout..." : "Building layout...";
        case FatPhase::kLostFiles:
            return german ? "Erstelle verlorene Daten..." : "Building lost files...";
        case FatPhase::kFixing:
            return german ? "Ordner reparieren..." : "Fixing directories...";
    }
    return "";
}

}  // namespace keldrin::fat
