// Custom classes: a record whose DXF name maps to a registered class is read and written by
// that class; unregistered, asking to be a proxy, or failing, it is kept as a proxy and written
// back unchanged, and becomes the real object when read again with its class registered.
#include <gtest/gtest.h>

#include "dbproxy.h"
#include "dxf_test_util.h"
#include "pf/dxf.h"
#include "rxboiler.h"
#include "rxclass.h"

using namespace dxftest;

namespace {

// A link object like the module's: version 70, soft pointer 330 to an attribute.
class TestLink : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(TestLink);
  TestLink() {}

  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* f) override {
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk) return es;
    if (!f->atSubclassData("PlineNotifyObject")) return Acad::eBadDxfSequence;
    resbuf rb;
    if ((es = f->readItem(&rb)) != Acad::eOk) return es;
    if (rb.restype != 70) return Acad::eBadDxfSequence;
    if (rb.resval.rint > 1) return Acad::eMakeMeProxy;  // written by a newer version
    version = rb.resval.rint;
    if ((es = f->readItem(&rb)) != Acad::eOk) return es;
    if (rb.restype != 330) return Acad::eBadDxfSequence;
    return acdbGetObjectId(attribute, rb.resval.rlname);
  }
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* f) const override {
    assertReadEnabled();
    Acad::ErrorStatus es = AcDbObject::dxfOutFields(f);
    if (es != Acad::eOk) return es;
    f->writeString(AcDb::kDxfSubclass, "PlineNotifyObject");
    f->writeInt16(AcDb::kDxfInt16, static_cast<Adesk::Int16>(version));
    f->writeObjectId(AcDb::kDxfSoftPointerId, attribute);
    return f->filerStatus();
  }

  int version = 1;
  AcDbObjectId attribute;
};

ACRX_DXF_DEFINE_MEMBERS(TestLink, AcDbObject, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, PLINENOTIFYOBJECT, zorvik)

// Registers the class for the life of a scope, the way a module does between load and unload.
class Registered {
 public:
  Registered() {
    TestLink::rxInit();
    acrxBuildClassHierarchy();
  }
  ~Registered() {
    deleteAcRxClass(TestLink::desc());
    TestLink::gpDesc = nullptr;
  }
};

std::string handleOf(const AcDbObjectId& id) {
  char buf[20];
  id.handle().getIntoAsciiBuffer(buf);
  return buf;
}

}  // namespace

TEST(CustomClass, RegisteredClassReadsAndWritesItsRecord) {
  Registered cls;
  DbScope db;
  std::string in = writeFile("custom-in.dxf", linkedDrawing());
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  AcDbObject* obj = openByHandle(db.db, "45");
  ASSERT_NE(obj, nullptr);
  TestLink* link = TestLink::cast(obj);
  ASSERT_NE(link, nullptr) << obj->isA()->name();
  EXPECT_EQ(handleOf(link->attribute), "3F");
  EXPECT_EQ(handleOf(link->ownerId()), "44");
  link->close();

  std::string out = tempPath("custom-out.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  auto saved = byHandle(readRecords(out));
  auto original = byHandle(readRecords(in));
  EXPECT_EQ(saved["45"].tags, original["45"].tags);
  // The class record now comes from the runtime class.
  auto classes = ofType(readRecords(out), "CLASS");
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(classes[0].first(1), "PLINENOTIFYOBJECT");
  EXPECT_EQ(classes[0].first(2), "TestLink");
  EXPECT_EQ(classes[0].first(3), "zorvik");
  EXPECT_EQ(classes[0].codes(), "1 2 3 90 280 281");
}

TEST(CustomClass, MakeMeProxyKeepsTheRecordUnchanged) {
  Registered cls;
  DbScope db;
  std::string in = writeFile("newer-in.dxf", linkedDrawing(false, 2));
  std::string log = tempPath("newer.log");
  ASSERT_EQ(db->dxfIn(in.c_str(), log.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  AcDbObject* obj = openByHandle(db.db, "45");
  ASSERT_NE(obj, nullptr);
  EXPECT_EQ(TestLink::cast(obj), nullptr);
  ASSERT_NE(AcDbProxyObject::cast(obj), nullptr);
  obj->close();
  EXPECT_NE(readFile(log).find("PLINENOTIFYOBJECT"), std::string::npos);

  std::string out = tempPath("newer-out.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk);
  EXPECT_EQ(byHandle(readRecords(out))["45"].tags, byHandle(readRecords(in))["45"].tags);
}

// The log holds what happened to the drawing that was read: a record kept as a proxy once,
// however many times the file was walked, and nothing of a drawing refused as malformed.
TEST(CustomClass, TheLogTellsOfTheRecordsOfTheDrawingReadOnce) {
  Registered cls;
  const std::string newer = linkedDrawing(false, 2, "\n");
  const std::string reordered = withSections(newer, {"HEADER", "CLASSES", "TABLES", "BLOCKS", "OBJECTS", "ENTITIES"});
  Lines truncated = linesOf(newer);
  truncated.resize(truncated.size() - 2);  // no 0 EOF
  auto count = [](const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  for (const std::string& text : {newer, reordered}) {
    DbScope db;
    const std::string in = writeFile("log-in.dxf", text);
    const std::string log = tempPath("log.log");
    ASSERT_EQ(db->dxfIn(in.c_str(), log.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    EXPECT_EQ(count(readFile(log), "PLINENOTIFYOBJECT kept as a proxy: its class asked for it"), 1u) << readFile(log);
  }
  DbScope db;
  const std::string in = writeFile("log-truncated.dxf", textOf(truncated));
  const std::string log = tempPath("log-truncated.log");
  ASSERT_NE(db->dxfIn(in.c_str(), log.c_str()), Acad::eOk);
  EXPECT_NE(pf::lastDxfFailure().reason.find("truncated"), std::string::npos) << pf::lastDxfFailure().text();
  EXPECT_EQ(readFile(log), pf::lastDxfFailure().text() + "\n");
}

TEST(CustomClass, ProxyBecomesTheRealObjectWhenReadWithItsClass) {
  std::string saved = tempPath("proxy-saved.dxf");
  {
    DbScope db;
    std::string in = writeFile("proxy-in.dxf", linkedDrawing());
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk);
    ASSERT_EQ(db->dxfOut(saved.c_str()), Acad::eOk);
  }
  Registered cls;
  DbScope db;
  ASSERT_EQ(db->dxfIn(saved.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  AcDbObject* obj = openByHandle(db.db, "45");
  ASSERT_NE(obj, nullptr);
  TestLink* link = TestLink::cast(obj);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(handleOf(link->attribute), "3F");
  obj->close();
}

TEST(CustomClass, NewObjectsOfARegisteredClassGetTheirClassRecord) {
  Registered cls;
  DbScope db;
  std::string text = linkedDrawing();
  // Without the CLASSES record (some writers drop it), and as an R2004 drawing.
  std::size_t a = text.find("  0\r\nCLASS\r\n");
  std::size_t b = text.find("  0\r\nENDSEC", a);
  ASSERT_NE(a, std::string::npos);
  text.erase(a, b - a);
  text.replace(text.find("AC1015"), 6, "AC1018");
  std::string in = writeFile("noclass-in.dxf", text);
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  AcDbObject* obj = openByHandle(db.db, "45");
  ASSERT_NE(obj, nullptr);
  EXPECT_NE(TestLink::cast(obj), nullptr);
  obj->close();
  std::string out = tempPath("noclass-out.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk);
  EXPECT_EQ(pf::dxfVersion(db.db), "AC1018");
  auto classes = ofType(readRecords(out), "CLASS");
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(classes[0].codes(), "1 2 3 90 91 280 281");
  EXPECT_EQ(classes[0].first(91), "1");
}
