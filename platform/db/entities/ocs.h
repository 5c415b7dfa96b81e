// ocs.h - the object coordinate system of planar entities (the "arbitrary axis" rule).
//
// Planar entities (polyline, circle, text, block reference) keep their in-plane coordinates in
// a system derived from their normal alone, so that a drawing file needs only the normal to
// place them. The rule: if the normal is within 1/64 of the world Z axis, the OCS X axis is
// world Y x normal, otherwise world Z x normal; the Y axis completes a right-handed system.
#pragma once

namespace pf {

struct Vec3 {
  double x, y, z;
};

class Ocs {
 public:
  // normal need not be unit length but must not be zero.
  explicit Ocs(const Vec3& normal);

  Vec3 toWorld(const Vec3& p) const;  // OCS coordinates -> WCS
  Vec3 toOcs(const Vec3& p) const;    // WCS -> OCS coordinates
  bool isWorld() const { return mWorld; }

 private:
  Vec3 mAx, mAy, mN;
  bool mWorld;
};

// True when the vector is (0,0,1) within a relative tolerance of 1e-12, the normal every
// drawing format leaves out.
bool isDefaultNormal(const Vec3& n);

}  // namespace pf
