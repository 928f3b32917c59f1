#include <gtest/gtest.h>

#include "SearchTestSupport.h"
#include "engine/model/FileFilter.h"
#include "engine/model/MyFileProperties.h"

namespace keldrin {
namespace {

using test::FileFields;
using test::RecordOf;

struct StateCase {
    int32_t mask;
    uint8_t state;
    uint32_t typeCode;
    bool accepted;
};

TEST(FileStateFilter, AcceptsFilesSharingADeletedLostOrCrossLinkBit) {
    const StateCase cases[] = {
        {7, kStateDeleted, kTypeCodeFileSystem, true},
        {7, kStateLost, kTypeCodeFileSystem, true},
        {7, kStateCrossLink, kTypeCodeFileSystem, true},
        {7, kStateDeleted | kStateLost | kStateCrossLink, kTypeCodeFileSystem, true},
        {7, kStateLost | kStateTemp, kTypeCodeFileSystem, true},
        {7, 0, kTypeCodeFileSystem, false},
        {7, kStateTemp, kTypeCodeFileSystem, false},
        {7, kStateRawFolder, kTypeCodeFileSystem, false},
        {7, kStateDeleted, kTypeCodeRaw, true},                       // RAW files have a state
        {7, kStateDeleted, kTypeCodeFileSystem & ~kHasState, false},  // absent state
        {kStateLost, kStateDeleted, kTypeCodeFileSystem, false},
        {kStateTemp, kStateTemp, kTypeCodeFileSystem, false},  // Temp never makes a file pass
        {-1, 0, kTypeCodeFileSystem, true},
        {-1, kStateTemp, kTypeCodeFileSystem, true},
        {-1, 0, kTypeCodeFileSystem & ~kHasState, false},
    };
    for (const StateCase& c : cases) {
        const CMyFileProperties file(RecordOf(FileFields{.state = c.state, .typeCode = c.typeCode}));
        EXPECT_EQ(CFileStateFilter(c.mask).Accept(&file), c.accepted)
            << "mask " << c.mask << " state " << int(c.state) << " type " << c.typeCode;
    }
    EXPECT_FALSE(CFileStateFilter(-1).Accept(nullptr));
}

struct AttributeCase {
    int32_t mask;
    uint16_t attributes;
    uint32_t typeCode;
    bool accepted;
};

TEST(FileAttributeFilter, AcceptsFilesSharingAListedAttributeBit) {
    const AttributeCase cases[] = {
        {kAttrEncrypted, kAttrEncrypted | kAttrArchive, kTypeCodeFileSystem, true},
        {kAttrEncrypted, kAttrArchive, kTypeCodeFileSystem, false},
        {kAttrEncrypted, kAttrEncrypted, kTypeCodeRaw, true},
        {kAttrEncrypted, kAttrEncrypted, kTypeCodeFileSystem & ~kHasAttributes, false},
        {kAttrCompressed | kAttrHidden, kAttrHidden, kTypeCodeFileSystem, true},
        {0x0400, 0x0400, kTypeCodeFileSystem, true},
        {0x0008, 0x0008, kTypeCodeFileSystem, true},
        // Bits outside the listed nine never make a file pass.
        {kAttrSparse, kAttrSparse, kTypeCodeFileSystem, false},
        {0x0100 | 0x1000 | 0x8000, 0xF100, kTypeCodeFileSystem, false},
        {0, 0xFFFF, kTypeCodeFileSystem, false},
        {-1, 0, kTypeCodeFileSystem, true},
        {-1, 0, kTypeCodeFileSystem & ~kHasAttributes, false},
        {-2, kAttrReadOnly, kTypeCodeFileSystem, false},  // a mask without bit 0x01
        {-2, kAttrFolder, kTypeCodeFileSystem, true},
    };
    for (const AttributeCase& c : cases) {
        const CMyFileProperties file(
            RecordOf(FileFields{.attributes = c.attributes, .typeCode = c.typeCode}));
        EXPECT_EQ(CFileAttributeFilter(c.mask).Accept(&file), c.accepted)
            << "mask " << c.mask << " attributes " << c.attributes << " type " << c.typeCode;
    }
    EXPECT_FALSE(CFileAttributeFilter(-1).Accept(nullptr));
}

}  // namespace
}  // namespace keldrin
