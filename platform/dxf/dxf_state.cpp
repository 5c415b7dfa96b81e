// dxf_state.cpp - the per-drawing DXF state kept with the database, and the failure report of
// the last load or save (pf/dxf.h).
#include "dxf/dxf_state.h"

#include "db/db_internal.h"
#include "db/db_services.h"
#include "pf/dxf.h"

namespace pf {

std::string DxfFailure::text() const {
  if (reason.empty()) return std::string();
  if (line) return file + ":" + std::to_string(line) + ": " + reason;
  return file.empty() ? reason : file + ": " + reason;
}

namespace {
thread_local DxfFailure tFailure;
}  // namespace

const DxfFailure& lastDxfFailure() { return tFailure; }

std::string dxfVersion(const AcDbDatabase* db) {
  if (const dxf::DrawingState* st = dxf::drawingState(db)) return st->acadVer;
  return "AC1015";
}

DxfForm dxfForm(const AcDbDatabase* db) {
  const dxf::DrawingState* st = dxf::drawingState(db);
  return st && st->binary ? DxfForm::kBinary : DxfForm::kAscii;
}

std::string dxfCodePage(const AcDbDatabase* db) {
  if (const dxf::DrawingState* st = dxf::drawingState(db)) return st->codePage;
  return "ANSI_1252";
}

namespace dxf {

void setFailure(const std::string& file, unsigned line, const std::string& reason) {
  tFailure.file = file;
  tFailure.line = line;
  tFailure.reason = reason;
}

void clearFailure() { tFailure = DxfFailure(); }

DrawingState* drawingState(const AcDbDatabase* db) {
  if (!db || !db->pfImpl()) return nullptr;
  return static_cast<DrawingState*>(db->pfImpl()->dxfState.get());
}

void setDrawingState(AcDbDatabase* db, std::unique_ptr<DrawingState> state) {
  DrawingState* raw = state.release();
  db->pfImpl()->dxfState = std::shared_ptr<void>(raw, [](void* p) { delete static_cast<DrawingState*>(p); });
}

void clearDrawing(AcDbDatabase* db) {
  DatabaseImpl* di = db->pfImpl();
  std::vector<AcDbObject*> objects;
  for (AcDbStub* stub : di->stubs)
    if (stub->object != nullptr) objects.push_back(stub->object);
  // As when the database goes away: nothing is notified, everything is freed.
  di->destroying = true;
  for (AcDbObject* obj : objects) delete obj;
  di->destroying = false;
  di->stubs.clear();
  di->byHandle.clear();
  di->handseed = 1;
  di->blockTable = AcDbObjectId::kNull;
  di->namedObjects = AcDbObjectId::kNull;
  di->dxfState.reset();
}

}  // namespace dxf
}  // namespace pf
