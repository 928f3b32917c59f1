#include "engine/model/FindByName.h"

#include "engine/model/SearchCriteria.h"

namespace keldrin {
namespace {

// The selected entry, or the first when none is.
size_t CurrentIndex(const IFindFileList& list) {
    const ptrdiff_t selected = list.GetSelected();
    return selected >= 0 && static_cast<size_t>(selected) < list.GetCount() ? static_cast<size_t>(selected)
                                                                            : 0;
}

CFileNode* CurrentEntry(const IFindFileList& list) {
    return list.GetCount() ? list.GetEntry(CurrentIndex(list)) : nullptr;
}

bool IsMatchingFile(const CFileNode* node, const FileNamePattern& pattern) {
    const IFileProperties* p = node ? node->GetProperties() : nullptr;
    return p && !IsFolder(p) && pattern.Matches(p);
}

bool HasMatchingFile(const CFileNode* folder, const FileNamePattern& pattern) {
    for (const CFileNode* child = folder->GetFirstChild(); child; child = child->GetNextSibling())
        if (IsMatchingFile(child, pattern)) return true;
    return false;
}

// Tree order: a folder, its subfolders, its next sibling, the next sibling of the nearest ancestor
// that has one, and after the last folder the top again (counted in wraps).
CFileNode* NextFolder(const IFindFolderTree& tree, CFileNode* folder, int& wraps) {
    if (CFileNode* sub = tree.GetFirstSubfolder(folder)) return sub;
    for (CFileNode* n = folder; n; n = tree.GetParent(n))
        if (CFileNode* sibling = tree.GetNextSibling(n)) return sibling;
    ++wraps;
    return tree.GetTop();
}

}  // namespace

FindResult CFindFileByName::ListPass(const FileNamePattern& pattern, IFindFileList& list,
                                     size_t begin) const {
    for (size_t i = begin; i < list.GetCount(); ++i) {
        CFileNode* entry = list.GetEntry(i);
        if (IsMatchingFile(entry, pattern)) {
            list.Select(i);
            return entry == startItem_ && searchRan_ ? kFindWrapped : kFindFound;
        }
        if (entry && entry == startItem_) return kFindWrapped;
    }
    return kFindNotHere;
}

FindResult CFindFileByName::Search(const FileNamePattern& pattern, IFindFileList& list,
                                   IFindFolderTree* tree) {
    const FindResult after = list.GetCount() ? ListPass(pattern, list, CurrentIndex(list) + 1) : kFindNotHere;
    if (after == kFindFound) return kFindFound;
    if (after == kFindNotHere) {
        if (!startItem_) startItem_ = CurrentEntry(list);
        if (tree) {
            // The selected folder's files were just looked at, so the walk starts after it; without
            // a selection it starts at the top.
            CFileNode* first = tree->GetSelectedFolder();
            bool atFirst = false;
            if (!first) {
                first = tree->GetTop();
                atFirst = true;
            }
            int wraps = 0;
            CFileNode* folder = first && !atFirst ? NextFolder(*tree, first, wraps) : first;
            // Two wraps: the first folder was not in the tree's order at all.
            while (folder && (folder != first || atFirst) && wraps < 2) {
                atFirst = false;
                if (HasMatchingFile(folder, pattern)) {
                    tree->SelectFolder(folder);
                    const FindResult here = ListPass(pattern, list, CurrentIndex(list));
                    if (here == kFindFound) return kFindFound;
                    if (here == kFindWrapped) break;
                }
                folder = NextFolder(*tree, folder, wraps);
            }
        }
        if (list.GetCount()) {
            list.Select(0);
            if (ListPass(pattern, list, 0) == kFindFound) return kFindFound;
        }
    }
    return searchRan_ ? kFindWrapped : kFindNotHere;
}

FindResult CFindFileByName::FindNext(std::string_view text, bool matchCase, bool wholeWord,
                                     IFindFileList& list, IFindFolderTree* tree) {
    if (text.empty()) text = "*";
    if (!IsAcceptableNameText(text, true)) return kFindNotHere;
    const FileNamePattern pattern(text, matchCase, wholeWord, kPatternFind);
    const FindResult result = Search(pattern, list, tree);
    if (result == kFindWrapped) return result;
    if (!startItem_ || text != text_ || matchCase != matchCase_ || wholeWord != wholeWord_) {
        text_ = text;
        matchCase_ = matchCase;
        wholeWord_ = wholeWord;
        startItem_ = CurrentEntry(list);
    }
    searchRan_ = true;
    return result;
}

const char* CFindFileByName::MessageFor(FindResult result) {
    switch (result) {
        case kFindWrapped:
            return kNoMoreFilesFoundMessage;
        case kFindNotHere:
            return kNoFilesFoundMessage;
        default:
            return nullptr;
    }
}

}  // namespace keldrin
