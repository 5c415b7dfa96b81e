// db/dxf_tag_filer.h - AcDbDxfFiler over a list of tags.
//
// Output: every write appends tags (points become 10/20/30 triples). Input: the filer reads
// the tags of one object (those after its "0 <TYPE>" tag) and converts each value according
// to its group code; references (330-369 ...) are looked up by handle in the database, and an
// id is reserved for a handle whose object has not been read yet. Conversion errors set the
// filer status and a message with the line number.
#pragma once
#include <deque>
#include <string>
#include "dbmain.h"
#include "db/tag_list.h"

namespace pf {

class TagDxfFiler : public AcDbDxfFiler {
public:
  // An output filer.
  explicit TagDxfFiler(AcDbDatabase* db);
  // An input filer over the tags of one object.
  TagDxfFiler(AcDbDatabase* db, TagList tags);
  virtual ~TagDxfFiler();

  const TagList& tags() const { return mTags; }
  TagList& tags() { return mTags; }
  bool isInput() const { return mInput; }
  // Index of the next tag to read.
  size_t position() const { return mPos; }
  void setPosition(size_t pos) { mPos = pos; }
  // The tag that the next read will consume, or NULL at the end.
  const Tag* peek() const { return mPos < mTags.size() ? &mTags[mPos] : nullptr; }
  // Whether writeObjectId leaves out references to erased or missing objects (a saved drawing
  // must not name objects it does not contain). On by default.
  void setOmitDeadReferences(bool omit) { mOmitDead = omit; }
  void setFilerType(AcDb::FilerType type) { mType = type; }
  // While set, readResBuf also reads extended data (1001 groups) instead of stopping there.
  void setReadExtendedData(bool on) { mReadXData = on; }

  virtual int rewindFiler();
  virtual Acad::ErrorStatus filerStatus() const;
  virtual void resetFilerStatus();
  virtual AcDb::FilerType filerType() const;
  virtual AcDbDatabase* database() const;

  virtual Acad::ErrorStatus readResBuf(resbuf* pRb);
  virtual Acad::ErrorStatus pushBackItem();
  virtual bool atEOF();
  virtual bool atSubclassData(const char* subClassName);
  virtual bool atExtendedData();
  virtual bool atEndOfObject();
  virtual void haltAtClassBoundries(bool halt);

  virtual Acad::ErrorStatus writeObjectId(AcDb::DxfCode code, const AcDbObjectId& id);
  virtual Acad::ErrorStatus writeChar(AcDb::DxfCode code, Adesk::Int8);
  virtual Acad::ErrorStatus writeString(AcDb::DxfCode code, const char*);
  virtual Acad::ErrorStatus writeBChunk(AcDb::DxfCode code, const ads_binary&);
  virtual Acad::ErrorStatus writeAcDbHandle(AcDb::DxfCode code, const AcDbHandle&);
  virtual Acad::ErrorStatus writeInt32(AcDb::DxfCode code, Adesk::Int32);
  virtual Acad::ErrorStatus writeInt16(AcDb::DxfCode code, Adesk::Int16);
  virtual Acad::ErrorStatus writeUInt32(AcDb::DxfCode code, Adesk::UInt32);
  virtual Acad::ErrorStatus writeUInt16(AcDb::DxfCode code, Adesk::UInt16);
  virtual Acad::ErrorStatus writeUInt8(AcDb::DxfCode code, Adesk::UInt8);
  virtual Acad::ErrorStatus writeBoolean(AcDb::DxfCode code, Adesk::Boolean);
  virtual Acad::ErrorStatus writeBool(AcDb::DxfCode code, bool);
  virtual Acad::ErrorStatus writeDouble(AcDb::DxfCode code, double value, int precision = kDfltPrec);
  virtual Acad::ErrorStatus writePoint2d(AcDb::DxfCode code, const AcGePoint2d& value, int precision = kDfltPrec);
  virtual Acad::ErrorStatus writePoint3d(AcDb::DxfCode code, const AcGePoint3d& value, int precision = kDfltPrec);
  virtual Acad::ErrorStatus writeVector2d(AcDb::DxfCode code, const AcGeVector2d& value, int precision = kDfltPrec);
  virtual Acad::ErrorStatus writeVector3d(AcDb::DxfCode code, const AcGeVector3d& value, int precision = kDfltPrec);
  virtual Acad::ErrorStatus writeScale3d(AcDb::DxfCode code, const AcGeScale3d& value, int precision = kDfltPrec);
  virtual Acad::ErrorStatus writeResBuf(const resbuf& rb);
  virtual bool includesDefaultValues() const;
  virtual int precision() const;
  virtual void setPrecision(int prec);

  // Appends a tag as it is (for data kept verbatim).
  void appendRaw(const Tag& tag);

  virtual Acad::ErrorStatus setError(Acad::ErrorStatus, const char* errMsg, ...);
  virtual Acad::ErrorStatus setError(const char* errMsg, ...);

private:
  Acad::ErrorStatus fail(Acad::ErrorStatus es, const Tag* at, const std::string& what);
  Acad::ErrorStatus writeReal(int code, double value, int precision);
  Acad::ErrorStatus writeInteger(int code, long long value);
  const char* keepString(const std::string& s);

  AcDbDatabase* mDb;
  TagList mTags;
  bool mInput;
  size_t mPos = 0;
  size_t mLastItemPos = static_cast<size_t>(-1);
  bool mHalt = false;
  bool mReadXData = false;
  bool mOmitDead = true;
  int mPrecision = kMaxPrec;
  Acad::ErrorStatus mStatus = Acad::eOk;
  AcDb::FilerType mType = AcDb::kFileFiler;
  std::deque<std::string> mStrings;  // strings handed out in resbufs live as long as the filer
  std::deque<std::string> mBinaries;
};

// Writes the object the way a drawing file holds it after its "0 <TYPE>" tag: its fields,
// then its extended data.
Acad::ErrorStatus dxfOutObject(const AcDbObject* obj, AcDbDxfFiler* filer);
// Reads the object's fields and then its extended data (1001 groups) from the filer.
Acad::ErrorStatus dxfInObject(AcDbObject* obj, AcDbDxfFiler* filer);

}  // namespace pf
