#include "tests/ntfs/NtfsBuilders.h"

#include <algorithm>
#include <cstring>

#include "engine/model/Extent.h"

namespace keldrin::ntfs::test {
namespace {

size_t Align8(size_t n) {
    return (n + 7) & ~size_t{7};
}

void PutName(Bytes& b, size_t offset, std::u16string_view name) {
    for (size_t i = 0; i < name.size(); ++i) Put16(b, offset + 2 * i, name[i]);
}

}  // namespace

void Put16(Bytes& b, size_t offset, uint16_t v) {
    for (size_t i = 0; i < 2; ++i) b.at(offset + i) = static_cast<uint8_t>(v >> (8 * i));
}
void Put32(Bytes& b, size_t offset, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) b.at(offset + i) = static_cast<uint8_t>(v >> (8 * i));
}
void Put64(Bytes& b, size_t offset, uint64_t v) {
    for (size_t i = 0; i < 8; ++i) b.at(offset + i) = static_cast<uint8_t>(v >> (8 * i));
}

Bytes Utf16(std::u16string_view text) {
    Bytes b(2 * text.size());
    PutName(b, 0, text);
    return b;
}

Bytes FileNameValue(const FileNameSpec& spec) {
    Bytes v(66 + 2 * spec.name.size());
    Put64(v, 0, spec.parent);
    Put64(v, 8, 11);
    Put64(v, 16, 12);
    Put64(v, 24, 13);
    Put64(v, 32, 14);
    Put64(v, 40, static_cast<uint64_t>(spec.allocatedSize));
    Put64(v, 48, static_cast<uint64_t>(spec.dataSize));
    Put32(v, 56, spec.flags);
    v[64] = static_cast<uint8_t>(spec.name.size());
    v[65] = spec.nameSpace;
    PutName(v, 66, spec.name);
    return v;
}

Bytes StandardInformationValue(uint32_t fileAttributes, uint64_t creation, uint64_t modification,
                               uint64_t access) {
    Bytes v(48);
    Put64(v, 0, creation);
    Put64(v, 8, modification);
    Put64(v, 16, 99);
    Put64(v, 24, access);
    Put32(v, 32, fileAttributes);
    return v;
}

Bytes ResidentAttribute(uint32_t type, const Bytes& value, std::u16string_view name) {
    const size_t nameOffset = 24;
    const size_t valueOffset = Align8(nameOffset + 2 * name.size());
    Bytes a(Align8(valueOffset + value.size()));
    Put32(a, 0, type);
    Put32(a, 4, static_cast<uint32_t>(a.size()));
    a[8] = 0;
    a[9] = static_cast<uint8_t>(name.size());
    Put16(a, 10, static_cast<uint16_t>(nameOffset));
    Put32(a, 16, static_cast<uint32_t>(value.size()));
    Put16(a, 20, static_cast<uint16_t>(valueOffset));
    PutName(a, nameOffset, name);
    std::copy(value.begin(), value.end(), a.begin() + static_cast<ptrdiff_t>(valueOffset));
    return a;
}

Bytes NonResidentAttribute(uint32_t type, const NonResidentSpec& spec) {
    const size_t nameOffset = 64;
    const size_t pairsOffset = Align8(nameOffset + 2 * spec.name.size());
    Bytes a(Align8(pairsOffset + spec.pairs.size()));
    Put32(a, 0, type);
    Put32(a, 4, static_cast<uint32_t>(a.size()));
    a[8] = 1;
    a[9] = static_cast<uint8_t>(spec.name.size());
    Put16(a, 10, static_cast<uint16_t>(nameOffset));
    Put16(a, 12, spec.flags);
    Put64(a, 16, static_cast<uint64_t>(spec.firstVcn));
    Put64(a, 24, static_cast<uint64_t>(spec.lastVcn));
    Put16(a, 32, static_cast<uint16_t>(pairsOffset));
    Put64(a, 40, static_cast<uint64_t>(spec.allocatedSize));
    Put64(a, 48, static_cast<uint64_t>(spec.dataSize));
    Put64(a, 56, static_cast<uint64_t>(spec.initializedSize));
    PutName(a, nameOffset, spec.name);
    std::copy(spec.pairs.begin(), spec.pairs.end(), a.begin() + static_cast<ptrdiff_t>(pairsOffset));
    return a;
}

RecordBuilder::RecordBuilder(size_t size) : size_(size), first_(Align8(48 + 2 * (size / 512 + 1))) {}

RecordBuilder& RecordBuilder::Flags(uint16_t flags) {
    flags_ = flags;
    return *this;
}
RecordBuilder& RecordBuilder::Base(uint64_t reference) {
    base_ = reference;
    return *this;
}
RecordBuilder& RecordBuilder::Number(uint32_t number) {
    number_ = number;
    return *this;
}
RecordBuilder& RecordBuilder::Add(const Bytes& attribute) {
    body_.insert(body_.end(), attribute.begin(), attribute.end());
    return *this;
}
RecordBuilder& RecordBuilder::AddStandardInformation(uint32_t fileAttributes) {
    return Add(ResidentAttribute(0x10, StandardInformationValue(fileAttributes)));
}
RecordBuilder& RecordBuilder::AddFileName(const FileNameSpec& spec) {
    return Add(ResidentAttribute(0x30, FileNameValue(spec)));
}
RecordBuilder& RecordBuilder::NoEndMarker() {
    endMarker_ = false;
    return *this;
}
RecordBuilder& RecordBuilder::BytesInUse(uint32_t bytes) {
    inUseSet_ = true;
    inUse_ = bytes;
    return *this;
}

Bytes RecordBuilder::Build(uint16_t usn) const {
    Bytes r(size_);
    const size_t strides = size_ / 512;
    std::memcpy(r.data(), "FILE", 4);
    Put16(r, 4, 48);
    Put16(r, 6, static_cast<uint16_t>(strides + 1));
    Put64(r, 8, 0x1234);
    Put16(r, 16, 1);
    Put16(r, 18, 1);
    Put16(r, 20, static_cast<uint16_t>(first_));
    Put16(r, 22, flags_);
    Put64(r, 32, base_);
    Put16(r, 40, 8);
    Put32(r, 44, number_);
    std::copy(body_.begin(), body_.end(), r.begin() + static_cast<ptrdiff_t>(first_));
    size_t end = first_ + body_.size();
    if (endMarker_) {
        Put32(r, end, 0xFFFFFFFF);
        end += 8;
    }
    Put32(r, 24, inUseSet_ ? inUse_ : static_cast<uint32_t>(end));
    Put32(r, 28, static_cast<uint32_t>(size_));
    ProtectStrides(r, 48, strides, usn);
    return r;
}

void ProtectStrides(Bytes& record, size_t usaOffset, size_t strides, uint16_t usn) {
    Put16(record, usaOffset, usn);
    for (size_t i = 0; i < strides; ++i) {
        const size_t end = i * 512 + 510;
        record.at(usaOffset + 2 + 2 * i) = record.at(end);
        record.at(usaOffset + 3 + 2 * i) = record.at(end + 1);
        Put16(record, end, usn);
    }
}

Bytes BootSector(const BootSpec& spec) {
    Bytes b(512);
    b[0] = 0xEB;
    b[1] = 0x52;
    b[2] = 0x90;
    std::copy(spec.oem.begin(), spec.oem.end(), b.begin() + 3);
    Put16(b, 11, spec.bytesPerSector);
    b[13] = spec.sectorsPerCluster;
    b[21] = 0xF8;
    Put64(b, 40, spec.totalSectors);
    Put64(b, 48, spec.mftCluster);
    Put64(b, 56, spec.mftMirrCluster);
    b[64] = static_cast<uint8_t>(spec.clustersPerRecord);
    b[68] = 1;
    Put64(b, 72, spec.serial);
    b[510] = 0x55;
    b[511] = 0xAA;
    return b;
}

void MemoryDevice::Write(int64_t sector, std::span<const uint8_t> data) {
    std::copy(data.begin(), data.end(), bytes_.begin() + sector * kSectorSize);
}

bool MemoryDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    ++reads_;
    const int64_t total = GetTotalSectors();
    if (firstSector < 0 || sectorCount < 0 || firstSector > total || sectorCount > total - firstSector)
        return false;
    std::memcpy(buffer, bytes_.data() + firstSector * kSectorSize,
                static_cast<size_t>(sectorCount) * kSectorSize);
    return true;
}

Bytes AttributeListValue(std::initializer_list<std::pair<uint32_t, uint64_t>> entries) {
    Bytes list;
    for (const auto& [type, reference] : entries) {
        Bytes e(32);
        Put32(e, 0, type);
        Put16(e, 4, 32);
        Put64(e, 16, reference);
        list.insert(list.end(), e.begin(), e.end());
    }
    return list;
}

Bytes DataAttribute(const std::vector<Cluster>& runs, int64_t dataSize, int64_t firstVcn, uint16_t flags) {
    std::vector<Extent> extents;
    int64_t clusters = 0;
    for (const Cluster& c : runs) {
        extents.push_back(
            {c.lcn < 0 ? kSparseStart : static_cast<uint64_t>(c.lcn), static_cast<uint64_t>(c.length)});
        clusters += c.length;
    }
    return NonResidentAttribute(0x80, {.pairs = EncodeMappingPairs(extents),
                                       .firstVcn = firstVcn,
                                       .lastVcn = firstVcn + clusters - 1,
                                       .allocatedSize = clusters * 4096,
                                       .dataSize = dataSize,
                                       .initializedSize = dataSize,
                                       .flags = flags});
}

RecordBuilder UserRecord(uint32_t number, const FileSpec& spec, size_t recordSize) {
    RecordBuilder b(recordSize);
    b.Number(number)
        .Flags(static_cast<uint16_t>((spec.inUse ? 0x0001 : 0) | (spec.folder ? 0x0002 : 0)))
        .AddStandardInformation(spec.fileAttributes)
        .AddFileName({.parent = spec.parent,
                      .name = spec.name,
                      .flags = spec.folder ? kFileNameFolder : 0,
                      .dataSize = spec.residentBytes > 0 ? spec.residentBytes : 0});
    if (spec.residentBytes >= 0)
        b.Add(ResidentAttribute(0x80, Bytes(static_cast<size_t>(spec.residentBytes), 0x5A)));
    return b;
}

RecordBuilder SystemRecord(uint32_t number, std::u16string_view name, size_t recordSize) {
    RecordBuilder b(recordSize);
    b.Number(number).AddStandardInformation(0x06).AddFileName({.name = name, .nameSpace = 3});
    return b;
}

FakeVolume::FakeVolume(const FakeLayout& layout)
    : layout_(layout),
      recordSize_(layout.clustersPerRecord < 0
                      ? size_t{1} << -layout.clustersPerRecord
                      : size_t(layout.clustersPerRecord) * 512 * layout.sectorsPerCluster),
      device_(layout.deviceSectors) {
    device_.Write(layout.firstSector,
                  BootSector({.sectorsPerCluster = layout.sectorsPerCluster,
                              .clustersPerRecord = layout.clustersPerRecord,
                              .totalSectors = static_cast<uint64_t>(layout.deviceSectors - 1),
                              .mftCluster = static_cast<uint64_t>(layout.mftCluster),
                              .mftMirrCluster = static_cast<uint64_t>(layout.mirrCluster)}));
    Put(0, MftRecord());
    static constexpr std::u16string_view kNames[] = {u"$MFT",     u"$MFTMirr", u"$LogFile", u"$Volume",
                                                     u"$AttrDef", u".",        u"$Bitmap",  u"$Boot",
                                                     u"$BadClus", u"$Secure",  u"$UpCase",  u"$Extend"};
    for (uint32_t n = 1; n < 12; ++n) {
        RecordBuilder r = SystemRecord(n, kNames[n], recordSize_);
        if (n == 3) r.Add(ResidentAttribute(0x60, Utf16(layout.label)));
        if (n == 5 || n == 11) r.Flags(0x0003);
        Put(n, r);
    }
}

int64_t FakeVolume::RecordSector(int64_t n) const {
    return ClusterSector(layout_.mftCluster) + n * static_cast<int64_t>(recordSize_ / 512);
}

void FakeVolume::Put(int64_t n, const Bytes& record) {
    device_.Write(RecordSector(n), record);
    if (n < 4) {
        device_.Write(ClusterSector(layout_.mirrCluster) + n * static_cast<int64_t>(recordSize_ / 512),
                      record);
    }
}

void FakeVolume::Overwrite(int64_t n, const Bytes& bytes) {
    device_.Write(RecordSector(n), bytes);
}

RecordBuilder FakeVolume::MftRecord(const std::vector<Cluster>& runs, int64_t dataSize) const {
    RecordBuilder b = SystemRecord(0, u"$MFT", recordSize_);
    b.Add(DataAttribute(runs, dataSize));
    return b;
}

RecordBuilder FakeVolume::MftRecord() const {
    const int64_t bytes = layout_.mftRecords * static_cast<int64_t>(recordSize_);
    const int64_t clusterBytes = int64_t{layout_.sectorsPerCluster} * 512;
    return MftRecord({{layout_.mftCluster, (bytes + clusterBytes - 1) / clusterBytes}}, bytes);
}

}  // namespace keldrin::ntfs::test
