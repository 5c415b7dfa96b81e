// audit.cpp - finding and repairing damaged, stale and missing links.
#include "toolkit/audit.h"

#include <algorithm>
#include <map>
#include <set>

#include "acutmem.h"
#include "cmd/arealink.h"
#include "cmd/cmdzorvik.h"
#include "dbdict.h"
#include "dbents.h"
#include "dbpl.h"
#include "host/openptr.h"
#include "plinenotifyobj.h"
#include "toolkit/linkstate.h"
#include "toolkit/pairing.h"
#include "zorvik.h"

namespace toolkit {
namespace {

const char* const kNames[kFindingKinds] = {"stale",    "broken",   "foreign",  "double",
                                           "shared",   "dangling", "unlinked", "orphan"};

Finding finding(FindingKind kind, const AcDbObjectId& room, std::vector<AcDbObjectId> others) {
  Finding f{kind, room, std::move(others), std::string(), std::string(), false};
  return f;
}

// Checks the room's own link (the one its dictionary holds): broken or stale. Answers the
// attribute it drives, or null; tag receives that attribute's tag.
AcDbObjectId checkOwnLink(const AcDbPolyline* room, const ReactorEntry& link, std::vector<Finding>& out,
                          std::string& tagName) {
  if (link.attribute.isNull()) {
    out.push_back(finding(FindingKind::kBroken, room->objectId(), {link.id}));
    return AcDbObjectId();
  }
  OpenPtr<AcDbAttribute> attribute(link.attribute, AcDb::kForRead);
  if (!attribute.isOpen()) {
    // Erased, missing, or an object of another class.
    out.push_back(finding(FindingKind::kBroken, room->objectId(), {link.id, link.attribute}));
    return AcDbObjectId();
  }
  char* tag = attribute->tag();
  tagName = tag != nullptr ? tag : "";
  acutDelString(tag);
  double area = 0.0;
  if (room->getArea(area) == Acad::eOk) {
    ModuleApp* app = getModuleApp();
    const std::string expected = formatAreaText(area, app->divisor(), app->areaPrec());
    char* text = attribute->textString();
    const std::string shown = text != nullptr ? text : "";
    acutDelString(text);
    if (shown != expected) {
      Finding stale = finding(FindingKind::kStale, room->objectId(), {link.attribute});
      stale.shown = shown;
      stale.expected = expected;
      out.push_back(stale);
    }
  }
  return link.attribute;
}

}  // namespace

const char* findingName(FindingKind kind) { return kNames[static_cast<int>(kind)]; }

std::vector<Finding> auditPlan(const Plan& plan) {
  std::vector<Finding> findings;
  std::map<AcDbObjectId, std::vector<AcDbObjectId>> roomsByAttribute;
  std::set<std::string> linkedLayers;
  std::set<std::string> linkedTags;
  std::vector<int> unlinkedClosed;

  const std::vector<int> order = roomsInHandleOrder(plan);

  for (int i : order) {
    const Room& entry = plan.rooms[i];
    OpenPtr<AcDbPolyline> room(entry.id, AcDb::kForRead);
    if (!room.isOpen()) continue;
    const RoomLinks links = inspectRoom(room.get());
    std::vector<AcDbObjectId> linkIds;
    for (const ReactorEntry& reactor : links.reactors) {
      if (reactor.kind == ReactorEntry::kMissing) {
        findings.push_back(finding(FindingKind::kDangling, entry.id, {reactor.id}));
      } else if (reactor.kind == ReactorEntry::kLink) {
        linkIds.push_back(reactor.id);
        if (reactor.id != links.dictionaryLink) {
          findings.push_back(finding(FindingKind::kForeign, entry.id, {reactor.id}));
        } else {
          std::string tagName;
          const AcDbObjectId attribute = checkOwnLink(room.get(), reactor, findings, tagName);
          if (!attribute.isNull()) {
            roomsByAttribute[attribute].push_back(entry.id);
            linkedTags.insert(tagName);
          }
        }
      }
    }
    if (linkIds.size() >= 2) findings.push_back(finding(FindingKind::kDouble, entry.id, linkIds));
    if (!linkIds.empty()) linkedLayers.insert(entry.layer);
    else if (entry.outline.isClosed() && !entry.outline.isDegenerate()) unlinkedClosed.push_back(i);
  }

  for (const auto& shared : roomsByAttribute) {
    if (shared.second.size() < 2) continue;
    for (const AcDbObjectId& room : shared.second) {
      std::vector<AcDbObjectId> others{shared.first};
      for (const AcDbObjectId& other : shared.second)
        if (other != room) others.push_back(other);
      findings.push_back(finding(FindingKind::kShared, room, others));
    }
  }
  for (int i : unlinkedClosed)
    if (linkedLayers.count(plan.rooms[i].layer)) findings.push_back(finding(FindingKind::kUnlinked, plan.rooms[i].id, {}));

  // Orphans: tags with the attribute that links use (or, with no link yet, the Attname
  // setting) that lie in no room.
  if (linkedTags.empty() && *getModuleApp()->attname() != '\0') linkedTags.insert(getModuleApp()->attname());
  std::vector<int> tagIndices;
  for (size_t t = 0; t < plan.tags.size(); ++t)
    for (const std::string& name : linkedTags)
      if (!plan.tags[t].attributeNamed(name.c_str()).isNull()) {
        tagIndices.push_back(static_cast<int>(t));
        break;
      }
  const Pairing pairing = pairTags(plan, tagIndices);
  std::vector<AcDbObjectId> orphans;
  for (size_t k = 0; k < tagIndices.size(); ++k)
    if (pairing.tags[k].place != TagPlace::kInRoom) orphans.push_back(plan.tags[tagIndices[k]].id);
  std::sort(orphans.begin(), orphans.end(), handleLess);
  for (const AcDbObjectId& tag : orphans) findings.push_back(finding(FindingKind::kOrphan, AcDbObjectId(), {tag}));
  return findings;
}

bool repairFinding(Finding& f) {
  switch (f.kind) {
    case FindingKind::kStale: {
      OpenPtr<AcDbPolyline> room(f.room, AcDb::kForRead);
      f.fixed = room.isOpen() && updateAreaText(room.get(), f.others.front());
      return f.fixed;
    }
    case FindingKind::kDangling:
    case FindingKind::kForeign:
    case FindingKind::kBroken: {
      OpenPtr<AcDbPolyline> room(f.room, AcDb::kForWrite);
      if (!room.isOpen()) return false;
      const AcDbObjectId reactor = f.others.front();
      if (room->removePersistentReactor(reactor) != Acad::eOk) return false;
      if (f.kind == FindingKind::kBroken) {
        // The broken link is the room's own: it leaves the extension dictionary too (which
        // erases it), so that the room reads as unlinked and can be linked again.
        OpenPtr<AcDbDictionary> dictionary(room->extensionDictionary(), AcDb::kForWrite);
        if (dictionary.isOpen()) dictionary->remove(kLinkDictionaryKey);
      }
      f.fixed = true;
      return true;
    }
    default:
      return false;
  }
}

std::string roomStatus(const std::vector<Finding>& findings, const AcDbObjectId& room) {
  for (const Finding& f : findings)
    if (f.room == room && !f.fixed) return findingName(f.kind);
  return "current";
}

}  // namespace toolkit
