#include <gtest/gtest.h>

#include "shared/ScanSettings.h"

namespace keldrin {
namespace {

TEST(ScanSettings, FreshProcessAnswersDefaults) {
    const ScanSettings& s = GetScanSettings();
    EXPECT_TRUE(s.useBootRecords);
    EXPECT_FALSE(s.usePartitionTables);
    EXPECT_FALSE(s.extensiveVolumesSearch);
    EXPECT_FALSE(s.ignoreBadSectors);
    EXPECT_TRUE(s.fatCheckDate && s.fatCheckTime && s.fatThirdOption && s.fatUseFirstCopy &&
                s.fatUseSecondCopy);
    EXPECT_TRUE(s.ntfsVolumeSizeFromFiles);
    EXPECT_TRUE(s.ntfsUseMftFile);
    EXPECT_FALSE(s.ntfsShowMftOnlyFiles);
    EXPECT_TRUE(s.raw.recoverRawFiles);
    EXPECT_FALSE(s.raw.recoverRawFilesOnly);
    EXPECT_EQ(s.raw.maxFileSize, 50000000);
    ASSERT_EQ(s.raw.chosenTypes.size(), 68u);
    EXPECT_EQ(s.raw.chosenTypes.front(), 1);
    EXPECT_EQ(s.raw.chosenTypes.back(), 68);
    EXPECT_EQ(&s, &GetScanSettings());
}

TEST(ScanSettings, LanguageFollowsTheUsersChoice) {
    setenv("KELDRIN_LANGUAGE", "Deutsch", 1);
    EXPECT_EQ(DefaultScanSettings().language, 1);
    setenv("KELDRIN_LANGUAGE", "English", 1);
    EXPECT_EQ(DefaultScanSettings().language, 0);
    unsetenv("KELDRIN_LANGUAGE");
}

}  // namespace
}  // namespace keldrin
