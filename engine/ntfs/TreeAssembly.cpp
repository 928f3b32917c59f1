#include "engine/ntfs/TreeAssembly.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <vector>

#include "engine/model/FileProperties.h"
#include "engine/model/FileTree.h"
#include "engine/model/HugePageAllocator.h"
#include "engine/model/NTFSFileProperties.h"
#include "engine/model/TreeWalk.h"

namespace keldrin::ntfs {
namespace {

bool Cancelled(int answer) {
    return answer == kCancelled;
}

// The node of a record, taking over its properties; null when memory runs out (the record then
// keeps them and goes with the list).
CFileNode* NodeFor(CNTFSBuildRecord& record) {
    CFileNode* node = CreateFileNode();
    if (!node) return nullptr;
    node->SetProperties(record.properties.release());
    node->SetBuilderRecord(&record);
    return node;
}

CNTFSBuildRecord& RecordOf(const CFileNode* node) {
    return *static_cast<CNTFSBuildRecord*>(node->GetBuilderRecord());
}

bool ByParentThenPlace(const BuildRecordList& records, uint32_t a, uint32_t b) {
    const int64_t pa = records[a].parent;
    const int64_t pb = records[b].parent;
    return pa != pb ? pa < pb : a < b;
}

// The records by parent, as a multimap would hold them: indices ordered by parent, then by their
// place in the list. Four bytes a record where a tree multimap would take some fifty. When the
// list is in that order already (SortByParent) and every record still holds its properties, the
// list is its own index and only its runs of one parent are kept: the records themselves are not
// read again, so the assembly may release those it has placed.
class ParentIndex {
  public:
    explicit ParentIndex(const BuildRecordList& records) : records_(records) {
        bool ordered = true;
        for (size_t i = 0; i < records.Size() && ordered; ++i)
            ordered = records[i].properties && (i == 0 || records[i - 1].parent <= records[i].parent);
        if (ordered) {
            for (size_t i = 0; i < records.Size(); ++i)
                if (runs_.empty() || runs_.back().parent != records[i].parent)
                    runs_.push_back({records[i].parent, static_cast<uint32_t>(i), false});
            runs_.push_back({0, static_cast<uint32_t>(records.Size()), false});  // the end of the last run
            identity_ = true;
            return;
        }
        order_.reserve(records.Size());
        for (size_t i = 0; i < records.Size(); ++i)
            if (records[i].properties) order_.push_back(static_cast<uint32_t>(i));
        std::sort(order_.begin(), order_.end(),
                  [this](uint32_t a, uint32_t b) { return ByParentThenPlace(records_, a, b); });
    }

    bool Identity() const { return identity_; }

    // The positions [first, second) of parent's records; At() turns one into a list index.
    std::pair<size_t, size_t> Children(int64_t parent) const {
        if (identity_) {
            const auto last = runs_.end() - 1;
            const auto run = std::lower_bound(runs_.begin(), last, parent,
                                              [](const Run& r, int64_t p) { return r.parent < p; });
            if (run == last || run->parent != parent) return {0, 0};
            return {run->first, (run + 1)->first};
        }
        size_t low = 0;
        size_t high = order_.size();
        while (low < high) {
            const size_t mid = low + (high - low) / 2;
            if (records_[order_[mid]].parent < parent)
                low = mid + 1;
            else
                high = mid;
        }
        const size_t lower = low;
        high = order_.size();
        while (low < high) {
            const size_t mid = low + (high - low) / 2;
            if (parent < records_[order_[mid]].parent)
                high = mid;
            else
                low = mid + 1;
        }
        return {lower, low};
    }
    size_t At(size_t position) const { return identity_ ? position : order_[position]; }

    // Whether the records of parent's range were placed before (by a copy of the same folder):
    // its first record has given up its properties. Only the index answers this once records may
    // be released.
    bool Taken(int64_t parent, size_t begin) const {
        if (!identity_) return !records_[order_[begin]].properties;
        return runs_[RunOf(parent)].taken;
    }
    void MarkTaken(int64_t parent, bool firstGone) {
        if (identity_) runs_[RunOf(parent)].taken = firstGone;
    }

  private:
    struct Run {
        int64_t parent;
        uint32_t first;
        bool taken;
    };
    // The run of parent, which has one.
    size_t RunOf(int64_t parent) const {
        const auto run = std::lower_bound(runs_.begin(), runs_.end() - 1, parent,
                                          [](const Run& r, int64_t p) { return r.parent < p; });
        return static_cast<size_t>(run - runs_.begin());
    }

    const BuildRecordList& records_;
    bool identity_ = false;
    std::vector<uint32_t> order_;
    std::vector<Run> runs_;
};

class Assembler {
  public:
    Assembler(BuildRecordList& records, IDIRBuildCallback& callback, const MftMap* mft)
        : records_(records), index_(records), callback_(callback), mft_(mft) {
        // Each chunk of a sorted list goes as soon as its files are placed and its folders have
        // been walked: by the end the nodes stand in for nearly all the records.
        if (index_.Identity()) {
            pending_.assign((records.Size() + BuildRecordList::kChunkSize - 1) / BuildRecordList::kChunkSize,
                            0);
            for (size_t i = 0; i < records.Size(); ++i) ++pending_[BuildRecordList::ChunkOf(i)];
        }
    }

    bool Run(CFileNode* root) {
        if (!AttachChildren(root, kRootRecord)) return false;
        while (!queue_.empty()) {
            CFileNode* folder = queue_.front();
            const size_t place = places_.front();
            queue_.pop_front();
            places_.pop_front();
            const CNTFSBuildRecord& record = RecordOf(folder);
            int64_t number = record.recordNumber;
            if (number == kUnknownRecord && mft_) {
                const auto* properties = static_cast<const CNTFSFileProperties*>(folder->GetProperties());
                number = RecordNumberAt(*mft_, properties->GetRecordSector());
            }
            if (number != kUnknownRecord &&
                (!AttachChildren(folder, number) || Cancelled(callback_.IsCancelled())))
                return false;
            Done(place);
        }
        return true;
    }

  private:
    // The record at index needs no more looking at.
    void Done(size_t index) {
        if (pending_.empty()) return;
        const size_t chunk = BuildRecordList::ChunkOf(index);
        if (--pending_[chunk] == 0) records_.Release(chunk);
    }

    bool AttachChildren(CFileNode* node, int64_t number) {
        const auto [begin, end] = index_.Children(number);
        // Placing a parent's records takes them all, so a range whose first record has gone was
        // done before: another record of the same number (a copy) gets nothing twice.
        if (begin == end || index_.Taken(number, begin)) return true;
        bool firstGone = false;
        bool cancelled = false;
        for (size_t i = begin; i != end && !cancelled; ++i) {
            const size_t at = index_.At(i);
            CNTFSBuildRecord& record = records_[at];
            if (!record.properties) continue;
            CFileNode* child = NodeFor(record);
            if (!child) continue;
            firstGone = firstGone || i == begin;
            node->AddChild(child);
            if (record.folder) {
                queue_.push_back(child);
                places_.push_back(at);
            } else {
                Done(at);
            }
            cancelled = Cancelled(callback_.Step(1));
        }
        index_.MarkTaken(number, firstGone);
        return !cancelled;
    }

    BuildRecordList& records_;
    ParentIndex index_;
    IDIRBuildCallback& callback_;
    const MftMap* mft_;
    std::deque<CFileNode*> queue_;
    std::deque<size_t> places_;      // the list index of each folder in queue_
    std::vector<uint32_t> pending_;  // per chunk of a sorted list, the records not yet done with
};

// One node not reached from the root, with its place in the forest the lost files form.
struct LostNode {
    int64_t parent;
    CFileNode* node;
    // Until sorted the node's place in the list (ties keep it); then towards the top of its
    // tree in the forest, shortened as it is searched.
    uint32_t up;
    // For the first node of a parent's range once that range was offered to a folder: the one
    // node it could not take plus 1, or kDrained.
    uint32_t leftover;
};
constexpr uint32_t kUnoffered = 0;
constexpr uint32_t kDrained = 0xFFFFFFFFu;

// The top of i's tree. The forest only ever joins a top under another node, so the tops found
// this way are exact, and parent cycles cost no walk up a chain.
uint32_t TopOf(std::vector<LostNode>& lost, uint32_t i) {
    uint32_t top = i;
    while (lost[top].up != top) top = lost[top].up;
    while (lost[i].up != top) {
        const uint32_t next = lost[i].up;
        lost[i].up = top;
        i = next;
    }
    return top;
}

CFileNode* CreateLostFilesFolder(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "LostFiles%d", number);
    NTFSPropertiesRecord record;
    record.name = name;
    record.attributes = kAttrFolder;
    record.state = kStateTemp;
    auto properties = CNTFSFileProperties::InitFromRecord(record);
    CFileNode* folder = properties ? CreateFileNode() : nullptr;
    if (folder) folder->SetProperties(properties.release());
    return folder;
}

}  // namespace

void SortByParent(BuildRecordList& records) {
    // The files of a folder mostly follow one another in the $MFT, so the list is a few long
    // runs of one parent each: sorting the runs orders the records, and only the runs are
    // compared (ties keep their place, as the runs of one parent stay in list order).
    struct Run {
        int64_t parent;
        uint32_t first;
        uint32_t count;
    };
    std::vector<Run> runs;
    for (size_t i = 0; i < records.Size(); ++i) {
        if (runs.empty() || runs.back().parent != records[i].parent)
            runs.push_back({records[i].parent, static_cast<uint32_t>(i), 0});
        ++runs.back().count;
    }
    const auto before = [](const Run& a, const Run& b) {
        return a.parent != b.parent ? a.parent < b.parent : a.first < b.first;
    };
    if (std::is_sorted(runs.begin(), runs.end(), before)) return;
    std::sort(runs.begin(), runs.end(), before);
    std::vector<uint32_t, HugePageAllocator<uint32_t>> order;
    order.reserve(records.Size());
    for (const Run& run : runs)
        for (uint32_t k = 0; k < run.count; ++k) order.push_back(run.first + k);
    runs.clear();
    runs.shrink_to_fit();
    // Position i takes the record from order[i]: each cycle of the permutation is walked once,
    // and a walked position is marked by pointing at itself.
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == i) continue;
        CNTFSBuildRecord held = std::move(records[i]);
        size_t at = i;
        for (;;) {
            const size_t from = order[at];
            order[at] = static_cast<uint32_t>(at);
            if (from == i) {
                records[at] = std::move(held);
                break;
            }
            records[at] = std::move(records[from]);
            at = from;
        }
    }
}

bool AssembleTree(BuildRecordList& records, CFileNode* root, IDIRBuildCallback* callback, const MftMap* mft) {
    if (!root) return true;
    CNullDIRBuildCallback quiet;
    Assembler assembler(records, callback ? *callback : quiet, mft);
    return assembler.Run(root);
}

bool AttachLostFiles(BuildRecordList& records, CFileNode* under, int& lostFolders,
                     IDIRBuildCallback* callback) {
    CNullDIRBuildCallback quiet;
    IDIRBuildCallback& progress = callback ? *callback : quiet;
    if (!under) return true;
    // Both lists are sized before the first node is made, so that no node is ever left outside
    // the tree by a failing allocation.
    size_t count = 0;
    // Chunks that the assembly released held placed records only.
    for (size_t i = 0; i < records.Size(); ++i) count += !records.Released(i) && records[i].properties;
    std::vector<LostNode> lost;
    std::vector<CFileNode*> remaining;
    lost.reserve(count);
    remaining.reserve(count);
    for (size_t i = 0; i < records.Size(); ++i) {
        if (records.Released(i)) continue;
        CNTFSBuildRecord& record = records[i];
        if (!record.properties) continue;
        if (CFileNode* node = NodeFor(record))
            lost.push_back({record.parent, node, static_cast<uint32_t>(lost.size()), kUnoffered});
    }
    // In place: stable_sort's buffer could fail with the nodes already made.
    std::sort(lost.begin(), lost.end(), [](const LostNode& a, const LostNode& b) {
        return a.parent != b.parent ? a.parent < b.parent : a.up < b.up;
    });
    for (uint32_t i = 0; i < lost.size(); ++i) lost[i].up = i;

    bool cancelled = false;
    for (uint32_t i = 0; i < lost.size() && !cancelled; ++i) {
        CFileNode* folder = lost[i].node;
        const CNTFSBuildRecord& record = RecordOf(folder);
        if (!record.folder || record.recordNumber <= kLastSystemRecord) continue;
        const int64_t number = record.recordNumber;
        const auto begin = std::lower_bound(lost.begin(), lost.end(), number,
                                            [](const LostNode& n, int64_t p) { return n.parent < p; });
        const auto end = std::upper_bound(begin, lost.end(), number,
                                          [](int64_t p, const LostNode& n) { return p < n.parent; });
        if (begin != end) {
            LostNode& head = *begin;
            // A range gives away all its nodes but the top of the adopting folder's own tree, so a
            // second folder of that number has at most that one left to look at.
            auto from = static_cast<uint32_t>(begin - lost.begin());
            auto to = static_cast<uint32_t>(end - lost.begin());
            if (head.leftover == kDrained) {
                to = from;
            } else if (head.leftover != kUnoffered) {
                from = head.leftover - 1;
                to = from + 1;
            }
            const uint32_t top = TopOf(lost, i);
            uint32_t leftover = kDrained;
            for (uint32_t j = from; j < to; ++j) {
                LostNode& child = lost[j];
                if (child.node->GetParent()) continue;
                if (j == top) {
                    // The folder itself, or the top of the chain that leads down to it.
                    leftover = j + 1;
                    continue;
                }
                folder->AddChild(child.node);
                child.up = i;
            }
            head.leftover = leftover;
        }
        cancelled = Cancelled(progress.Step(1));
    }

    for (const LostNode& n : lost)
        if (!n.node->GetParent()) remaining.push_back(n.node);
    lost.clear();
    lost.shrink_to_fit();
    if (remaining.empty()) return !cancelled;
    CFileNode* folder = CreateLostFilesFolder(++lostFolders);
    if (!folder) {
        for (CFileNode* node : remaining) DeleteTree(node);
        return !cancelled;
    }
    for (CFileNode* node : remaining) folder->AddChild(node);
    under->AddChild(folder);
    return !cancelled;
}

int64_t RecordNumberAt(const MftMap& mft, int64_t sector) {
    const NtfsGeometry& g = mft.Geometry();
    if (!g.IsUsable() || sector < g.firstSector) return kUnknownRecord;
    const int64_t perCluster = g.sectorsPerCluster;
    const int64_t relative = sector - g.firstSector;
    const int64_t vcn = LcnToVcn(mft.Runs(), relative / perCluster);
    const int64_t within = relative % perCluster;
    if (vcn < 0 || vcn > (INT64_MAX - within) / perCluster) return kUnknownRecord;
    const int64_t mftSector = vcn * perCluster + within;
    if (mftSector % g.SectorsPerRecord() != 0) return kUnknownRecord;
    return mftSector / g.SectorsPerRecord();
}

void ClearBuilderRecords(CFileNode* top) {
    ForEachNode(top, [](CFileNode* node) { node->SetBuilderRecord(nullptr); });
}

}  // namespace keldrin::ntfs
