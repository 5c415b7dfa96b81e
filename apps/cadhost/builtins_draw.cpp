// Built-in commands that create and change geometry: PLINE, INSERT, MOVE, COPY, SCALE, ERASE.
// Each opens, changes and closes objects through the database API, so the objects' reactors
// are told exactly as a host command would tell them.
#include <cmath>
#include <string>
#include <vector>

#include "acutmem.h"
#include "builtins_internal.h"
#include "dbents.h"
#include "dbidmap.h"
#include "dbmain.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "gemat3d.h"
#include "session.h"
#include "pf/input.h"
#include "pf/output.h"
#include "builtin_prompts.h"
#include "text_util.h"

namespace cadhost {
namespace {

const double kPi = 3.14159265358979323846;

// Applies the transform to each object: open for write, transform, close.
void transformObjects(const std::vector<AcDbObjectId>& ids, const AcGeMatrix3d& xform) {
  for (const AcDbObjectId& id : ids) {
    AcDbEntity* ent = nullptr;
    if (acdbOpenObject(ent, id, AcDb::kForWrite) != Acad::eOk) continue;
    const Acad::ErrorStatus es = ent->transformBy(xform);
    if (es != Acad::eOk) printStatus("transform", es);
    ent->close();
  }
}

}  // namespace

void cmdPline() {
  std::vector<Pt> points;
  std::vector<double> bulges;
  bool closed = false;
  for (;;) {
    const std::string prompt = points.empty() ? "\nSpecify start point: "
                                              : (points.size() < 2 ? "\nSpecify next point: "
                                                                   : "\nSpecify next point or [Close]: ");
    pf::Input in = pf::readInput(prompt);
    if (in.kind != pf::Input::kText) break;  // cancel: keep what was drawn, as the host does
    const std::string text = in.text;
    if (text.find_first_not_of(" \t") == std::string::npos) break;
    if (points.size() >= 2 && (equalsIgnoringCase(text, "C") || equalsIgnoringCase(text, "Close"))) {
      closed = true;
      break;
    }
    Pt p;
    double bulge = 0;
    if (!parsePoint(text, p, &bulge)) {
      pf::writeOutput("\nInvalid point: give it as x,y or x,y,bulge.");
      continue;
    }
    points.push_back(p);
    bulges.push_back(bulge);
  }
  if (points.size() < 2) {
    pf::writeOutput("\nA polyline needs at least two points; nothing was drawn.");
    return;
  }
  AcDbPolyline* pl = new AcDbPolyline();
  for (size_t i = 0; i < points.size(); ++i)
    pl->addVertexAt(static_cast<unsigned int>(i), AcGePoint2d(points[i].x, points[i].y), bulges[i]);
  pl->setClosed(closed ? Adesk::kTrue : Adesk::kFalse);
  appendToModelSpace(pl);
}

void cmdInsert() {
  std::string name;
  if (askText("\nEnter block name: ", name) != Answer::kOk) return;
  AcDbObjectId blockId;
  {
    AcDbBlockTable* table = nullptr;
    if (session().db->getSymbolTable(table, AcDb::kForRead) != Acad::eOk) return;
    const Acad::ErrorStatus es = table->getAt(name.c_str(), blockId);
    table->close();
    if (es != Acad::eOk || name.empty() || name[0] == '*') {
      pf::writeOutput("\nBlock \"" + name + "\" not found.");
      return;
    }
  }
  Pt at;
  if (askPoint("\nSpecify insertion point: ", at) != Answer::kOk) return;
  double xs = 1, ys, rot = 0;
  if (askReal("\nEnter X scale factor <1>: ", xs) == Answer::kCancel) return;
  ys = xs;
  if (askReal("\nEnter Y scale factor <use X scale factor>: ", ys) == Answer::kCancel) return;
  if (askReal("\nSpecify rotation angle <0>: ", rot) == Answer::kCancel) return;
  if (xs == 0 || ys == 0) {
    pf::writeOutput("\nA scale factor of 0 is not allowed; nothing was inserted.");
    return;
  }

  // The attribute definitions of the block, in definition order, with the values to use.
  struct AttValue {
    AcDbObjectId defId;
    std::string value;
  };
  std::vector<AttValue> values;
  {
    AcDbBlockTableRecord* block = nullptr;
    if (acdbOpenObject(block, blockId, AcDb::kForRead) != Acad::eOk) return;
    AcDbBlockTableRecordIterator* it = nullptr;
    std::vector<std::pair<AcDbObjectId, std::pair<std::string, std::string>>> defs;
    if (block->newIterator(it) == Acad::eOk) {
      for (; !it->done(); it->step()) {
        AcDbEntity* ent = nullptr;
        if (it->getEntity(ent, AcDb::kForRead) != Acad::eOk) continue;
        if (AcDbAttributeDefinition* def = AcDbAttributeDefinition::cast(ent)) {
          if (!def->isConstant()) {
            char* prompt = def->prompt();
            char* tag = def->tag();
            char* text = def->textString();
            std::string shown = (prompt && *prompt) ? prompt : (tag ? tag : "");
            defs.push_back({def->objectId(), {shown, text ? text : ""}});
            acutDelString(prompt);
            acutDelString(tag);
            acutDelString(text);
          }
        }
        ent->close();
      }
      delete it;
    }
    block->close();
    for (const auto& d : defs) {
      std::string value = d.second.second;
      std::string answer;
      const std::string prompt =
          "\n" + d.second.first + (value.empty() ? std::string(": ") : " <" + value + ">: ");
      const Answer a = askText(prompt, answer, true, pf::Extent::kRestOfLine);
      if (a == Answer::kCancel) return;
      if (a == Answer::kOk) value = answer;
      values.push_back({d.first, value});
    }
  }

  AcDbBlockReference* ref = new AcDbBlockReference(AcGePoint3d(at.x, at.y, 0), blockId);
  ref->setScaleFactors(AcGeScale3d(xs, ys, 1));
  ref->setRotation(rot * kPi / 180.0);
  AcDbObjectId refId;
  if (!appendToModelSpace(ref, &refId, /*keepOpen=*/true)) return;
  for (const AttValue& v : values) {
    AcDbAttributeDefinition* def = nullptr;
    if (acdbOpenObject(def, v.defId, AcDb::kForRead) != Acad::eOk) continue;
    AcDbAttribute* att = new AcDbAttribute();
    att->setAttributeFromBlock(def, ref->blockTransform());
    att->setTextString(v.value.c_str());
    def->close();
    if (ref->appendAttribute(att) == Acad::eOk)
      att->close();
    else
      delete att;
  }
  ref->close();
}

void cmdMove() {
  std::vector<AcDbObjectId> ids;
  Pt from, to;
  if (askObjects(ids) != Answer::kOk) return;
  if (askPoint("\nSpecify base point: ", from) != Answer::kOk) return;
  if (askPoint("\nSpecify second point: ", to) != Answer::kOk) return;
  transformObjects(ids, AcGeMatrix3d::translation(AcGeVector3d(to.x - from.x, to.y - from.y, 0)));
}

void cmdScale() {
  std::vector<AcDbObjectId> ids;
  Pt base;
  double factor = 0;
  if (askObjects(ids) != Answer::kOk) return;
  if (askPoint("\nSpecify base point: ", base) != Answer::kOk) return;
  for (;;) {
    if (askReal("\nSpecify scale factor: ", factor, false) != Answer::kOk) return;
    if (factor > 0) break;
    pf::writeOutput("\nValue must be positive and nonzero.");
  }
  transformObjects(ids, AcGeMatrix3d::scaling(factor, AcGePoint3d(base.x, base.y, 0)));
}

void cmdCopy() {
  std::vector<AcDbObjectId> ids;
  Pt from, to;
  if (askObjects(ids) != Answer::kOk) return;
  if (askPoint("\nSpecify base point: ", from) != Answer::kOk) return;
  if (askPoint("\nSpecify second point: ", to) != Answer::kOk) return;

  AcDbObjectIdArray list;
  for (const AcDbObjectId& id : ids) list.append(id);
  AcDbObjectId owner = modelSpaceId();
  AcDbIdMapping map;
  const Acad::ErrorStatus es = session().db->deepCloneObjects(list, owner, map);
  if (es != Acad::eOk) {
    printStatus("copy", es);
    return;
  }
  // The clones move only now that the deep clone has ended, so their modified notifications
  // come after every reactor has seen endDeepClone (and repaired what it had to).
  std::vector<AcDbObjectId> clones;
  for (const AcDbObjectId& id : ids) {
    AcDbIdPair pair(id, AcDbObjectId::kNull, false);
    if (map.compute(pair) && pair.isCloned()) clones.push_back(pair.value());
  }
  transformObjects(clones, AcGeMatrix3d::translation(AcGeVector3d(to.x - from.x, to.y - from.y, 0)));
}

void cmdErase() {
  std::vector<AcDbObjectId> ids;
  if (askObjects(ids) != Answer::kOk) return;
  for (const AcDbObjectId& id : ids) {
    AcDbObject* obj = nullptr;
    if (acdbOpenAcDbObject(obj, id, AcDb::kForWrite) != Acad::eOk) continue;
    obj->erase();
    obj->close();
  }
}

}  // namespace cadhost
