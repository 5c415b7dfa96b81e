// host_state.h - what the host program's commands share: the open drawing and the session.
#pragma once
#include <string>

class AcDbDatabase;

namespace cadhost {

struct HostState {
  AcDbDatabase* db = nullptr;  // the open drawing (also the working database)
  std::string drawingPath;     // where SAVE writes; empty for a new drawing
  bool quitRequested = false;  // QUIT ends the run after the current command
  bool saveFailed = false;     // a SAVE/SAVEAS of the run failed
  std::string dxfForm;         // "ascii" or "binary" (--dxf-form); empty: the form read
};

HostState& hostState();

// Saves the drawing as DXF (atomically), telling the modules first; prints what happened.
bool saveDrawing(const std::string& path);

}  // namespace cadhost
