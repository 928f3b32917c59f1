// Real NTFS images of the corpus, checked against the oracle listing kept beside each image.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/ntfs/BootSector.h"
#include "engine/ntfs/DataRuns.h"
#include "engine/ntfs/FileRecord.h"
#include "engine/ntfs/NtfsVolumeAnalyze.h"
#include "engine/ntfs/SystemFiles.h"

namespace keldrin::ntfs {
namespace {

namespace fs = std::filesystem;

// Sectors of an image file, read with pread.
class ImageDevice : public IStorageDevice {
  public:
    explicit ImageDevice(const fs::path& path) : file_(std::fopen(path.c_str(), "rb")) {}
    ~ImageDevice() override {
        if (file_) std::fclose(file_);
    }
    bool IsOpen() const { return file_ != nullptr; }
    bool ReadSectors(void* buffer, int64_t first, int64_t count) override {
        if (!file_ || first < 0 || count < 0) return false;
        const size_t bytes = static_cast<size_t>(count) * kSectorSize;
        return pread(fileno(file_), buffer, bytes, first * kSectorSize) == static_cast<ssize_t>(bytes);
    }
    int64_t GetTotalSectors() override { return 0; }
    bool Open() override { return IsOpen(); }
    bool Close() override { return true; }

  private:
    std::FILE* file_;
};

// The image unpacked into a temporary file that goes with this object.
class UnpackedImage {
  public:
    explicit UnpackedImage(const fs::path& gz) {
        path_ = fs::temp_directory_path() /
                ("keldrin-ntfs-" + std::to_string(getpid()) + "-" + gz.stem().string());
        gzFile in = gzopen(gz.c_str(), "rb");
        std::ofstream out(path_, std::ios::binary);
        if (!in || !out) {
            if (in) gzclose(in);
            return;
        }
        std::vector<char> buffer(1 << 20);
        int n = 0;
        while ((n = gzread(in, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0)
            out.write(buffer.data(), n);
        ok_ = n == 0 && out.good();
        gzclose(in);
    }
    ~UnpackedImage() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    bool ok() const { return ok_; }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
    bool ok_ = false;
};

// The value of "Key: value" inside the first fsstat section of the listing; empty when absent.
std::string OracleValue(const fs::path& listing, const std::string& key) {
    std::ifstream in(listing);
    std::string line;
    bool inFsstat = false;
    while (std::getline(in, line)) {
        if (line.rfind("### fsstat", 0) == 0) {
            inFsstat = true;
        } else if (inFsstat && line.rfind("###", 0) == 0) {
            break;
        } else if (inFsstat && line.rfind(key + ": ", 0) == 0) {
            return line.substr(key.size() + 2);
        }
    }
    return {};
}

struct Image {
    const char* file;     // under the corpus folder
    const char* listing;  // the oracle beside it
    bool gzipped;
    int64_t firstSector;  // of the NTFS volume, as the listing's partition table gives it
};

TEST(NtfsCorpus, BootSectorMftAndLabelAgreeWithTheOracle) {
    const fs::path corpus = KELDRIN_CORPUS_DIR;
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    const Image images[] = {
        {"colinfinck-ntfs/testfs1", "colinfinck-ntfs/testfs1.fls.txt", false, 0},
        {"dfir_ntfs/ntfs_index.raw.gz", "dfir_ntfs/ntfs_index.raw.fls.txt", true, 128},
        {"dfir_ntfs/ntfs3.raw.gz", "dfir_ntfs/ntfs3.raw.fls.txt", true, 0},
    };
    int checked = 0;
    for (const Image& image : images) {
        SCOPED_TRACE(image.file);
        const fs::path source = corpus / image.file;
        if (!fs::exists(source)) continue;
        std::optional<UnpackedImage> unpacked;
        fs::path raw = source;
        if (image.gzipped) {
            unpacked.emplace(source);
            ASSERT_TRUE(unpacked->ok());
            raw = unpacked->path();
        }
        ImageDevice device(raw);
        ASSERT_TRUE(device.IsOpen());

        uint8_t sector[512];
        ASSERT_TRUE(device.ReadSectors(sector, image.firstSector, 1));
        const CNTFSDBR boot{std::span<const uint8_t>(sector)};
        ASSERT_TRUE(boot.IsValid());
        const fs::path listing = corpus / image.listing;
        char serial[32];
        std::snprintf(serial, sizeof serial, "%016" PRIX64, GetVolumeSerial(boot));
        EXPECT_EQ(serial, OracleValue(listing, "Volume Serial Number"));
        EXPECT_EQ(std::to_string(GetMftCluster(boot)), OracleValue(listing, "First Cluster of MFT"));

        const uint32_t recordSize = GetFileRecordSize(boot);
        const uint32_t spc = GetSectorsPerCluster(boot);
        std::vector<uint8_t> record(recordSize);
        ASSERT_TRUE(device.ReadSectors(record.data(), image.firstSector + GetMftCluster(boot) * spc,
                                       recordSize / 512));
        const FileRecord mft(record, false);
        ASSERT_TRUE(mft.IsValid());
        EXPECT_TRUE(mft.IsFixedUp());
        EXPECT_TRUE(IsSystemFile(mft, "$MFT"));
        EXPECT_EQ(GetSystemFileCode(mft), 0);
        EXPECT_EQ(ClusterSizeFromRecord(mft), spc);

        CNtfsVolumeAnalyze volume(&device, image.firstSector);
        EXPECT_EQ(volume.GetFileSystemType(), kFsNtfs);
        EXPECT_EQ(volume.GetTotalSectors(), GetTotalSectors(boot));
        char label[100];
        volume.GetVolumeLabel(label, sizeof label);
        EXPECT_EQ(std::string(label), OracleValue(listing, "Volume Name"));
        ++checked;
    }
    if (checked == 0) GTEST_SKIP() << "no NTFS image in the corpus";
}

}  // namespace
}  // namespace keldrin::ntfs
