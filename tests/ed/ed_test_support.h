// Helpers of the editor tests: a reactor that records what it hears.
#pragma once
#include <string>
#include <vector>

#include "aced.h"

namespace edtest {

class RecordingReactor : public AcEditorReactor {
public:
  explicit RecordingReactor(std::string tag = "") : tag_(std::move(tag)) {}

  void commandWillStart(const char* c) override { log("willStart " + std::string(c)); }
  void commandEnded(const char* c) override { log("ended " + std::string(c)); }
  void commandCancelled(const char* c) override { log("cancelled " + std::string(c)); }
  void commandFailed(const char* c) override { log("failed " + std::string(c)); }
  void unknownCommand(const char* c, AcDbVoidPtrArray*) override { log("unknown " + std::string(c)); }
  void beginSave(AcDbDatabase*, const char* name) override { log("beginSave " + std::string(name)); }
  void saveComplete(AcDbDatabase*, const char* name) override { log("saveComplete " + std::string(name)); }
  void beginClose(AcDbDatabase*) override { log("beginClose"); }
  void databaseConstructed(AcDbDatabase*) override { log("databaseConstructed"); }
  void beginDwgOpen(char* f) override { log("beginDwgOpen " + std::string(f)); }
  void dxfInComplete(AcDbDatabase*) override { log("dxfInComplete"); }

  std::vector<std::string> events;

private:
  void log(const std::string& e) { events.push_back(tag_.empty() ? e : tag_ + ":" + e); }
  std::string tag_;
};

// Attaches a reactor to the editor for the life of a scope.
class Attached {
public:
  explicit Attached(AcRxEventReactor* r) : r_(r) { acedEditor->addReactor(r_); }
  ~Attached() { acedEditor->removeReactor(r_); }

private:
  AcRxEventReactor* r_;
};

}  // namespace edtest
