// The host's drawing protocol (pf/drawings.h): the notices that editor reactors and modules hear
// around opening, saving and closing a drawing, in their order, and what a failed open or save
// leaves behind. The probe module records the messages; a reactor adds its events to the same
// log, so the order of both is checked at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "acdocman.h"
#include "aced.h"
#include "dbapserv.h"
#include "dbmain.h"
#include "pf/drawings.h"
#include "pf/modules.h"
#include "winrt_test_support.h"

namespace {

using Events = std::vector<std::string>;

class LoggingReactor : public AcEditorReactor {
public:
  void beginDwgOpen(char*) override { log("beginDwgOpen"); }
  void endDwgOpen(const char*) override { log("endDwgOpen"); }
  void dwgFileOpened(AcDbDatabase*, char*) override { log("dwgFileOpened"); }
  void beginDxfIn(AcDbDatabase*) override { log("beginDxfIn"); }
  void abortDxfIn(AcDbDatabase*) override { log("abortDxfIn"); }
  void dxfInComplete(AcDbDatabase*) override { log("dxfInComplete"); }
  void beginSave(AcDbDatabase*, const char*) override { log("beginSave"); }
  void saveComplete(AcDbDatabase*, const char*) override { log("saveComplete"); }
  void abortSave(AcDbDatabase*) override { log("abortSave"); }
  void beginDxfOut(AcDbDatabase*) override { log("beginDxfOut"); }
  void abortDxfOut(AcDbDatabase*) override { log("abortDxfOut"); }
  void dxfOutComplete(AcDbDatabase*) override { log("dxfOutComplete"); }
  void beginClose(AcDbDatabase*) override { log("beginClose"); }
  void beginQuit() override { log("beginQuit"); }
  void quitWillStart() override { log("quitWillStart"); }

private:
  static void log(const char* event) { probeEvents().push_back(event); }
};

class DrawingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(pf::loadModule(WINRT_PROBE_MODULE, false)) << pf::lastModuleError();
    acedEditor->addReactor(&reactor_);
    probeEvents().clear();
  }
  void TearDown() override {
    acedEditor->removeReactor(&reactor_);
    pf::unloadAllModules();
  }
  // A drawing saved from a new one, to open.
  std::string savedDrawing() {
    AcApDocument* doc = pf::createDrawing("");
    std::string error;
    EXPECT_TRUE(pf::saveDrawing(doc, dir_.file("saved.dxf"), error)) << error;
    pf::closeDrawing(doc);
    probeEvents().clear();
    return dir_.file("saved.dxf");
  }

  LoggingReactor reactor_;
  TempDir dir_;
};

TEST_F(DrawingsTest, OpenSaveAndCloseSendTheirNoticesInOrder) {
  const std::string path = savedDrawing();
  AcApDocument* doc = pf::createDrawing(path);
  ASSERT_NE(nullptr, doc);
  EXPECT_EQ(doc, acDocManager->curDocument());
  EXPECT_EQ(doc->database(), acdbHostApplicationServices()->workingDatabase());
  EXPECT_TRUE(probeEvents().empty());  // nothing is read before openDrawing

  std::string error;
  ASSERT_TRUE(pf::openDrawing(doc, error)) << error;
  EXPECT_EQ((Events{"beginDwgOpen", "beginDxfIn", "dxfInComplete", "endDwgOpen", "dwgFileOpened", "msg:3"}),
            probeEvents());

  probeEvents().clear();
  ASSERT_TRUE(pf::saveDrawing(doc, dir_.file("again.dxf"), error)) << error;
  EXPECT_EQ((Events{"msg:9", "beginSave", "beginDxfOut", "dxfOutComplete", "saveComplete"}), probeEvents());
  EXPECT_TRUE(std::filesystem::exists(dir_.file("again.dxf")));

  probeEvents().clear();
  pf::closeDrawing(doc);
  EXPECT_EQ((Events{"beginClose", "msg:4"}), probeEvents());
  EXPECT_EQ(nullptr, acdbHostApplicationServices()->workingDatabase());
  EXPECT_EQ(nullptr, acDocManager->curDocument());

  probeEvents().clear();
  pf::endSession();
  EXPECT_EQ((Events{"beginQuit", "quitWillStart", "msg:8", "unload", "detach", "static-destroyed"}),
            probeEvents());
  EXPECT_TRUE(pf::loadedModules().empty());
}

TEST_F(DrawingsTest, ANewDrawingHasNoFileToReadButTheModulesHearOfIt) {
  AcApDocument* doc = pf::createDrawing("");
  std::string error;
  ASSERT_TRUE(pf::openDrawing(doc, error)) << error;
  EXPECT_EQ((Events{"msg:3"}), probeEvents());
  probeEvents().clear();
  pf::closeDrawing(doc);
  EXPECT_EQ((Events{"beginClose", "msg:4"}), probeEvents());
}

TEST_F(DrawingsTest, ADrawingThatCannotBeReadIsNeverToldOfItsClosing) {
  const std::string path = dir_.file("broken.dxf");
  writeFileBytes(path, "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\n");  // ends mid-section
  AcApDocument* doc = pf::createDrawing(path);
  std::string error;
  EXPECT_FALSE(pf::openDrawing(doc, error));
  EXPECT_NE(std::string::npos, error.find("broken.dxf")) << error;
  EXPECT_EQ((Events{"beginDwgOpen", "beginDxfIn", "abortDxfIn"}), probeEvents());

  probeEvents().clear();
  pf::closeDrawing(doc);
  EXPECT_TRUE(probeEvents().empty());
  EXPECT_EQ(nullptr, acDocManager->curDocument());
}

TEST_F(DrawingsTest, AFailedSaveIsToldAsAbortedAndWritesNothing) {
  AcApDocument* doc = pf::createDrawing("");
  std::string error;
  ASSERT_TRUE(pf::openDrawing(doc, error)) << error;
  probeEvents().clear();

  const std::string path = dir_.file("no-such-folder/out.dxf");
  EXPECT_FALSE(pf::saveDrawing(doc, path, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ((Events{"msg:9", "beginSave", "beginDxfOut", "abortDxfOut", "abortSave"}), probeEvents());
  EXPECT_FALSE(std::filesystem::exists(path));
  pf::closeDrawing(doc);
}

TEST_F(DrawingsTest, NoDocumentIsAnErrorNotACrash) {
  std::string error;
  EXPECT_FALSE(pf::openDrawing(nullptr, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(pf::saveDrawing(nullptr, dir_.file("x.dxf"), error));
  EXPECT_FALSE(error.empty());
  pf::closeDrawing(nullptr);
  EXPECT_TRUE(probeEvents().empty());
}

}  // namespace
