// plinenotifyobj.h - the link between a polyline and the attribute that shows its area.
//
// A CPlineNotifyObject is a database object that holds the id of one attribute. It lives in
// its polyline's extension dictionary under "ZORVIK" (so it is owned and saved with the
// polyline) and is one of the polyline's persistent reactors (so the host tells it whenever
// the polyline has been modified, and it rewrites the attribute's text).
#pragma once

#include "dbmain.h"

class AcDbPolyline;

class CPlineNotifyObject : public AcDbObject {
public:
  ACRX_DECLARE_MEMBERS(CPlineNotifyObject);

  // The attribute id starts null.
  CPlineNotifyObject();
  ~CPlineNotifyObject() override;

  // The linked attribute's id; null when the link names no attribute. No access check.
  AcDbObjectId attributeId() const;
  // Stores the id without announcing a write to the host (no undo record, no modification
  // mark): used on a new link before it enters the database, and on a copy opened for write.
  void setAttributeId(AcDbObjectId id);

  // Makes this new link the polyline's link: stores it in the polyline's extension
  // dictionary under "ZORVIK" (linkId receives its new id), removes the reactor of an
  // earlier link from the polyline and adds this one. The polyline must be open for write.
  bool attachToPolyline(AcDbPolyline* pPline, AcDbObjectId& linkId);

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

  // The link ignores copies and erasure of its polyline.
  void copied(const AcDbObject* dbObj, const AcDbObject* newObj) override;
  void erased(const AcDbObject* dbObj, Adesk::Boolean pErasing = true) override;
  // Rewrites the attribute's text from the polyline's area while AutoUpdate is on.
  void modified(const AcDbObject* dbObj) override;

private:
  AcDbObjectId m_attributeId;
};

// The key of the link in a polyline's extension dictionary.
extern const char* const kLinkDictionaryKey;  // "ZORVIK"

// Removes the first link found among the polyline's persistent reactors from them. The
// polyline must be open for write. Answers true when a link reactor was removed.
bool removeLinkReactor(AcDbObject* pPline);
