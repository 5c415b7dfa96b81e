// stub_store.cpp - chunked stub storage shared by all databases, the liveness check of ids, and
// the handle table (see stub_store.h).
#include "stub_store.h"

#include <algorithm>
#include <functional>

namespace pf {

namespace {

// Every chunk ever made, by address, and the retired ones waiting for a database. Never
// destroyed: a database held in a static object may go away after these would.
struct ChunkRegistry {
  std::vector<const AcDbStub*> all;  // sorted by address
  std::vector<AcDbStub*> spare;
  const AcDbStub* lastHit = nullptr;  // the chunk of the last successful lookup
};

ChunkRegistry& registry() {
  static auto* r = new ChunkRegistry;
  return *r;
}

AcDbStub* takeChunk() {
  ChunkRegistry& r = registry();
  if (!r.spare.empty()) {
    AcDbStub* chunk = r.spare.back();
    r.spare.pop_back();
    return chunk;
  }
  AcDbStub* chunk = new AcDbStub[StubStore::kChunk];  // every stub dead (db null) until handed out
  r.all.insert(std::upper_bound(r.all.begin(), r.all.end(), chunk, std::less<const AcDbStub*>()), chunk);
  return chunk;
}

void retireChunk(AcDbStub* chunk, std::size_t used) {
  for (std::size_t i = 0; i < used; ++i) chunk[i] = AcDbStub();
  ChunkRegistry& r = registry();
  if (r.lastHit == chunk) r.lastHit = nullptr;
  r.spare.push_back(chunk);
}

bool inChunk(const AcDbStub* chunk, const AcDbStub* p) {
  std::less<const AcDbStub*> less;
  if (chunk == nullptr || less(p, chunk) || !less(p, chunk + StubStore::kChunk)) return false;
  // Inside the chunk, but only the start of a stub is a stub.
  return (reinterpret_cast<std::uintptr_t>(p) - reinterpret_cast<std::uintptr_t>(chunk)) % sizeof(AcDbStub) == 0;
}

}  // namespace

bool isLiveStub(const AcDbStub* stub) {
  if (stub == nullptr) return false;
  ChunkRegistry& r = registry();
  if (inChunk(r.lastHit, stub)) return stub->db != nullptr;
  auto it = std::upper_bound(r.all.begin(), r.all.end(), stub, std::less<const AcDbStub*>());
  if (it == r.all.begin()) return false;
  const AcDbStub* chunk = *(it - 1);
  if (!inChunk(chunk, stub)) return false;
  r.lastHit = chunk;
  return stub->db != nullptr;
}

// ---- StubStore ---------------------------------------------------------------------------------

StubStore::~StubStore() { clear(); }

AcDbStub* StubStore::add(AcDbDatabase* db, const AcDbHandle& handle) {
  if (size_ == chunks_.size() * kChunk) chunks_.push_back(takeChunk());
  AcDbStub* stub = at(size_++);
  stub->db = db;
  stub->handle = handle;
  stub->object = nullptr;
  stub->erased = false;
  return stub;
}

void StubStore::clear() {
  for (std::size_t c = 0; c < chunks_.size(); ++c)
    retireChunk(chunks_[c], std::min(kChunk, size_ - c * kChunk));
  chunks_.clear();
  size_ = 0;
}

// ---- HandleTable -------------------------------------------------------------------------------

AcDbStub* HandleTable::find(std::uint64_t handle) const {
  if (size_ == 0 || handle == 0) return nullptr;
  for (std::size_t i = slotOf(handle);; i = (i + 1) & mask_) {
    const std::uint32_t s = slots_[i];
    if (s == kEmpty) return nullptr;
    AcDbStub* stub = store_.at(s);
    if (stub->handle.value() == handle) return stub;
  }
}

void HandleTable::put(std::uint32_t index) {
  const std::uint64_t handle = handleAt(index);
  if (handle == 0) return;  // the null handle is never looked up
  if ((size_ + 1) * 4 > slots_.size() * 3) rehash(std::max<std::size_t>(16, slots_.size() * 2));
  for (std::size_t i = slotOf(handle);; i = (i + 1) & mask_) {
    std::uint32_t& s = slots_[i];
    if (s == kEmpty) {
      s = index;
      ++size_;
      return;
    }
    if (handleAt(s) == handle) {
      s = index;
      return;
    }
  }
}

void HandleTable::reserve(std::size_t count) {
  std::size_t capacity = 16;
  while (capacity * 3 < count * 4) capacity *= 2;
  if (capacity > slots_.size()) rehash(capacity);
}

void HandleTable::clear() {
  std::vector<std::uint32_t>().swap(slots_);
  size_ = 0;
  bits_ = 0;
  mask_ = 0;
}

void HandleTable::rehash(std::size_t capacity) {
  std::vector<std::uint32_t> old;
  old.swap(slots_);
  slots_.assign(capacity, kEmpty);
  unsigned bits = 0;
  while ((std::size_t(1) << bits) < capacity) ++bits;
  bits_ = bits;
  mask_ = capacity - 1;
  for (std::uint32_t s : old) {
    if (s == kEmpty) continue;
    std::size_t i = slotOf(handleAt(s));
    while (slots_[i] != kEmpty) i = (i + 1) & mask_;
    slots_[i] = s;
  }
}

}  // namespace pf
