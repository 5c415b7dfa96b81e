// pairing.cpp - tags to rooms through one grid index per space and plane.
#include "toolkit/pairing.h"

#include <cmath>
#include <map>
#include <memory>
#include <tuple>

#include "toolkit/gridindex.h"

namespace toolkit {
namespace {

// Outlines of one space whose normals agree share one plane coordinate system and one grid.
struct PlaneGroup {
  std::vector<int> rooms;  // indices into Plan::rooms
  std::unique_ptr<GridIndex> grid;
};

using GroupKey = std::tuple<bool /*paper space*/, bool /*closed*/, long long, long long, long long>;

GroupKey keyOf(const Plan& plan, const Room& room) {
  AcGeVector3d n = room.outline.normal();
  n = n.normal();
  // Normals that agree to 1e-9 give the same plane axes.
  const double scale = 1e9;
  return GroupKey{room.space != plan.modelSpace, room.outline.isClosed(),
                  std::llround(n.x * scale), std::llround(n.y * scale), std::llround(n.z * scale)};
}

class RoomFinder {
public:
  explicit RoomFinder(const Plan& plan) : m_plan(plan) {
    for (size_t i = 0; i < plan.rooms.size(); ++i) {
      const Room& room = plan.rooms[i];
      if (room.space != plan.modelSpace && room.space != plan.paperSpace) continue;
      if (room.outline.isDegenerate()) continue;
      m_groups[keyOf(plan, room)].rooms.push_back(static_cast<int>(i));
    }
    for (auto& entry : m_groups) {
      std::vector<Box> boxes;
      for (int i : entry.second.rooms) boxes.push_back(plan.rooms[i].outline.box());
      entry.second.grid = std::make_unique<GridIndex>(boxes);
    }
  }

  // The smallest room of the given space and kind that strictly contains the point; -1 if none.
  int smallestAround(const AcGePoint3d& point, bool inPaper, bool closed) const {
    int best = -1;
    std::vector<int> candidates;
    for (const auto& entry : m_groups) {
      if (std::get<0>(entry.first) != inPaper || std::get<1>(entry.first) != closed) continue;
      const PlaneGroup& group = entry.second;
      const Outline& plane = m_plan.rooms[group.rooms.front()].outline;
      const AcGePoint2d p = plane.toPlane(point);
      group.grid->candidates(p.x, p.y, candidates);
      for (int k : candidates) {
        const int i = group.rooms[k];
        const Room& room = m_plan.rooms[i];
        if (!room.outline.strictlyContains(p)) continue;
        if (best < 0 || room.area < m_plan.rooms[best].area) best = i;
      }
    }
    return best;
  }

private:
  const Plan& m_plan;
  std::map<GroupKey, PlaneGroup> m_groups;
};

}  // namespace

Pairing pairTags(const Plan& plan, const std::vector<int>& tagIndices) {
  Pairing pairing;
  pairing.roomTags.resize(plan.rooms.size());
  pairing.tags.resize(tagIndices.size());
  const RoomFinder finder(plan);
  for (size_t k = 0; k < tagIndices.size(); ++k) {
    const Tag& tag = plan.tags[tagIndices[k]];
    if (tag.space != plan.modelSpace && tag.space != plan.paperSpace) continue;
    const bool inPaper = tag.space != plan.modelSpace;
    TagPairing& result = pairing.tags[k];
    if ((result.room = finder.smallestAround(tag.position, inPaper, true)) >= 0) {
      result.place = TagPlace::kInRoom;
      pairing.roomTags[result.room].push_back(tagIndices[k]);
    } else if ((result.room = finder.smallestAround(tag.position, inPaper, false)) >= 0) {
      result.place = TagPlace::kOpenOutline;
    } else if ((result.room = finder.smallestAround(tag.position, !inPaper, true)) >= 0) {
      result.place = TagPlace::kOtherSpace;
    }
  }
  return pairing;
}

}  // namespace toolkit
