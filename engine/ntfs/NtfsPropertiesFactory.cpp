#include "engine/ntfs/NtfsPropertiesFactory.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/model/Extent.h"
#include "engine/model/FileProperties.h"
#include "engine/ntfs/LeReader.h"
#include "engine/ntfs/NtfsRuns.h"
#include "engine/ntfs/SystemFiles.h"
#include "platform/Utf16.h"
#include "shared/TypeFilter.h"

namespace keldrin::ntfs {
namespace {

constexpr size_t kStandardInformationUsed = 40;

// Reused by every record a thread converts, so that a build allocates nothing per record beyond
// the properties themselves.
struct Scratch {
    std::string name;
    std::vector<NtfsRun> runs;
    std::vector<Extent> extents;
};
thread_local Scratch t_scratch;

// UTF-16LE to UTF-8 without loss, ending at a zero unit; an unpaired surrogate becomes "_".
void NameToUtf8(std::span<const uint8_t> units, std::string& out) {
    out.clear();
    const size_t count = units.size() / 2;
    const auto unitAt = [&units](size_t i) {
        return uint32_t{units[2 * i]} | uint32_t{units[2 * i + 1]} << 8;
    };
    // Most names are ASCII and no longer than a $FILE_NAME allows: gathered here, they go over in
    // one piece.
    char ascii[256];
    if (count <= sizeof ascii) {
        size_t n = 0;
        while (n < count && unitAt(n) != 0 && unitAt(n) < 0x80) {
            ascii[n] = static_cast<char>(unitAt(n));
            ++n;
        }
        if (n == count || unitAt(n) == 0) {
            out.assign(ascii, n);
            return;
        }
    }
    for (size_t i = 0; i < count; ++i) {
        const uint32_t u = unitAt(i);
        if (u == 0) return;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
            const uint32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                platform::AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            out += '_';
        } else if (u < 0x80) {
            out += static_cast<char>(u);
        } else {
            platform::AppendUtf8(out, u);
        }
    }
}

struct DataFacts {
    uint16_t attributes = 0;
    bool haveSize = false;
    int64_t size = 0;
    StoredRunList stored;
};

class DataReader {
  public:
    explicit DataReader(NtfsRecordFacts& facts)
        : facts_(facts), runs_(t_scratch.runs), extents_(t_scratch.extents) {
        runs_.clear();
    }

    // One unnamed $DATA piece, in order; false once the walk is over.
    bool Feed(const Attribute& a, int64_t sector) {
        if (a.IsCompressed()) out_.attributes |= kAttrCompressed;
        if (a.IsEncrypted()) out_.attributes |= kAttrEncrypted;
        if (a.IsResident()) {
            // A resident piece after non-resident ones cannot be real data: the runs stand.
            if (runs_.empty() && sector >= 0) {
                const size_t offset = a.Offset() + a.ValueOffset();
                facts_.resident = true;
                out_.haveSize = true;
                out_.size = a.ValueLength();
                if (offset > 0 && offset <= UINT16_MAX) {
                    extents_.assign(1, {static_cast<uint64_t>(sector), 1});
                    Store(static_cast<uint16_t>(offset));
                }
            }
            return false;
        }
        const int64_t first = a.FirstVcn();
        const auto pairs = a.MappingPairs();
        if (first < 0 || !IsValidMappingPairs(pairs)) return true;
        extents_.clear();
        if (!keldrin::DecodeMappingPairs(pairs.data(), pairs.size(), extents_, nullptr, kMaxRunFieldBytes))
            return true;
        int64_t vcn = first;
        for (const Extent& e : extents_) {
            const auto length = static_cast<int64_t>(e.length);  // at most 32 bits
            if (vcn > INT64_MAX - length) break;
            runs_.push_back({e.IsSparse() ? kSparseLcn : static_cast<int64_t>(e.start), vcn, length});
            vcn += length;
        }
        // The piece at VCN 0 carries the file's size; the one in the name is often stale.
        if (first == 0 && !out_.haveSize) {
            out_.haveSize = true;
            out_.size = a.DataSize();
        }
        return true;
    }

    DataFacts Finish() {
        if (runs_.empty()) return std::move(out_);
        const auto byVcn = [](const NtfsRun& x, const NtfsRun& y) { return x.vcn < y.vcn; };
        if (!std::is_sorted(runs_.begin(), runs_.end(), byVcn))
            std::stable_sort(runs_.begin(), runs_.end(), byVcn);
        facts_.dataClusters = TotalClusters(runs_);
        extents_.clear();
        for (const NtfsRun& run : runs_) {
            extents_.push_back({run.IsSparse() ? kSparseStart : static_cast<uint64_t>(run.lcn),
                                static_cast<uint64_t>(run.length)});
        }
        Store(0);
        return std::move(out_);
    }

  private:
    void Store(uint16_t residentOffset) {
        out_.stored = StoredRunList::FromExtents(extents_, residentOffset);
    }

    NtfsRecordFacts& facts_;
    std::vector<NtfsRun>& runs_;
    std::vector<Extent>& extents_;
    DataFacts out_;
};

DataFacts ReadData(const FileRecordSet& record, const RecordAttributes& gathered, NtfsRecordFacts& facts) {
    DataReader reader(facts);
    if (!gathered.searchData) {
        for (size_t i = 0; i < gathered.dataCount; ++i)
            if (!reader.Feed(*gathered.data[i], record.BaseSector())) break;
        return reader.Finish();
    }
    for (int index = 0;; ++index) {
        int64_t sector = -1;
        const auto a = record.FindAttribute(kAttrData, index, &sector);
        if (!a) break;
        if (a->IsNamed()) continue;
        if (!reader.Feed(*a, sector)) break;
    }
    return reader.Finish();
}

}  // namespace

bool ViewFileName(const std::optional<Attribute>& attribute, FileNameView& out) {
    if (!attribute || attribute->Type() != kAttrFileName) return false;
    const LeReader r(attribute->Value());
    if (!r.Has(0, kFileNameHeaderSize)) return false;
    const size_t length = r.U8(64);
    const auto units = r.Sub(kFileNameHeaderSize, 2 * length);
    if (length != 0 && units.empty()) return false;
    out.parent = RecordNumberOf(r.U64(0));
    out.creationTime = r.U64(8);
    out.modificationTime = r.U64(16);
    out.accessTime = r.U64(32);
    out.dataSize = r.I64(48);
    out.flags = r.U32(56);
    out.nameSpace = r.U8(65);
    out.units = units;
    return true;
}

void GatherAttributes(const FileRecordSet& record, RecordAttributes& out) {
    out = {};
    if (!record.IsValid()) return;
    if (!record.Extensions().empty()) {
        out.standardInformation = record.Base().FindAttribute(kAttrStandardInformation, 0);
        out.names[0] = record.FindAttribute(kAttrFileName, 0);
        out.names[1] = record.FindAttribute(kAttrFileName, 1);
        out.searchData = true;
        return;
    }
    // One walk of the base record finds them all, the first $STANDARD_INFORMATION included.
    RecordAttributes* o = &out;
    record.Base().VisitAttributes([o](const Attribute& a) {
        switch (a.Type()) {
            case kAttrStandardInformation:
                if (!o->standardInformation) o->standardInformation = a;
                break;
            case kAttrFileName:
                if (!o->names[0]) {
                    o->names[0] = a;
                } else if (!o->names[1]) {
                    o->names[1] = a;
                }
                break;
            case kAttrData:
                if (a.IsNamed()) break;
                if (o->dataCount < RecordAttributes::kMaxData) {
                    o->data[o->dataCount++] = a;
                } else {
                    o->searchData = true;
                }
                break;
            default:
                break;
        }
        return true;
    });
}

bool IsMetadataFile(const RecordAttributes& attributes) {
    StandardInformation info;
    constexpr uint32_t kBoth = kFileAttrSystem | kFileAttrHidden;
    if (!attributes.standardInformation || !ReadStandardInformation(*attributes.standardInformation, info) ||
        (info.fileAttributes & kBoth) != kBoth)
        return false;
    FileNameView first;
    if (!ViewFileName(attributes.names[0], first)) return false;
    std::string& name = t_scratch.name;
    NameToUtf8(first.units, name);
    return SystemFileCodeOf(name) >= 0;
}

std::unique_ptr<CNTFSFileProperties> CreateNtfsProperties(int64_t recordSector, const FileRecordSet& record,
                                                          NtfsRecordFacts* facts) {
    RecordAttributes attributes;
    GatherAttributes(record, attributes);
    return CreateNtfsProperties(recordSector, record, attributes, facts);
}

std::unique_ptr<CNTFSFileProperties> CreateNtfsProperties(int64_t recordSector, const FileRecordSet& record,
                                                          const RecordAttributes& gathered,
                                                          NtfsRecordFacts* factsOut) {
    if (!record.IsValid()) return nullptr;
    FileNameView first;
    FileNameView second;
    const bool hasFirst = ViewFileName(gathered.names[0], first);
    const bool hasSecond = ViewFileName(gathered.names[1], second);
    const FileNameView* chosen = nullptr;
    if (hasSecond && second.nameSpace == kNameWin32) {
        chosen = &second;
    } else if (hasFirst) {
        chosen = &first;
    }
    if (!chosen || chosen->units.empty()) return nullptr;

    NtfsRecordFacts facts;
    if (hasSecond && second.parent >= kFirstUserParent) {
        facts.parent = second.parent;
    } else if (hasFirst && first.parent >= kFirstUserParent) {
        facts.parent = first.parent;
    } else {
        facts.parent = chosen->parent;
    }

    NTFSPropertiesRecord p;
    if (chosen->flags & kFileNameFlagFolder) p.attributes |= kAttrFolder;
    std::string& name = t_scratch.name;
    NameToUtf8(chosen->units, name);
    if (name.empty()) return nullptr;
    if (!PassesTypeFilter(name.c_str(), (p.attributes & kAttrFolder) != 0)) return nullptr;
    p.name = name;
    p.creationTime = chosen->creationTime;
    p.modificationTime = chosen->modificationTime;
    p.accessTime = chosen->accessTime;
    int64_t size = chosen->dataSize;

    const auto& si = gathered.standardInformation;
    StandardInformation info;
    if (si && si->Length() >= size_t{si->ValueOffset()} + kStandardInformationUsed &&
        ReadStandardInformation(*si, info)) {
        p.creationTime = info.creationTime;
        p.modificationTime = info.modificationTime;
        p.accessTime = info.accessTime;
        p.attributes |= static_cast<uint16_t>(
            info.fileAttributes & (kFileAttrReadOnly | kFileAttrHidden | kFileAttrSystem | kFileAttrArchive));
    }
    if (!record.IsInUse()) p.state |= kStateDeleted;
    p.recordSector = recordSector;

    DataFacts data = ReadData(record, gathered, facts);
    p.attributes |= data.attributes;
    if (data.haveSize) size = data.size;
    // A file is never both: the encrypted one is what the writer must know about.
    if ((p.attributes & kAttrCompressed) && (p.attributes & kAttrEncrypted)) p.attributes &= ~kAttrCompressed;
    p.size = static_cast<uint64_t>(size);
    p.storedRuns = std::move(data.stored);
    if (!record.Extensions().empty()) {
        p.extensionRecords.reserve(record.Extensions().size());
        for (const ExtensionRecord& e : record.Extensions())
            p.extensionRecords.push_back({e.sector, static_cast<uint64_t>(e.recordNumber)});
    }
    auto properties = CNTFSFileProperties::InitFromRecord(p);
    if (properties && factsOut) *factsOut = facts;
    return properties;
}

}  // namespace keldrin::ntfs
