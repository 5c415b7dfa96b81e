// ge.cpp - geometry constants and the 3D transformation matrix.
#include <cmath>
#include <cstring>
#include "gegbl.h"
#include "gepnt2d.h"
#include "gevec2d.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "gescl3d.h"
#include "gemat3d.h"

AcGeTol AcGeContext::gTol;

const AcGeVector2d AcGeVector2d::kIdentity(1.0, 1.0);
const AcGeVector2d AcGeVector2d::kXAxis(1.0, 0.0);
const AcGeVector2d AcGeVector2d::kYAxis(0.0, 1.0);
const AcGePoint2d AcGePoint2d::kOrigin(0.0, 0.0);
const AcGeVector3d AcGeVector3d::kIdentity(1.0, 1.0, 1.0);
const AcGeVector3d AcGeVector3d::kXAxis(1.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kYAxis(0.0, 1.0, 0.0);
const AcGeVector3d AcGeVector3d::kZAxis(0.0, 0.0, 1.0);
const AcGePoint3d AcGePoint3d::kOrigin(0.0, 0.0, 0.0);
const AcGeScale3d AcGeScale3d::kIdentity(1.0, 1.0, 1.0);
const AcGeMatrix3d AcGeMatrix3d::kIdentity;

AcGeMatrix3d::AcGeMatrix3d() { setToIdentity(); }

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) entry[r][c] = r == c ? 1.0 : 0.0;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& vec) {
  setToIdentity();
  entry[0][3] = vec.x;
  entry[1][3] = vec.y;
  entry[2][3] = vec.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double s, const AcGePoint3d& center) {
  setToIdentity();
  for (int i = 0; i < 3; ++i) {
    entry[i][i] = s;
    entry[i][3] = (1.0 - s) * center[i];
  }
  return *this;
}

// Rodrigues' rotation about an axis through center (counter-clockwise looking down the axis).
AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
  AcGeVector3d u = axis.normal();
  double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
  setToIdentity();
  entry[0][0] = t * u.x * u.x + c;
  entry[0][1] = t * u.x * u.y - s * u.z;
  entry[0][2] = t * u.x * u.z + s * u.y;
  entry[1][0] = t * u.x * u.y + s * u.z;
  entry[1][1] = t * u.y * u.y + c;
  entry[1][2] = t * u.y * u.z - s * u.x;
  entry[2][0] = t * u.x * u.z - s * u.y;
  entry[2][1] = t * u.y * u.z + s * u.x;
  entry[2][2] = t * u.z * u.z + c;
  for (int r = 0; r < 3; ++r) {
    double moved = entry[r][0] * center.x + entry[r][1] * center.y + entry[r][2] * center.z;
    entry[r][3] = center[r] - moved;
  }
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& p) {
  setToScaling(-1.0, p);
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                           const AcGeVector3d& yAxis, const AcGeVector3d& zAxis) {
  setToIdentity();
  for (int r = 0; r < 3; ++r) {
    entry[r][0] = xAxis[r];
    entry[r][1] = yAxis[r];
    entry[r][2] = zAxis[r];
    entry[r][3] = origin[r];
  }
  return *this;
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& vec) { return AcGeMatrix3d().setToTranslation(vec); }
AcGeMatrix3d AcGeMatrix3d::scaling(double s, const AcGePoint3d& center) { return AcGeMatrix3d().setToScaling(s, center); }
AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
  return AcGeMatrix3d().setToRotation(angle, axis, center);
}

// The arbitrary axis algorithm of the drawing format: the object's X axis is derived from the
// normal so that every program computes the same object coordinate system.
AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal) {
  AcGeVector3d n = normal.normal();
  AcGeVector3d ax;
  if (std::fabs(n.x) < 1.0 / 64 && std::fabs(n.y) < 1.0 / 64)
    ax = AcGeVector3d::kYAxis.crossProduct(n).normal();
  else
    ax = AcGeVector3d::kZAxis.crossProduct(n).normal();
  AcGeVector3d ay = n.crossProduct(ax).normal();
  return AcGeMatrix3d().setCoordSystem(AcGePoint3d::kOrigin, ax, ay, n);
}

AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& normal) { return planeToWorld(normal).inverse(); }

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
  AcGeMatrix3d out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += entry[r][k] * m.entry[k][c];
      out.entry[r][c] = sum;
    }
  return out;
}

AcGeMatrix3d& AcGeMatrix3d::operator*=(const AcGeMatrix3d& m) { return *this = *this * m; }
AcGeMatrix3d& AcGeMatrix3d::preMultBy(const AcGeMatrix3d& left) { return *this = left * *this; }
AcGeMatrix3d& AcGeMatrix3d::postMultBy(const AcGeMatrix3d& right) { return *this = *this * right; }
AcGeMatrix3d& AcGeMatrix3d::setToProduct(const AcGeMatrix3d& m1, const AcGeMatrix3d& m2) { return *this = m1 * m2; }

double AcGeMatrix3d::det() const {
  // Affine matrices: the determinant of the 3x3 linear part (the last row is 0 0 0 1).
  const double(*a)[4] = entry;
  return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
         a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const { return std::fabs(det()) <= tol.equalVector(); }

AcGeMatrix3d AcGeMatrix3d::inverse() const {
  AcGeMatrix3d out;
  double d = det();
  if (d == 0.0) return out;  // singular: identity, as there is no inverse
  const double(*a)[4] = entry;
  double inv[3][3];
  inv[0][0] = (a[1][1] * a[2][2] - a[1][2] * a[2][1]) / d;
  inv[0][1] = (a[0][2] * a[2][1] - a[0][1] * a[2][2]) / d;
  inv[0][2] = (a[0][1] * a[1][2] - a[0][2] * a[1][1]) / d;
  inv[1][0] = (a[1][2] * a[2][0] - a[1][0] * a[2][2]) / d;
  inv[1][1] = (a[0][0] * a[2][2] - a[0][2] * a[2][0]) / d;
  inv[1][2] = (a[0][2] * a[1][0] - a[0][0] * a[1][2]) / d;
  inv[2][0] = (a[1][0] * a[2][1] - a[1][1] * a[2][0]) / d;
  inv[2][1] = (a[0][1] * a[2][0] - a[0][0] * a[2][1]) / d;
  inv[2][2] = (a[0][0] * a[1][1] - a[0][1] * a[1][0]) / d;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) out.entry[r][c] = inv[r][c];
    out.entry[r][3] = -(inv[r][0] * a[0][3] + inv[r][1] * a[1][3] + inv[r][2] * a[2][3]);
  }
  return out;
}

AcGeMatrix3d& AcGeMatrix3d::invert() { return *this = inverse(); }

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (std::fabs(entry[r][c] - m.entry[r][c]) > tol.equalVector()) return false;
  return true;
}

double AcGeMatrix3d::scale() const {
  double best = 0.0;
  for (int c = 0; c < 3; ++c) {
    double len = std::sqrt(entry[0][c] * entry[0][c] + entry[1][c] * entry[1][c] + entry[2][c] * entry[2][c]);
    if (len > best) best = len;
  }
  return best;
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
  AcGeVector3d cols[3];
  for (int c = 0; c < 3; ++c) cols[c] = AcGeVector3d(entry[0][c], entry[1][c], entry[2][c]);
  double l = cols[0].length();
  double eps = tol.equalVector() * (l + 1.0) * 1e3;
  for (int c = 1; c < 3; ++c)
    if (std::fabs(cols[c].length() - l) > eps) return false;
  return std::fabs(cols[0].dotProduct(cols[1])) <= eps * l && std::fabs(cols[0].dotProduct(cols[2])) <= eps * l &&
         std::fabs(cols[1].dotProduct(cols[2])) <= eps * l;
}

AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
  return AcGeVector3d(m.entry[0][0] * v.x + m.entry[0][1] * v.y + m.entry[0][2] * v.z,
                      m.entry[1][0] * v.x + m.entry[1][1] * v.y + m.entry[1][2] * v.z,
                      m.entry[2][0] * v.x + m.entry[2][1] * v.y + m.entry[2][2] * v.z);
}

AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
  return AcGePoint3d(m.entry[0][0] * p.x + m.entry[0][1] * p.y + m.entry[0][2] * p.z + m.entry[0][3],
                     m.entry[1][0] * p.x + m.entry[1][1] * p.y + m.entry[1][2] * p.z + m.entry[1][3],
                     m.entry[2][0] * p.x + m.entry[2][1] * p.y + m.entry[2][2] * p.z + m.entry[2][3]);
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }
AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }
