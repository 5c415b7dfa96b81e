// session.h - one run of the host program: the open drawing and what the built-in commands share
// about it, and the command line that reads command names at the "Command:" prompt.
#pragma once
#include <string>

class AcApDocument;
class AcDbDatabase;

namespace cadhost {

struct Session {
  AcApDocument* document = nullptr;  // the open drawing's document (pf::createDrawing)
  AcDbDatabase* db = nullptr;        // its database, also the working database
  std::string drawingPath;           // where SAVE writes; empty for a new drawing
  bool quitRequested = false;        // QUIT ends the run after the current command
  std::string dxfForm;               // "ascii" or "binary" (--dxf-form); empty: the form read
};

// Runs the commands named at the "Command:" prompt until the input ends or QUIT.
void runCommandLine(Session& session);

// Saves the session's drawing as DXF to path (pf::saveDrawing); prints why when it was not
// saved.
bool saveDrawing(Session& session, const std::string& path);

}  // namespace cadhost
