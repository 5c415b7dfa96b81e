// entity_util.h - small helpers shared by the entity classes: input checks, vector arithmetic,
// similarity transforms, DXF angle units and the fault-injection check at the top of a call.
#pragma once
#include <cmath>

#include "acadstrc.h"
#include "db/entities/ocs.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "pf/faults.h"

class AcGeMatrix3d;

// Answers the injected status of the named call, if a test armed one, before doing anything.
#define PF_FAULT_CHECK(name)                                      \
  do {                                                            \
    const Acad::ErrorStatus pfInjected_ = pf::injectedFault(name); \
    if (pfInjected_ != Acad::eOk) return pfInjected_;             \
  } while (0)

namespace pf {

inline bool finite(double v) { return std::isfinite(v); }
inline bool finite(const AcGePoint3d& p) { return finite(p.x) && finite(p.y) && finite(p.z); }
inline bool finite(const AcGeVector3d& v) { return finite(v.x) && finite(v.y) && finite(v.z); }

inline Vec3 toVec3(const AcGeVector3d& v) { return {v.x, v.y, v.z}; }
inline Vec3 toVec3(const AcGePoint3d& p) { return {p.x, p.y, p.z}; }
inline AcGePoint3d toPoint(const Vec3& v) { return AcGePoint3d(v.x, v.y, v.z); }
inline AcGeVector3d toVector(const Vec3& v) { return AcGeVector3d(v.x, v.y, v.z); }

inline Vec3 sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double length(const Vec3& a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(const Vec3& a) {
  const double l = length(a);
  return l == 0.0 ? Vec3{0.0, 0.0, 1.0} : Vec3{a.x / l, a.y / l, a.z / l};
}

// A normal must be finite and not zero; it is stored with unit length.
bool unitNormal(const AcGeVector3d& in, AcGeVector3d& out);

// An affine map x -> scale * R x + t with R orthogonal (a rotation, possibly with a mirror).
// These are the maps that keep circles circles, so they are the ones planar entities accept.
struct Similarity {
  double m[3][3];  // scale * R
  double t[3];
  double scale;
  bool mirror;     // det R < 0

  Vec3 apply(const Vec3& p) const {
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + t[0],
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + t[1],
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + t[2]};
  }
  Vec3 applyLinear(const Vec3& v) const {
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
            m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
  }
};

// The image of a plane's normal: for a similarity, normals map like directions. Under a mirror
// the plane's orientation (and so the turning sense seen from the normal) is reversed.
inline Vec3 mapNormal(const Similarity& sim, const Vec3& n) { return normalized(sim.applyLinear(n)); }

// Decomposes a matrix into a similarity. False for projective, degenerate or non-uniformly
// scaling matrices (relative tolerance 1e-10).
bool similarityOf(const AcGeMatrix3d& xform, Similarity& out);

// DXF writes angles in degrees; the API uses radians.
inline double toRadians(double degrees) { return degrees * (3.14159265358979323846 / 180.0); }
// Of the degrees that toRadians turns into exactly `radians`, the one with the fewest digits:
// an angle read as 30.0 is written as 30.0 again, not as 29.999999999999996.
double toDegrees(double radians);

}  // namespace pf
