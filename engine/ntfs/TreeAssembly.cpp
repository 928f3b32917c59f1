#include "engine/ntfs/TreeAssembly.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <vector>

#include "engine/model/FileProperties.h"
#include "engine/model/FileTree.h"
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

// The records by parent, as a multimap would hold them: indices ordered by parent, then by their
// place in the list. Four bytes a record where a tree multimap would take some fifty.
class ParentIndex {
  public:
    explicit ParentIndex(const BuildRecordList& records) : records_(records) {
        order_.reserve(records.Size());
        for (size_t i = 0; i < records.Size(); ++i)
            if (records[i].properties) order_.push_back(static_cast<uint32_t>(i));
        std::sort(order_.begin(), order_.end(), [this](uint32_t a, uint32_t b) {
            const int64_t pa = records_[a].parent;
            const int64_t pb = records_[b].parent;
            return pa != pb ? pa < pb : a < b;
        });
    }

    std::pair<const uint32_t*, const uint32_t*> Children(int64_t parent) const {
        const auto lower = std::lower_bound(order_.begin(), order_.end(), parent,
                                            [this](uint32_t i, int64_t p) { return records_[i].parent < p; });
        const auto upper = std::upper_bound(lower, order_.end(), parent,
                                            [this](int64_t p, uint32_t i) { return p < records_[i].parent; });
        return {order_.data() + (lower - order_.begin()), order_.data() + (upper - order_.begin())};
    }

  private:
    const BuildRecordList& records_;
    std::vector<uint32_t> order_;
};

class Assembler {
  public:
    Assembler(BuildRecordList& records, IDIRBuildCallback& callback, const MftMap* mft)
        : records_(records), index_(records), callback_(callback), mft_(mft) {}

    bool Run(CFileNode* root) {
        if (!AttachChildren(root, kRootRecord)) return false;
        while (!queue_.empty()) {
            CFileNode* folder = queue_.front();
            queue_.pop_front();
            const CNTFSBuildRecord& record = RecordOf(folder);
            int64_t number = record.recordNumber;
            if (number == kUnknownRecord && mft_) number = RecordNumberAt(*mft_, record.recordSector);
            if (number == kUnknownRecord) continue;
            if (!AttachChildren(folder, number) || Cancelled(callback_.IsCancelled())) return false;
        }
        return true;
    }

  private:
    bool AttachChildren(CFileNode* node, int64_t number) {
        const auto [begin, end] = index_.Children(number);
        // Placing a parent's records takes them all, so a range whose first record has gone was
        // done before: another record of the same number (a copy) gets nothing twice.
        if (begin == end || !records_[*begin].properties) return true;
        for (const uint32_t* i = begin; i != end; ++i) {
            CNTFSBuildRecord& record = records_[*i];
            if (!record.properties) continue;
            CFileNode* child = NodeFor(record);
            if (!child) continue;
            node->AddChild(child);
            if (record.folder) queue_.push_back(child);
            if (Cancelled(callback_.Step(1))) return false;
        }
        return true;
    }

    BuildRecordList& records_;
    ParentIndex index_;
    IDIRBuildCallback& callback_;
    const MftMap* mft_;
    std::deque<CFileNode*> queue_;
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
    for (size_t i = 0; i < records.Size(); ++i) count += records[i].properties != nullptr;
    std::vector<LostNode> lost;
    std::vector<CFileNode*> remaining;
    lost.reserve(count);
    remaining.reserve(count);
    for (size_t i = 0; i < records.Size(); ++i) {
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
