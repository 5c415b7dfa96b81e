// plan.cpp - reading the rooms and tags of model space and paper space.
#include "toolkit/plan.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "acutmem.h"
#include "dbents.h"
#include "dbhandle.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "host/openptr.h"

namespace toolkit {
namespace {

std::string layerOf(const AcDbEntity* entity) {
  char* name = entity->layer();
  std::string layer = name != nullptr ? name : "";
  acutDelString(name);
  return layer;
}

void readRoom(const AcDbPolyline* polyline, Plan& plan) {
  Room room{polyline->objectId(), polyline->ownerId(), Outline(polyline), 0.0, layerOf(polyline)};
  double area = 0.0;
  if (polyline->getArea(area) == Acad::eOk) room.area = area < 0 ? -area : area;
  plan.rooms.push_back(std::move(room));
}

// Block names by definition, so that each definition is opened once however many tags use it.
using BlockNames = std::map<AcDbObjectId, std::string>;

const std::string& blockNameOf(const AcDbObjectId& definitionId, BlockNames& names) {
  auto it = names.find(definitionId);
  if (it != names.end()) return it->second;
  std::string name;
  OpenPtr<AcDbBlockTableRecord> definition(definitionId, AcDb::kForRead);
  const char* text = nullptr;
  if (definition.isOpen() && definition->getName(text) == Acad::eOk && text != nullptr) name = text;
  return names.emplace(definitionId, name).first->second;
}

void readTag(const AcDbBlockReference* reference, Plan& plan, BlockNames& names, const char* onlyTag) {
  Tag tag;
  AcDbObjectIterator* iterator = reference->attributeIterator();
  if (iterator == nullptr) return;
  for (; !iterator->done(); iterator->step(false, true)) {
    const AcDbObjectId id = iterator->objectId();
    OpenPtr<AcDbAttribute> attribute(id, AcDb::kForRead);
    if (!attribute.isOpen()) continue;
    char* text = attribute->tag();
    const char* name = text != nullptr ? text : "";
    if (onlyTag == nullptr || std::strcmp(name, onlyTag) == 0) tag.attributes.push_back(TagAttribute{name, id});
    acutDelString(text);
  }
  delete iterator;
  if (tag.attributes.empty()) return;
  tag.id = reference->objectId();
  tag.space = reference->ownerId();
  tag.position = reference->position();
  tag.layer = layerOf(reference);
  tag.blockName = blockNameOf(reference->blockTableRecord(), names);
  plan.tags.push_back(std::move(tag));
}

// Files the entity as a room or a tag when it is one.
void readEntity(const AcDbEntity* entity, Plan& plan, BlockNames& names, const char* onlyTag) {
  if (const AcDbPolyline* polyline = AcDbPolyline::cast(entity)) {
    readRoom(polyline, plan);
  } else if (const AcDbBlockReference* reference = AcDbBlockReference::cast(entity)) {
    readTag(reference, plan, names, onlyTag);
  }
}

bool readSpaceIds(AcDbDatabase* database, Plan& plan) {
  AcDbBlockTable* rawTable = nullptr;
  if (database == nullptr || database->getSymbolTable(rawTable, AcDb::kForRead) != Acad::eOk) return false;
  OpenPtr<AcDbBlockTable> table;
  table.adopt(rawTable);
  table->getAt(ACDB_MODEL_SPACE, plan.modelSpace);
  table->getAt(ACDB_PAPER_SPACE, plan.paperSpace);
  return true;
}

}  // namespace

AcDbObjectId Tag::attributeNamed(const char* name) const {
  AcDbObjectId found;
  for (const TagAttribute& attribute : attributes)
    if (attribute.tag == name) found = attribute.id;
  return found;
}

bool readPlan(AcDbDatabase* database, Plan& plan, const char* onlyTag) {
  if (!readSpaceIds(database, plan)) return false;
  BlockNames names;
  for (const AcDbObjectId& spaceId : {plan.modelSpace, plan.paperSpace}) {
    OpenPtr<AcDbBlockTableRecord> space(spaceId, AcDb::kForRead);
    if (!space.isOpen()) continue;
    AcDbBlockTableRecordIterator* iterator = nullptr;
    if (space->newIterator(iterator, true, true) != Acad::eOk) continue;
    for (; !iterator->done(); iterator->step(true, true)) {
      AcDbEntity* entity = nullptr;
      if (iterator->getEntity(entity, AcDb::kForRead, false) != Acad::eOk) continue;
      OpenPtr<AcDbEntity> held;
      held.adopt(entity);
      readEntity(entity, plan, names, onlyTag);
    }
    delete iterator;
  }
  return true;
}

bool readPlanOf(AcDbDatabase* database, const std::vector<AcDbObjectId>& ids, Plan& plan,
                const char* onlyTag) {
  if (!readSpaceIds(database, plan)) return false;
  BlockNames names;
  for (const AcDbObjectId& id : ids) {
    OpenPtr<AcDbEntity> entity(id, AcDb::kForRead);
    if (!entity.isOpen()) continue;
    if (entity->ownerId() != plan.modelSpace && entity->ownerId() != plan.paperSpace) continue;
    readEntity(entity.get(), plan, names, onlyTag);
  }
  return true;
}

std::string handleText(const AcDbObjectId& id) {
  char buffer[32] = "";
  id.handle().getIntoAsciiBuffer(buffer);
  return buffer;
}

bool handleLess(const AcDbObjectId& a, const AcDbObjectId& b) { return a.handle() < b.handle(); }

std::vector<int> roomsInHandleOrder(const Plan& plan) {
  std::vector<std::pair<AcDbHandle, int>> keyed;
  keyed.reserve(plan.rooms.size());
  for (size_t i = 0; i < plan.rooms.size(); ++i) keyed.emplace_back(plan.rooms[i].id.handle(), static_cast<int>(i));
  std::sort(keyed.begin(), keyed.end(),
            [](const std::pair<AcDbHandle, int>& a, const std::pair<AcDbHandle, int>& b) { return a.first < b.first; });
  std::vector<int> order;
  order.reserve(keyed.size());
  for (const auto& entry : keyed) order.push_back(entry.second);
  return order;
}

}  // namespace toolkit
