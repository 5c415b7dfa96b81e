// db/dwg_filer.h - AcDbDwgFiler kept in memory (copying, undo records, deep clone).
//
// Each item is stored with its kind, so reading an item of another kind than was written at
// that place sets the filer status (eFilerError) instead of producing garbage.
#pragma once
#include <cstdint>
#include <vector>
#include "dbmain.h"

namespace pf {

class MemoryDwgFiler : public AcDbDwgFiler {
public:
  explicit MemoryDwgFiler(AcDb::FilerType type = AcDb::kCopyFiler, AcDbDatabase* db = nullptr);
  virtual ~MemoryDwgFiler();

  void setFilerType(AcDb::FilerType type) { mType = type; }
  AcDbDatabase* database() const { return mDb; }
  // Moves the read position back to the start (keeping the data).
  void rewind() { mPos = 0; }
  size_t size() const { return mData.size(); }

  virtual Acad::ErrorStatus filerStatus() const;
  virtual AcDb::FilerType filerType() const;
  virtual void setFilerStatus(Acad::ErrorStatus es);
  virtual void resetFilerStatus();

  virtual Acad::ErrorStatus readHardOwnershipId(AcDbHardOwnershipId*);
  virtual Acad::ErrorStatus writeHardOwnershipId(const AcDbHardOwnershipId&);
  virtual Acad::ErrorStatus readSoftOwnershipId(AcDbSoftOwnershipId*);
  virtual Acad::ErrorStatus writeSoftOwnershipId(const AcDbSoftOwnershipId&);
  virtual Acad::ErrorStatus readHardPointerId(AcDbHardPointerId*);
  virtual Acad::ErrorStatus writeHardPointerId(const AcDbHardPointerId&);
  virtual Acad::ErrorStatus readSoftPointerId(AcDbSoftPointerId*);
  virtual Acad::ErrorStatus writeSoftPointerId(const AcDbSoftPointerId&);
  virtual Acad::ErrorStatus readChar(Adesk::Int8*);
  virtual Acad::ErrorStatus writeChar(Adesk::Int8);
  virtual Acad::ErrorStatus readString(char**);
  virtual Acad::ErrorStatus writeString(const char*);
  virtual Acad::ErrorStatus readBChunk(ads_binary*);
  virtual Acad::ErrorStatus writeBChunk(const ads_binary&);
  virtual Acad::ErrorStatus readAcDbHandle(AcDbHandle*);
  virtual Acad::ErrorStatus writeAcDbHandle(const AcDbHandle&);
  virtual Acad::ErrorStatus readInt32(Adesk::Int32*);
  virtual Acad::ErrorStatus writeInt32(Adesk::Int32);
  virtual Acad::ErrorStatus readInt16(Adesk::Int16*);
  virtual Acad::ErrorStatus writeInt16(Adesk::Int16);
  virtual Acad::ErrorStatus readUInt32(Adesk::UInt32*);
  virtual Acad::ErrorStatus writeUInt32(Adesk::UInt32);
  virtual Acad::ErrorStatus readUInt16(Adesk::UInt16*);
  virtual Acad::ErrorStatus writeUInt16(Adesk::UInt16);
  virtual Acad::ErrorStatus readUInt8(Adesk::UInt8*);
  virtual Acad::ErrorStatus writeUInt8(Adesk::UInt8);
  virtual Acad::ErrorStatus readBoolean(Adesk::Boolean*);
  virtual Acad::ErrorStatus writeBoolean(Adesk::Boolean);
  virtual Acad::ErrorStatus readBool(bool*);
  virtual Acad::ErrorStatus writeBool(bool);
  virtual Acad::ErrorStatus readDouble(double*);
  virtual Acad::ErrorStatus writeDouble(double);
  virtual Acad::ErrorStatus readPoint2d(AcGePoint2d*);
  virtual Acad::ErrorStatus writePoint2d(const AcGePoint2d&);
  virtual Acad::ErrorStatus readPoint3d(AcGePoint3d*);
  virtual Acad::ErrorStatus writePoint3d(const AcGePoint3d&);
  virtual Acad::ErrorStatus readVector2d(AcGeVector2d*);
  virtual Acad::ErrorStatus writeVector2d(const AcGeVector2d&);
  virtual Acad::ErrorStatus readVector3d(AcGeVector3d*);
  virtual Acad::ErrorStatus writeVector3d(const AcGeVector3d&);
  virtual Acad::ErrorStatus readScale3d(AcGeScale3d*);
  virtual Acad::ErrorStatus writeScale3d(const AcGeScale3d&);
  virtual Acad::ErrorStatus readBytes(void*, Adesk::UInt32);
  virtual Acad::ErrorStatus writeBytes(const void*, Adesk::UInt32);
  virtual Acad::ErrorStatus readAddress(void**);
  virtual Acad::ErrorStatus writeAddress(const void*);
  virtual Acad::ErrorStatus seek(long nOffset, int nMethod);
  virtual long tell() const;

protected:
  enum class Kind : std::uint8_t {
    HardOwner = 1, SoftOwner, HardPointer, SoftPointer, Char, String, BChunk, Handle, Int32,
    Int16, UInt32, UInt16, UInt8, Boolean, Bool, Double, Point2d, Point3d, Vector2d, Vector3d,
    Scale3d, Bytes, Address
  };
  // Hooks for the deep-clone and translation filers.
  virtual void idWritten(Kind kind, const AcDbObjectId& id);
  virtual AcDbObjectId idRead(Kind kind, const AcDbObjectId& id);

private:
  Acad::ErrorStatus put(Kind kind, const void* data, size_t n);
  Acad::ErrorStatus get(Kind kind, void* data, size_t n);
  Acad::ErrorStatus putId(Kind kind, const AcDbObjectId& id);
  Acad::ErrorStatus getId(Kind kind, AcDbObjectId* id);

  std::vector<unsigned char> mData;
  size_t mPos = 0;
  AcDb::FilerType mType;
  AcDbDatabase* mDb;
  Acad::ErrorStatus mStatus = Acad::eOk;
};

}  // namespace pf
