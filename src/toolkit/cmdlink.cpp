// cmdlink.cpp - ZORVIKLINK: link a whole plan at once.
//
// The rooms and tags of the plan (or of a selection) are read once, every tag that has the
// chosen attribute is placed in the smallest room around it (pairing.h), and every room that
// holds exactly one tag is linked through the module's own attachment, as Create links one.
// Rooms that cannot be linked, and tags that belong to no room, are listed by handle; a summary
// line ends the command.
// MFC comes before the host headers, so that the host declares its window functions.
#include "afxwin.h"

#include "toolkit/commands.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "accmd.h"
#include "adslib.h"
#include "dbapserv.h"
#include "dbpl.h"
#include "dialogs/attributepickerdialog.h"
#include "host/openptr.h"
#include "plinenotifyobj.h"
#include "resource.h"
#include "resources.h"
#include "toolkit/linkstate.h"
#include "toolkit/pairing.h"
#include "toolkit/plan.h"
#include "toolkit/prompts.h"
#include "toolkit/selection.h"
#include "zorvik.h"

namespace toolkit {
namespace {

struct LinkCounts {
  int linked = 0, kept = 0, withoutTag = 0, severalTags = 0;
  int tagsInNoRoom = 0, tagsInOpen = 0, tagsInOtherSpace = 0;
};

// The tag name chosen in the attribute picker among the tags of the plan's block references
// (quiet mode takes the Attname setting instead). Empty when none was chosen.
std::string chooseTagName(const Plan& plan) {
  std::set<std::string> names;
  for (const Tag& tag : plan.tags)
    for (const TagAttribute& attribute : tag.attributes) names.insert(attribute.tag);
  if (names.empty()) {
    printText(IDS_TK_NO_ATTRIBUTES);
    return std::string();
  }
  AttributePickerDialog picker(CWnd::FromHandle(adsw_acadMainWnd()));
  for (const std::string& name : names) picker.addName(name.c_str());
  if (picker.DoModal() != IDOK) return std::string();
  CString chosen;
  picker.chosenName(chosen);
  return static_cast<const char*>(chosen);
}

// Links the room to the attribute the way Create does; a relinked room also loses the reactor
// entry of the link it had, which the attachment leaves behind once that link is erased.
bool linkRoom(const AcDbObjectId& roomId, const AcDbObjectId& attributeId) {
  OpenPtr<AcDbPolyline> room(roomId, AcDb::kForWrite);
  if (!room.isOpen()) return false;
  OpenPtr<CPlineNotifyObject> link;
  link.adopt(new CPlineNotifyObject);
  link->setAttributeId(attributeId);
  AcDbObjectId linkId;
  if (!link->attachToPolyline(room.get(), linkId)) return false;
  // The new link is still open here and reads as missing: it is kept, of course.
  for (const ReactorEntry& entry : inspectRoom(room.get()).reactors)
    if (entry.kind == ReactorEntry::kMissing && entry.id != linkId) room->removePersistentReactor(entry.id);
  room->recordGraphicsModified(true);
  // The room closes first, so that its modified notification reaches the new link.
  room.close();
  link.close();
  return true;
}

std::string handleList(const std::vector<int>& tagIndices, const Plan& plan) {
  std::vector<AcDbObjectId> ids;
  for (int i : tagIndices) ids.push_back(plan.tags[i].id);
  std::sort(ids.begin(), ids.end(), handleLess);
  std::string text;
  for (const AcDbObjectId& id : ids) text += (text.empty() ? "#" : ", #") + handleText(id);
  return text;
}

void linkPlan(const Plan& plan, const std::string& tagName, bool relink) {
  std::vector<int> tagIndices;
  for (size_t i = 0; i < plan.tags.size(); ++i)
    if (!plan.tags[i].attributeNamed(tagName.c_str()).isNull()) tagIndices.push_back(static_cast<int>(i));
  // Open polylines count here: a tag inside one is reported, as the likely reason it is not linked.
  const bool anyRoom = std::any_of(plan.rooms.begin(), plan.rooms.end(),
                                   [](const Room& room) { return !room.outline.isDegenerate(); });
  if (!anyRoom) {
    printText(IDS_TK_NO_ROOMS);
    return;
  }
  if (tagIndices.empty()) {
    printText(IDS_TK_NO_TAGS, tagName.c_str());
    return;
  }
  const Pairing pairing = pairTags(plan, tagIndices);

  const std::vector<int> order = roomsInHandleOrder(plan);

  LinkCounts counts;
  for (int i : order) {
    const Room& room = plan.rooms[i];
    if (!room.outline.isClosed() || room.outline.isDegenerate()) continue;
    if (!relink) {
      OpenPtr<AcDbPolyline> polyline(room.id, AcDb::kForRead);
      if (polyline.isOpen() && inspectRoom(polyline.get()).firstLink() != nullptr) {
        ++counts.kept;
        continue;
      }
    }
    const std::vector<int>& inside = pairing.roomTags[i];
    const std::string handle = handleText(room.id);
    if (inside.empty()) {
      ++counts.withoutTag;
      printText(IDS_TK_ROOM_NO_TAG, handle.c_str());
    } else if (inside.size() > 1) {
      ++counts.severalTags;
      printText(IDS_TK_ROOM_SEVERAL_TAGS, handle.c_str(), static_cast<int>(inside.size()),
                handleList(inside, plan).c_str());
    } else if (linkRoom(room.id, plan.tags[inside.front()].attributeNamed(tagName.c_str()))) {
      ++counts.linked;
    } else {
      printText(IDS_TK_LINK_FAILED, handle.c_str());
    }
  }

  for (size_t k = 0; k < tagIndices.size(); ++k) {
    const TagPairing& placed = pairing.tags[k];
    const std::string tag = handleText(plan.tags[tagIndices[k]].id);
    switch (placed.place) {
      case TagPlace::kInRoom:
        break;
      case TagPlace::kNoRoom:
        ++counts.tagsInNoRoom;
        printText(IDS_TK_TAG_NO_ROOM, tag.c_str());
        break;
      case TagPlace::kOpenOutline:
        ++counts.tagsInOpen;
        printText(IDS_TK_TAG_OPEN_OUTLINE, tag.c_str(), handleText(plan.rooms[placed.room].id).c_str());
        break;
      case TagPlace::kOtherSpace:
        ++counts.tagsInOtherSpace;
        printText(IDS_TK_TAG_OTHER_SPACE, tag.c_str(), handleText(plan.rooms[placed.room].id).c_str());
        break;
    }
  }

  const std::string tagWord = formatText(counts.tagsInNoRoom == 1 ? IDS_TK_TAG_WORD : IDS_TK_TAGS_WORD);
  std::string summary = formatText(IDS_TK_LINK_SUMMARY, counts.linked, counts.withoutTag, counts.severalTags,
                                   counts.tagsInNoRoom, tagWord.c_str());
  if (counts.tagsInOpen > 0) summary += formatText(IDS_TK_LINK_OPEN, counts.tagsInOpen);
  if (counts.tagsInOtherSpace > 0) summary += formatText(IDS_TK_LINK_OTHER_SPACE, counts.tagsInOtherSpace);
  if (counts.kept > 0) summary += formatText(IDS_TK_LINK_KEPT, counts.kept);
  acutPrintf("%s.", summary.c_str());
}

}  // namespace
}  // namespace toolkit

void zorvikLinkCommand() {
  using namespace toolkit;
  ModuleResourceScope resources;

  AcDbDatabase* database = workingDrawingOrSay();
  if (database == nullptr) return;
  const std::string scope = askKeyword(IDS_TK_SCOPE_KEYWORDS, IDS_TK_SCOPE_PROMPT, "All");
  if (scope.empty()) return;
  std::vector<AcDbObjectId> selected;
  const bool all = scope == "All";
  if (!all) {
    const SelectionResult result = selectObjects(selected);
    if (result == SelectionResult::kCancelled) return;
    if (result == SelectionResult::kEmpty) {
      printText(IDS_TK_NOTHING_SELECTED);
      return;
    }
  }
  const int relink = askYesNo(IDS_TK_RELINK_PROMPT, false);
  if (relink < 0) return;

  // In quiet mode the tag is known before the plan is read, so only its attributes are kept.
  const bool quiet = getModuleApp()->quietMode();
  const std::string quietName = quiet ? getModuleApp()->attname() : std::string();
  if (quiet && quietName.empty()) {
    printText(IDS_TK_NO_ATTNAME);
    return;
  }
  const char* onlyTag = quiet ? quietName.c_str() : nullptr;
  Plan plan;
  if (!(all ? readPlan(database, plan, onlyTag) : readPlanOf(database, selected, plan, onlyTag))) return;
  const std::string tagName = quiet ? quietName : chooseTagName(plan);
  if (tagName.empty()) return;
  linkPlan(plan, tagName, relink == 1);
}
