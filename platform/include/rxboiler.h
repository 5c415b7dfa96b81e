// rxboiler.h - the declare/define macros that give a class its runtime class object.
//
// ACRX_DECLARE_MEMBERS(C) goes in a public section of C. ACRX_DEFINE_MEMBERS(C) defines desc()
// and isA(), which look the class up by name in the class dictionary on first use and cache it
// in C::gpDesc. The *_DEFINE_MEMBERS variants that also define rxInit() create the class object
// (once: rxInit does nothing while gpDesc is set). DXF_NAME and APP are stringized, so callers
// pass bare tokens.
#pragma once
#include "rxnames.h"

class AcRxClass;
class AcRxObject;

#define ACRX_DECLARE_MEMBERS(CLASS_NAME)                                              \
  virtual AcRxClass* isA() const;                                                     \
  static AcRxClass* gpDesc;                                                           \
  static AcRxClass* desc();                                                           \
  static CLASS_NAME* cast(const AcRxObject* inPtr) {                                  \
    return ((inPtr == NULL) || !inPtr->isKindOf(CLASS_NAME::desc()))                  \
               ? NULL                                                                 \
               : const_cast<CLASS_NAME*>(static_cast<const CLASS_NAME*>(inPtr));      \
  }                                                                                   \
  static void rxInit()

// Looks a class up by name in the class dictionary (rxclass.h defines it).
AcRxClass* pfLookupRxClass(const char* name);

#define ACRX_DEFINE_MEMBERS(CLASS_NAME)                                               \
  AcRxClass* CLASS_NAME::gpDesc = NULL;                                               \
  AcRxClass* CLASS_NAME::desc() {                                                     \
    if (CLASS_NAME::gpDesc != NULL) return CLASS_NAME::gpDesc;                        \
    return CLASS_NAME::gpDesc = pfLookupRxClass(#CLASS_NAME);                         \
  }                                                                                   \
  AcRxClass* CLASS_NAME::isA() const { return CLASS_NAME::desc(); }

#define ACRX_NO_CONS_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS)                         \
  ACRX_DEFINE_MEMBERS(CLASS_NAME)                                                     \
  void CLASS_NAME::rxInit() {                                                         \
    if (CLASS_NAME::gpDesc != NULL) return;                                           \
    CLASS_NAME::gpDesc = newAcRxClass(#CLASS_NAME, #PARENT_CLASS);                    \
  }

#define ACRX_CONS_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS, VERNO)                     \
  ACRX_DEFINE_MEMBERS(CLASS_NAME)                                                     \
  static AcRxObject* make##CLASS_NAME() { return new CLASS_NAME(); }                  \
  void CLASS_NAME::rxInit() {                                                         \
    if (CLASS_NAME::gpDesc != NULL) return;                                           \
    CLASS_NAME::gpDesc = newAcRxClass(#CLASS_NAME, #PARENT_CLASS, VERNO, &make##CLASS_NAME); \
  }

#define ACRX_DXF_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS, DWG_VERSION, MAINTENANCE_VERSION, \
                                PROXY_FLAGS, DXF_NAME, APP)                           \
  ACRX_DEFINE_MEMBERS(CLASS_NAME)                                                     \
  static AcRxObject* make##CLASS_NAME() { return new CLASS_NAME(); }                  \
  void CLASS_NAME::rxInit() {                                                         \
    if (CLASS_NAME::gpDesc != NULL) return;                                           \
    CLASS_NAME::gpDesc = newAcRxClass(#CLASS_NAME, #PARENT_CLASS, DWG_VERSION,        \
                                      MAINTENANCE_VERSION, PROXY_FLAGS,               \
                                      &make##CLASS_NAME, #DXF_NAME, #APP);            \
  }
