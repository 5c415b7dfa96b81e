// outline.h - a room's outline as the plane figure its polyline bounds.
//
// An Outline holds a lightweight polyline's vertices and bulges in the polyline's own
// coordinate system (OCS), so that arcs are taken exactly and a polyline drawn with a mirrored
// or tilted normal is seen from its own side. Points of the world are brought into that system
// (projected along the normal) before they are tested. Coordinates are kept relative to the
// first vertex, so that plans far from the origin lose no precision.
#pragma once

#include <vector>

#include "gemat3d.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcDbPolyline;

namespace toolkit {

// An axis-aligned box of plane coordinates.
struct Box {
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
  bool contains(double x, double y) const { return x >= minX && x <= maxX && y >= minY && y <= maxY; }
};

class Outline {
public:
  // Takes the polyline's vertices, bulges, normal and closed flag; the polyline is open for read.
  explicit Outline(const AcDbPolyline* polyline);
  // An outline of vertices (x, y, bulge) in the plane of `normal`, for tests.
  Outline(const std::vector<AcGePoint2d>& points, const std::vector<double>& bulges,
          const AcGeVector3d& normal, bool closed);

  bool isClosed() const { return m_closed; }
  // Fewer than three distinct vertices and no arc: it bounds nothing.
  bool isDegenerate() const;
  const AcGeVector3d& normal() const { return m_normal; }
  // The box of the outline (arcs included) in plane coordinates.
  const Box& box() const { return m_box; }

  // The point of the world in this outline's plane coordinates (the distance along the normal
  // is dropped).
  AcGePoint2d toPlane(const AcGePoint3d& world) const;
  // True when the plane point lies strictly inside: on the outline (within a tolerance scaled
  // to the outline's size) is outside. A self-intersecting outline contains what the even-odd
  // rule puts inside, as a hatch fills it. An open outline is taken as closed by a straight
  // edge from its last vertex to its first.
  bool strictlyContains(const AcGePoint2d& planePoint) const;

  // The enclosed area by the shoelace formula with the circular segments of the arcs (signed:
  // positive counter-clockwise).
  double signedArea() const;
  // The length of the outline, its closing segment included when it is closed.
  double perimeter() const;

private:
  void build();

  struct Vertex {
    double x, y;   // relative to the origin below
    double bulge;
  };
  std::vector<Vertex> m_vertices;
  AcGePoint2d m_origin;
  AcGeVector3d m_normal;
  AcGeMatrix3d m_worldToPlane;
  bool m_closed = false;
  Box m_box;
  double m_tolerance = 0.0;
};

}  // namespace toolkit
