#include "cli/TreeListing.h"

#include <algorithm>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
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

namespace {

// A piece of the listing: one node's line and, unless lineOnly, every line below it. A listing is
// cut into pieces, in output order, so that two threads can format them at once.
struct Piece {
    const CFileNode* node;
    uint32_t prefix;  // the path of the node's parent, an index into the prefixes
    bool lineOnly;
};

struct Plan {
    std::vector<std::string> prefixes{std::string()};
    std::vector<Piece> pieces;
};

// Where a listing stands: the text of lines not yet handed on, and where it goes when it grows.
class LineSink {
  public:
    virtual ~LineSink() = default;
    virtual std::string& Text() = 0;
    virtual void LineDone() = 0;
};

class StreamSink final : public LineSink {
  public:
    explicit StreamSink(std::ostream& out) : buffer_(out) {}
    std::string& Text() override { return buffer_.Text(); }
    void LineDone() override { buffer_.LineDone(); }

  private:
    ListingBuffer buffer_;
};

// The piece's lines, depth first. Depth first, so the node taken from the stack always hangs
// under the last one printed or under one of its ancestors: its parent's path is a prefix of the
// last path, and one string serves every line, cut back to that prefix.
uint64_t PrintPiece(const Piece& piece, const std::string& prefix, ListingFormat format, LineSink& sink) {
    struct Pending {
        const CFileNode* node;
        size_t parentPathLength;
    };
    uint64_t lines = 0;
    std::string path = prefix;
    std::vector<Pending> stack{{piece.node, prefix.size()}};
    std::vector<NamedChild> children;
    bool first = true;
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
            AppendTsvLine(*p, path, sink.Text());
        } else {
            AppendJsonLine(*p, path, sink.Text());
        }
        sink.LineDone();
        ++lines;
        const bool descend = !(first && piece.lineOnly);
        first = false;
        if (!descend || !item.node->GetFirstChild()) continue;
        // A damaged tree may hang nodes under a file; they still get a path of their own.
        if (!folder) path += '/';
        SortChildren(item.node, children);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            stack.push_back({it->node, path.size()});
    }
    return lines;
}

// The root's children, then folders opened a level at a time into their line and their
// children's pieces, until there are enough pieces to share (or too many to be worth it).
Plan PlanPieces(const CFileNode* root) {
    constexpr size_t kEnoughPieces = 64;
    constexpr size_t kMostPieces = 65536;
    Plan plan;
    std::vector<NamedChild> children;
    SortChildren(root, children);
    for (const NamedChild& c : children)
        if (c.node->GetProperties()) plan.pieces.push_back({c.node, 0, false});
    for (int level = 0; level < 4 && plan.pieces.size() < kEnoughPieces; ++level) {
        std::vector<Piece> opened;
        std::vector<std::string> prefixes = plan.prefixes;
        for (const Piece& piece : plan.pieces) {
            if (piece.lineOnly || !piece.node->GetFirstChild()) {
                opened.push_back(piece);
                continue;
            }
            opened.push_back({piece.node, piece.prefix, true});
            std::string path = prefixes[piece.prefix];
            AppendEscapedName(path, piece.node->GetProperties()->GetName());
            path += '/';
            prefixes.push_back(std::move(path));
            const auto prefix = static_cast<uint32_t>(prefixes.size() - 1);
            SortChildren(piece.node, children);
            for (const NamedChild& c : children)
                if (c.node->GetProperties()) opened.push_back({c.node, prefix, false});
            if (opened.size() > kMostPieces) break;
        }
        if (opened.size() > kMostPieces || opened.size() == plan.pieces.size()) break;
        plan.pieces = std::move(opened);
        plan.prefixes = std::move(prefixes);
    }
    return plan;
}

// Two threads take pieces in order; each piece's text is written once every piece before it is.
// A thread runs at most kAhead pieces in front of the writing, and a piece that grows past
// kStreamBytes waits until it is the next to be written and then streams, so the memory held
// stays small whatever the shape of the tree.
class ParallelListing {
  public:
    ParallelListing(const Plan& plan, ListingFormat format, std::ostream& out)
        : plan_(plan), format_(format), out_(out), slots_(plan.pieces.size()) {}

    uint64_t Run() {
        std::thread helper;
        try {
            helper = std::thread([this] { Work(); });
        } catch (const std::system_error&) {
        }
        try {
            Work();
        } catch (...) {
            {
                std::lock_guard lock(mutex_);
                stopped_ = true;
                changed_.notify_all();
            }
            if (helper.joinable()) helper.join();
            throw;
        }
        if (helper.joinable()) helper.join();
        if (failure_) std::rethrow_exception(failure_);
        return lines_;
    }

  private:
    static constexpr size_t kAhead = 16;
    static constexpr size_t kStreamBytes = size_t{1} << 20;

    struct Slot {
        std::string text;
        uint64_t lines = 0;
        bool done = false;
    };

    class SlotSink final : public LineSink {
      public:
        SlotSink(ParallelListing& listing, size_t index) : listing_(listing), index_(index) {}
        std::string& Text() override { return listing_.slots_[index_].text; }
        void LineDone() override {
            if (Text().size() >= kStreamBytes) listing_.Stream(index_);
        }

      private:
        ParallelListing& listing_;
        size_t index_;
    };

    void Work() {
        for (;;) {
            size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(
                    lock, [this] { return stopped_ || next_ >= slots_.size() || next_ < written_ + kAhead; });
                if (stopped_ || next_ >= slots_.size()) return;
                index = next_++;
                // A written piece's buffer, its pages already faulted in.
                if (!spare_.empty()) {
                    slots_[index].text = std::move(spare_.back());
                    spare_.pop_back();
                }
            }
            uint64_t lines = 0;
            try {
                SlotSink sink(*this, index);
                const Piece& piece = plan_.pieces[index];
                lines = PrintPiece(piece, plan_.prefixes[piece.prefix], format_, sink);
            } catch (...) {
                std::lock_guard lock(mutex_);
                if (!failure_) failure_ = std::current_exception();
                stopped_ = true;
                changed_.notify_all();
                return;
            }
            std::lock_guard lock(mutex_);
            slots_[index].lines = lines;
            slots_[index].done = true;
            WriteFinished();
            changed_.notify_all();
        }
    }

    // Under the lock: writes the finished pieces at the head, in order.
    void WriteFinished() {
        while (written_ < slots_.size() && slots_[written_].done) {
            Slot& slot = slots_[written_];
            out_.write(slot.text.data(), static_cast<std::streamsize>(slot.text.size()));
            slot.text.clear();
            if (spare_.size() < kAhead + 2 && slot.text.capacity() <= kStreamBytes / 4)
                spare_.push_back(std::move(slot.text));
            std::string().swap(slot.text);
            lines_ += slot.lines;
            ++written_;
        }
    }

    // A large piece: once every piece before it is written, its text so far goes out.
    void Stream(size_t index) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopped_ || written_ == index; });
        if (stopped_) return;
        std::string& text = slots_[index].text;
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    }

    const Plan& plan_;
    ListingFormat format_;
    std::ostream& out_;
    std::vector<Slot> slots_;
    std::vector<std::string> spare_;  // buffers of written pieces, for the next ones
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t next_ = 0;     // the next piece to take
    size_t written_ = 0;  // pieces before this one are written
    uint64_t lines_ = 0;
    bool stopped_ = false;
    std::exception_ptr failure_;
};

}  // namespace

uint64_t PrintTree(const CFileNode* root, ListingFormat format, std::ostream& out, int threads) {
    if (!root) return 0;
    if (threads <= 0) threads = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    const Plan plan = PlanPieces(root);
    // A handful of pieces is a small tree: a second thread would cost more than it saves.
    if (threads >= 2 && plan.pieces.size() >= 8) return ParallelListing(plan, format, out).Run();
    uint64_t lines = 0;
    StreamSink sink(out);
    for (const Piece& piece : plan.pieces)
        lines += PrintPiece(piece, plan.prefixes[piece.prefix], format, sink);
    return lines;
}

}  // namespace keldrin::cli
