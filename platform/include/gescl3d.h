// gescl3d.h - scale factors along the three axes.
#pragma once
#include "gegbl.h"
#include <cmath>

class AcGeScale3d {
public:
  AcGeScale3d() : sx(1.0), sy(1.0), sz(1.0) {}
  explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
  AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}

  static const AcGeScale3d kIdentity;

  AcGeScale3d operator*(double f) const { return AcGeScale3d(sx * f, sy * f, sz * f); }
  bool operator==(const AcGeScale3d& s) const { return isEqualTo(s); }
  bool operator!=(const AcGeScale3d& s) const { return !isEqualTo(s); }
  double operator[](unsigned int i) const { return i == 0 ? sx : (i == 1 ? sy : sz); }
  double& operator[](unsigned int i) { return i == 0 ? sx : (i == 1 ? sy : sz); }
  bool isEqualTo(const AcGeScale3d& s, const AcGeTol& tol = AcGeContext::gTol) const {
    return std::fabs(sx - s.sx) <= tol.equalVector() && std::fabs(sy - s.sy) <= tol.equalVector() &&
           std::fabs(sz - s.sz) <= tol.equalVector();
  }
  AcGeScale3d& set(double x, double y, double z) { sx = x; sy = y; sz = z; return *this; }

  double sx, sy, sz;
};
