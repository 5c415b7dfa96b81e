// gepnt3d.h - a point in space.
#pragma once
#include "gevec3d.h"
#include "gepnt2d.h"

class AcGeMatrix3d;

class AcGePoint3d {
public:
  AcGePoint3d() : x(0.0), y(0.0), z(0.0) {}
  AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

  static const AcGePoint3d kOrigin;

  AcGePoint3d operator+(const AcGeVector3d& v) const { return AcGePoint3d(x + v.x, y + v.y, z + v.z); }
  AcGePoint3d operator-(const AcGeVector3d& v) const { return AcGePoint3d(x - v.x, y - v.y, z - v.z); }
  AcGeVector3d operator-(const AcGePoint3d& p) const { return AcGeVector3d(x - p.x, y - p.y, z - p.z); }
  AcGePoint3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
  AcGePoint3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
  bool operator!=(const AcGePoint3d& p) const { return !isEqualTo(p); }
  double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

  double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
  bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  AcGeVector3d asVector() const { return AcGeVector3d(x, y, z); }
  AcGePoint2d convert2d() const { return AcGePoint2d(x, y); }
  AcGePoint3d& transformBy(const AcGeMatrix3d& leftSide);
  AcGePoint3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }

  double x, y, z;
};

AcGePoint3d operator*(const AcGeMatrix3d& mat, const AcGePoint3d& pnt);
