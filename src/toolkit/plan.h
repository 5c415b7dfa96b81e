// plan.h - the rooms and tags of a drawing, read once for the toolkit commands.
//
// A room is a lightweight polyline of model space or paper space (open ones are kept too, so
// that a tag inside one can be reported); a tag is a block reference with at least one
// attribute. What the commands need of each is copied out, so that no object stays open.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dbmain.h"
#include "gepnt3d.h"
#include "toolkit/outline.h"

class AcDbPolyline;

namespace toolkit {

struct Room {
  AcDbObjectId id;
  AcDbObjectId space;  // the block table record that owns it
  Outline outline;
  double area = 0.0;   // the polyline's own area (getArea), always >= 0
  std::string layer;
};

struct TagAttribute {
  std::string tag;
  AcDbObjectId id;
};

struct Tag {
  AcDbObjectId id;
  AcDbObjectId space;
  AcGePoint3d position;  // the insertion point in world coordinates
  std::string blockName;
  std::string layer;
  std::vector<TagAttribute> attributes;  // in the order of the reference

  // The attribute with this tag (exact, case-sensitive; of two the later wins, as Create
  // chooses); null when there is none.
  AcDbObjectId attributeNamed(const char* tag) const;
};

struct Plan {
  AcDbObjectId modelSpace, paperSpace;
  std::vector<Room> rooms;
  std::vector<Tag> tags;
};

// Reads every polyline and attributed block reference of model space and paper space.
// Answers false when the drawing's block table cannot be read.
// With onlyTag, a block reference keeps only its attributes of that tag (and is no tag without
// one), which spares copying the names a caller that already knows the tag never looks at.
bool readPlan(AcDbDatabase* database, Plan& plan, const char* onlyTag = nullptr);
// Reads only the given entities (of either space); other objects are skipped.
bool readPlanOf(AcDbDatabase* database, const std::vector<AcDbObjectId>& ids, Plan& plan,
                const char* onlyTag = nullptr);

// The handle of an object in upper-case hexadecimal, as LIST shows it.
std::string handleText(const AcDbObjectId& id);
// Handle order: by handle value.
bool handleLess(const AcDbObjectId& a, const AcDbObjectId& b);
// The indices of plan.rooms in handle order; each handle is looked up once, not per comparison.
std::vector<int> roomsInHandleOrder(const Plan& plan);

}  // namespace toolkit
