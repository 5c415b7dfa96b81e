// dbcurve.h - AcDbCurve, the base of the curve entities (area, parameters, end points).
#pragma once
#include "dbmain.h"

class AcDbCurve : public AcDbEntity {
public:
  ACDB_DECLARE_MEMBERS(AcDbCurve);
  virtual ~AcDbCurve();

  virtual Adesk::Boolean isClosed() const;
  virtual Adesk::Boolean isPeriodic() const;
  virtual Acad::ErrorStatus getStartParam(double& param) const;
  virtual Acad::ErrorStatus getEndParam(double& param) const;
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const;
  virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
  virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPnt, AcGePoint3d& pointOnCurve,
                                              Adesk::Boolean extend = Adesk::kFalse) const;
  // The enclosed area; a curve without one answers eNotApplicable.
  virtual Acad::ErrorStatus getArea(double& area) const;

protected:
  AcDbCurve();
};

#define DBCURVE_METHODS                                                                    \
  virtual Adesk::Boolean isClosed() const;                                                 \
  virtual Adesk::Boolean isPeriodic() const;                                               \
  virtual Acad::ErrorStatus getStartParam(double&) const;                                  \
  virtual Acad::ErrorStatus getEndParam(double&) const;                                    \
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d&) const;                             \
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d&) const;                               \
  virtual Acad::ErrorStatus getPointAtParam(double, AcGePoint3d&) const;                   \
  virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d&, double&) const;            \
  virtual Acad::ErrorStatus getDistAtParam(double, double&) const;                         \
  virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d&, AcGePoint3d&,            \
                                              Adesk::Boolean extend = Adesk::kFalse) const; \
  virtual Acad::ErrorStatus getArea(double&) const;
