// The RAW candidates of one scan, in the order found, with an index by start sector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "engine/raw/RawFileInfo.h"

namespace keldrin {

template <class T>
class IIterator {
  public:
    virtual ~IIterator() = default;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool IsDone() const = 0;
    virtual T CurrentItem() const = 0;
};

class CRawFileStore;

// Over the store's list in the order found; the store must outlive it and not grow meanwhile.
class ListIterator final : public IIterator<CRawFileInfo*> {
  public:
    explicit ListIterator(CRawFileStore& store) : store_(store) {}
    void First() override { position_ = 0; }
    void Next() override { ++position_; }
    bool IsDone() const override;
    CRawFileInfo* CurrentItem() const override;

  private:
    CRawFileStore& store_;
    size_t position_ = 0;
};

class CRawFileStore {
  public:
    // Keeps a copy; the answer stays valid for the store's life. A second candidate at a start
    // sector already indexed is listed but not indexed.
    CRawFileInfo* AddRawFile(const CRawFileInfo& info);
    size_t GetCount() const { return list_.size(); }
    CRawFileInfo* At(size_t position) { return position < list_.size() ? &list_[position] : nullptr; }
    // The indexed candidate starting at sector; null when none.
    CRawFileInfo* FindByStartSector(int64_t sector) const;
    // The indexed candidates in ascending start order.
    const std::vector<CRawFileInfo*>& GetIndex() const { return index_; }
    ListIterator GetIterator() { return ListIterator(*this); }
    void Clear();

  private:
    std::deque<CRawFileInfo> list_;  // a deque keeps addresses stable as it grows
    std::vector<CRawFileInfo*> index_;
};

inline bool ListIterator::IsDone() const {
    return position_ >= store_.GetCount();
}

inline CRawFileInfo* ListIterator::CurrentItem() const {
    return store_.At(position_);
}

}  // namespace keldrin
