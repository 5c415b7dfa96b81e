// polyline_geom.cpp - AcDbPolyline as a curve: parameters, points along it, lengths and
// extents. Arcs are worked out in the polyline's plane (OCS) from the bulge of their start
// vertex, then mapped to the world.
#include "dbpl.h"

#include <cmath>

#include "db/entities/entity_util.h"
#include "db/entities/ocs.h"
#include "pf/bulge.h"

namespace {

const double kPi = 3.14159265358979323846;

// One segment in the OCS plane: straight, or an arc of centre (cx, cy), radius r, starting at
// angle a0 and sweeping `sweep` (> 0 counter-clockwise).
struct Segment {
  double ax, ay, bx, by;
  bool arc = false;
  double cx = 0, cy = 0, r = 0, a0 = 0, sweep = 0;

  Segment(double x0, double y0, double x1, double y1, double bulge)
      : ax(x0), ay(y0), bx(x1), by(y1) {
    pf::BulgeArc a;
    if (!pf::bulgeArc(x0, y0, x1, y1, bulge, a)) return;
    arc = true;
    cx = a.cx;
    cy = a.cy;
    r = a.radius;
    a0 = a.startAngle;
    sweep = a.sweep;
  }

  void pointAt(double t, double& x, double& y) const {
    if (!arc) {
      x = ax + (bx - ax) * t;
      y = ay + (by - ay) * t;
      return;
    }
    if (t == 1.0) {  // exact end point
      x = bx;
      y = by;
      return;
    }
    x = cx + r * std::cos(a0 + sweep * t);
    y = cy + r * std::sin(a0 + sweep * t);
  }

  double lengthTo(double t) const {
    if (arc) return r * std::fabs(sweep) * t;
    return std::hypot(bx - ax, by - ay) * t;
  }
};

}  // namespace

size_t AcDbPolyline::segmentCount() const {
  if (mVertices.size() < 2) return 0;
  return mClosed ? mVertices.size() : mVertices.size() - 1;
}

Acad::ErrorStatus AcDbPolyline::getStartParam(double& param) const {
  assertReadEnabled();
  if (mVertices.empty()) return Acad::eInvalidInput;
  param = 0.0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& param) const {
  assertReadEnabled();
  if (mVertices.empty()) return Acad::eInvalidInput;
  param = static_cast<double>(segmentCount());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& point) const {
  return getPointAtParam(0.0, point);
}

Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& point) const {
  double end = 0.0;
  const Acad::ErrorStatus es = getEndParam(end);
  if (es != Acad::eOk) return es;
  return getPointAtParam(end, point);
}

Acad::ErrorStatus AcDbPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
  assertReadEnabled();
  if (mVertices.empty()) return Acad::eInvalidInput;
  const size_t segs = segmentCount();
  if (!(param >= 0.0) || param > static_cast<double>(segs)) return Acad::eInvalidInput;
  double x = mVertices[0].pt.x, y = mVertices[0].pt.y;
  if (segs > 0) {
    size_t i = static_cast<size_t>(param);
    double t = param - static_cast<double>(i);
    if (i == segs) {  // the end parameter
      i = segs - 1;
      t = 1.0;
    }
    const Vertex& a = mVertices[i];
    const Vertex& b = mVertices[(i + 1) % mVertices.size()];
    Segment(a.pt.x, a.pt.y, b.pt.x, b.pt.y, a.bulge).pointAt(t, x, y);
  }
  point = pf::toPoint(pf::Ocs(pf::toVec3(mNormal)).toWorld({x, y, mElevation}));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  if (mVertices.empty()) return Acad::eInvalidInput;
  const size_t segs = segmentCount();
  if (!(param >= 0.0) || param > static_cast<double>(segs)) return Acad::eInvalidInput;
  double total = 0.0;
  for (size_t i = 0; i < segs && static_cast<double>(i) < param; ++i) {
    const Vertex& a = mVertices[i];
    const Vertex& b = mVertices[(i + 1) % mVertices.size()];
    const double t = std::fmin(1.0, param - static_cast<double>(i));
    total += Segment(a.pt.x, a.pt.y, b.pt.x, b.pt.y, a.bulge).lengthTo(t);
  }
  dist = total;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  if (mVertices.empty()) return Acad::eInvalidExtents;
  const pf::Ocs ocs(pf::toVec3(mNormal));
  AcDbExtents box;
  auto add = [&](double x, double y) {
    box.addPoint(pf::toPoint(ocs.toWorld({x, y, mElevation})));
  };
  for (const Vertex& v : mVertices) add(v.pt.x, v.pt.y);
  const size_t segs = segmentCount();
  for (size_t i = 0; i < segs; ++i) {
    const Vertex& a = mVertices[i];
    const Vertex& b = mVertices[(i + 1) % mVertices.size()];
    const Segment s(a.pt.x, a.pt.y, b.pt.x, b.pt.y, a.bulge);
    if (!s.arc) continue;
    if (ocs.isWorld()) {
      // In the world plane the box of an arc is set by its ends and the axis directions it
      // passes through.
      pf::BulgeArc a;
      a.cx = s.cx;
      a.cy = s.cy;
      a.radius = s.r;
      a.startAngle = s.a0;
      a.sweep = s.sweep;
      double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
      pf::addArcAxisExtremes(a, minX, minY, maxX, maxY);
      if (minX <= maxX) {
        add(minX, minY);
        add(maxX, maxY);
      }
    } else {
      // In a tilted plane the extreme points are not at the OCS axes: sample the arc densely
      // (at most 1/256 of a turn apart, so the box is within 0.008% of the radius).
      const int n = 1 + static_cast<int>(std::fabs(s.sweep) / (2.0 * kPi) * 256.0);
      for (int k = 1; k < n; ++k) {
        double x = 0, y = 0;
        s.pointAt(static_cast<double>(k) / n, x, y);
        add(x, y);
      }
    }
  }
  // Thickness extrudes along the normal.
  if (mThickness != 0.0) {
    AcDbExtents top = box;
    top.transformBy(AcGeMatrix3d::translation(mNormal * mThickness));
    box.addExt(top);
  }
  extents = box;
  return Acad::eOk;
}
