// drawable.h - AcGiDrawable, the base of everything that can draw itself.
#pragma once
#include "rxobject.h"
#include "dbid.h"

class AcGiWorldDraw;
class AcGiViewportDraw;
class AcGiDrawableTraits;

class AcGiDrawable : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcGiDrawable);

  virtual Adesk::UInt32 setAttributes(AcGiDrawableTraits* traits);
  virtual Adesk::Boolean worldDraw(AcGiWorldDraw* wd);
  virtual void viewportDraw(AcGiViewportDraw* vd);
  virtual Adesk::Boolean isPersistent() const;
  virtual AcDbObjectId id() const;
};
