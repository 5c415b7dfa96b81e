// pairing.h - which room each tag belongs to.
//
// A tag belongs to the smallest closed room of its own space whose outline strictly contains
// its insertion point (a zone drawn around rooms loses to the rooms inside it). A tag that no
// closed room of its space contains is placed, for the report, in an open polyline of its
// space that would contain it if closed, or in a closed room of the other space.
#pragma once

#include <vector>

#include "toolkit/plan.h"

namespace toolkit {

enum class TagPlace {
  kInRoom,       // room: the room it belongs to
  kNoRoom,       // no outline contains it
  kOpenOutline,  // room: an open polyline of its space around it
  kOtherSpace,   // room: a closed room of the other space around it
};

struct TagPairing {
  TagPlace place = TagPlace::kNoRoom;
  int room = -1;  // index into Plan::rooms
};

struct Pairing {
  std::vector<TagPairing> tags;             // one per entry of `tagIndices`, same order
  std::vector<std::vector<int>> roomTags;   // per room: the indices into Plan::tags it holds
};

// Pairs the tags plan.tags[tagIndices[k]] with the rooms of the plan.
Pairing pairTags(const Plan& plan, const std::vector<int>& tagIndices);

}  // namespace toolkit
