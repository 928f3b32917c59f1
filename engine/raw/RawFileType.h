// The registry of RAW file types: an index into a table of extensions and one of descriptions.
// 0 to 68 are built in (0 is the placeholder "Raw"); 1000 to 1999 are given at run time to the
// user's own types.
#pragma once

#include <string_view>

namespace keldrin {

inline constexpr int kRawTypePlaceholder = 0;
inline constexpr int kRawBuiltInTypeCount = 69;
inline constexpr int kFirstCustomRawType = 1000;
inline constexpr int kLastCustomRawType = 1999;
inline constexpr int kRawTypeTableSize = 2000;
inline constexpr size_t kRawExtensionCapacity = 5;     // characters, without the zero
inline constexpr size_t kRawDescriptionCapacity = 80;  // characters, without the zero

class RawFileType {
  public:
    // "" for an index outside the table or without a type.
    static const char* Extension(int index);
    static const char* Description(int index);
    static bool IsRegistered(int index) { return *Extension(index) != '\0'; }
    // The first free index from 1000 on; -1 when all are taken or the extension is empty. Longer
    // texts are cut to the table's capacity.
    static int AddCustomType(std::string_view extension, std::string_view description);
    // Forgets the user's types.
    static void ClearCustomTypes();
    // The lowest index whose extension matches, in any case; -1 when none does.
    static int FindByExtension(std::string_view extension);
};

}  // namespace keldrin
