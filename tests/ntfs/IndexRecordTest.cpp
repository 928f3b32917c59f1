#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine/ntfs/IndexRecord.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;
using test::FileNameSpec;

constexpr uint64_t kParent = 0x0004000000000023ull;  // folder 35, sequence 4

Bytes Entry(const FileNameSpec& key, uint16_t flags = 0) {
    const Bytes k = test::FileNameValue(key);
    Bytes e((16 + k.size() + 7) & ~size_t{7});
    test::Put64(e, 0, 0x0001000000000040ull);
    test::Put16(e, 8, static_cast<uint16_t>(e.size()));
    test::Put16(e, 10, static_cast<uint16_t>(k.size()));
    test::Put16(e, 12, flags);
    std::copy(k.begin(), k.end(), e.begin() + 16);
    return e;
}

Bytes LastEntry() {
    Bytes e(16);
    test::Put16(e, 8, 16);
    test::Put16(e, 12, kIndexEntryLast);
    return e;
}

Bytes Node(const std::vector<Bytes>& entries) {
    Bytes n;
    for (const Bytes& e : entries) n.insert(n.end(), e.begin(), e.end());
    const Bytes last = LastEntry();
    n.insert(n.end(), last.begin(), last.end());
    return n;
}

// A 4096-byte INDX record in its on-disk form.
Bytes Indx(const std::vector<Bytes>& entries) {
    Bytes r(4096);
    std::memcpy(r.data(), "INDX", 4);
    test::Put16(r, 4, 40);
    test::Put16(r, 6, 9);
    test::Put64(r, 16, 7);
    const Bytes node = Node(entries);
    std::copy(node.begin(), node.end(), r.begin() + 64);
    test::Put32(r, 24, 40);
    test::Put32(r, 28, static_cast<uint32_t>(40 + node.size()));
    test::Put32(r, 32, 4096 - 24);
    test::ProtectStrides(r, 40, 8, 0x0707);
    return r;
}

const std::vector<Bytes> kTwoFiles = {
    Entry({.parent = kParent, .name = u"a.txt", .allocatedSize = 8, .dataSize = 8}),
    Entry({.parent = kParent, .name = u"b.txt"})};

TEST(IndexRecord, EntriesOfOneFolderNameItsParent) {
    Bytes r = Indx(kTwoFiles);
    const Bytes disk = r;
    EXPECT_TRUE(IsValidIndexRecord(r));
    EXPECT_EQ(IndexRecordParent(r), 35);
    EXPECT_EQ(r, disk);

    Bytes empty = Indx({});
    EXPECT_TRUE(IsValidIndexRecord(empty));
    EXPECT_EQ(IndexRecordParent(empty), -1);
}

TEST(IndexRecord, RulesRejectTheRecord) {
    struct Case {
        const char* what;
        std::vector<Bytes> entries;
        std::function<void(Bytes&)> spoil;
    } cases[] = {
        {"two parents", {Entry({.parent = kParent}), Entry({.parent = 36})}, [](Bytes&) {}},
        {"same folder, other sequence",
         {Entry({.parent = kParent}), Entry({.parent = 0x0005000000000023ull})},
         [](Bytes&) {}},
        {"allocated size below data size",
         {Entry({.parent = kParent, .allocatedSize = 4, .dataSize = 5})},
         [](Bytes&) {}},
        {"magic", kTwoFiles, [](Bytes& r) { r[0] = 'X'; }},
        {"fix-up mismatch", kTwoFiles, [](Bytes& r) { r[2046] ^= 1; }},
        {"count disagrees with the allocated size", kTwoFiles,
         [](Bytes& r) { test::Put32(r, 32, 2048 - 24); }},
        {"allocated past the buffer", kTwoFiles, [](Bytes& r) { test::Put32(r, 32, 4096); }},
        {"in use past allocated", kTwoFiles, [](Bytes& r) { test::Put32(r, 28, 4073); }},
        {"array offset below 40", kTwoFiles, [](Bytes& r) { test::Put16(r, 4, 38); }},
        {"entry longer than the index", kTwoFiles, [](Bytes& r) { test::Put16(r, 64 + 8, 2000); }},
        {"key too short for a file name", kTwoFiles, [](Bytes& r) { test::Put16(r, 64 + 10, 40); }},
        {"short buffer", kTwoFiles, [](Bytes& r) { r.resize(2048); }},
    };
    for (const Case& c : cases) {
        Bytes r = Indx(c.entries);
        c.spoil(r);
        const Bytes before = r;
        EXPECT_FALSE(IsValidIndexRecord(r)) << c.what;
        EXPECT_EQ(IndexRecordParent(r), -1) << c.what;
        EXPECT_EQ(r, before) << c.what;
    }
}

TEST(IndexRecord, IndexRootParentFromAResidentRoot) {
    auto root = [](const Bytes& node, uint32_t indexLengthSlack) {
        Bytes value(32 + node.size());
        test::Put32(value, 0, 0x30);
        test::Put32(value, 8, 4096);
        test::Put32(value, 16, 16);
        test::Put32(value, 20, static_cast<uint32_t>(16 + node.size() + indexLengthSlack));
        test::Put32(value, 24, static_cast<uint32_t>(16 + node.size()));
        std::copy(node.begin(), node.end(), value.begin() + 32);
        return test::ResidentAttribute(0x90, value, u"$I30");
    };
    const Bytes agree = root(Node(kTwoFiles), 0);
    EXPECT_EQ(IndexRootParent(Attribute(agree, 0)), 35);
    const Bytes disagree = root(Node({Entry({.parent = kParent}), Entry({.parent = 5})}), 0);
    EXPECT_EQ(IndexRootParent(Attribute(disagree, 0)), -1);
    const Bytes pastValue = root(Node(kTwoFiles), 8);
    EXPECT_EQ(IndexRootParent(Attribute(pastValue, 0)), -1);
    const Bytes none = root(Node({}), 0);
    EXPECT_EQ(IndexRootParent(Attribute(none, 0)), -1);
}

TEST(IndexRecord, WalkerGivesTheLastEntryAndStopsAtDamage) {
    const Bytes node = Node(kTwoFiles);
    IndexEntryWalker walker(node);
    IndexEntry e;
    std::vector<uint16_t> flags;
    while (walker.Next(e)) flags.push_back(e.flags);
    EXPECT_FALSE(walker.Failed());
    EXPECT_EQ(flags, (std::vector<uint16_t>{0, 0, kIndexEntryLast}));

    Bytes cut = node;
    cut.resize(kTwoFiles[0].size() + 8);
    IndexEntryWalker damaged(cut);
    ASSERT_TRUE(damaged.Next(e));
    EXPECT_EQ(e.fileReference, 0x0001000000000040ull);
    FileName key;
    ASSERT_TRUE(ReadFileNameValue(e.key, key));
    EXPECT_EQ(key.name, "a.txt");
    EXPECT_FALSE(damaged.Next(e));
    EXPECT_TRUE(damaged.Failed());
}

}  // namespace
}  // namespace keldrin::ntfs
