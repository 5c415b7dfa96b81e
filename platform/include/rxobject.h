// rxobject.h - AcRxObject, the root of every class with runtime type information.
#pragma once
#include "adesk.h"
#include "acadstrc.h"
#include "rxdefs.h"
#include "rxboiler.h"

class AcRxClass;

class AcRxObject {
public:
  virtual ~AcRxObject();

  static AcRxClass* desc();
  static AcRxObject* cast(const AcRxObject* inPtr) { return const_cast<AcRxObject*>(inPtr); }

  // True when this object's class is the given class or derives from it. An object whose
  // class is unknown (isA() answers NULL) counts as of every kind, as in the host.
  inline bool isKindOf(const AcRxClass* aClass) const;

  AcRxObject* x(AcRxClass* protocolClass) const;
  AcRxObject* queryX(AcRxClass* protocolClass) const;

  virtual AcRxClass* isA() const;
  virtual AcRxObject* clone() const;
  virtual Acad::ErrorStatus copyFrom(const AcRxObject* other);
  virtual Adesk::Boolean isEqualTo(const AcRxObject* other) const;
  virtual AcRx::Ordering comparedTo(const AcRxObject* other) const;

protected:
  AcRxObject();
};

#include "rxclass.h"
#include "rxdict.h"
