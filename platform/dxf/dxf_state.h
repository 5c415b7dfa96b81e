// dxf_state.h - what a drawing read from DXF keeps beside its database objects, so that saving
// writes back what was read: the version, every header variable, the class records, the order
// of the tables and of their records, each block's BLOCK and ENDBLK records, the objects in the
// order of the OBJECTS section, the records that follow an entity (VERTEX ... SEQEND), and
// sections this program does not model.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "dbmain.h"
#include "dxf/dxf_structure.h"

namespace pf {
namespace dxf {

struct TableState {
  std::string name;
  AcDbObjectId head;                  // the table (the block table for BLOCK_RECORD)
  std::vector<AcDbObjectId> records;  // in file order (block table records too)
};

struct BlockEnds {
  AcDbObjectId begin;  // BLOCK
  AcDbObjectId end;    // ENDBLK
};

struct DrawingState {
  std::string acadVer = "AC1015";
  std::string codePage = "ANSI_1252";
  std::vector<std::string> sectionOrder;
  std::vector<HeaderVariable> header;
  std::vector<ClassRecord> classes;
  std::vector<TableState> tables;
  std::unordered_map<AcDbObjectId, BlockEnds> blockEnds;          // by block table record
  std::unordered_map<AcDbObjectId, std::vector<AcDbObjectId>> followers;  // VERTEX..SEQEND of a kept entity
  std::vector<AcDbObjectId> objects;                              // OBJECTS, as read
  std::vector<OtherSection> others;
  // The handle seed when the drawing was read: handles below it that no record has can be named
  // by references of the file, and no new object takes them.
  std::uint64_t seedAtLoad = 0;
  bool binary = false;  // read from binary DXF: saved in that form unless asked otherwise
};

// The state of a database read from DXF, or null (a drawing built in memory).
DrawingState* drawingState(const AcDbDatabase* db);
void setDrawingState(AcDbDatabase* db, std::unique_ptr<DrawingState> state);

// Removes every object a failed load added, leaving the database empty again.
void clearDrawing(AcDbDatabase* db);

// Records the failure reported by pf::lastDxfFailure().
void setFailure(const std::string& file, unsigned line, const std::string& reason);
void clearFailure();

}  // namespace dxf
}  // namespace pf
