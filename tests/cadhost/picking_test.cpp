// Picking and drawing read from a real database: the nearest outline within the aperture wins,
// the topmost wins a tie, a block reference is picked by its block's geometry, and nothing is
// left open.
#include <gtest/gtest.h>

#include "dbapserv.h"
#include "dbents.h"
#include "dbmain.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "drawing_shapes.h"
#include "pf/dbdebug.h"

namespace {
using cadhost::Pt;

class PickingTest : public ::testing::Test {
 protected:
  void SetUp() override { db = new AcDbDatabase(true, true); }
  void TearDown() override {
    EXPECT_TRUE(pf::openObjects(db).empty());
    delete db;
  }

  AcDbObjectId append(AcDbEntity* ent, const char* space = ACDB_MODEL_SPACE) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* rec = nullptr;
    EXPECT_EQ(table->getAt(space, rec, AcDb::kForWrite), Acad::eOk);
    table->close();
    AcDbObjectId id;
    EXPECT_EQ(rec->appendAcDbEntity(id, ent), Acad::eOk);
    rec->close();
    ent->close();
    return id;
  }

  AcDbObjectId square(double x, double y, double side, double bulge = 0) {
    AcDbPolyline* pl = new AcDbPolyline();
    pl->addVertexAt(0, AcGePoint2d(x, y), bulge);
    pl->addVertexAt(1, AcGePoint2d(x + side, y));
    pl->addVertexAt(2, AcGePoint2d(x + side, y + side));
    pl->addVertexAt(3, AcGePoint2d(x, y + side));
    pl->setClosed(Adesk::kTrue);
    return append(pl);
  }

  AcDbObjectId pick(double x, double y) {
    AcDbObjectId id;
    if (!cadhost::pickEntity(cadhost::modelSpaceShapes(db), Pt{x, y}, id)) return AcDbObjectId::kNull;
    return id;
  }

  AcDbDatabase* db = nullptr;
};

TEST_F(PickingTest, NearestOutlineWithinTheApertureWins) {
  const AcDbObjectId a = square(0, 0, 100);
  const AcDbObjectId b = square(110, 0, 100);
  // The drawing is 210 wide: the aperture is 2.1 units.
  EXPECT_EQ(pick(101, 50), a);
  EXPECT_EQ(pick(109, 50), b);
  EXPECT_EQ(pick(50, 50), AcDbObjectId::kNull) << "the middle of a room is far from every outline";
  EXPECT_EQ(pick(105, 50), AcDbObjectId::kNull) << "the gap between two rooms is outside the aperture";
}

TEST_F(PickingTest, TheTopmostWinsATieAndArcsArePickedOnTheirCurve) {
  const AcDbObjectId lower = square(0, 0, 100);
  const AcDbObjectId upper = square(0, 0, 100);
  EXPECT_EQ(pick(0, 50), upper);
  EXPECT_NE(pick(0, 50), lower);
  // A semicircular bottom edge (bulge 1 from (300,0) to (400,0)) reaches 50 below the chord.
  const AcDbObjectId bay = square(300, 0, 100, 1.0);
  EXPECT_EQ(pick(350, -50), bay);
  EXPECT_EQ(pick(350, 0), AcDbObjectId::kNull) << "the chord itself is not drawn";
}

TEST_F(PickingTest, ABlockReferenceIsPickedByItsBlocksGeometryAndOnlyModelSpaceCounts) {
  // A block "TAG" holding a circle of radius 10 about its base point (0,0).
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(db->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
  AcDbBlockTableRecord* block = new AcDbBlockTableRecord();
  block->setName("TAG");
  AcDbObjectId blockId;
  ASSERT_EQ(table->add(blockId, block), Acad::eOk);
  table->close();
  AcDbCircle* circle = new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 10);
  block->appendAcDbEntity(circle);
  circle->close();
  block->close();

  square(0, 0, 1000);
  AcDbBlockReference* ref = new AcDbBlockReference(AcGePoint3d(500, 500, 0), blockId);
  ref->setScaleFactors(AcGeScale3d(2, 2, 1));
  const AcDbObjectId refId = append(ref);
  AcDbLine* paperLine = new AcDbLine(AcGePoint3d(0, 500, 0), AcGePoint3d(1000, 500, 0));
  append(paperLine, ACDB_PAPER_SPACE);

  // Scaled by 2 the circle has radius 20 about (500,500).
  EXPECT_EQ(pick(520, 500), refId);
  EXPECT_EQ(pick(200, 500), AcDbObjectId::kNull) << "paper-space geometry is not pickable in model space";

  const std::vector<cadhost::Shape> shapes = cadhost::drawingShapesForSvg(db);
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[1].kind, cadhost::Shape::Circle);
  EXPECT_DOUBLE_EQ(shapes[1].radius, 20);
  EXPECT_DOUBLE_EQ(shapes[1].center.x, 500);
}

}  // namespace
