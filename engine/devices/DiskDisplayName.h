// The name a disk is shown by: its vendor, product and bus texts, as the device reports them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace keldrin {

inline constexpr size_t kMaxDiskDisplayNameChars = 49;

// A descriptor text without its padding: leading spaces skipped, then cut where two spaces meet
// (and at a line end); trailing blanks go too.
std::string TrimDescriptorText(std::string_view text);

// "SCSI Disk Device", "ATA Bus", "USB Device" for the buses "scsi", "ata", "usb"; empty for the others.
const char* BusDisplayText(std::string_view bus);

// "vendor  product  bus text", leaving out the empty parts (a vendor that begins with "(" counts as
// empty), cut to 49 characters. The texts are trimmed first.
std::string MakeDiskDisplayName(std::string_view vendor, std::string_view product, std::string_view busText);

}  // namespace keldrin
