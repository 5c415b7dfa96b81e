// dbfiler.h - the two filer interfaces objects use to save and restore their data:
// AcDbDwgFiler (untagged, read back in the order written) and AcDbDxfFiler (group-code tagged).
#pragma once
#include "adesk.h"
#include "acadstrc.h"
#include "acdb.h"
#include "rxobject.h"
#include "dbid.h"
#include "dbhandle.h"
#include "adsdef.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec2d.h"
#include "gevec3d.h"
#include "gescl3d.h"

class AcDbDatabase;
class AcDbAuditInfo;

class AcDbDwgFiler : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcDbDwgFiler);
  AcDbDwgFiler();
  virtual ~AcDbDwgFiler();

  virtual Acad::ErrorStatus filerStatus() const = 0;
  virtual AcDb::FilerType filerType() const = 0;
  virtual void setFilerStatus(Acad::ErrorStatus es) = 0;
  virtual void resetFilerStatus() = 0;
  virtual Acad::ErrorStatus dwgVersion(AcDb::AcDbDwgVersion& ver,
                                       AcDb::MaintenanceReleaseVersion& maintVer) const;

  virtual Acad::ErrorStatus readHardOwnershipId(AcDbHardOwnershipId*) = 0;
  virtual Acad::ErrorStatus writeHardOwnershipId(const AcDbHardOwnershipId&) = 0;
  virtual Acad::ErrorStatus readSoftOwnershipId(AcDbSoftOwnershipId*) = 0;
  virtual Acad::ErrorStatus writeSoftOwnershipId(const AcDbSoftOwnershipId&) = 0;
  virtual Acad::ErrorStatus readHardPointerId(AcDbHardPointerId*) = 0;
  virtual Acad::ErrorStatus writeHardPointerId(const AcDbHardPointerId&) = 0;
  virtual Acad::ErrorStatus readSoftPointerId(AcDbSoftPointerId*) = 0;
  virtual Acad::ErrorStatus writeSoftPointerId(const AcDbSoftPointerId&) = 0;

  virtual Acad::ErrorStatus readChar(Adesk::Int8*) = 0;
  virtual Acad::ErrorStatus writeChar(Adesk::Int8) = 0;
  // Reads a string the caller frees with acutDelString.
  virtual Acad::ErrorStatus readString(char**) = 0;
  virtual Acad::ErrorStatus writeString(const char*) = 0;
  // Reads a binary chunk whose buffer the caller frees with delete[].
  virtual Acad::ErrorStatus readBChunk(ads_binary*) = 0;
  virtual Acad::ErrorStatus writeBChunk(const ads_binary&) = 0;
  virtual Acad::ErrorStatus readAcDbHandle(AcDbHandle*) = 0;
  virtual Acad::ErrorStatus writeAcDbHandle(const AcDbHandle&) = 0;
  virtual Acad::ErrorStatus readInt32(Adesk::Int32*) = 0;
  virtual Acad::ErrorStatus writeInt32(Adesk::Int32) = 0;
  virtual Acad::ErrorStatus readInt16(Adesk::Int16*) = 0;
  virtual Acad::ErrorStatus writeInt16(Adesk::Int16) = 0;
  virtual Acad::ErrorStatus readUInt32(Adesk::UInt32*) = 0;
  virtual Acad::ErrorStatus writeUInt32(Adesk::UInt32) = 0;
  virtual Acad::ErrorStatus readUInt16(Adesk::UInt16*) = 0;
  virtual Acad::ErrorStatus writeUInt16(Adesk::UInt16) = 0;
  virtual Acad::ErrorStatus readUInt8(Adesk::UInt8*) = 0;
  virtual Acad::ErrorStatus writeUInt8(Adesk::UInt8) = 0;
  virtual Acad::ErrorStatus readBoolean(Adesk::Boolean*) = 0;
  virtual Acad::ErrorStatus writeBoolean(Adesk::Boolean) = 0;
  virtual Acad::ErrorStatus readBool(bool*) = 0;
  virtual Acad::ErrorStatus writeBool(bool) = 0;
  virtual Acad::ErrorStatus readDouble(double*) = 0;
  virtual Acad::ErrorStatus writeDouble(double) = 0;
  virtual Acad::ErrorStatus readPoint2d(AcGePoint2d*) = 0;
  virtual Acad::ErrorStatus writePoint2d(const AcGePoint2d&) = 0;
  virtual Acad::ErrorStatus readPoint3d(AcGePoint3d*) = 0;
  virtual Acad::ErrorStatus writePoint3d(const AcGePoint3d&) = 0;
  virtual Acad::ErrorStatus readVector2d(AcGeVector2d*) = 0;
  virtual Acad::ErrorStatus writeVector2d(const AcGeVector2d&) = 0;
  virtual Acad::ErrorStatus readVector3d(AcGeVector3d*) = 0;
  virtual Acad::ErrorStatus writeVector3d(const AcGeVector3d&) = 0;
  virtual Acad::ErrorStatus readScale3d(AcGeScale3d*) = 0;
  virtual Acad::ErrorStatus writeScale3d(const AcGeScale3d&) = 0;
  virtual Acad::ErrorStatus readBytes(void*, Adesk::UInt32) = 0;
  virtual Acad::ErrorStatus writeBytes(const void*, Adesk::UInt32) = 0;
  virtual Acad::ErrorStatus readAddress(void**);
  virtual Acad::ErrorStatus writeAddress(const void*);

  virtual Acad::ErrorStatus seek(long nOffset, int nMethod) = 0;
  virtual long tell() const = 0;

  virtual AcDbAuditInfo* getAuditInfo() const;

  // Typed forwarding helpers.
  Acad::ErrorStatus readItem(AcDbHardOwnershipId* p) { return readHardOwnershipId(p); }
  Acad::ErrorStatus writeItem(const AcDbHardOwnershipId& v) { return writeHardOwnershipId(v); }
  Acad::ErrorStatus readItem(AcDbSoftOwnershipId* p) { return readSoftOwnershipId(p); }
  Acad::ErrorStatus writeItem(const AcDbSoftOwnershipId& v) { return writeSoftOwnershipId(v); }
  Acad::ErrorStatus readItem(AcDbHardPointerId* p) { return readHardPointerId(p); }
  Acad::ErrorStatus writeItem(const AcDbHardPointerId& v) { return writeHardPointerId(v); }
  Acad::ErrorStatus readItem(AcDbSoftPointerId* p) { return readSoftPointerId(p); }
  Acad::ErrorStatus writeItem(const AcDbSoftPointerId& v) { return writeSoftPointerId(v); }
  Acad::ErrorStatus readItem(char** p) { return readString(p); }
  Acad::ErrorStatus writeItem(const char* v) { return writeString(v); }
  Acad::ErrorStatus readItem(ads_binary* p) { return readBChunk(p); }
  Acad::ErrorStatus writeItem(const ads_binary& v) { return writeBChunk(v); }
  Acad::ErrorStatus readItem(AcDbHandle* p) { return readAcDbHandle(p); }
  Acad::ErrorStatus writeItem(const AcDbHandle& v) { return writeAcDbHandle(v); }
  // Adesk::Int32 is int here, so this pair also serves Adesk::Boolean when that is an int.
  Acad::ErrorStatus readItem(Adesk::Int32* p) { return readInt32(p); }
  Acad::ErrorStatus writeItem(Adesk::Int32 v) { return writeInt32(v); }
  Acad::ErrorStatus readItem(Adesk::Int16* p) { return readInt16(p); }
  Acad::ErrorStatus writeItem(Adesk::Int16 v) { return writeInt16(v); }
  Acad::ErrorStatus readItem(Adesk::UInt32* p) { return readUInt32(p); }
  Acad::ErrorStatus writeItem(Adesk::UInt32 v) { return writeUInt32(v); }
  Acad::ErrorStatus readItem(Adesk::UInt16* p) { return readUInt16(p); }
  Acad::ErrorStatus writeItem(Adesk::UInt16 v) { return writeUInt16(v); }
  Acad::ErrorStatus readItem(Adesk::UInt8* p) { return readUInt8(p); }
  Acad::ErrorStatus writeItem(Adesk::UInt8 v) { return writeUInt8(v); }
  Acad::ErrorStatus readItem(bool* p) { return readBool(p); }
  Acad::ErrorStatus writeItem(bool v) { return writeBool(v); }
  Acad::ErrorStatus readItem(double* p) { return readDouble(p); }
  Acad::ErrorStatus writeItem(double v) { return writeDouble(v); }
  Acad::ErrorStatus readItem(AcGePoint2d* p) { return readPoint2d(p); }
  Acad::ErrorStatus writeItem(const AcGePoint2d& v) { return writePoint2d(v); }
  Acad::ErrorStatus readItem(AcGePoint3d* p) { return readPoint3d(p); }
  Acad::ErrorStatus writeItem(const AcGePoint3d& v) { return writePoint3d(v); }
  Acad::ErrorStatus readItem(AcGeVector2d* p) { return readVector2d(p); }
  Acad::ErrorStatus writeItem(const AcGeVector2d& v) { return writeVector2d(v); }
  Acad::ErrorStatus readItem(AcGeVector3d* p) { return readVector3d(p); }
  Acad::ErrorStatus writeItem(const AcGeVector3d& v) { return writeVector3d(v); }
  Acad::ErrorStatus readItem(AcGeScale3d* p) { return readScale3d(p); }
  Acad::ErrorStatus writeItem(const AcGeScale3d& v) { return writeScale3d(v); }
  Acad::ErrorStatus readItem(void* p, Adesk::UInt32 n) { return readBytes(p, n); }
  Acad::ErrorStatus writeItem(const void* p, Adesk::UInt32 n) { return writeBytes(p, n); }
  Acad::ErrorStatus readItem(void** p) { return readAddress(p); }
  Acad::ErrorStatus writeItem(const void* p) { return writeAddress(p); }
};

class AcDbDxfFiler : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcDbDxfFiler);
  AcDbDxfFiler();
  virtual ~AcDbDxfFiler();

  enum { kDfltPrec = -1, kMaxPrec = 16 };

  virtual int rewindFiler() = 0;
  virtual Acad::ErrorStatus filerStatus() const = 0;
  virtual void resetFilerStatus() = 0;
  virtual Acad::ErrorStatus setError(Acad::ErrorStatus, const char* errMsg, ...);
  virtual Acad::ErrorStatus setError(const char* errMsg, ...);
  virtual const char* errorMessage() const;
  virtual AcDb::FilerType filerType() const = 0;
  virtual AcDbDatabase* database() const = 0;
  virtual Acad::ErrorStatus dwgVersion(AcDb::AcDbDwgVersion& ver,
                                       AcDb::MaintenanceReleaseVersion& maintVer) const;

  // Input: the one read primitive and the helpers around it.
  virtual Acad::ErrorStatus readResBuf(resbuf* pRb);
  virtual Acad::ErrorStatus pushBackItem();
  virtual bool atEOF();
  virtual bool atSubclassData(const char* subClassName);
  virtual bool atExtendedData();
  virtual bool atEndOfObject();
  virtual void haltAtClassBoundries(bool halt);
  Acad::ErrorStatus readItem(resbuf* pItem) { return readResBuf(pItem); }

  // Output.
  virtual Acad::ErrorStatus writeObjectId(AcDb::DxfCode code, const AcDbObjectId& id) = 0;
  virtual Acad::ErrorStatus writeChar(AcDb::DxfCode code, Adesk::Int8) = 0;
  virtual Acad::ErrorStatus writeString(AcDb::DxfCode code, const char*) = 0;
  virtual Acad::ErrorStatus writeBChunk(AcDb::DxfCode code, const ads_binary&) = 0;
  virtual Acad::ErrorStatus writeAcDbHandle(AcDb::DxfCode code, const AcDbHandle&) = 0;
  virtual Acad::ErrorStatus writeInt32(AcDb::DxfCode code, Adesk::Int32) = 0;
  virtual Acad::ErrorStatus writeInt16(AcDb::DxfCode code, Adesk::Int16) = 0;
  virtual Acad::ErrorStatus writeUInt32(AcDb::DxfCode code, Adesk::UInt32) = 0;
  virtual Acad::ErrorStatus writeUInt16(AcDb::DxfCode code, Adesk::UInt16) = 0;
  virtual Acad::ErrorStatus writeUInt8(AcDb::DxfCode code, Adesk::UInt8) = 0;
  virtual Acad::ErrorStatus writeBoolean(AcDb::DxfCode code, Adesk::Boolean) = 0;
  virtual Acad::ErrorStatus writeBool(AcDb::DxfCode code, bool) = 0;
  virtual Acad::ErrorStatus writeDouble(AcDb::DxfCode code, double value, int precision = kDfltPrec) = 0;
  virtual Acad::ErrorStatus writePoint2d(AcDb::DxfCode code, const AcGePoint2d& value, int precision = kDfltPrec) = 0;
  virtual Acad::ErrorStatus writePoint3d(AcDb::DxfCode code, const AcGePoint3d& value, int precision = kDfltPrec) = 0;
  virtual Acad::ErrorStatus writeVector2d(AcDb::DxfCode code, const AcGeVector2d& value, int precision = kDfltPrec) = 0;
  virtual Acad::ErrorStatus writeVector3d(AcDb::DxfCode code, const AcGeVector3d& value, int precision = kDfltPrec) = 0;
  virtual Acad::ErrorStatus writeScale3d(AcDb::DxfCode code, const AcGeScale3d& value, int precision = kDfltPrec) = 0;
  virtual Acad::ErrorStatus writeResBuf(const resbuf& rb);
  virtual Acad::ErrorStatus writeXDataStart();
  virtual bool includesDefaultValues() const = 0;
  virtual int precision() const;
  virtual void setPrecision(int prec);

  Acad::ErrorStatus writeItem(const resbuf& rb) { return writeResBuf(rb); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, const AcDbObjectId& id) { return writeObjectId(code, id); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, const char* v) { return writeString(code, v); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, const ads_binary& v) { return writeBChunk(code, v); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, const AcDbHandle& v) { return writeAcDbHandle(code, v); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, Adesk::Int32 v) { return writeInt32(code, v); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, Adesk::Int16 v) { return writeInt16(code, v); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, Adesk::UInt32 v) { return writeUInt32(code, v); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, Adesk::UInt16 v) { return writeUInt16(code, v); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, Adesk::UInt8 v) { return writeUInt8(code, v); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, bool v) { return writeBool(code, v); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, double v, int prec = kDfltPrec) { return writeDouble(code, v, prec); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, const AcGePoint2d& v, int prec = kDfltPrec) { return writePoint2d(code, v, prec); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, const AcGePoint3d& v, int prec = kDfltPrec) { return writePoint3d(code, v, prec); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, const AcGeVector2d& v, int prec = kDfltPrec) { return writeVector2d(code, v, prec); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, const AcGeVector3d& v, int prec = kDfltPrec) { return writeVector3d(code, v, prec); }
  Acad::ErrorStatus writeItem(AcDb::DxfCode code, const AcGeScale3d& v, int prec = kDfltPrec) { return writeScale3d(code, v, prec); }

protected:
  // Filled by setError; errorMessage() answers it.
  char mErrorMessage[512];
};
