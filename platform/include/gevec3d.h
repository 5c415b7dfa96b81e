// gevec3d.h - a vector in space.
#pragma once
#include <cmath>
#include "gegbl.h"

class AcGeMatrix3d;

class AcGeVector3d {
public:
  AcGeVector3d() : x(0.0), y(0.0), z(0.0) {}
  AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

  static const AcGeVector3d kIdentity;
  static const AcGeVector3d kXAxis;
  static const AcGeVector3d kYAxis;
  static const AcGeVector3d kZAxis;

  AcGeVector3d operator*(double s) const { return AcGeVector3d(x * s, y * s, z * s); }
  AcGeVector3d operator/(double s) const { return AcGeVector3d(x / s, y / s, z / s); }
  AcGeVector3d operator+(const AcGeVector3d& v) const { return AcGeVector3d(x + v.x, y + v.y, z + v.z); }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return AcGeVector3d(x - v.x, y - v.y, z - v.z); }
  AcGeVector3d operator-() const { return AcGeVector3d(-x, -y, -z); }
  AcGeVector3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
  AcGeVector3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  AcGeVector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
  bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
  bool operator!=(const AcGeVector3d& v) const { return !isEqualTo(v); }
  double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

  double length() const { return std::sqrt(x * x + y * y + z * z); }
  double lengthSqrd() const { return x * x + y * y + z * z; }
  double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  AcGeVector3d crossProduct(const AcGeVector3d& v) const {
    return AcGeVector3d(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
  }
  AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const {
    double l = length();
    return l <= tol.equalVector() ? *this : AcGeVector3d(x / l, y / l, z / l);
  }
  AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol) { *this = normal(tol); return *this; }
  bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
  bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const {
    return std::fabs(length() - 1.0) <= tol.equalVector();
  }
  bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const {
    return (*this - v).length() <= tol.equalVector();
  }
  bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const {
    return crossProduct(v).length() <= tol.equalVector() * (length() * v.length() + 1.0);
  }
  // The vector transformed by the linear part of the matrix (translation does not apply).
  AcGeVector3d& transformBy(const AcGeMatrix3d& leftSide);
  AcGeVector3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }

  double x, y, z;
};

inline AcGeVector3d operator*(double s, const AcGeVector3d& v) { return v * s; }
