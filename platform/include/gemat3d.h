// gemat3d.h - a 4x4 affine transformation in space (row-major, column vectors: p' = M p).
#pragma once
#include "gepnt3d.h"
#include "gevec3d.h"

class AcGeMatrix3d {
public:
  AcGeMatrix3d();  // identity

  static const AcGeMatrix3d kIdentity;

  AcGeMatrix3d& setToIdentity();
  AcGeMatrix3d& setToTranslation(const AcGeVector3d& vec);
  AcGeMatrix3d& setToScaling(double scaleAll, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis,
                              const AcGePoint3d& center = AcGePoint3d::kOrigin);
  AcGeMatrix3d& setToMirroring(const AcGePoint3d& mirrorPoint);
  AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                               const AcGeVector3d& yAxis, const AcGeVector3d& zAxis);

  static AcGeMatrix3d translation(const AcGeVector3d& vec);
  static AcGeMatrix3d scaling(double scaleAll, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                               const AcGePoint3d& center = AcGePoint3d::kOrigin);
  // The arbitrary-axis matrix of a normal (object coordinate system to world).
  static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
  static AcGeMatrix3d worldToPlane(const AcGeVector3d& normal);

  AcGeMatrix3d operator*(const AcGeMatrix3d& mat) const;
  AcGeMatrix3d& operator*=(const AcGeMatrix3d& mat);
  AcGeMatrix3d& preMultBy(const AcGeMatrix3d& leftSide);
  AcGeMatrix3d& postMultBy(const AcGeMatrix3d& rightSide);
  AcGeMatrix3d& setToProduct(const AcGeMatrix3d& mat1, const AcGeMatrix3d& mat2);
  AcGeMatrix3d& invert();
  AcGeMatrix3d inverse() const;
  bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
  double det() const;
  bool isEqualTo(const AcGeMatrix3d& mat, const AcGeTol& tol = AcGeContext::gTol) const;
  bool operator==(const AcGeMatrix3d& mat) const { return isEqualTo(mat); }
  bool operator!=(const AcGeMatrix3d& mat) const { return !isEqualTo(mat); }
  bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
  double scale() const;  // the largest scale factor of the linear part
  AcGeVector3d translation() const { return AcGeVector3d(entry[0][3], entry[1][3], entry[2][3]); }

  double operator()(unsigned int row, unsigned int column) const { return entry[row][column]; }
  double& operator()(unsigned int row, unsigned int column) { return entry[row][column]; }

  double entry[4][4];
};

AcGeVector3d operator*(const AcGeMatrix3d& mat, const AcGeVector3d& vec);
