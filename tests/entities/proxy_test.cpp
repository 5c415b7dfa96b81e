// proxy_test.cpp - proxies keep the groups of records they cannot interpret and write them
// back unchanged; copies keep them too, references included.
#include "dbproxy.h"
#include "db/entities/proxy.h"
#include "entity_fixture.h"
#include "db/dwg_filer.h"

namespace {

class ProxyTest : public EntityTest {
 protected:
  std::string handleText(AcDbObjectId id) {
    char buf[32] = {0};
    id.handle().getIntoAsciiBuffer(buf);
    return buf;
  }

  // The custom part of a record, as another program wrote it: a 2d point without Z, reals
  // with their own formatting, a reference, a 102 group inside the data.
  pf::TagList customGroups(AcDbObjectId referenced) {
    return {{100, "ZorvikThing"}, {70, "     1"},  {10, "1.50"},
            {20, "2.25"},         {40, "0.1000"},  {1, "some text"},
            {102, "{MYGROUP"},    {330, handleText(referenced)},
            {102, "}"},           {290, "1"},      {310, "DEADBEEF"},
            {90, "123456"}};
  }

  // Reads head + custom into the proxy, writes it again, and answers the tags it wrote.
  pf::TagList roundTrip(AcDbObject* proxy, const pf::TagList& custom) {
    pf::TagList record = dxfTags(proxy);  // the common part, as the platform writes it
    record.insert(record.end(), custom.begin(), custom.end());
    pf::TagDxfFiler in(db, record);
    EXPECT_EQ(proxy->dxfInFields(&in), Acad::eOk);
    return dxfTags(proxy);
  }

  static void expectSameTags(const pf::TagList& got, const pf::TagList& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].code, want[i].code) << "at " << i;
      EXPECT_EQ(got[i].text, want[i].text) << "at " << i;
    }
  }
};

TEST_F(ProxyTest, ObjectProxyWritesTheRecordBackUnchanged) {
  AcDbLine* target = new AcDbLine();
  const AcDbObjectId targetId = appendClosed(target);

  pf::ProxyObject* proxy = pf::newProxyObject("ZorvikThing", "ZORVIK_THING", "Zorvik");
  AcDbObjectId proxyId;
  ASSERT_EQ(db->addAcDbObject(proxyId, proxy), Acad::eOk);
  const pf::TagList custom = customGroups(targetId);
  const pf::TagList out = roundTrip(proxy, custom);
  expectSameTags(fromMarker(out, "ZorvikThing"), custom);

  EXPECT_STREQ(proxy->originalClassName(), "ZorvikThing");
  EXPECT_STREQ(proxy->originalDxfName(), "ZORVIK_THING");
  EXPECT_STREQ(proxy->applicationDescription(), "Zorvik");
  EXPECT_TRUE(proxy->isKindOf(AcDbProxyObject::desc()));
  AcDbObjectIdArray ids;
  AcDbIntArray types;
  EXPECT_EQ(proxy->getReferences(ids, types), Acad::eOk);
  ASSERT_EQ(ids.length(), 1);
  EXPECT_EQ(ids[0], targetId);
  EXPECT_EQ(types[0], 0);  // a soft pointer
  proxy->close();
}

TEST_F(ProxyTest, ReferenceToAnErasedObjectIsLeftOutOnSaving) {
  AcDbLine* target = new AcDbLine();
  const AcDbObjectId targetId = appendClosed(target);
  pf::ProxyObject* proxy = pf::newProxyObject("ZorvikThing", "ZORVIK_THING");
  ASSERT_EQ(db->addAcDbObject(proxy), Acad::eOk);
  roundTrip(proxy, customGroups(targetId));
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, targetId, AcDb::kForWrite), Acad::eOk);
  line->erase();
  line->close();
  const pf::TagList own = fromMarker(dxfTags(proxy), "ZorvikThing");
  for (const pf::Tag& t : own) EXPECT_NE(t.code, 330);
  EXPECT_EQ(own.size(), customGroups(targetId).size() - 1);
  proxy->close();
}

TEST_F(ProxyTest, EntityProxyKeepsItsDataAfterTheEntityPart) {
  pf::ProxyEntity* proxy = pf::newProxyEntity("AcDbZorvikShape", "ZORVIK_SHAPE");
  append(proxy);
  const pf::TagList custom = {{100, "AcDbZorvikShape"}, {10, "0.0"}, {20, "1.0"}, {30, "2.0"},
                              {62, "3"},                {1, "x"}};
  const pf::TagList out = roundTrip(proxy, custom);
  expectSameTags(fromMarker(out, "AcDbZorvikShape"), custom);
  EXPECT_TRUE(proxy->isKindOf(AcDbProxyEntity::desc()));
  EXPECT_EQ(proxy->graphicsMetafileType(), AcDbProxyEntity::kNoMetafile);
  proxy->close();
}

TEST_F(ProxyTest, CopyKeepsGroupsTextAndReferences) {
  AcDbLine* target = new AcDbLine();
  const AcDbObjectId targetId = appendClosed(target);
  pf::ProxyObject* proxy = pf::newProxyObject("ZorvikThing", "ZORVIK_THING", "Zorvik", 0x81);
  ASSERT_EQ(db->addAcDbObject(proxy), Acad::eOk);
  const pf::TagList custom = customGroups(targetId);
  roundTrip(proxy, custom);

  pf::MemoryDwgFiler filer(AcDb::kCopyFiler, db);
  ASSERT_EQ(proxy->dwgOutFields(&filer), Acad::eOk);
  filer.rewind();
  pf::ProxyObject* copy = pf::newProxyObject("", "");
  ASSERT_EQ(copy->dwgInFields(&filer), Acad::eOk);
  EXPECT_STREQ(copy->originalDxfName(), "ZORVIK_THING");
  EXPECT_EQ(copy->proxyFlags(), 0x81);
  ASSERT_EQ(db->addAcDbObject(copy), Acad::eOk);
  expectSameTags(fromMarker(dxfTags(copy), "ZorvikThing"), custom);
  copy->close();
  proxy->close();
}

TEST_F(ProxyTest, ProxyClassesAreRegisteredUnderTheirDxfNames) {
  AcRxClass* cls = AcDbProxyObject::desc();
  ASSERT_NE(cls, nullptr);
  EXPECT_STREQ(cls->dxfName(), "ACAD_PROXY_OBJECT");
  AcRxObject* made = cls->create();
  ASSERT_NE(made, nullptr);
  AcDbProxyObject* proxy = AcDbProxyObject::cast(made);
  ASSERT_NE(proxy, nullptr);
  EXPECT_STREQ(proxy->originalDxfName(), "ACAD_PROXY_OBJECT");
  delete made;
  EXPECT_STREQ(AcDbProxyEntity::desc()->dxfName(), "ACAD_PROXY_ENTITY");
  EXPECT_STREQ(AcDbPolyline::desc()->dxfName(), "LWPOLYLINE");
  EXPECT_TRUE(AcDbAttribute::desc()->isDerivedFrom(AcDbText::desc()));
  EXPECT_TRUE(AcDbPolyline::desc()->isDerivedFrom(AcDbCurve::desc()));
}

}  // namespace
