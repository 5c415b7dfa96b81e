// cmd_fixture.cpp - drawings, documents, settings and checks shared by the command tests.
#include "cmd_fixture.h"

#include "acutmem.h"
#include "rxclass.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <cstdlib>

namespace cmdtest {

HINSTANCE CommandTest::s_resources = nullptr;

int commandSourceLine(const std::string& snippet) {
  std::ifstream in(std::string(ZORVIK_SOURCE_DIR) + "/src/cmd/cmdzorvik.cpp");
  std::string text;
  int line = 0, found = 0, matches = 0;
  while (std::getline(in, text)) {
    ++line;
    if (text.find(snippet) != std::string::npos) {
      found = line;
      ++matches;
    }
  }
  EXPECT_EQ(1, matches) << "snippet: " << snippet;
  return matches == 1 ? found : -1;
}

std::vector<int> StatusBarRecorder::positions() const {
  std::vector<int> out;
  for (const pf::StatusBarEvent& e : events)
    if (e.kind == pf::StatusBarEvent::kMeterMoved) out.push_back(e.pos);
  return out;
}

int StatusBarRecorder::count(pf::StatusBarEvent::Kind kind) const {
  int n = 0;
  for (const pf::StatusBarEvent& e : events)
    if (e.kind == kind) ++n;
  return n;
}

namespace {
class RecordingDriver : public pf::DialogDriver {
public:
  RecordingDriver(DialogLog& log, std::function<void(pf::DialogSession&)> act)
      : log_(log), act_(std::move(act)) {}
  void run(pf::DialogSession& session) override {
    log_.templates.push_back(session.templateId());
    if (act_) act_(session);
  }

private:
  DialogLog& log_;
  std::function<void(pf::DialogSession&)> act_;
};
}  // namespace

std::shared_ptr<pf::DialogDriver> recordingDriver(DialogLog& log,
                                                  std::function<void(pf::DialogSession&)> act) {
  return std::make_shared<RecordingDriver>(log, std::move(act));
}

void CommandTest::SetUpTestSuite() {
  if (!s_resources) {
    // The module file carries the string table and the dialog templates; the linked code reads
    // them through its resource handle.
    void* module = dlopen(ZORVIK_ARX_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(nullptr, module) << dlerror();
    s_resources = reinterpret_cast<HINSTANCE>(module);
    g_pExtensionModule->moduleInstance = s_resources;
    // The link class, as the module registers it at start-up.
    getModuleApp()->registerClasses();
    acrxBuildClassHierarchy();
  }
}

void CommandTest::SetUp() {
  char dir[] = "/tmp/module_cmd_XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(dir));
  hivePath_ = std::string(dir) + "/user.reg";
  ASSERT_TRUE(pf::setRegistryHivePath(hivePath_));

  setDefaultSettings();
  pf::clearMessageBoxes();
  pf::clearAllFaults();
  pf::resetOutputState();
  output_ = new pf::OutputCapture;

  db_ = new AcDbDatabase(true, false);
  doc_ = pf::openDocument(db_, "");
  ASSERT_NE(nullptr, doc_);
  resourceDepth_ = pf::resourceHandleDepth();
  errorBase_ = getModuleApp()->errorLog().count();
}

void CommandTest::TearDown() {
  pf::clearAllFaults();
  EXPECT_EQ(resourceDepth_, pf::resourceHandleDepth()) << "resource-handle stack not balanced";
  EXPECT_EQ("", pf::openObjectsReport(db_)) << "objects left open";
  if (doc_) {
    EXPECT_EQ(Acad::eOk, pf::closeDocument(doc_));
  }
  delete db_;
  db_ = nullptr;
  delete output_;
  output_ = nullptr;
  std::remove(hivePath_.c_str());
  const std::string dir = hivePath_.substr(0, hivePath_.rfind('/'));
  rmdir(dir.c_str());
}

void CommandTest::setDefaultSettings() {
  ModuleApp* a = getModuleApp();
  a->setAutoUpdate(true);
  a->setAreaPrec(2);
  a->setDivisor(1.0);
  a->setQuietMode(false);
  a->setAttname("");
}

void CommandTest::storeSettingsInRegistry(bool autoUpdate, int areaPrec, double divisor,
                                          bool quietMode, const char* attname) {
  ModuleApp* a = getModuleApp();
  a->setAutoUpdate(autoUpdate);
  a->setAreaPrec(areaPrec);
  a->setDivisor(divisor);
  a->setQuietMode(quietMode);
  a->setAttname(attname);
  a->saveSettings();
  setDefaultSettings();
}

namespace {

AcDbObjectId appendToRecord(AcDbBlockTableRecord* record, AcDbEntity* entity) {
  AcDbObjectId id;
  EXPECT_EQ(Acad::eOk, record->appendAcDbEntity(id, entity));
  entity->close();
  return id;
}

AcDbPolyline* rectangle(double x, double y, double w, double h) {
  AcDbPolyline* pline = new AcDbPolyline;
  pline->addVertexAt(0, AcGePoint2d(x, y));
  pline->addVertexAt(1, AcGePoint2d(x + w, y));
  pline->addVertexAt(2, AcGePoint2d(x + w, y + h));
  pline->addVertexAt(3, AcGePoint2d(x, y + h));
  pline->setClosed(true);
  return pline;
}

}  // namespace

AcDbBlockTableRecord* openRecord(AcDbDatabase* db, const char* name, bool create) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(Acad::eOk, db->getSymbolTable(table, AcDb::kForRead));
  AcDbBlockTableRecord* record = nullptr;
  if (table->getAt(name, record, AcDb::kForWrite) != Acad::eOk && create) {
    EXPECT_EQ(Acad::eOk, table->upgradeOpen());
    record = new AcDbBlockTableRecord;
    record->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(Acad::eOk, table->add(id, record));
  }
  table->close();
  return record;
}

AcDbObjectId CommandTest::addRectangle(const char* space, double x, double y, double w, double h) {
  AcDbBlockTableRecord* record = openRecord(db_, space, false);
  if (!record) {
    ADD_FAILURE() << "no block table record " << space;
    return AcDbObjectId();
  }
  AcDbObjectId id = appendToRecord(record, rectangle(x, y, w, h));
  record->close();
  return id;
}

AcDbObjectId CommandTest::addRectangleToBlock(const char* blockName, double x, double y, double w,
                                              double h) {
  AcDbBlockTableRecord* record = openRecord(db_, blockName, true);
  AcDbObjectId id = appendToRecord(record, rectangle(x, y, w, h));
  record->close();
  return id;
}

AcDbObjectId CommandTest::addLine(const char* space) {
  AcDbBlockTableRecord* record = openRecord(db_, space, false);
  AcDbObjectId id =
      appendToRecord(record, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  record->close();
  return id;
}

AcDbObjectId CommandTest::addBlockReference(
    const char* space, const std::vector<std::pair<std::string, std::string>>& attributes,
    std::vector<AcDbObjectId>* attributeIds) {
  AcDbBlockTableRecord* definition = openRecord(db_, "ROOM", true);
  const AcDbObjectId definitionId = definition->objectId();
  definition->close();

  AcDbBlockTableRecord* record = openRecord(db_, space, false);
  AcDbBlockReference* reference = new AcDbBlockReference(AcGePoint3d(5, 5, 0), definitionId);
  AcDbObjectId id;
  EXPECT_EQ(Acad::eOk, record->appendAcDbEntity(id, reference));
  record->close();
  for (const auto& entry : attributes) {
    AcDbAttribute* attribute =
        new AcDbAttribute(AcGePoint3d(5, 5, 0), entry.second.c_str(), entry.first.c_str());
    AcDbObjectId attributeId;
    EXPECT_EQ(Acad::eOk, reference->appendAttribute(attributeId, attribute));
    attribute->close();
    if (attributeIds) attributeIds->push_back(attributeId);
  }
  reference->close();
  return id;
}

std::string CommandTest::pick(const AcDbObjectId& id) {
  char buffer[32] = "";
  id.handle().getIntoAsciiBuffer(buffer);
  return std::string("#") + buffer;
}

std::string CommandTest::attributeText(const AcDbObjectId& id) const {
  AcDbAttribute* attribute = nullptr;
  if (acdbOpenObject(attribute, id, AcDb::kForRead) != Acad::eOk) return "<cannot open>";
  char* text = attribute->textString();
  std::string out = text ? text : "";
  acutDelString(text);
  attribute->close();
  return out;
}

int CommandTest::attributeFieldLength(const AcDbObjectId& id) const {
  AcDbAttribute* attribute = nullptr;
  if (acdbOpenObject(attribute, id, AcDb::kForRead) != Acad::eOk) return -1;
  const int length = attribute->fieldLength();
  attribute->close();
  return length;
}

AcDbObjectId CommandTest::linkedAttribute(const AcDbObjectId& polylineId) const {
  AcDbEntity* entity = nullptr;
  AcDbObjectId attributeId;
  if (acdbOpenObject(entity, polylineId, AcDb::kForRead) != Acad::eOk) return attributeId;
  findLinkedAttribute(entity, attributeId);
  entity->close();
  return attributeId;
}

int CommandTest::linkReactorCount(const AcDbObjectId& polylineId) const {
  AcDbEntity* entity = nullptr;
  if (acdbOpenObject(entity, polylineId, AcDb::kForRead) != Acad::eOk) return -1;
  int links = 0;
  if (AcDbVoidPtrArray* reactors = entity->reactors()) {
    for (int i = 0; i < reactors->length(); ++i) {
      void* reactor = reactors->at(i);
      if (!acdbIsPersistentReactor(reactor)) continue;
      AcDbObject* object = nullptr;
      if (acdbOpenAcDbObject(object, acdbPersistentReactorObjectId(reactor), AcDb::kForRead) !=
          Acad::eOk)
        continue;
      if (object->isKindOf(CPlineNotifyObject::desc())) ++links;
      object->close();
    }
  }
  entity->close();
  return links;
}

bool CommandTest::hasExtensionDictionary(const AcDbObjectId& id) const {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead) != Acad::eOk) return false;
  const bool has = !object->extensionDictionary().isNull();
  object->close();
  return has;
}

void CommandTest::linkDirectly(const AcDbObjectId& polylineId, const AcDbObjectId& attributeId) {
  AcDbPolyline* pline = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(pline, polylineId, AcDb::kForWrite));
  CPlineNotifyObject* link = new CPlineNotifyObject;
  link->setAttributeId(attributeId);
  AcDbObjectId linkId;
  EXPECT_TRUE(link->attachToPolyline(pline, linkId));
  pline->close();
  link->close();
}

void CommandTest::eraseObject(const AcDbObjectId& id) {
  AcDbObject* object = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(object, id, AcDb::kForWrite));
  EXPECT_EQ(Acad::eOk, object->erase());
  object->close();
}

}  // namespace cmdtest
