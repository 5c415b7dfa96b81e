// modification_test.cpp - entity setters record the change (one modified notification at
// close), refused input records nothing, and reading never does.
#include <functional>

#include "entity_fixture.h"

namespace {

class CountingReactor : public AcDbObjectReactor {
 public:
  void modified(const AcDbObject*) override { ++modifiedCount; }
  int modifiedCount = 0;
};

class ModificationTest : public EntityTest {
 protected:
  // Opens the entity for write, applies the change, closes it: answers the notifications.
  template <class T>
  int notificationsFor(AcDbObjectId id, const std::function<void(T*)>& change) {
    CountingReactor reactor;
    T* ent = nullptr;
    EXPECT_EQ(acdbOpenObject(ent, id, AcDb::kForWrite), Acad::eOk);
    if (ent == nullptr) return -1;
    ent->addReactor(&reactor);
    change(ent);
    EXPECT_EQ(ent->close(), Acad::eOk);
    EXPECT_EQ(acdbOpenObject(ent, id, AcDb::kForRead), Acad::eOk);
    ent->removeReactor(&reactor);
    ent->close();
    return reactor.modifiedCount;
  }
};

TEST_F(ModificationTest, PolylineSettersRecordTheChange) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0));
  pl->addVertexAt(1, AcGePoint2d(1, 0));
  const AcDbObjectId id = appendClosed(pl);
  using Change = std::function<void(AcDbPolyline*)>;
  const std::vector<Change> changes = {
      [](AcDbPolyline* p) { p->addVertexAt(2, AcGePoint2d(1, 1)); },
      [](AcDbPolyline* p) { p->setPointAt(0, AcGePoint2d(0, -1)); },
      [](AcDbPolyline* p) { p->setBulgeAt(0, 0.5); },
      [](AcDbPolyline* p) { p->setWidthsAt(0, 0.1, 0.1); },
      [](AcDbPolyline* p) { p->setConstantWidth(0.2); },
      [](AcDbPolyline* p) { p->setClosed(Adesk::kTrue); },
      [](AcDbPolyline* p) { p->setElevation(1.0); },
      [](AcDbPolyline* p) { p->setThickness(1.0); },
      [](AcDbPolyline* p) { p->setNormal(AcGeVector3d(0, 1, 0)); },
      [](AcDbPolyline* p) { p->removeVertexAt(2); },
      [](AcDbPolyline* p) { p->reset(Adesk::kTrue, 1); },
  };
  for (size_t i = 0; i < changes.size(); ++i)
    EXPECT_EQ(notificationsFor<AcDbPolyline>(id, changes[i]), 1) << "change " << i;
}

TEST_F(ModificationTest, RefusedInputAndReadingRecordNothing) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0));
  const AcDbObjectId id = appendClosed(pl);
  EXPECT_EQ(notificationsFor<AcDbPolyline>(id,
                                           [](AcDbPolyline* p) {
                                             double area = 0;
                                             AcGePoint2d pt;
                                             p->getArea(area);
                                             p->getPointAt(0, pt);
                                             p->numVerts();
                                           }),
            0);
  EXPECT_EQ(notificationsFor<AcDbPolyline>(id,
                                           [](AcDbPolyline* p) {
                                             p->setPointAt(5, AcGePoint2d(1, 1));
                                             p->setBulgeAt(0, NAN);
                                             p->setNormal(AcGeVector3d(0, 0, 0));
                                             p->addVertexAt(9, AcGePoint2d(1, 1));
                                           }),
            0);
}

TEST_F(ModificationTest, TextAttributeAndReferenceSetters) {
  AcDbText* text = new AcDbText(AcGePoint3d(0, 0, 0), "a");
  const AcDbObjectId textId = appendClosed(text);
  EXPECT_EQ(notificationsFor<AcDbText>(textId, [](AcDbText* t) { t->setTextString("b"); }), 1);
  EXPECT_EQ(notificationsFor<AcDbText>(textId, [](AcDbText* t) { t->setHeight(-1.0); }), 0);

  AcDbBlockReference* ref = new AcDbBlockReference();
  const AcDbObjectId refId = append(ref);
  AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(0, 0, 0), "v", "T");
  AcDbObjectId attId;
  ASSERT_EQ(ref->appendAttribute(attId, att), Acad::eOk);
  att->close();
  ref->close();
  EXPECT_EQ(notificationsFor<AcDbAttribute>(attId, [](AcDbAttribute* a) { a->setTag("U"); }), 1);
  EXPECT_EQ(notificationsFor<AcDbAttribute>(attId,
                                            [](AcDbAttribute* a) { a->setFieldLength(3); }),
            1);
  EXPECT_EQ(notificationsFor<AcDbBlockReference>(
                refId, [](AcDbBlockReference* r) { r->setPosition(AcGePoint3d(1, 1, 1)); }),
            1);
  EXPECT_EQ(notificationsFor<AcDbBlockReference>(
                refId, [](AcDbBlockReference* r) { r->setScaleFactors(AcGeScale3d(0, 1, 1)); }),
            0);
}

}  // namespace
