// toolkit_fixture.h - plans of rooms and tags for the toolkit's tests.
#pragma once

#include "cmd_fixture.h"

#include "toolkit/commands.h"

namespace tktest {

struct Vertex {
  double x, y, bulge = 0.0;
};

class ToolkitTest : public cmdtest::CommandTest {
protected:
  // A polyline through the vertices (in its OCS) with the given normal.
  AcDbObjectId addOutline(const char* space, const std::vector<Vertex>& vertices, bool closed = true,
                          const AcGeVector3d& normal = AcGeVector3d(0, 0, 1));
  AcDbObjectId addRoom(const char* space, double x, double y, double w, double h) {
    return addOutline(space, {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
  }
  // A reference of block "ROOMTAG" at the world point, with one attribute per (tag, text);
  // attributeIds receives their ids.
  AcDbObjectId addTag(const char* space, const AcGePoint3d& at,
                      const std::vector<std::pair<std::string, std::string>>& attributes,
                      std::vector<AcDbObjectId>* attributeIds = nullptr);
  // A tag with NAME and AREA at the point; answers the AREA attribute's id.
  AcDbObjectId addAreaTag(const char* space, double x, double y, const char* name = "Room");

  // Runs a command with the given answers; the picker (if shown) is played by `act`.
  void run(void (*command)(), std::vector<std::string> answers,
           std::function<void(pf::DialogSession&)> act = nullptr);
  // ZORVIKLINK on the whole plan in quiet mode with the tag AREA.
  void linkAll(bool relink = false);

  cmdtest::DialogLog dialogs_;
  size_t remainingAnswers_ = 0;
};

}  // namespace tktest
