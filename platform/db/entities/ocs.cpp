// ocs.cpp - the object coordinate system of planar entities (see ocs.h).
#include "db/entities/ocs.h"

#include <cmath>

namespace pf {

namespace {

Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 unit(const Vec3& v) {
  const double len = std::sqrt(dot(v, v));
  if (len == 0.0) return {0.0, 0.0, 1.0};
  return {v.x / len, v.y / len, v.z / len};
}

}  // namespace

Ocs::Ocs(const Vec3& normal) {
  if (normal.x == 0.0 && normal.y == 0.0 && normal.z == 1.0) {
    // Nearly every entity: the world system, without the arithmetic below (same result).
    mN = {0.0, 0.0, 1.0};
    mAx = {1.0, 0.0, 0.0};
    mAy = {0.0, 1.0, 0.0};
    mWorld = true;
    return;
  }
  mN = unit(normal);
  mWorld = isDefaultNormal(mN);
  const double limit = 1.0 / 64.0;
  if (std::fabs(mN.x) < limit && std::fabs(mN.y) < limit)
    mAx = unit(cross({0.0, 1.0, 0.0}, mN));
  else
    mAx = unit(cross({0.0, 0.0, 1.0}, mN));
  mAy = unit(cross(mN, mAx));
}

Vec3 Ocs::toWorld(const Vec3& p) const {
  if (mWorld) return p;
  return {p.x * mAx.x + p.y * mAy.x + p.z * mN.x, p.x * mAx.y + p.y * mAy.y + p.z * mN.y,
          p.x * mAx.z + p.y * mAy.z + p.z * mN.z};
}

Vec3 Ocs::toOcs(const Vec3& p) const {
  if (mWorld) return p;
  return {dot(p, mAx), dot(p, mAy), dot(p, mN)};
}

bool isDefaultNormal(const Vec3& n) {
  const double len = std::sqrt(dot(n, n));
  if (len == 0.0) return false;
  return std::fabs(n.x) <= 1e-12 * len && std::fabs(n.y) <= 1e-12 * len && n.z > 0.0;
}

}  // namespace pf
