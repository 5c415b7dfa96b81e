// stub_store.h - where a database keeps its id stubs, and how an id is checked for liveness.
//
// A database may hold a million objects, and every id that crosses the API is checked, so both
// the storage and the check must be cheap:
// - Stubs live in fixed chunks that never move (ids are stub addresses) and are never returned to
//   the system. When a database goes away its chunks are retired: every stub in them is marked
//   dead and the chunk is kept for the next database. An id that outlives its database therefore
//   still points at readable memory and reads as not valid (until its chunk is reused).
// - An id is live when it points at a stub inside one of those chunks and the stub is not dead;
//   a pointer that is no stub at all (a stray `ads_name`, an old id) is recognised by its address
//   alone, without reading it.
// - Handles find their stubs through an open-addressing table of stub indices (4 bytes a slot,
//   no node per object).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dbhandle.h"

class AcDbDatabase;
class AcDbObject;

// What an AcDbObjectId points at: one per object (or reserved handle) for the database's life.
class AcDbStub {
public:
  AcDbDatabase* db = nullptr;  // null while the stub is dead (its database is gone)
  AcDbHandle handle;
  AcDbObject* object = nullptr;  // null while reserved by handle only
  bool erased = false;
  // Set while a drawing is being saved for the objects that go into the file (in the stub's
  // padding: the saver asks this for every reference it writes).
  mutable bool saving = false;
};

namespace pf {

// True when the pointer is a stub of a live database.
bool isLiveStub(const AcDbStub* stub);

// The stubs of one database, in the order they were made.
class StubStore {
public:
  StubStore() = default;
  ~StubStore();
  StubStore(const StubStore&) = delete;
  StubStore& operator=(const StubStore&) = delete;

  // A new stub of db for handle (not yet in the handle table).
  AcDbStub* add(AcDbDatabase* db, const AcDbHandle& handle);
  std::size_t size() const { return size_; }
  AcDbStub* at(std::size_t i) const { return chunks_[i / kChunk] + i % kChunk; }
  // Retires every stub: ids of them read as not valid from now on.
  void clear();

  // Index-based, so stubs added while iterating (chunks never move) do not upset it; the end is
  // the size when the loop started.
  class iterator {
  public:
    iterator(const StubStore* s, std::size_t i) : s_(s), i_(i) {}
    AcDbStub* operator*() const { return s_->at(i_); }
    iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator!=(const iterator& o) const { return i_ != o.i_; }

  private:
    const StubStore* s_;
    std::size_t i_;
  };
  iterator begin() const { return iterator(this, 0); }
  iterator end() const { return iterator(this, size_); }

  static constexpr std::size_t kChunk = 4096;

private:
  std::vector<AcDbStub*> chunks_;
  std::size_t size_ = 0;
};

// Handle value -> stub of a store, open addressing with linear probing. A slot holds the stub's
// index in the store (4 bytes; its handle is read from the stub). Handles are never removed
// while the database lives; clear() empties the table.
class HandleTable {
public:
  explicit HandleTable(const StubStore& store) : store_(store) {}
  AcDbStub* find(std::uint64_t handle) const;
  // Adds the stub at `index` of the store under its handle, replacing an entry of that handle.
  void put(std::uint32_t index);
  void reserve(std::size_t count);
  void clear();
  std::size_t size() const { return size_; }

private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  void rehash(std::size_t capacity);
  // Handles are mostly dense and counted up from 1: their low bits index the table directly, so
  // neighbours stay neighbours (few cache misses while a drawing loads); the bits above the
  // table's size are scrambled in, so that handles far apart do not pile up on one slot.
  std::size_t slotOf(std::uint64_t handle) const {
    return static_cast<std::size_t>(handle + (handle >> bits_) * 0x9E3779B97F4A7C15ull) & mask_;
  }
  std::uint64_t handleAt(std::uint32_t index) const { return store_.at(index)->handle.value(); }

  const StubStore& store_;
  std::vector<std::uint32_t> slots_;
  std::size_t size_ = 0;
  unsigned bits_ = 0;
  std::size_t mask_ = 0;
};

}  // namespace pf
