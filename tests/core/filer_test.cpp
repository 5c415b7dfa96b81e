// filer_test.cpp - the in-memory DWG filer and the DXF filer over tags.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include "acutmem.h"
#include "acutads.h"
#include "acedads.h"
#include "adscodes.h"
#include "core_test_objects.h"
#include "db_test_support.h"
#include "db/db_services.h"
#include "db/dwg_filer.h"
#include "db/dxf_tag_filer.h"
#include "db/tag_list.h"

namespace {

class FilerTest : public testsupport::DatabaseTest {
protected:
  void SetUp() override {
    registerTestClasses();
    DatabaseTest::SetUp();
  }
};

TEST_F(FilerTest, DwgCopyFilerRoundTripsEveryKind) {
  pf::MemoryDwgFiler f(AcDb::kCopyFiler, db.get());
  AcDbObjectId nod = db->namedObjectsDictionaryId();
  char bytes[] = {1, 2, 3, 0, 5};
  ads_binary chunk = {5, bytes};
  f.writeItem(AcDbHardOwnershipId(nod));
  f.writeSoftPointerId(nod);
  f.writeString("r\xe4um");
  f.writeString(nullptr);
  f.writeBChunk(chunk);
  f.writeAcDbHandle(AcDbHandle(0x2A, 1));
  f.writeInt32(-70000);
  f.writeInt16(-3);
  f.writeUInt32(4000000000u);
  f.writeUInt16(65535);
  f.writeUInt8(200);
  f.writeBool(true);
  f.writeDouble(0.1 + 0.2);
  f.writePoint3d(AcGePoint3d(2600000.5, -1.25, 3));
  f.writeVector2d(AcGeVector2d(0, 1));
  f.writeScale3d(AcGeScale3d(2, 3, 4));
  f.writeBytes("abc", 3);
  ASSERT_EQ(Acad::eOk, f.filerStatus());
  f.rewind();

  AcDbHardOwnershipId owner;
  AcDbSoftPointerId soft;
  char* s1 = nullptr;
  char* s2 = reinterpret_cast<char*>(1);
  ads_binary got = {0, nullptr};
  AcDbHandle h;
  Adesk::Int32 i32;
  Adesk::Int16 i16;
  Adesk::UInt32 u32;
  Adesk::UInt16 u16;
  Adesk::UInt8 u8;
  bool b = false;
  double d;
  AcGePoint3d p;
  AcGeVector2d v;
  AcGeScale3d sc;
  char raw[3];
  f.readItem(&owner);
  f.readSoftPointerId(&soft);
  f.readString(&s1);
  f.readString(&s2);
  f.readBChunk(&got);
  f.readAcDbHandle(&h);
  f.readInt32(&i32);
  f.readInt16(&i16);
  f.readUInt32(&u32);
  f.readUInt16(&u16);
  f.readUInt8(&u8);
  f.readBool(&b);
  f.readDouble(&d);
  f.readPoint3d(&p);
  f.readVector2d(&v);
  f.readScale3d(&sc);
  f.readBytes(raw, 3);
  ASSERT_EQ(Acad::eOk, f.filerStatus());
  EXPECT_EQ(nod, owner);
  EXPECT_EQ(nod, soft);
  EXPECT_STREQ("r\xe4um", s1);
  EXPECT_EQ(nullptr, s2);
  ASSERT_EQ(5, got.clen);
  EXPECT_EQ(0, std::memcmp(bytes, got.buf, 5));
  EXPECT_EQ(AcDbHandle(0x2A, 1), h);
  EXPECT_EQ(-70000, i32);
  EXPECT_EQ(-3, i16);
  EXPECT_EQ(4000000000u, u32);
  EXPECT_EQ(65535, u16);
  EXPECT_EQ(200, u8);
  EXPECT_TRUE(b);
  EXPECT_EQ(0.1 + 0.2, d);
  EXPECT_EQ(2600000.5, p.x);
  EXPECT_EQ(1.0, v.y);
  EXPECT_EQ(4.0, sc.sz);
  EXPECT_EQ(0, std::memcmp("abc", raw, 3));
  acutDelString(s1);
  delete[] got.buf;
  // Past the end.
  EXPECT_EQ(Acad::eEndOfFile, f.readInt16(&i16));
}

TEST_F(FilerTest, ReadingAnotherKindThanWasWrittenIsAFilerError) {
  pf::MemoryDwgFiler f;
  f.writeInt16(5);
  f.writeDouble(1.0);
  f.rewind();
  Adesk::Int32 wrong = 0;
  EXPECT_EQ(Acad::eFilerError, f.readInt32(&wrong));
  EXPECT_EQ(Acad::eFilerError, f.filerStatus());
  double d = 0;
  EXPECT_EQ(Acad::eFilerError, f.readDouble(&d));  // the error sticks until reset
  f.resetFilerStatus();
  f.rewind();
  char buf[4];
  Adesk::Int16 i = 0;
  EXPECT_EQ(Acad::eOk, f.readInt16(&i));
  EXPECT_EQ(Acad::eFilerError, f.readBytes(buf, 4));
}

TEST_F(FilerTest, AnObjectCopiesThroughItsDwgFields) {
  AcDbObjectId target = addToNod("TARGET", new TestObj(1));
  TestObj* src = new TestObj(41);
  src->setRef(target);
  AcDbObjectId srcId = addToNod("SRC", src);
  ASSERT_EQ(Acad::eOk, acdbOpenObject(src, srcId, AcDb::kForRead));
  pf::MemoryDwgFiler f(AcDb::kCopyFiler, db.get());
  ASSERT_EQ(Acad::eOk, src->dwgOut(&f));
  src->close();
  TestObj copy;
  f.rewind();
  ASSERT_EQ(Acad::eOk, copy.dwgIn(&f));
  EXPECT_EQ(41, copy.value());
  EXPECT_EQ(target, copy.ref());
  EXPECT_EQ(db->namedObjectsDictionaryId(), copy.ownerId());
  EXPECT_TRUE(copy.hasPersistentReactor(db->namedObjectsDictionaryId()));
}

TEST_F(FilerTest, ObjectGroupsCanBeCheckedWithoutAFile) {
  AcDbObjectId target = addToNod("TARGET", new TestObj(1));
  TestObj* obj = new TestObj(12);
  obj->setRef(target);
  AcDbObjectId id = addToNod("OBJ", obj);
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite));
  ASSERT_EQ(Acad::eOk, obj->createExtensionDictionary());
  obj->downgradeOpen();
  pf::TagDxfFiler out(db.get());
  ASSERT_EQ(Acad::eOk, obj->dxfOut(&out));
  AcDbObjectId xdict = obj->extensionDictionary();
  obj->close();

  auto hex = [](AcDbObjectId i) {
    char b[20];
    i.handle().getIntoAsciiBuffer(b);
    return std::string(b);
  };
  std::vector<std::pair<int, std::string>> expected = {
      {5, hex(id)},
      {102, "{ACAD_XDICTIONARY"}, {360, hex(xdict)}, {102, "}"},
      {102, "{ACAD_REACTORS"}, {330, hex(db->namedObjectsDictionaryId())}, {102, "}"},
      {330, hex(db->namedObjectsDictionaryId())},
      {100, "TestObj"}, {90, "12"}, {330, hex(target)}};
  std::vector<std::pair<int, std::string>> got;
  for (const pf::Tag& t : out.tags()) got.emplace_back(t.code, t.text);
  EXPECT_EQ(expected, got);
}

TEST_F(FilerTest, DxfReadBackRestoresTheObjectWithForwardReferences) {
  // Handles 7F and 80 do not exist yet: reading reserves ids for them.
  pf::TagList tags = {{5, "7E"},  {102, "{ACAD_REACTORS"}, {330, "80"}, {102, "}"}, {330, "80"},
                      {100, "TestObj"}, {90, "-5"}, {330, "7F"}, {1001, "APP"}, {1000, "text"}, {1070, "3"}};
  TestObj* obj = new TestObj;
  AcDbObjectId id;
  ASSERT_EQ(Acad::eOk, pf::addObjectWithHandle(db.get(), obj, AcDbHandle("7E"), id));
  pf::TagDxfFiler in(db.get(), tags);
  ASSERT_EQ(Acad::eOk, obj->dxfIn(&in)) << in.errorMessage();
  AcDbObjectId ref = obj->ref();
  EXPECT_EQ(AcDbHandle("7F"), ref.handle());
  EXPECT_EQ(AcDbHandle("80"), obj->ownerId().handle());
  EXPECT_TRUE(obj->hasPersistentReactor(obj->ownerId()));
  EXPECT_EQ(-5, obj->value());
  resbuf* xd = obj->xData("app");
  ASSERT_NE(nullptr, xd);
  EXPECT_EQ(1001, xd->restype);
  ASSERT_NE(nullptr, xd->rbnext);
  EXPECT_STREQ("text", xd->rbnext->resval.rstring);
  ASSERT_NE(nullptr, xd->rbnext->rbnext);
  EXPECT_EQ(3, xd->rbnext->rbnext->resval.rint);
  acutRelRb(xd);
  obj->close();
  // The reserved ids name nothing yet.
  AcDbObject* missing = nullptr;
  EXPECT_EQ(Acad::ePermanentlyErased, acdbOpenAcDbObject(missing, ref, AcDb::kForRead));
  EXPECT_EQ(2u, pf::danglingIds(db.get()).size());
  // A new object gets a handle above every handle read.
  EXPECT_GT(db->handseed().value(), AcDbHandle("80").value());
}

TEST_F(FilerTest, DxfFilerReportsBadValuesWithTheirLine) {
  pf::TagList tags = {{100, "TestObj", 10}, {90, "12x", 12}};
  pf::TagDxfFiler in(db.get(), tags);
  EXPECT_TRUE(in.atSubclassData("TestObj"));
  resbuf rb;
  EXPECT_EQ(Acad::eInvalidDxfCode, in.readResBuf(&rb));
  EXPECT_NE(nullptr, std::strstr(in.errorMessage(), "line 12"));
  EXPECT_EQ(Acad::eInvalidDxfCode, in.filerStatus());
}

TEST_F(FilerTest, DxfFilerReadsPointsAndPushesBackWholeItems) {
  pf::TagList tags = {{10, "1.5"}, {20, "2.5"}, {11, "3"}, {21, "4"}, {31, "5"}, {0, "LINE"}};
  pf::TagDxfFiler in(db.get(), tags);
  resbuf rb;
  ASSERT_EQ(Acad::eOk, in.readItem(&rb));
  EXPECT_EQ(10, rb.restype);
  EXPECT_EQ(2.5, rb.resval.rpoint[1]);
  EXPECT_EQ(0.0, rb.resval.rpoint[2]);
  ASSERT_EQ(Acad::eOk, in.readItem(&rb));
  EXPECT_EQ(5.0, rb.resval.rpoint[2]);
  EXPECT_EQ(Acad::eOk, in.pushBackItem());
  EXPECT_EQ(Acad::eNotApplicable, in.pushBackItem());  // one item only
  ASSERT_EQ(Acad::eOk, in.readItem(&rb));
  EXPECT_EQ(11, rb.restype);
  EXPECT_TRUE(in.atEndOfObject());
  EXPECT_EQ(Acad::eEndOfObject, in.readItem(&rb));
  // Subclass markers: matched ones are consumed, others are left.
  pf::TagDxfFiler marks(db.get(), {{100, "AcDbEntity"}, {8, "0"}});
  EXPECT_FALSE(marks.atSubclassData("AcDbText"));
  EXPECT_TRUE(marks.atSubclassData("AcDbEntity"));
  marks.haltAtClassBoundries(true);
  ASSERT_EQ(Acad::eOk, marks.readItem(&rb));
  EXPECT_STREQ("0", rb.resval.rstring);
}

TEST_F(FilerTest, DxfWriterFormatsRealsExactlyAndRefusesWhatAFileCannotHold) {
  pf::TagDxfFiler out(db.get());
  out.writeDouble(40, 0.0);
  out.writeDouble(40, 2600000.0);
  out.writeDouble(40, 0.1 + 0.2);
  out.writeDouble(40, 1e-9);
  out.writeDouble(40, 1.0 / 3.0, 4);
  out.writePoint2d(10, AcGePoint2d(1, 2));
  ASSERT_EQ(7u, out.tags().size());
  EXPECT_EQ("0.0", out.tags()[0].text);
  EXPECT_EQ("2600000.0", out.tags()[1].text);
  EXPECT_EQ("0.30000000000000004", out.tags()[2].text);
  EXPECT_EQ("1.0E-09", out.tags()[3].text);  // the exponent as the host writes it in files
  EXPECT_EQ("0.3333", out.tags()[4].text);
  EXPECT_EQ(20, out.tags()[6].code);
  double back = 0;
  ASSERT_TRUE(pf::parseReal(out.tags()[2].text, back));
  EXPECT_EQ(0.1 + 0.2, back);
  EXPECT_EQ(Acad::eInvalidInput, out.writeString(1, "two\nlines"));
  out.resetFilerStatus();
  EXPECT_EQ(Acad::eInvalidInput, out.writeDouble(40, std::nan("")));
  EXPECT_EQ(7u, out.tags().size());
}

TEST_F(FilerTest, DeadReferencesAreLeftOutOfWrittenData) {
  AcDbObjectId gone = addToNod("GONE", new TestObj(1));
  TestObj* g = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(g, gone, AcDb::kForWrite));
  g->erase();
  g->close();
  pf::TagDxfFiler out(db.get());
  out.writeObjectId(330, gone);
  out.writeObjectId(330, AcDbObjectId::kNull);
  ASSERT_EQ(1u, out.tags().size());
  EXPECT_EQ("0", out.tags()[0].text);
}

TEST_F(FilerTest, AdsNamesConvertBothWaysAndRejectGarbage) {
  AcDbObjectId nod = db->namedObjectsDictionaryId();
  ads_name name;
  ASSERT_EQ(Acad::eOk, acdbGetAdsName(name, nod));
  AcDbObjectId back;
  ASSERT_EQ(Acad::eOk, acdbGetObjectId(back, name));
  EXPECT_EQ(nod, back);
  ads_name garbage = {12345, 0};
  EXPECT_EQ(Acad::eInvalidAdsName, acdbGetObjectId(back, garbage));
  EXPECT_EQ(nod, back);
  ads_name nil = {0, 0};
  ASSERT_EQ(Acad::eOk, acdbGetObjectId(back, nil));
  EXPECT_TRUE(back.isNull());
}

}  // namespace

namespace {

class EntityFilingTest : public testsupport::DatabaseTest {
protected:
  void SetUp() override {
    registerTestClasses();
    DatabaseTest::SetUp();
  }
};

TEST_F(EntityFilingTest, CommonEntityGroupsRoundTripWithGroupsNotModelled) {
  AcDbBlockTableRecord* ms = openModelSpace();
  TestCurve* curve = new TestCurve;
  AcDbObjectId id;
  ASSERT_EQ(Acad::eOk, ms->appendAcDbEntity(id, curve));
  ms->close();
  pf::TagList tags = {{5, "1"},   {330, "0"},         {100, "AcDbEntity"}, {8, "Rooms"}, {6, "DASHED"},
                      {62, "3"},  {370, "25"},        {48, "2.5"},         {60, "1"},    {420, "16711680"},
                      {440, "33554432"}};
  pf::TagDxfFiler in(db.get(), tags);
  ASSERT_EQ(Acad::eOk, curve->dxfInFields(&in)) << in.errorMessage();
  char* layer = curve->layer();
  EXPECT_STREQ("Rooms", layer);
  acutDelString(layer);
  EXPECT_EQ(3, curve->colorIndex());
  EXPECT_EQ(AcDb::kLnWt025, curve->lineWeight());
  EXPECT_EQ(2.5, curve->linetypeScale());
  EXPECT_EQ(AcDb::kInvisible, curve->visibility());
  // The reader's owner (330 0) is not where the curve lives: put it back.
  ASSERT_EQ(Acad::eOk, curve->setOwnerId(ms->objectId()));
  pf::TagDxfFiler out(db.get());
  ASSERT_EQ(Acad::eOk, curve->dxfOutFields(&out));
  curve->close();
  std::vector<std::pair<int, std::string>> got;
  for (const pf::Tag& t : out.tags())
    if (t.code != 5 && t.code != 330) got.emplace_back(t.code, t.text);
  std::vector<std::pair<int, std::string>> expected = {
      {100, "AcDbEntity"}, {8, "Rooms"}, {6, "DASHED"}, {62, "3"}, {370, "25"}, {48, "2.5"}, {60, "1"},
      {420, "16711680"}, {440, "33554432"}};
  EXPECT_EQ(expected, got);
}

TEST_F(EntityFilingTest, MissingEntityMarkerIsABadSequence) {
  TestCurve curve;
  pf::TagDxfFiler in(db.get(), {{5, "1"}, {330, "0"}, {8, "0"}});
  EXPECT_EQ(Acad::eBadDxfSequence, curve.dxfInFields(&in));
}

TEST_F(EntityFilingTest, XDataReplacesPerApplication) {
  AcDbObjectId id = addToNod("X", new TestObj(1));
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite));
  resbuf* data = acutBuildList(1001, "ONE", 1000, "a", 1001, "TWO", 1070, 2, 0);
  ASSERT_EQ(Acad::eOk, obj->setXData(data));
  acutRelRb(data);
  resbuf* change = acutBuildList(1001, "one", 1000, "b", 1001, "TWO", 0);  // TWO without data: removed
  ASSERT_EQ(Acad::eOk, obj->setXData(change));
  acutRelRb(change);
  resbuf* all = obj->xData();
  ASSERT_NE(nullptr, all);
  EXPECT_STREQ("one", all->resval.rstring);
  ASSERT_NE(nullptr, all->rbnext);
  EXPECT_STREQ("b", all->rbnext->resval.rstring);
  EXPECT_EQ(nullptr, all->rbnext->rbnext);
  acutRelRb(all);
  EXPECT_EQ(nullptr, obj->xData("TWO"));
  resbuf bad;
  bad.restype = 1000;
  bad.rbnext = nullptr;
  bad.resval.rstring = const_cast<char*>("no application");
  EXPECT_EQ(Acad::eInvalidResBuf, obj->setXData(&bad));
  // Extended data is written after the fields.
  pf::TagDxfFiler out(db.get());
  ASSERT_EQ(Acad::eOk, obj->dxfOut(&out));
  obj->close();
  ASSERT_GE(out.tags().size(), 2u);
  EXPECT_EQ(1001, out.tags()[out.tags().size() - 2].code);
  EXPECT_EQ("b", out.tags().back().text);
}

}  // namespace

namespace {

TEST_F(EntityFilingTest, EntGetListsTheEntityGroups) {
  AcDbBlockTableRecord* ms = openModelSpace();
  TestCurve* curve = new TestCurve;
  AcDbObjectId id;
  ASSERT_EQ(Acad::eOk, ms->appendAcDbEntity(id, curve));
  curve->setColorIndex(1);
  curve->close();
  ms->close();
  ads_name name;
  ASSERT_EQ(Acad::eOk, acdbGetAdsName(name, id));
  resbuf* list = acdbEntGet(name);
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(-1, list->restype);
  EXPECT_EQ(name[0], list->resval.rlname[0]);
  ASSERT_NE(nullptr, list->rbnext);
  EXPECT_EQ(0, list->rbnext->restype);
  EXPECT_STREQ("ZTESTCURVE", list->rbnext->resval.rstring);
  bool sawColor = false, sawOwner = false;
  for (resbuf* rb = list; rb; rb = rb->rbnext) {
    if (rb->restype == 62) sawColor = rb->resval.rint == 1;
    if (rb->restype == 330) {
      AcDbObjectId owner;
      ASSERT_EQ(Acad::eOk, acdbGetObjectId(owner, rb->resval.rlname));
      sawOwner = owner == ms->objectId();
    }
  }
  EXPECT_TRUE(sawColor);
  EXPECT_TRUE(sawOwner);
  acutRelRb(list);
  ads_name bad = {1, 0};
  EXPECT_EQ(nullptr, acdbEntGet(bad));
}

}  // namespace
