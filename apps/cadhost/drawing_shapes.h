// drawing_shapes.h - the 2D geometry of model space, entity by entity, for picking and SVG.
#pragma once
#include <vector>

#include "dbid.h"
#include "geometry.h"

class AcDbDatabase;

namespace cadhost {

struct EntityShapes {
  AcDbObjectId id;            // the model-space entity (a block reference stands for its contents)
  std::vector<Shape> shapes;  // in world coordinates
};

// Every entity of the database's model space in drawing order (the last one is on top), with
// the shapes it draws: polylines with their arcs, lines, circles, texts, and for a block
// reference the geometry of its block (transformed) plus its attributes' texts. Entities that
// draw nothing the host knows (proxies) are left out.
std::vector<EntityShapes> modelSpaceShapes(AcDbDatabase* db);

// All shapes of model space in drawing order, for rendering.
std::vector<Shape> drawingShapesForSvg(AcDbDatabase* db);
// The same, the shapes of marked entities drawn in their label's colour (svg_marks.h).
struct SvgMarks;
std::vector<Shape> drawingShapesForSvg(AcDbDatabase* db, const SvgMarks& marks);

// The pick aperture in drawing units for a drawing whose shapes span `extents`: one hundredth
// of the larger side, so a pick point within that distance of an outline picks it.
double pickAperture(const Box& extents);

// The entity whose geometry passes closest to the point, within the aperture; the topmost
// (latest drawn) wins a tie. Answers false when nothing is that close.
bool pickEntity(const std::vector<EntityShapes>& entities, const Pt& point, AcDbObjectId& picked);

}  // namespace cadhost
