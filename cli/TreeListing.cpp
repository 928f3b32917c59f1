#include "cli/TreeListing.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "cli/TimeText.h"
#include "engine/model/DataRunList.h"
#include "engine/model/FileProperties.h"

namespace keldrin::cli {
namespace {

const char* NameOf(const CFileNode* node) {
    const IFileProperties* p = node->GetProperties();
    return p ? p->GetName() : "";
}

std::vector<const CFileNode*> SortedChildren(const CFileNode* node) {
    std::vector<const CFileNode*> children;
    for (const CFileNode* c = node->GetFirstChild(); c; c = c->GetNextSibling()) children.push_back(c);
    std::stable_sort(children.begin(), children.end(), [](const CFileNode* a, const CFileNode* b) {
        return std::strcmp(NameOf(a), NameOf(b)) < 0;
    });
    return children;
}

void PrintTsvLine(const IFileProperties& p, const std::string& path, std::ostream& out) {
    const bool folder = IsFolder(&p);
    out << StateLetters(p.GetState()) << '\t';
    if (folder) {
        out << '-';
    } else {
        out << p.GetFileSize();
    }
    out << '\t' << ((p.GetTypeCode() & kHasModificationTime) ? FileTimeToIso(p.GetModificationTime()) : "-")
        << '\t' << path << '\n';
}

std::string JsonTime(const IFileProperties& p, uint32_t bit, uint64_t value) {
    if (!(p.GetTypeCode() & bit) || value == 0) return "null";
    return "\"" + FileTimeToIso(value) + "\"";
}

void PrintJsonLine(const IFileProperties& p, const std::string& path, std::ostream& out) {
    out << "{\"state\":" << JsonString(StateLetters(p.GetState())) << ",\"size\":" << p.GetFileSize()
        << ",\"mtime\":" << JsonTime(p, kHasModificationTime, p.GetModificationTime())
        << ",\"path\":" << JsonString(path) << ",\"folder\":" << (IsFolder(&p) ? "true" : "false")
        << ",\"attributes\":" << p.GetAttributes()
        << ",\"created\":" << JsonTime(p, kHasCreationTime, p.GetCreationTime())
        << ",\"modified\":" << JsonTime(p, kHasModificationTime, p.GetModificationTime())
        << ",\"accessed\":" << JsonTime(p, kHasAccessTime, p.GetAccessTime());
    std::unique_ptr<IDataRunList> runs = p.GetDataRunList();
    if (runs && runs->IsResident()) out << ",\"resident_offset\":" << runs->GetResidentOffset();
    out << ",\"extents\":[";
    if (runs) {
        bool first = true;
        for (const Extent& e : runs->GetExtents()) {
            out << (first ? "" : ",") << "{\"start\":";
            if (e.IsSparse()) {
                out << "null";
            } else {
                out << e.start;
            }
            out << ",\"length\":" << e.length << '}';
            first = false;
        }
    }
    out << "]}\n";
}

}  // namespace

std::string StateLetters(uint8_t state) {
    std::string letters;
    if (state & kStateDeleted) letters += 'D';
    if (state & kStateLost) letters += 'L';
    if (state & kStateCrossLink) letters += 'X';
    if (state & kStateTemp) letters += 'T';
    return letters.empty() ? "-" : letters;
}

std::string EscapeName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || c == '\\' || c == '/') {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\u%04x", c);
                    out += hex;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    return out + "\"";
}

uint64_t PrintTree(const CFileNode* root, ListingFormat format, std::ostream& out) {
    if (!root) return 0;
    struct Pending {
        const CFileNode* node;
        std::string parentPath;
    };
    uint64_t lines = 0;
    std::vector<Pending> stack;
    {
        std::vector<const CFileNode*> top = SortedChildren(root);
        for (auto it = top.rbegin(); it != top.rend(); ++it) stack.push_back({*it, std::string()});
    }
    while (!stack.empty()) {
        Pending item = std::move(stack.back());
        stack.pop_back();
        const IFileProperties* p = item.node->GetProperties();
        if (!p) continue;
        const bool folder = IsFolder(p);
        std::string path = item.parentPath + EscapeName(p->GetName());
        if (folder) path += '/';
        if (format == ListingFormat::kTsv) {
            PrintTsvLine(*p, path, out);
        } else {
            PrintJsonLine(*p, path, out);
        }
        ++lines;
        // A damaged tree may hang nodes under a file; they still get a path of their own.
        const std::string childPath = folder ? path : path + '/';
        std::vector<const CFileNode*> children = SortedChildren(item.node);
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back({*it, childPath});
    }
    return lines;
}

}  // namespace keldrin::cli
