// entity_util.cpp - helpers shared by the entity classes (see entity_util.h).
#include "db/entities/entity_util.h"

#include <charconv>
#include <cmath>

#include "gemat3d.h"

namespace pf {

bool unitNormal(const AcGeVector3d& in, AcGeVector3d& out) {
  if (!finite(in)) return false;
  const double len = std::sqrt(in.x * in.x + in.y * in.y + in.z * in.z);
  if (!(len > 0.0) || !std::isfinite(len)) return false;
  out = AcGeVector3d(in.x / len, in.y / len, in.z / len);
  return true;
}

bool similarityOf(const AcGeMatrix3d& xform, Similarity& out) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (!std::isfinite(xform.entry[r][c])) return false;
  // No projective part.
  if (xform.entry[3][0] != 0.0 || xform.entry[3][1] != 0.0 || xform.entry[3][2] != 0.0 ||
      xform.entry[3][3] != 1.0)
    return false;

  Vec3 col[3];
  for (int c = 0; c < 3; ++c) col[c] = {xform.entry[0][c], xform.entry[1][c], xform.entry[2][c]};
  const double s0 = length(col[0]), s1 = length(col[1]), s2 = length(col[2]);
  if (!(s0 > 0.0)) return false;
  const double tol = 1e-10 * s0;
  // Equal column lengths and mutually orthogonal columns: a scaled rotation or mirror.
  if (std::fabs(s1 - s0) > tol || std::fabs(s2 - s0) > tol) return false;
  const double s2sq = s0 * s0;
  if (std::fabs(dot(col[0], col[1])) > 1e-10 * s2sq || std::fabs(dot(col[0], col[2])) > 1e-10 * s2sq ||
      std::fabs(dot(col[1], col[2])) > 1e-10 * s2sq)
    return false;

  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) out.m[r][c] = xform.entry[r][c];
    out.t[r] = xform.entry[r][3];
  }
  out.scale = s0;
  out.mirror = dot(cross(col[0], col[1]), col[2]) < 0.0;
  return true;
}

double toDegrees(double radians) {
  const double degrees = radians * (180.0 / 3.14159265358979323846);
  if (radians == 0.0 || !std::isfinite(degrees)) return degrees;
  char text[40];
  for (int digits = 1; digits <= 17; ++digits) {
    auto r = std::to_chars(text, text + sizeof text, degrees, std::chars_format::general, digits);
    double shorter = 0;
    std::from_chars(text, r.ptr, shorter);
    if (toRadians(shorter) == radians) return shorter;
  }
  return degrees;
}

}  // namespace pf
