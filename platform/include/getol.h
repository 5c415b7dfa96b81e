// getol.h - tolerances used by the geometry classes to compare points and vectors.
#pragma once
#include "adesk.h"

class AcGeTol {
public:
  AcGeTol() : mEqualPoint(1e-10), mEqualVector(1e-12) {}
  double equalPoint() const { return mEqualPoint; }
  double equalVector() const { return mEqualVector; }
  void setEqualPoint(double val) { mEqualPoint = val; }
  void setEqualVector(double val) { mEqualVector = val; }

private:
  double mEqualPoint;
  double mEqualVector;
};
