// "Find file by name": steps through the files of the main window's file list and folder tree. The
// window's list and tree come in through the two interfaces below, so any front end can drive it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/model/FileNamePattern.h"
#include "engine/model/FileNode.h"

namespace keldrin {

enum FindResult : int {
    kFindNotHere = 1,
    kFindWrapped = 2,
    kFindFound = 4,
};

inline constexpr const char* kNoFilesFoundMessage = "No files found";
inline constexpr const char* kNoMoreFilesFoundMessage = "No more files found.";
inline constexpr size_t kMaxFindName = 256;

// The file list: the entries of the folder shown, in display order.
class IFindFileList {
  public:
    virtual ~IFindFileList() = default;
    virtual size_t GetCount() const = 0;
    // Null for an index out of range.
    virtual CFileNode* GetEntry(size_t index) const = 0;
    // The selected entry's index, or -1 when none is selected.
    virtual ptrdiff_t GetSelected() const = 0;
    virtual void Select(size_t index) = 0;
};

// The folder tree: navigation among the folders shown, and their selection.
class IFindFolderTree {
  public:
    virtual ~IFindFolderTree() = default;
    virtual CFileNode* GetTop() const = 0;
    // Null when no folder is selected.
    virtual CFileNode* GetSelectedFolder() const = 0;
    // Null when there is none.
    virtual CFileNode* GetFirstSubfolder(CFileNode* folder) const = 0;
    virtual CFileNode* GetNextSibling(CFileNode* folder) const = 0;
    virtual CFileNode* GetParent(CFileNode* folder) const = 0;
    // The file list then shows the folder's children.
    virtual void SelectFolder(CFileNode* folder) = 0;
};

// The state of the find dialog: the previous text and options, the start item and whether a search
// has run. Lives as long as the dialog; the start item must stay in the tree meanwhile.
class CFindFileByName {
  public:
    // "Find Next". A text with \ / : " < > | gives kFindNotHere and changes nothing. tree may be
    // null (a window without a folder tree). kFindFound has selected the entry found.
    FindResult FindNext(std::string_view text, bool matchCase, bool wholeWord, IFindFileList& list,
                        IFindFolderTree* tree);

    // The message for a result: kNoMoreFilesFoundMessage, kNoFilesFoundMessage, or null.
    static const char* MessageFor(FindResult result);

    // Forgets the previous search (for a new tree).
    void Reset() { *this = CFindFileByName(); }

    CFileNode* GetStartItem() const { return startItem_; }
    bool HasSearched() const { return searchRan_; }

  private:
    FindResult Search(const FileNamePattern& pattern, IFindFileList& list, IFindFolderTree* tree);
    FindResult ListPass(const FileNamePattern& pattern, IFindFileList& list, size_t begin) const;

    std::string text_;
    bool matchCase_ = false;
    bool wholeWord_ = false;
    CFileNode* startItem_ = nullptr;
    bool searchRan_ = false;
};

}  // namespace keldrin
