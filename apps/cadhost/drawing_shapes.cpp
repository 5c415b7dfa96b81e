// Model-space geometry for picking and rendering, read through the database API: every entity
// is opened for read, measured and closed again.
#include "drawing_shapes.h"
#include "svg_marks.h"

#include <cmath>
#include <memory>

#include "acutmem.h"
#include "dbents.h"
#include "dbmain.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "gemat3d.h"
#include "text_util.h"

namespace cadhost {
namespace {

const int kMaxBlockNesting = 16;  // guards against a block that (indirectly) contains itself

Pt apply(const AcGeMatrix3d& m, double x, double y) {
  AcGePoint3d p(x, y, 0);
  p.transformBy(m);
  return Pt{p.x, p.y};
}

// Scale of a matrix along x (for radii and text heights of transformed block contents).
double matrixScale(const AcGeMatrix3d& m) {
  const Pt o = apply(m, 0, 0), e = apply(m, 1, 0);
  return std::hypot(e.x - o.x, e.y - o.y);
}

double matrixAngle(const AcGeMatrix3d& m) {
  const Pt o = apply(m, 0, 0), e = apply(m, 1, 0);
  return std::atan2(e.y - o.y, e.x - o.x);
}

void textShape(const AcDbText* text, const AcGeMatrix3d& m, std::vector<Shape>& out) {
  Shape s;
  s.kind = Shape::Text;
  const AcGePoint3d p = text->position();
  s.center = apply(m, p.x, p.y);
  s.radius = text->height() * matrixScale(m);
  s.rotation = text->rotation() + matrixAngle(m);
  s.text = takeHostString(text->textString());
  if (!s.text.empty()) out.push_back(s);
}

void appendBlockShapes(AcDbObjectId blockId, const AcGeMatrix3d& m, int depth, std::vector<Shape>& out);

// The shapes of one entity; block references recurse into their block.
void entityShapes(AcDbEntity* ent, const AcGeMatrix3d& m, int depth, std::vector<Shape>& out) {
  if (AcDbPolyline* pl = AcDbPolyline::cast(ent)) {
    Shape s;
    s.kind = Shape::Polyline;
    s.closed = pl->isClosed();
    // A mirroring transform flips the sense of every arc.
    const Pt o = apply(m, 0, 0), ex = apply(m, 1, 0), ey = apply(m, 0, 1);
    const double det = (ex.x - o.x) * (ey.y - o.y) - (ex.y - o.y) * (ey.x - o.x);
    for (unsigned int i = 0; i < pl->numVerts(); ++i) {
      AcGePoint3d p;
      double bulge = 0;
      pl->getPointAt(i, p);
      pl->getBulgeAt(i, bulge);
      s.points.push_back(apply(m, p.x, p.y));
      s.bulges.push_back(det < 0 ? -bulge : bulge);
    }
    if (!s.points.empty()) out.push_back(s);
  } else if (AcDbLine* line = AcDbLine::cast(ent)) {
    Shape s;
    s.kind = Shape::Line;
    const AcGePoint3d a = line->startPoint(), b = line->endPoint();
    s.points = {apply(m, a.x, a.y), apply(m, b.x, b.y)};
    out.push_back(s);
  } else if (AcDbCircle* circle = AcDbCircle::cast(ent)) {
    Shape s;
    s.kind = Shape::Circle;
    const AcGePoint3d c = circle->center();
    s.center = apply(m, c.x, c.y);
    s.radius = circle->radius() * matrixScale(m);
    out.push_back(s);
  } else if (AcDbBlockReference* ref = AcDbBlockReference::cast(ent)) {
    if (depth < kMaxBlockNesting) appendBlockShapes(ref->blockTableRecord(), m * ref->blockTransform(), depth + 1, out);
    // Attributes already stand in world coordinates of the reference's space.
    std::unique_ptr<AcDbObjectIterator> it(ref->attributeIterator());
    for (; it && !it->done(); it->step()) {
      AcDbAttribute* att = nullptr;
      if (ref->openAttribute(att, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
      if (!att->isInvisible()) textShape(att, m, out);
      att->close();
    }
  } else if (AcDbAttributeDefinition::cast(ent)) {
    // Attribute definitions show only in the block editor; their references show the values.
  } else if (AcDbText* text = AcDbText::cast(ent)) {
    textShape(text, m, out);
  }
}

void appendBlockShapes(AcDbObjectId blockId, const AcGeMatrix3d& m, int depth, std::vector<Shape>& out) {
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, blockId, AcDb::kForRead) != Acad::eOk) return;
  // Block contents are defined relative to the block's base point.
  const AcGeMatrix3d toBase = AcGeMatrix3d::translation(AcGePoint3d::kOrigin - block->origin());
  AcDbBlockTableRecordIterator* it = nullptr;
  if (block->newIterator(it) == Acad::eOk) {
    for (; !it->done(); it->step()) {
      AcDbEntity* ent = nullptr;
      if (it->getEntity(ent, AcDb::kForRead) != Acad::eOk) continue;
      entityShapes(ent, m * toBase, depth, out);
      ent->close();
    }
    delete it;
  }
  block->close();
}

double distanceToShape(const Shape& s, const Pt& p) {
  double best = 1e300;
  switch (s.kind) {
    case Shape::Polyline: {
      const size_t n = s.points.size();
      if (n == 1) return std::hypot(p.x - s.points[0].x, p.y - s.points[0].y);
      const size_t segments = s.closed ? n : n - 1;
      for (size_t i = 0; i < segments; ++i)
        best = std::min(best, distanceToSegment(p, s.points[i], s.points[(i + 1) % n], s.bulges[i]));
      return best;
    }
    case Shape::Line:
      return distanceToSegment(p, s.points[0], s.points[1], 0);
    case Shape::Circle:
      return distanceToCircle(p, s.center, s.radius);
    case Shape::Text: {
      // The text's box: from its position along its direction, 0.6 height per character.
      const double c = std::cos(-s.rotation), si = std::sin(-s.rotation);
      const double dx = p.x - s.center.x, dy = p.y - s.center.y;
      const double lx = dx * c - dy * si, ly = dx * si + dy * c;
      const double w = s.radius * 0.6 * static_cast<double>(s.text.size()), h = s.radius;
      const double ox = lx < 0 ? -lx : (lx > w ? lx - w : 0);
      const double oy = ly < 0 ? -ly : (ly > h ? ly - h : 0);
      return std::hypot(ox, oy);
    }
  }
  return best;
}

}  // namespace

std::vector<EntityShapes> modelSpaceShapes(AcDbDatabase* db) {
  std::vector<EntityShapes> result;
  if (!db) return result;
  AcDbBlockTable* table = nullptr;
  if (db->getSymbolTable(table, AcDb::kForRead) != Acad::eOk) return result;
  AcDbBlockTableRecord* space = nullptr;
  Acad::ErrorStatus es = table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
  table->close();
  if (es != Acad::eOk) return result;
  AcDbBlockTableRecordIterator* it = nullptr;
  if (space->newIterator(it) == Acad::eOk) {
    for (; !it->done(); it->step()) {
      AcDbEntity* ent = nullptr;
      if (it->getEntity(ent, AcDb::kForRead) != Acad::eOk) continue;
      EntityShapes e;
      e.id = ent->objectId();
      entityShapes(ent, AcGeMatrix3d::kIdentity, 0, e.shapes);
      ent->close();
      if (!e.shapes.empty()) result.push_back(std::move(e));
    }
    delete it;
  }
  space->close();
  return result;
}

std::vector<Shape> drawingShapesForSvg(AcDbDatabase* db) {
  std::vector<Shape> all;
  for (EntityShapes& e : modelSpaceShapes(db))
    for (Shape& s : e.shapes) all.push_back(std::move(s));
  return all;
}

std::vector<Shape> drawingShapesForSvg(AcDbDatabase* db, const SvgMarks& marks) {
  std::vector<Shape> all;
  for (EntityShapes& e : modelSpaceShapes(db)) {
    const std::string colour = markColour(marks, e.id);
    for (Shape& s : e.shapes) {
      s.stroke = colour;
      all.push_back(std::move(s));
    }
  }
  return all;
}

double pickAperture(const Box& extents) {
  if (extents.empty()) return 1e-9;
  const double side = std::max(extents.maxX - extents.minX, extents.maxY - extents.minY);
  return std::max(side / 100.0, 1e-9);
}

bool pickEntity(const std::vector<EntityShapes>& entities, const Pt& point, AcDbObjectId& picked) {
  Box extents;
  for (const EntityShapes& e : entities)
    for (const Shape& s : e.shapes) {
      if (s.kind == Shape::Circle) {
        extents.add(Pt{s.center.x - s.radius, s.center.y - s.radius});
        extents.add(Pt{s.center.x + s.radius, s.center.y + s.radius});
      } else if (s.kind == Shape::Text) {
        extents.add(s.center);
      } else {
        for (const Pt& p : s.points) extents.add(p);
      }
    }
  const double aperture = pickAperture(extents);
  double best = 1e300;
  bool found = false;
  for (const EntityShapes& e : entities) {
    for (const Shape& s : e.shapes) {
      const double d = distanceToShape(s, point);
      // '<=' so that a later (topmost) entity wins an exact tie.
      if (d <= aperture && d <= best) {
        best = d;
        picked = e.id;
        found = true;
      }
    }
  }
  return found;
}

}  // namespace cadhost
