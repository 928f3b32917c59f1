#include "shared/ScanSettings.h"

#include "platform/Language.h"

namespace keldrin {

ScanSettings DefaultScanSettings() {
    ScanSettings s;
    s.language = platform::CurrentLanguage() == platform::kGerman ? 1 : 0;
    for (int t = kFirstBuiltInRawType; t <= kLastBuiltInRawType; ++t) s.raw.chosenTypes.push_back(t);
    return s;
}

ScanSettings& GetScanSettings() {
    static ScanSettings settings = DefaultScanSettings();
    return settings;
}

}  // namespace keldrin
