// style_names.cpp - names of the records entities refer to (see style_names.h).
#include "db/entities/style_names.h"

#include "dbmain.h"
#include "dbsymtb.h"

namespace pf {

namespace {

// The name of a symbol table record, read through a short read-only opening.
bool recordName(AcDbObjectId id, std::string& out) {
  if (id.isNull()) return false;
  AcDbSymbolTableRecord* rec = nullptr;
  if (acdbOpenObject(rec, id, AcDb::kForRead) != Acad::eOk) return false;
  const char* name = nullptr;
  const bool ok = rec->getName(name) == Acad::eOk && name != nullptr;
  if (ok) out = name;
  rec->close();
  return ok;
}

}  // namespace

std::string textStyleName(AcDbObjectId style, const std::string& fallback) {
  std::string name;
  return recordName(style, name) ? name : fallback;
}

AcDbObjectId textStyleId(AcDbDatabase*, const std::string&) {
  // The database keeps no text style table of its own: a style is known by its name, which
  // the text keeps and writes back.
  return AcDbObjectId::kNull;
}

std::string blockName(AcDbObjectId block, const std::string& fallback) {
  std::string name;
  return recordName(block, name) ? name : fallback;
}

AcDbObjectId blockId(AcDbDatabase* db, const std::string& name) {
  if (db == nullptr || name.empty()) return AcDbObjectId::kNull;
  AcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return AcDbObjectId::kNull;
  AcDbObjectId id;
  if (table->getAt(name.c_str(), id) != Acad::eOk) id = AcDbObjectId::kNull;
  table->close();
  return id;
}

}  // namespace pf
