#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/model/StoredRunList.h"

namespace keldrin {
namespace {

std::vector<Extent> Decoded(const StoredRunList& stored) {
    std::unique_ptr<IDataRunList> list = stored.GetDataRunList();
    return list ? list->GetExtents() : std::vector<Extent>{};
}

TEST(StoredRunList, RoundTrips) {
    const std::vector<std::vector<Extent>> cases = {
        {{1000, 8}},
        {{5000, 16}, {100, 4}},  // backwards: a negative delta
        {{0, 1}},                // cluster 0
        {{kSparseStart, 32}},    // a file that is one hole
        {{100, 10}, {kSparseStart, 5}, {300, 7}, {kSparseStart, 1}, {50, 2}},
        {{0x7FFFFFFFFFFF, 0xFFFFFFFF}, {1, 0x80}},  // wide fields, a length needing a spare byte
        {{0xFFFFFFFFFFFFFFFE, 1}},                  // just below the sparse marker
    };
    for (const std::vector<Extent>& extents : cases) {
        const StoredRunList stored = StoredRunList::FromExtents(extents);
        ASSERT_FALSE(stored.IsEmpty());
        std::unique_ptr<IDataRunList> list = stored.GetDataRunList();
        ASSERT_TRUE(list);
        EXPECT_EQ(list->GetRunListKind(), kRunListNonResidentNtfs);
        EXPECT_FALSE(list->IsResident());
        EXPECT_EQ(list->GetExtents(), extents) << "first start " << extents[0].start;
        // Short strings live inside the object, long ones beside it: both move with it.
        StoredRunList source = StoredRunList::FromExtents(extents);
        const StoredRunList moved = std::move(source);
        ASSERT_EQ(moved.GetSize(), stored.GetSize());
        EXPECT_TRUE(std::equal(moved.GetBytes(), moved.GetBytes() + moved.GetSize(), stored.GetBytes()));
        EXPECT_EQ(moved.GetDataRunList()->GetExtents(), extents);
    }
}

TEST(StoredRunList, DeltaAfterSparseIsFromTheExtentBeforeIt) {
    const StoredRunList stored = StoredRunList::FromExtents({{100, 10}, {kSparseStart, 5}, {300, 7}});
    // 300 - 100 = 200 needs two signed bytes; a delta from 0 would be 300 (0x2C 0x01).
    const std::vector<uint8_t> expected = {0x11, 0x0A, 0x64, 0x01, 0x05, 0x21, 0x07, 0xC8, 0x00, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(stored.GetBytes(), stored.GetBytes() + stored.GetSize()), expected);
}

TEST(StoredRunList, ResidentFormKeepsOffsetAndOneExtent) {
    CResidentNTFSDataRunList resident(0x98);
    resident.AddRun({123456, 1});
    const StoredRunList stored = StoredRunList::FromRunList(resident);
    EXPECT_EQ(stored.GetResidentOffset(), 0x98);

    std::unique_ptr<IDataRunList> list = stored.GetDataRunList();
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->IsResident());
    EXPECT_EQ(list->GetRunListKind(), kRunListResidentNtfs);
    EXPECT_EQ(list->GetResidentOffset(), 0x98u);
    EXPECT_EQ(list->GetExtents(), (std::vector<Extent>{{123456, 1}}));

    // A non-resident list never passes an offset on.
    CNoneResidentNTFSDataRunList plain;
    plain.AddRun({7, 1});
    EXPECT_EQ(StoredRunList::FromRunList(plain).GetResidentOffset(), 0);
}

TEST(StoredRunList, NothingToStoreGivesNoStoredFormAndNoList) {
    EXPECT_TRUE(StoredRunList().IsEmpty());
    EXPECT_EQ(StoredRunList().GetDataRunList(), nullptr);
    EXPECT_TRUE(StoredRunList::FromExtents({}).IsEmpty());
    // Zero-length extents hold no data; stored, they would make the string undecodable.
    EXPECT_TRUE(StoredRunList::FromExtents({{5, 0}}).IsEmpty());
    EXPECT_EQ(Decoded(StoredRunList::FromExtents({{5, 0}, {9, 2}})), (std::vector<Extent>{{9, 2}}));

    CResidentNTFSDataRunList tooFar(0x10000);  // a 16-bit offset cannot hold it
    tooFar.AddRun({1, 1});
    EXPECT_TRUE(StoredRunList::FromRunList(tooFar).IsEmpty());
}

TEST(StoredRunList, UndecodableStringGivesEmptyList) {
    const std::vector<std::vector<uint8_t>> damaged = {
        {0x11, 0x05},                                   // delta runs past the end
        {0x11, 0x05, 0x10},                             // complete extent but no terminator
        {0x11, 0x00, 0x05, 0x00},                       // zero length
        {0x91, 0x05, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x00},  // nine-byte delta
        {0x11, 0x05, 0x10, 0x1F, 0x00},                 // a good extent, then a 15-byte length field
    };
    for (const std::vector<uint8_t>& bytes : damaged) {
        for (uint16_t offset : {uint16_t{0}, uint16_t{0x98}}) {
            const StoredRunList stored = StoredRunList::FromBytes(bytes.data(), bytes.size(), offset);
            std::unique_ptr<IDataRunList> list = stored.GetDataRunList();
            ASSERT_TRUE(list);
            EXPECT_EQ(list->GetRunCount(), 0u) << "header " << int{bytes[0]};
            EXPECT_EQ(list->IsResident(), offset != 0);
        }
    }
}

TEST(DataRunList, CursorWalksExtentsInOrder) {
    CNoneResidentNTFSDataRunList list;
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_TRUE(list.IsEnd());
    list.AddRun({10, 1});
    list.AddRun({kSparseStart, 2});
    const Extent* e = list.First();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->start, 10u);
    e = list.Next();
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->IsSparse());
    EXPECT_FALSE(list.IsEnd());
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_TRUE(list.IsEnd());
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.First()->start, 10u);
}

}  // namespace
}  // namespace keldrin
