#include "engine/devices/DiskDisplayName.h"

namespace keldrin {

std::string TrimDescriptorText(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    text = text.substr(0, text.find("  "));
    text = text.substr(0, text.find_first_of("\r\n"));
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

const char* BusDisplayText(std::string_view bus) {
    if (bus == "scsi") return "SCSI Disk Device";
    if (bus == "ata") return "ATA Bus";
    if (bus == "usb") return "USB Device";
    return "";
}

std::string MakeDiskDisplayName(std::string_view vendor, std::string_view product, std::string_view busText) {
    std::string name;
    auto append = [&name](const std::string& part) {
        if (part.empty()) return;
        if (!name.empty()) name += "  ";
        name += part;
    };
    std::string v = TrimDescriptorText(vendor);
    if (v.starts_with('(')) v.clear();
    append(v);
    append(TrimDescriptorText(product));
    append(TrimDescriptorText(busText));
    if (name.size() > kMaxDiskDisplayNameChars) {
        size_t cut = kMaxDiskDisplayNameChars;
        // Never inside a UTF-8 sequence.
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return name;
}

}  // namespace keldrin
