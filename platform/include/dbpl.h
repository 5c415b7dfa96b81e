// dbpl.h - the lightweight polyline: a planar chain of straight and circular-arc segments.
//
// Vertices are 2d points in the polyline's own coordinate system (OCS), defined by its normal
// and lying at its elevation. Every vertex carries the bulge of the segment that starts at it
// (tan of a quarter of the arc's included angle, > 0 counter-clockwise) and the start and end
// widths of that segment.
#pragma once
#include <vector>

#include "dbmain.h"
#include "dbcurve.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcGeMatrix3d;

class AcDbPolyline : public AcDbCurve {
 public:
  ACDB_DECLARE_MEMBERS(AcDbPolyline);

  AcDbPolyline();
  AcDbPolyline(unsigned int num_verts);
  virtual ~AcDbPolyline();

  enum SegType { kLine, kArc, kCoincident, kPoint, kEmpty };

  // Vertices.
  unsigned int numVerts() const;
  Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.,
                                double startWidth = -1., double endWidth = -1);
  Acad::ErrorStatus removeVertexAt(unsigned int index);
  void reset(Adesk::Boolean reuse, unsigned int numVerts);
  SegType segType(unsigned int index) const;

  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;  // in the WCS
  Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
  Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);

  // Whole-polyline properties.
  Acad::ErrorStatus getConstantWidth(double& width) const;  // eInvalidInput if widths vary
  Acad::ErrorStatus setConstantWidth(double width);
  Adesk::Boolean isClosed() const;
  void setClosed(Adesk::Boolean closed);
  Adesk::Boolean hasPlinegen() const;
  void setPlinegen(Adesk::Boolean plinegen);
  double elevation() const;
  void setElevation(double elevation);
  double thickness() const;
  Acad::ErrorStatus setThickness(double thickness);
  AcGeVector3d normal() const;
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  Adesk::Boolean isOnlyLines() const;
  Adesk::Boolean hasBulges() const;
  Adesk::Boolean hasWidth() const;

  // Exact enclosed area; an open polyline is measured as if closed by a straight edge.
  virtual Acad::ErrorStatus getArea(double& area) const;

  // The curve: parameter i is vertex i, the segment after it runs over [i, i+1].
  virtual Acad::ErrorStatus getStartParam(double& param) const;
  virtual Acad::ErrorStatus getEndParam(double& param) const;
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
  virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;

  // Moves, rotates, mirrors or uniformly scales the polyline. A non-uniform scale would turn
  // arcs into ellipses: eCannotScaleNonUniformly, and the polyline is left unchanged.
  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

 private:
  struct Vertex {
    AcGePoint2d pt;
    double bulge;
    double startWidth;
    double endWidth;
  };
  bool validIndex(unsigned int index) const { return index < mVertices.size(); }
  size_t segmentCount() const;
  double defaultWidth() const;

  std::vector<Vertex> mVertices;
  bool mClosed = false;
  bool mPlinegen = false;
  double mConstantWidth = 0.0;  // the width new vertices get when none is given
  double mElevation = 0.0;
  double mThickness = 0.0;
  AcGeVector3d mNormal;
};
