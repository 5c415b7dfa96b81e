// rxclass.h - AcRxClass (a runtime class object) and the functions that create and delete them.
#pragma once
#include "rxobject.h"

#ifndef PF_RXCLASS_H
#define PF_RXCLASS_H

class AcRxClass : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcRxClass);

  virtual AcRxObject* addX(AcRxClass* protocolClass, AcRxObject* protocolObject) = 0;
  virtual AcRxObject* getX(const AcRxClass* protocolClass) = 0;
  virtual AcRxObject* delX(AcRxClass* protocolClass) = 0;
  virtual AcRxObject* queryX(const AcRxClass* protocolClass) = 0;

  // A new instance made by the class's pseudo-constructor; NULL when it has none.
  virtual AcRxObject* create() = 0;
  virtual const char* appName() const = 0;
  virtual const char* dxfName() const = 0;
  virtual const char* name() const = 0;
  virtual void getClassVersion(int& dwgVersion, int& maintVersion) const = 0;
  virtual int proxyFlags() const = 0;

  virtual bool isDerivedFrom(const AcRxClass* other) const = 0;
  virtual AcRxClass* myParent() const = 0;
  virtual AcRx::Ordering comparedTo(const AcRxObject* other) const = 0;

  virtual void* pcPtr() const = 0;
  virtual void setPcPtr(void* newPc) = 0;

protected:
  AcRxClass();
};

AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int proxyFlags = 0,
                        AcRxObject* (*pseudoConstructor)() = NULL, const char* dxfName = NULL,
                        const char* appName = NULL);

AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int dwgVer,
                        int maintVer, int proxyFlags = 0,
                        AcRxObject* (*pseudoConstructor)() = NULL, const char* dxfName = NULL,
                        const char* appName = NULL);

extern "C" {
// Removes the class from the class dictionary and frees it; derived classes go first.
void deleteAcRxClass(AcRxClass* pClassObj);
// Links every registered class to its parent (by the parent's name).
void acrxBuildClassHierarchy();
}

inline bool AcRxObject::isKindOf(const AcRxClass* aClass) const {
  const AcRxClass* myClass = this->isA();
  return myClass == NULL || myClass->isDerivedFrom(aClass);
}

#endif
