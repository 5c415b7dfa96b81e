// id_index.h - object id -> position, for the id mapping of a deep clone: it is looked up for
// every reference of every copied object, so it is a flat open-addressing table (no node per
// entry, few cache misses) rather than a node-based map.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dbid.h"

namespace pf {

class IdIndex {
public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // The position stored for id, or npos.
  std::size_t find(AcDbObjectId id) const {
    const AcDbStub* key = id;
    if (size_ == 0 || key == nullptr) return npos;
    for (std::size_t i = slotOf(key);; i = (i + 1) & mask_) {
      const Slot& s = slots_[i];
      if (s.key == key) return s.pos;
      if (s.key == nullptr) return npos;
    }
  }

  // Stores (or replaces) the position of a non-null id.
  void put(AcDbObjectId id, std::size_t pos) {
    const AcDbStub* key = id;
    if (key == nullptr) return;
    if ((size_ + 1) * 2 > slots_.size()) grow();
    for (std::size_t i = slotOf(key);; i = (i + 1) & mask_) {
      Slot& s = slots_[i];
      if (s.key == key || s.key == nullptr) {
        if (s.key == nullptr) ++size_;
        s.key = key;
        s.pos = pos;
        return;
      }
    }
  }

  void clear() {
    slots_.assign(slots_.size(), Slot());
    size_ = 0;
  }

private:
  struct Slot {
    const AcDbStub* key = nullptr;
    std::size_t pos = 0;
  };

  std::size_t slotOf(const AcDbStub* key) const {
    // Stubs are 32 bytes apart: the low bits carry nothing; Fibonacci hashing spreads the rest.
    const std::uint64_t x = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key) >> 5);
    return static_cast<std::size_t>((x * 0x9E3779B97F4A7C15ull) >> shift_);
  }

  void grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    const std::size_t capacity = old.empty() ? 64 : old.size() * 2;
    slots_.assign(capacity, Slot());
    unsigned bits = 0;
    while ((std::size_t(1) << bits) < capacity) ++bits;
    shift_ = 64 - bits;
    mask_ = capacity - 1;
    size_ = 0;
    for (const Slot& s : old)
      if (s.key != nullptr) put(AcDbObjectId(s.key), s.pos);
  }

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
  std::size_t mask_ = 0;
  unsigned shift_ = 64;
};

}  // namespace pf
