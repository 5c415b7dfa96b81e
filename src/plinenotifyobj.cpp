// plinenotifyobj.cpp - the link object class: registration, filing, notification and
// attachment to a polyline.
#include "plinenotifyobj.h"

#include <new>

#include "rxregsvc.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbdict.h"
#include "adslib.h"

#include "cmd/cmdzorvik.h"
#include "errorlog.h"
#include "host/openptr.h"
#include "host/typedopen.h"
#include "zorvik.h"

namespace {

// The source file that this file's ErrorLog records name.
const char* const kSourceFile = "src/plinenotifyobj";

const char* const kClassName = "CPlineNotifyObject";
const char* const kSubclassMarker = "PlineNotifyObject";

// Class registration values: the drawing and maintenance versions the class was made with,
// no operation allowed on its proxies, its DXF record name and its application name.
const int kDrawingVersion = 23;
const int kMaintenanceVersion = 10;
const int kProxyFlags = 0;
const char* const kDxfName = "PLINENOTIFYOBJECT";
const char* const kAppName = "zorvik";

// Version of the link's DWG and DXF records; a newer record is kept as a proxy.
const Adesk::Int16 kRecordVersion = 1;

// The host creates link objects through this when it reads a drawing.
AcRxObject* makeCPlineNotifyObject() {
  try {
    return new CPlineNotifyObject;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

const char* const kLinkDictionaryKey = "ZORVIK";

ACRX_DEFINE_MEMBERS(CPlineNotifyObject);

// Registers the class, unless this module registered it already; another class registered
// under the same name is a conflict the host cannot live with.
void CPlineNotifyObject::rxInit() {
  if (gpDesc != nullptr) {
    AcRxObject* pEntry = acrxClassDictionary->at(kClassName);
    if (pEntry != nullptr) {
      if (pEntry != gpDesc) acrx_abort("Class mismatch");
      return;
    }
  }
  gpDesc = newAcRxClass(kClassName, "AcDbObject", kDrawingVersion, kMaintenanceVersion, kProxyFlags,
                        makeCPlineNotifyObject, kDxfName, kAppName);
}

CPlineNotifyObject::CPlineNotifyObject() {}

CPlineNotifyObject::~CPlineNotifyObject() {}

AcDbObjectId CPlineNotifyObject::attributeId() const { return m_attributeId; }

void CPlineNotifyObject::setAttributeId(AcDbObjectId id) { m_attributeId = id; }

Acad::ErrorStatus CPlineNotifyObject::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  AcDbObject::dwgOutFields(pFiler);
  pFiler->writeInt16(kRecordVersion);
  pFiler->writeSoftPointerId(AcDbSoftPointerId(m_attributeId));
  return pFiler->filerStatus();
}

Acad::ErrorStatus CPlineNotifyObject::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled(Adesk::kTrue, Adesk::kTrue);
  Acad::ErrorStatus es = AcDbObject::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  Adesk::Int16 version = 0;
  pFiler->readInt16(&version);
  if (version > kRecordVersion) return Acad::eMakeMeProxy;
  AcDbSoftPointerId id;
  pFiler->readSoftPointerId(&id);
  m_attributeId = id;
  return pFiler->filerStatus();
}

Acad::ErrorStatus CPlineNotifyObject::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  AcDbObject::dxfOutFields(pFiler);
  pFiler->writeString(AcDb::kDxfSubclass, kSubclassMarker);
  pFiler->writeInt16(AcDb::kDxfInt16, kRecordVersion);
  pFiler->writeObjectId(AcDb::kDxfSoftPointerId, m_attributeId);
  return pFiler->filerStatus();
}

// Groups 70 and 330 are taken in any order and any number of times (the last 330 wins); the
// first other group ends the link's data and is given back to the filer.
Acad::ErrorStatus CPlineNotifyObject::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled(Adesk::kTrue, Adesk::kTrue);
  Acad::ErrorStatus es = AcDbObject::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if (!pFiler->atSubclassData(kSubclassMarker)) return Acad::eBadDxfSequence;

  resbuf rb;
  for (;;) {
    if (pFiler->readItem(&rb) != Acad::eOk) return pFiler->filerStatus();
    switch (rb.restype) {
      case AcDb::kDxfInt16:
        if (rb.resval.rint > kRecordVersion) return Acad::eMakeMeProxy;
        break;
      case AcDb::kDxfSoftPointerId: {
        AcDbObjectId id;
        acdbGetObjectId(id, rb.resval.rlname);
        m_attributeId = id;
        break;
      }
      default:
        return pFiler->pushBackItem();
    }
  }
}

void CPlineNotifyObject::copied(const AcDbObject*, const AcDbObject*) {}

void CPlineNotifyObject::erased(const AcDbObject*, Adesk::Boolean) {}

void CPlineNotifyObject::modified(const AcDbObject* dbObj) {
  if (!getModuleApp()->autoUpdate()) return;
  const AcDbPolyline* pPline = AcDbPolyline::cast(dbObj);
  if (pPline == nullptr) return;
  updateAreaText(pPline, m_attributeId);
}

bool CPlineNotifyObject::attachToPolyline(AcDbPolyline* pPline, AcDbObjectId& linkId) {
  if (pPline == nullptr) return false;

  AcDbObjectId dictId = pPline->extensionDictionary();
  if (dictId.isNull()) {
    if (reportStatus(pPline->createExtensionDictionary(), __LINE__, kSourceFile) != 0) return false;
    dictId = pPline->extensionDictionary();
  }

  OpenPtr<AcDbDictionary> pDict(dictId, AcDb::kForWrite);
  if (!pDict.isOpen()) return false;

  if (reportStatus(pDict->setAt(kLinkDictionaryKey, this, linkId), __LINE__, kSourceFile) != 0)
    return false;

  // The new link is stored but not yet a reactor, so this walk only meets earlier links.
  removeLinkReactor(pPline);
  pPline->addPersistentReactor(linkId);
  return true;
}

bool removeLinkReactor(AcDbObject* pPline) {
  AcDbVoidPtrArray* pReactors = pPline->reactors();
  if (pReactors == nullptr) return false;

  for (int i = 0; i < pReactors->length(); ++i) {
    void* pEntry = pReactors->at(i);
    if (!acdbIsPersistentReactor(pEntry)) continue;
    AcDbObjectId reactorId = acdbPersistentReactorObjectId(pEntry);
    AcDbObject* pObj = nullptr;
    if (acdbOpenAcDbObject(pObj, reactorId, AcDb::kForRead, false) != Acad::eOk) continue;
    if (!isInstanceOf<CPlineNotifyObject>(pObj)) {
      closeRejectedObject(pObj);
      continue;
    }
    if (reportStatus(pObj->close(), __LINE__, kSourceFile) != 0) return false;
    if (reportStatus(pPline->removePersistentReactor(reactorId), __LINE__, kSourceFile) != 0)
      return false;
    return true;
  }
  return false;
}
