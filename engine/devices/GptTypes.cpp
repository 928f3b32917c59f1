#include "engine/devices/GptTypes.h"

#include <array>
#include <cstdio>

namespace keldrin {
namespace {

constexpr KnownGptType kTypes[] = {
    {"024DEE41-33E7-11D3-9D69-0008C781F39F", "None"},
    {"C12A7328-F81F-11D2-BA4B-00A0C93EC93B", "None"},
    {"E3C9E316-0B5C-4DB8-817D-F92DF00215AE", "Windows"},
    {"EBD0A0A2-B9E5-4433-87C0-68B6B72699C7", "Windows"},
    {"5808C8AA-7E8F-42E0-85D2-E1E90434CFB3", "Windows"},
    {"AF9B60A0-1431-4F62-BC68-3311714A69AD", "Windows"},
    {"75894C1E-3AEB-11D3-B7C1-7B03A0000000", "HP-UX"},
    {"E2A1E728-32E3-11D6-A682-7B03A0000000", "HP-UX"},
    {"EBD0A0A2-B9E5-4433-87C0-68B6B72699C7", "Linux"},
    {"A19D880F-05FC-4D3B-A006-743F0F84911E", "Linux"},
    {"0657FD6D-A4AB-43C4-84E5-0933C84B4F4F", "Linux"},
    {"E6D6D379-F507-44C2-A23C-238F2A3DF928", "Linux"},
    {"8DA63339-0007-60C0-C436-083AC8230908", "Linux"},
    {"516E7CB4-6ECF-11D6-8FF8-00022D09712B", "FreeBSD"},
    {"516E7CB5-6ECF-11D6-8FF8-00022D09712B", "FreeBSD"},
    {"516E7CB6-6ECF-11D6-8FF8-00022D09712B", "FreeBSD"},
    {"516E7CB8-6ECF-11D6-8FF8-00022D09712B", "FreeBSD"},
    {"48465300-0000-11AA-AA11-00306543ECAC", "Mac OS X"},
    {"55465300-0000-11AA-AA11-00306543ECAC", "Mac OS X"},
    {"52414944-0000-11AA-AA11-00306543ECAC", "Mac OS X"},
    {"52414944-5F4F-11AA-AA11-00306543ECAC", "Mac OS X"},
    {"426F6F74-0000-11AA-AA11-00306543ECAC", "Mac OS X"},
    {"4C616265-6C00-11AA-AA11-00306543ECAC", "Mac OS X"},
    {"5265636F-7665-11AA-AA11-00306543ECAC", "Mac OS X"},
    {"6A82CB45-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A85CF4D-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A87C46F-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A8B642B-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A898CC3-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A8EF2E9-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A90BA39-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A9283A5-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A945A3B-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A9630D1-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A980767-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A96237F-1DD2-11B2-99A6-080020736631", "Solaris"},
    {"6A8D2AC7-1DD2-11B2-99A6-080020736631", "Solaris"},
    // What Linux partitioners write today: file-system data, and the discoverable-partition types
    // (root per architecture, /usr, home, server and variable data, temporary data, extended boot).
    {"0FC63DAF-8483-4772-8E79-3D69D8477DE4", "Linux"},
    {"44479540-F297-41B2-9AF7-D131D5F0458A", "Linux"},
    {"4F68BCE3-E8CD-4DB1-96E7-FBCAF984B709", "Linux"},
    {"69DAD710-2CE4-4E3C-B16C-21A1D49ABED3", "Linux"},
    {"B921B045-1DF0-41C3-AF44-4C6F280D3FAE", "Linux"},
    {"72EC70A6-CF74-40E6-BD49-4BDA08E8F224", "Linux"},
    {"C31C45E6-3F39-412E-80FB-4809C4980599", "Linux"},
    {"5EEAD9A9-FE09-4A1E-A1D7-520D00531306", "Linux"},
    {"77055800-792C-4F94-B39A-98C91B762BB6", "Linux"},
    {"8484680C-9521-48C6-9C11-B0720656F69E", "Linux"},
    {"B0E01050-EE5F-4390-949A-9101B17104E9", "Linux"},
    {"933AC7E1-2EB4-4F13-B844-0E14E2AEF915", "Linux"},
    {"3B8F8425-20E0-4F3B-907F-1A25A76F98E8", "Linux"},
    {"4D21B016-B534-45C2-A9FB-5C16E091FD2D", "Linux"},
    {"7EC6F557-3BC5-4ACA-B293-16EF5DF639D1", "Linux"},
    {"BC13C2FF-59E6-4262-A352-B275FD6F7172", "Linux"},
};

}  // namespace

std::span<const KnownGptType> KnownGptTypes() {
    return kTypes;
}

std::string FormatGptGuid(const uint8_t* b) {
    const uint32_t d1 = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                        static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
    const unsigned d2 = b[4] | b[5] << 8;
    const unsigned d3 = b[6] | b[7] << 8;
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", d1, d2, d3,
                  b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text.data();
}

const KnownGptType* FindKnownGptType(std::string_view guid) {
    for (const KnownGptType& type : kTypes)
        if (guid == type.guid) return &type;
    return nullptr;
}

}  // namespace keldrin
