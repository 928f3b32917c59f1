#include "cli/TreeListing.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <vector>

#include "cli/TimeText.h"
#include "engine/model/DataRunList.h"
#include "engine/model/FileProperties.h"

namespace keldrin::cli {
namespace {

// Lines are gathered here and handed to the stream a block at a time: a listing has one line per
// file, and the stream's own formatting and small writes cost more than the tree build.
class ListingBuffer {
  public:
    explicit ListingBuffer(std::ostream& out) : out_(out) { text_.reserve(kBlock + 4096); }
    ~ListingBuffer() { Flush(); }
    ListingBuffer(const ListingBuffer&) = delete;
    ListingBuffer& operator=(const ListingBuffer&) = delete;

    std::string& Text() { return text_; }
    void LineDone() {
        if (text_.size() >= kBlock) Flush();
    }
    void Flush() {
        if (!text_.empty()) out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }

  private:
    static constexpr size_t kBlock = size_t{1} << 16;
    std::ostream& out_;
    std::string text_;
};

void AppendNumber(std::string& out, uint64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, static_cast<size_t>(end - digits));
}

void AppendStateLetters(std::string& out, uint8_t state) {
    const size_t before = out.size();
    if (state & kStateDeleted) out += 'D';
    if (state & kStateLost) out += 'L';
    if (state & kStateCrossLink) out += 'X';
    if (state & kStateTemp) out += 'T';
    if (out.size() == before) out += '-';
}

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '\\' || c == '/';
}

void AppendEscapedName(std::string& out, std::string_view name) {
    static constexpr char kHex[] = "0123456789abcdef";
    // Runs of plain characters (all of most names) go over in one append.
    size_t plain = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (!NeedsEscape(c)) continue;
        out.append(name.data() + plain, i - plain);
        const char escape[4] = {'\\', 'x', kHex[c >> 4], kHex[c & 0xF]};
        out.append(escape, 4);
        plain = i + 1;
    }
    out.append(name.data() + plain, name.size() - plain);
}

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
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
                    const char escape[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
                    out.append(escape, 6);
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    out += '"';
}

// A child with its name looked up once, for sorting, and the name's first eight bytes as a
// big-endian number: comparing those orders most pairs as strcmp would, without the call.
struct NamedChild {
    uint64_t key;
    const char* name;
    const CFileNode* node;
};

uint64_t LeadingBytes(const char* name) {
    uint64_t key = 0;
    int i = 0;
    for (; i < 8 && name[i] != '\0'; ++i) key = key << 8 | static_cast<unsigned char>(name[i]);
    return i == 0 ? 0 : key << (8 * (8 - i));
}

// node's children in byte order of their names, ties in sibling order, into children.
void SortChildren(const CFileNode* node, std::vector<NamedChild>& children) {
    children.clear();
    for (const CFileNode* c = node->GetFirstChild(); c; c = c->GetNextSibling()) {
        const IFileProperties* p = c->GetProperties();
        const char* name = p ? p->GetName() : "";
        children.push_back({LeadingBytes(name), name, c});
    }
    std::stable_sort(children.begin(), children.end(), [](const NamedChild& a, const NamedChild& b) {
        if (a.key != b.key) return a.key < b.key;
        return std::strcmp(a.name, b.name) < 0;
    });
}

void AppendTsvLine(const IFileProperties& p, std::string_view path, std::string& out) {
    AppendStateLetters(out, p.GetState());
    out += '\t';
    if (IsFolder(&p)) {
        out += '-';
    } else {
        AppendNumber(out, p.GetFileSize());
    }
    out += '\t';
    if (p.GetTypeCode() & kHasModificationTime) {
        AppendFileTimeIso(out, p.GetModificationTime());
    } else {
        out += '-';
    }
    out += '\t';
    out += path;
    out += '\n';
}

void AppendJsonTime(std::string& out, const IFileProperties& p, uint32_t bit, uint64_t value) {
    if (!(p.GetTypeCode() & bit) || value == 0) {
        out += "null";
        return;
    }
    out += '"';
    AppendFileTimeIso(out, value);
    out += '"';
}

void AppendJsonLine(const IFileProperties& p, std::string_view path, std::string& out) {
    out += "{\"state\":\"";
    AppendStateLetters(out, p.GetState());
    out += "\",\"size\":";
    AppendNumber(out, p.GetFileSize());
    out += ",\"mtime\":";
    AppendJsonTime(out, p, kHasModificationTime, p.GetModificationTime());
    out += ",\"path\":";
    AppendJsonString(out, path);
    out += ",\"folder\":";
    out += IsFolder(&p) ? "true" : "false";
    out += ",\"attributes\":";
    AppendNumber(out, p.GetAttributes());
    out += ",\"created\":";
    AppendJsonTime(out, p, kHasCreationTime, p.GetCreationTime());
    out += ",\"modified\":";
    AppendJsonTime(out, p, kHasModificationTime, p.GetModificationTime());
    out += ",\"accessed\":";
    AppendJsonTime(out, p, kHasAccessTime, p.GetAccessTime());
    std::unique_ptr<IDataRunList> runs = p.GetDataRunList();
    if (runs && runs->IsResident()) {
        out += ",\"resident_offset\":";
        AppendNumber(out, runs->GetResidentOffset());
    }
    out += ",\"extents\":[";
    if (runs) {
        bool first = true;
        for (const Extent& e : runs->GetExtents()) {
            out += first ? "{\"start\":" : ",{\"start\":";
            if (e.IsSparse()) {
                out += "null";
            } else {
                AppendNumber(out, e.start);
            }
            out += ",\"length\":";
            AppendNumber(out, e.length);
            out += '}';
            first = false;
        }
    }
    out += "]}\n";
}

}  // namespace

std::string StateLetters(uint8_t state) {
    std::string letters;
    AppendStateLetters(letters, state);
    return letters;
}

std::string EscapeName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    AppendEscapedName(out, name);
    return out;
}

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

uint64_t PrintTree(const CFileNode* root, ListingFormat format, std::ostream& out) {
    if (!root) return 0;
    // Depth first, so the node taken from the stack always hangs under the last one printed or
    // under one of its ancestors: its parent's path is a prefix of the last path, and one string
    // serves every line, cut back to that prefix.
    struct Pending {
        const CFileNode* node;
        size_t parentPathLength;
    };
    uint64_t lines = 0;
    ListingBuffer buffer(out);
    std::string path;
    std::vector<Pending> stack;
    std::vector<NamedChild> children;
    const auto pushChildren = [&](const CFileNode* node, size_t prefix) {
        SortChildren(node, children);
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back({it->node, prefix});
    };
    pushChildren(root, 0);
    while (!stack.empty()) {
        const Pending item = stack.back();
        stack.pop_back();
        const IFileProperties* p = item.node->GetProperties();
        if (!p) continue;
        const bool folder = IsFolder(p);
        path.resize(item.parentPathLength);
        AppendEscapedName(path, p->GetName());
        if (folder) path += '/';
        if (format == ListingFormat::kTsv) {
            AppendTsvLine(*p, path, buffer.Text());
        } else {
            AppendJsonLine(*p, path, buffer.Text());
        }
        buffer.LineDone();
        ++lines;
        if (!item.node->GetFirstChild()) continue;
        // A damaged tree may hang nodes under a file; they still get a path of their own.
        if (!folder) path += '/';
        pushChildren(item.node, path.size());
    }
    return lines;
}

}  // namespace keldrin::cli
