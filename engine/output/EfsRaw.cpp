#include "engine/output/EfsRaw.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "engine/output/OutputFile.h"
#include "engine/output/TargetNames.h"
#include "shared/Log.h"

namespace keldrin::output {
namespace {

// Little-endian fields; every offset used here lies inside its header.
void PutLE(std::span<uint8_t> out, size_t offset, uint32_t value, size_t bytes) {
    for (size_t i = 0; i < bytes && offset + i < out.size(); ++i)
        out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}
void Put32(std::span<uint8_t> out, size_t offset, uint32_t value) {
    PutLE(out, offset, value, 4);
}
void Put16(std::span<uint8_t> out, size_t offset, uint16_t value) {
    PutLE(out, offset, value, 2);
}
// Letters in UTF-16LE, no terminator.
void PutLetters(std::span<uint8_t> out, size_t offset, std::string_view letters) {
    for (size_t i = 0; i < letters.size(); ++i)
        PutLE(out, offset + 2 * i, static_cast<uint8_t>(letters[i]), 2);
}

}  // namespace

std::array<uint8_t, kEfsStreamHeaderBytes> EfsStreamHeader(uint32_t efsLength) {
    std::array<uint8_t, kEfsStreamHeaderBytes> h{};
    Put32(h, 0, 256);
    PutLetters(h, 4, "ROBS");
    Put32(h, 20, 30);
    PutLetters(h, 24, "NTFS");
    Put32(h, 44, 2);
    Put16(h, 48, 0x1910);
    Put32(h, 50, efsLength + 16);
    PutLetters(h, 54, "GURE");
    return h;
}

std::array<uint8_t, kEfsDataHeaderBytes> EfsDataStreamHeader() {
    std::array<uint8_t, kEfsDataHeaderBytes> h{};
    Put32(h, 0, 42);
    PutLetters(h, 4, "NTFS");
    Put32(h, 24, 14);
    PutLetters(h, 28, "::$DATA");
    return h;
}

std::array<uint8_t, kEfsBlockHeaderBytes> EfsBlockHeader(uint16_t index, uint32_t dataBytes,
                                                         uint64_t remaining) {
    std::array<uint8_t, kEfsBlockHeaderBytes> h{};
    const uint32_t carried = static_cast<uint32_t>(std::min<uint64_t>(remaining, dataBytes));
    Put32(h, 0, dataBytes + 512);
    PutLetters(h, 4, "GURE");
    Put16(h, 18, index);
    Put32(h, 24, 496);
    Put32(h, 28, carried);
    Put32(h, 32, carried);
    Put32(h, 36, 0x10100000);
    Put32(h, 40, 0x0001010B);
    Put32(h, 44, dataBytes);
    return h;
}

EfsResult ConvertToEfsRaw(const std::string& path, uint64_t size, IFileRecoverCallback* callback,
                          std::string& outPath) {
    COutputFile in;
    if (!in.Open(path, OpenMode::kRead)) {
        LogError("Failed to open file %s", path.c_str());
        return EfsResult::kFailed;
    }
    std::string target = path + ".EFS";
    if (CreateNewFile(target) != 0) {
        const size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
        const std::string name = (slash == std::string::npos ? path : path.substr(slash + 1)) + ".EFS";
        if (CreateUniqueFile(folder, name, target) != 0) {
            LogError("Failed to create efs file.");
            return EfsResult::kFailed;
        }
    }
    LogInfo("Creating temporary file: %s", target.c_str());
    COutputFile out;
    bool ok = out.Open(target, OpenMode::kCreate);

    std::array<uint8_t, kEfsStreamHeaderBytes> header{};
    ok = ok && in.Read(header.data(), header.size()) == static_cast<int64_t>(header.size());
    uint32_t lengthField = 0;
    std::memcpy(&lengthField, header.data() + 50, 4);
    ok = ok && lengthField >= 16 && out.Write(header.data(), header.size());
    std::vector<uint8_t> buffer(kEfsBlockDataBytes);
    if (ok) {
        const size_t efsBytes = lengthField - 16;
        ok = efsBytes <= buffer.size() &&
             in.Read(buffer.data(), efsBytes) == static_cast<int64_t>(efsBytes) &&
             out.Write(buffer.data(), efsBytes);
    }
    const auto dataHeader = EfsDataStreamHeader();
    ok = ok && out.Write(dataHeader.data(), dataHeader.size());
    bool cancelled = false;
    uint64_t remaining = size;
    for (uint16_t index = 0; ok; ++index) {
        size_t got = 0;
        while (got < buffer.size()) {
            const int64_t n = in.Read(buffer.data() + got, buffer.size() - got);
            if (n < 0) ok = false;
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        if (!ok || got == 0) break;
        const auto block = EfsBlockHeader(index, static_cast<uint32_t>(got), remaining);
        ok = out.Write(block.data(), block.size()) && out.Write(buffer.data(), got);
        remaining -= std::min<uint64_t>(remaining, got);
        if (callback && callback->IsCancelled() == kCancelled) {
            cancelled = true;
            break;
        }
        if (got < buffer.size()) break;
    }
    in.Close();
    out.Close();
    // The intermediate form is never kept: it is neither a plain nor an importable file.
    ::unlink(path.c_str());
    if (!ok || cancelled) {
        LogInfo("Deleting temporary file: %s", target.c_str());
        if (::unlink(target.c_str()) != 0)
            LogError("Failed to delete temporary file : %s, Error code:%d", target.c_str(), errno);
        return cancelled ? EfsResult::kCancelled : EfsResult::kFailed;
    }
    outPath = target;
    return EfsResult::kDone;
}

}  // namespace keldrin::output
