// cmd_fixture.h - a drawing, a document and the module's settings for the command tests.
//
// The module's code is linked into the test; its resources (strings and dialog templates) come
// from the module file zorvik.arx, mapped once and named as the module's resource handle. Each
// test gets a new drawing in a new current document, a registry hive of its own, the default
// settings, and an empty record of message boxes and status-bar events. Every test ends by
// checking that the resource-handle stack is where it was and that nothing is left open.
#pragma once

// The Win32 types first, so that the host headers declare their window functions too.
#include "windows.h"

#include "cmd/arealink.h"
#include "cmd/cmdzorvik.h"
#include "extmodule.h"
#include "plinenotifyobj.h"
#include "zorvik.h"

#include "dbapserv.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "pf/dbdebug.h"
#include "pf/dialogs.h"
#include "pf/documents.h"
#include "pf/faults.h"
#include "pf/input.h"
#include "pf/messagebox.h"
#include "pf/output.h"
#include "pf/registry.h"
#include "pf/statusbar.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace cmdtest {

// Records every status-bar event while it lives.
class StatusBarRecorder : public pf::StatusBarListener {
public:
  StatusBarRecorder() : previous_(pf::setStatusBarListener(this)) {}
  ~StatusBarRecorder() override { pf::setStatusBarListener(previous_); }
  void onStatusBar(const pf::StatusBarEvent& event) override { events.push_back(event); }

  // The positions of every kMeterMoved event, in order.
  std::vector<int> positions() const;
  int count(pf::StatusBarEvent::Kind kind) const;

  std::vector<pf::StatusBarEvent> events;

private:
  pf::StatusBarListener* previous_;
};

// A programmatic dialog driver that records which templates ran and acts through `act`.
struct DialogLog {
  std::vector<UINT> templates;
};
std::shared_ptr<pf::DialogDriver> recordingDriver(DialogLog& log,
                                                  std::function<void(pf::DialogSession&)> act);

// The 1-based line of src/cmd/cmdzorvik.cpp holding `snippet` (which must occur exactly once),
// so that tests check the line an error record names without hard-coding line numbers.
int commandSourceLine(const std::string& snippet);

// Opens the block table record `name` for write, creating it when `create` is set.
AcDbBlockTableRecord* openRecord(AcDbDatabase* db, const char* name, bool create);

class CommandTest : public ::testing::Test {
protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  AcDbDatabase* db() const { return db_; }
  ModuleApp* app() const { return getModuleApp(); }

  // A closed rectangle with its corner at (x, y); answers its id.
  AcDbObjectId addRectangle(const char* space, double x, double y, double width, double height);
  // A rectangle in the block definition `blockName` (created when missing).
  AcDbObjectId addRectangleToBlock(const char* blockName, double x, double y, double w, double h);
  AcDbObjectId addLine(const char* space);
  // A block reference of an empty block definition "ROOM", with one attribute per (tag, text)
  // in that order; attributeIds receives their ids.
  AcDbObjectId addBlockReference(const char* space,
                                 const std::vector<std::pair<std::string, std::string>>& attributes,
                                 std::vector<AcDbObjectId>* attributeIds = nullptr);

  // "#<handle>", the entity selection answer naming an entity.
  static std::string pick(const AcDbObjectId& id);
  std::string attributeText(const AcDbObjectId& id) const;
  int attributeFieldLength(const AcDbObjectId& id) const;
  // The attribute id of the polyline's link (null when it has none).
  AcDbObjectId linkedAttribute(const AcDbObjectId& polylineId) const;
  // Number of link objects among the polyline's persistent reactors.
  int linkReactorCount(const AcDbObjectId& polylineId) const;
  bool hasExtensionDictionary(const AcDbObjectId& id) const;
  // Links the polyline to the attribute the way Create does, without prompts.
  void linkDirectly(const AcDbObjectId& polylineId, const AcDbObjectId& attributeId);
  void eraseObject(const AcDbObjectId& id);

  // Records appended to the module's error log since the test started.
  int errorCount() const { return app()->errorLog().count() - errorBase_; }
  ErrorRecord lastError() const { return app()->errorLog().at(app()->errorLog().count() - 1); }
  int errorBase_ = 0;

  // Stores settings in the registry as the Options dialog would, then restores memory.
  void storeSettingsInRegistry(bool autoUpdate, int areaPrec, double divisor, bool quietMode,
                               const char* attname);
  void setDefaultSettings();

  AcDbDatabase* db_ = nullptr;
  AcApDocument* doc_ = nullptr;
  int resourceDepth_ = 0;
  std::string hivePath_;
  pf::OutputCapture* output_ = nullptr;
  std::string output() const { return output_->text(); }

  static HINSTANCE s_resources;
};

}  // namespace cmdtest
