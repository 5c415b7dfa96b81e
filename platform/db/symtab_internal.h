// symtab_internal.h - the private state of symbol tables and block table records, and the
// id walker behind their iterators.
#pragma once
#include <string>
#include <vector>
#include "db_internal.h"

namespace pf {

class SymbolTableImpl {
public:
  std::vector<AcDbObjectId> records;
  resbuf* kept = nullptr;
  // The head's group 70 as a file had it (-1: none read) and how many records the file gave the
  // table: writers differ on what they count there, so an unchanged table keeps its number.
  int countRead = -1;
  std::size_t recordsRead = 0;
  ~SymbolTableImpl() { freeResbufChain(kept); }
};

class BlockRecordImpl {
public:
  std::vector<AcDbObjectId> entities;
  AcGePoint3d origin;
  std::string comments;
  AcDbObjectId layout;
  resbuf* kept = nullptr;
  ~BlockRecordImpl() { freeResbufChain(kept); }
};

// Walks a snapshot of ids in either direction, optionally skipping erased ones.
class IdWalker {
public:
  std::vector<AcDbObjectId> ids;
  long pos = 0;
  bool valid() const { return pos >= 0 && pos < static_cast<long>(ids.size()); }
  void start(bool atBeginning, bool skipDeleted) {
    pos = atBeginning ? 0 : static_cast<long>(ids.size()) - 1;
    if (skipDeleted) skip(atBeginning);
  }
  void step(bool forward, bool skipDeleted) {
    if (!valid()) return;
    pos += forward ? 1 : -1;
    if (skipDeleted) skip(forward);
  }
  void skip(bool forward) {
    while (valid() && ids[static_cast<size_t>(pos)].isErased()) pos += forward ? 1 : -1;
  }
  bool seek(AcDbObjectId id) {
    for (size_t i = 0; i < ids.size(); ++i)
      if (ids[i] == id) {
        pos = static_cast<long>(i);
        return true;
      }
    return false;
  }
  AcDbObjectId current() const { return valid() ? ids[static_cast<size_t>(pos)] : AcDbObjectId::kNull; }
};

class SymbolTableIteratorImpl : public IdWalker {};

class BlockRecordIteratorImpl : public IdWalker {
public:
  AcDbBlockTableRecord* block = nullptr;
};

}  // namespace pf
