// dxf_tag_filer.cpp - AcDbDxfFiler's shared behaviour and the filer over a list of tags.
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include "db_internal.h"
#include "db/dxf_tag_filer.h"
#include "db/group_codes.h"
#include "db/tag_list.h"
#include "db/db_services.h"

// ---- AcDbDxfFiler defaults -------------------------------------------------------------------

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbDxfFiler, AcRxObject)

AcDbDxfFiler::AcDbDxfFiler() { mErrorMessage[0] = '\0'; }
AcDbDxfFiler::~AcDbDxfFiler() {}

Acad::ErrorStatus AcDbDxfFiler::setError(Acad::ErrorStatus es, const char* errMsg, ...) {
  va_list args;
  va_start(args, errMsg);
  std::vsnprintf(mErrorMessage, sizeof mErrorMessage, errMsg ? errMsg : "", args);
  va_end(args);
  return es;
}

Acad::ErrorStatus AcDbDxfFiler::setError(const char* errMsg, ...) {
  va_list args;
  va_start(args, errMsg);
  std::vsnprintf(mErrorMessage, sizeof mErrorMessage, errMsg ? errMsg : "", args);
  va_end(args);
  return Acad::eOk;
}

const char* AcDbDxfFiler::errorMessage() const { return mErrorMessage; }
Acad::ErrorStatus AcDbDxfFiler::dwgVersion(AcDb::AcDbDwgVersion& ver, AcDb::MaintenanceReleaseVersion& maint) const {
  ver = AcDb::kDHL_CURRENT;
  maint = AcDb::kMReleaseCurrent;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDxfFiler::readResBuf(resbuf*) { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbDxfFiler::pushBackItem() { return Acad::eNotApplicable; }
bool AcDbDxfFiler::atEOF() { return true; }
bool AcDbDxfFiler::atSubclassData(const char*) { return false; }
bool AcDbDxfFiler::atExtendedData() { return false; }
bool AcDbDxfFiler::atEndOfObject() { return true; }
void AcDbDxfFiler::haltAtClassBoundries(bool) {}
Acad::ErrorStatus AcDbDxfFiler::writeXDataStart() { return Acad::eOk; }
int AcDbDxfFiler::precision() const { return kMaxPrec; }
void AcDbDxfFiler::setPrecision(int) {}

Acad::ErrorStatus AcDbDxfFiler::writeResBuf(const resbuf& rb) {
  int code = rb.restype;
  switch (pf::resbufKind(code)) {
    case pf::ResbufKind::None: return Acad::eInvalidResBuf;
    case pf::ResbufKind::String:
    case pf::ResbufKind::Unknown: return writeString(code, rb.resval.rstring);
    case pf::ResbufKind::Real: return writeDouble(code, rb.resval.rreal);
    case pf::ResbufKind::Short: return writeInt16(code, rb.resval.rint);
    case pf::ResbufKind::Long: return writeInt32(code, static_cast<Adesk::Int32>(rb.resval.rlong));
    case pf::ResbufKind::Point:
      return writePoint3d(code, AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]));
    case pf::ResbufKind::Name: {
      AcDbObjectId id;
      Acad::ErrorStatus es = acdbGetObjectId(id, rb.resval.rlname);
      if (es != Acad::eOk) return es;
      return writeObjectId(code, id);
    }
    case pf::ResbufKind::Binary: return writeBChunk(code, rb.resval.rbinary);
  }
  return Acad::eInvalidResBuf;
}

// ---- TagDxfFiler ------------------------------------------------------------------------------

namespace pf {

TagDxfFiler::TagDxfFiler(AcDbDatabase* db) : mDb(db), mInput(false) {}
TagDxfFiler::TagDxfFiler(AcDbDatabase* db, TagList tags) : mDb(db), mTags(std::move(tags)), mInput(true) {}
TagDxfFiler::~TagDxfFiler() {}

int TagDxfFiler::rewindFiler() {
  mPos = 0;
  mLastItemPos = static_cast<size_t>(-1);
  return 0;
}
Acad::ErrorStatus TagDxfFiler::filerStatus() const { return mStatus; }
void TagDxfFiler::resetFilerStatus() {
  mStatus = Acad::eOk;
  mErrorMessage[0] = '\0';
}
AcDb::FilerType TagDxfFiler::filerType() const { return mType; }
AcDbDatabase* TagDxfFiler::database() const { return mDb; }
bool TagDxfFiler::includesDefaultValues() const { return false; }
int TagDxfFiler::precision() const { return mPrecision; }
void TagDxfFiler::setPrecision(int prec) {
  mPrecision = prec < 1 ? 1 : (prec > kMaxPrec ? kMaxPrec : prec);
}

Acad::ErrorStatus TagDxfFiler::setError(Acad::ErrorStatus es, const char* errMsg, ...) {
  va_list args;
  va_start(args, errMsg);
  std::vsnprintf(mErrorMessage, sizeof mErrorMessage, errMsg ? errMsg : "", args);
  va_end(args);
  mStatus = es;
  return es;
}

Acad::ErrorStatus TagDxfFiler::setError(const char* errMsg, ...) {
  va_list args;
  va_start(args, errMsg);
  std::vsnprintf(mErrorMessage, sizeof mErrorMessage, errMsg ? errMsg : "", args);
  va_end(args);
  return mStatus;
}

Acad::ErrorStatus TagDxfFiler::fail(Acad::ErrorStatus es, const Tag* at, const std::string& what) {
  if (at != nullptr && at->line > 0)
    return setError(es, "line %d: group %d: %s", at->line, at->code, what.c_str());
  if (at != nullptr) return setError(es, "group %d: %s", at->code, what.c_str());
  return setError(es, "%s", what.c_str());
}

const char* TagDxfFiler::keepString(const std::string& s) {
  mStrings.push_back(s);
  return mStrings.back().c_str();
}

static bool parseHandleText(const std::string& text, AcDbHandle& handle) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r')) --e;
  if (b == e || e - b > 16) return false;
  Adesk::UInt64 v = 0;
  auto res = std::from_chars(text.data() + b, text.data() + e, v, 16);
  if (res.ec != std::errc() || res.ptr != text.data() + e) return false;
  handle = AcDbHandle::fromValue(v);
  return true;
}

static int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

Acad::ErrorStatus TagDxfFiler::readResBuf(resbuf* rb) {
  if (rb == nullptr) return Acad::eNullObjectPointer;
  if (mStatus != Acad::eOk) return mStatus;
  if (!mInput) return Acad::eIsWriting;
  if (mPos >= mTags.size()) return Acad::eEndOfObject;
  const Tag& t = mTags[mPos];
  if (t.code == 0 || (t.code == AcDb::kDxfRegAppName && !mReadXData) || (mHalt && t.code == AcDb::kDxfSubclass))
    return Acad::eEndOfObject;
  std::memset(rb, 0, sizeof *rb);
  rb->restype = static_cast<short>(t.code);
  size_t start = mPos;
  ++mPos;
  switch (tagKind(t.code)) {
    case TagKind::String:
    case TagKind::Handle:
    case TagKind::Comment:
    case TagKind::Unknown:
      rb->resval.rstring = const_cast<char*>(keepString(t.text));
      break;
    case TagKind::Id: {
      AcDbHandle h;
      if (!parseHandleText(t.text, h)) return fail(Acad::eInvalidDxfCode, &t, "'" + t.text + "' is not a handle");
      AcDbObjectId id;
      if (!h.isNull()) {
        if (mDb == nullptr) return fail(Acad::eNoDatabase, &t, "no database to resolve handles");
        id = idForHandle(mDb, h, true);
      }
      acdbGetAdsName(rb->resval.rlname, id);
      break;
    }
    case TagKind::Real:
    case TagKind::PointY:
    case TagKind::PointZ:
      if (!parseReal(t.text, rb->resval.rreal)) return fail(Acad::eInvalidDxfCode, &t, "'" + t.text + "' is not a number");
      break;
    case TagKind::Int16:
    case TagKind::Bool: {
      long long v = 0;
      if (!parseInteger(t.text, v) || v < -32768 || v > 65535)
        return fail(Acad::eInvalidDxfCode, &t, "'" + t.text + "' is not a 16-bit integer");
      rb->resval.rint = static_cast<short>(v);
      break;
    }
    case TagKind::Int32:
    case TagKind::Int64: {
      long long v = 0;
      if (!parseInteger(t.text, v)) return fail(Acad::eInvalidDxfCode, &t, "'" + t.text + "' is not an integer");
      rb->resval.rlong = static_cast<long>(v);
      break;
    }
    case TagKind::Binary: {
      std::string bytes;
      const std::string& s = t.text;
      size_t n = s.size();
      while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\r')) --n;
      if (n % 2 != 0 || n / 2 > 32767) return fail(Acad::eInvalidDxfCode, &t, "bad binary chunk");
      for (size_t i = 0; i < n; i += 2) {
        int hi = hexDigit(s[i]), lo = hexDigit(s[i + 1]);
        if (hi < 0 || lo < 0) return fail(Acad::eInvalidDxfCode, &t, "bad binary chunk");
        bytes.push_back(static_cast<char>(hi * 16 + lo));
      }
      mBinaries.push_back(bytes);
      rb->resval.rbinary.clen = static_cast<short>(bytes.size());
      rb->resval.rbinary.buf = const_cast<char*>(mBinaries.back().data());
      break;
    }
    case TagKind::PointX: {
      if (!parseReal(t.text, rb->resval.rpoint[0])) return fail(Acad::eInvalidDxfCode, &t, "'" + t.text + "' is not a number");
      if (mPos < mTags.size() && mTags[mPos].code == t.code + 10) {
        const Tag& ty = mTags[mPos];
        if (!parseReal(ty.text, rb->resval.rpoint[1])) return fail(Acad::eInvalidDxfCode, &ty, "'" + ty.text + "' is not a number");
        ++mPos;
        if (mPos < mTags.size() && mTags[mPos].code == t.code + 20) {
          const Tag& tz = mTags[mPos];
          if (!parseReal(tz.text, rb->resval.rpoint[2])) return fail(Acad::eInvalidDxfCode, &tz, "'" + tz.text + "' is not a number");
          ++mPos;
        }
      } else {
        return fail(Acad::eBadDxfSequence, &t, "point without its second coordinate");
      }
      break;
    }
  }
  mLastItemPos = start;
  return Acad::eOk;
}

Acad::ErrorStatus TagDxfFiler::pushBackItem() {
  if (mStatus != Acad::eOk) return mStatus;
  if (!mInput || mLastItemPos == static_cast<size_t>(-1)) return Acad::eNotApplicable;
  mPos = mLastItemPos;
  mLastItemPos = static_cast<size_t>(-1);
  return Acad::eOk;
}

bool TagDxfFiler::atEOF() { return mPos >= mTags.size(); }

bool TagDxfFiler::atSubclassData(const char* subClassName) {
  if (subClassName == nullptr || mPos >= mTags.size()) return false;
  const Tag& t = mTags[mPos];
  if (t.code != AcDb::kDxfSubclass) return false;
  std::string text = t.text;
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  if (text != subClassName) return false;
  ++mPos;
  mLastItemPos = static_cast<size_t>(-1);
  return true;
}

bool TagDxfFiler::atExtendedData() { return mPos < mTags.size() && mTags[mPos].code == AcDb::kDxfRegAppName; }

bool TagDxfFiler::atEndOfObject() {
  return mPos >= mTags.size() || mTags[mPos].code == 0 || mTags[mPos].code == AcDb::kDxfRegAppName;
}

void TagDxfFiler::haltAtClassBoundries(bool halt) { mHalt = halt; }

void TagDxfFiler::appendRaw(const Tag& tag) { mTags.push_back(tag); }

Acad::ErrorStatus TagDxfFiler::writeInteger(int code, long long value) {
  if (mStatus != Acad::eOk) return mStatus;
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  Tag t(code, std::string(buf, res.ptr));
  t.integer = value;
  t.real = static_cast<double>(value);
  mTags.push_back(t);
  return Acad::eOk;
}

Acad::ErrorStatus TagDxfFiler::writeReal(int code, double value, int prec) {
  if (mStatus != Acad::eOk) return mStatus;
  int p = prec == kDfltPrec ? mPrecision : prec;
  if (p >= kMaxPrec) p = 0;  // full precision: the shortest text that reads back exactly
  std::string text;
  if (!formatReal(value, p, text)) return setError(Acad::eInvalidInput, "group %d: %g cannot be written", code, value);
  Tag t(code, text);
  t.real = value;
  mTags.push_back(t);
  return Acad::eOk;
}

Acad::ErrorStatus TagDxfFiler::writeObjectId(AcDb::DxfCode code, const AcDbObjectId& id) {
  if (mStatus != Acad::eOk) return mStatus;
  Tag t(code, "0");
  if (!id.isNull()) {
    if (mOmitDead && (!id.isValid() || peekObject(id) == nullptr || id.isEffectivelyErased())) return Acad::eOk;
    char buf[20];
    id.handle().getIntoAsciiBuffer(buf);
    t.text = buf;
  }
  t.id = id;
  mTags.push_back(t);
  return Acad::eOk;
}

Acad::ErrorStatus TagDxfFiler::writeString(AcDb::DxfCode code, const char* s) {
  if (mStatus != Acad::eOk) return mStatus;
  std::string text = s ? s : "";
  // A line break inside a value would split the tag and corrupt the file.
  if (text.find_first_of("\r\n") != std::string::npos)
    return setError(Acad::eInvalidInput, "group %d: text with a line break cannot be written", static_cast<int>(code));
  mTags.push_back(Tag(code, text));
  return Acad::eOk;
}

Acad::ErrorStatus TagDxfFiler::writeChar(AcDb::DxfCode code, Adesk::Int8 v) { return writeInteger(code, v); }
Acad::ErrorStatus TagDxfFiler::writeInt32(AcDb::DxfCode code, Adesk::Int32 v) { return writeInteger(code, v); }
Acad::ErrorStatus TagDxfFiler::writeInt16(AcDb::DxfCode code, Adesk::Int16 v) { return writeInteger(code, v); }
Acad::ErrorStatus TagDxfFiler::writeUInt32(AcDb::DxfCode code, Adesk::UInt32 v) { return writeInteger(code, v); }
Acad::ErrorStatus TagDxfFiler::writeUInt16(AcDb::DxfCode code, Adesk::UInt16 v) { return writeInteger(code, v); }
Acad::ErrorStatus TagDxfFiler::writeUInt8(AcDb::DxfCode code, Adesk::UInt8 v) { return writeInteger(code, v); }
Acad::ErrorStatus TagDxfFiler::writeBoolean(AcDb::DxfCode code, Adesk::Boolean v) { return writeInteger(code, v ? 1 : 0); }
Acad::ErrorStatus TagDxfFiler::writeBool(AcDb::DxfCode code, bool v) { return writeInteger(code, v ? 1 : 0); }

Acad::ErrorStatus TagDxfFiler::writeAcDbHandle(AcDb::DxfCode code, const AcDbHandle& h) {
  if (mStatus != Acad::eOk) return mStatus;
  char buf[20];
  h.getIntoAsciiBuffer(buf);
  mTags.push_back(Tag(code, buf));
  return Acad::eOk;
}

Acad::ErrorStatus TagDxfFiler::writeBChunk(AcDb::DxfCode code, const ads_binary& bin) {
  if (mStatus != Acad::eOk) return mStatus;
  static const char* digits = "0123456789ABCDEF";
  std::string text;
  for (short i = 0; i < bin.clen; ++i) {
    unsigned char c = static_cast<unsigned char>(bin.buf[i]);
    text.push_back(digits[c >> 4]);
    text.push_back(digits[c & 15]);
  }
  mTags.push_back(Tag(code, text));
  return Acad::eOk;
}

Acad::ErrorStatus TagDxfFiler::writeDouble(AcDb::DxfCode code, double v, int prec) { return writeReal(code, v, prec); }

Acad::ErrorStatus TagDxfFiler::writePoint2d(AcDb::DxfCode code, const AcGePoint2d& p, int prec) {
  writeReal(code, p.x, prec);
  return writeReal(code + 10, p.y, prec);
}
Acad::ErrorStatus TagDxfFiler::writePoint3d(AcDb::DxfCode code, const AcGePoint3d& p, int prec) {
  writeReal(code, p.x, prec);
  writeReal(code + 10, p.y, prec);
  return writeReal(code + 20, p.z, prec);
}
Acad::ErrorStatus TagDxfFiler::writeVector2d(AcDb::DxfCode code, const AcGeVector2d& v, int prec) {
  writeReal(code, v.x, prec);
  return writeReal(code + 10, v.y, prec);
}
Acad::ErrorStatus TagDxfFiler::writeVector3d(AcDb::DxfCode code, const AcGeVector3d& v, int prec) {
  writeReal(code, v.x, prec);
  writeReal(code + 10, v.y, prec);
  return writeReal(code + 20, v.z, prec);
}
Acad::ErrorStatus TagDxfFiler::writeScale3d(AcDb::DxfCode code, const AcGeScale3d& s, int prec) {
  writeReal(code, s.sx, prec);
  writeReal(code + 1, s.sy, prec);
  return writeReal(code + 2, s.sz, prec);
}

Acad::ErrorStatus TagDxfFiler::writeResBuf(const resbuf& rb) { return AcDbDxfFiler::writeResBuf(rb); }

// ---- Whole objects ---------------------------------------------------------------------------------

Acad::ErrorStatus dxfOutObject(const AcDbObject* obj, AcDbDxfFiler* filer) {
  if (obj == nullptr || filer == nullptr) return Acad::eNullObjectPointer;
  Acad::ErrorStatus es = obj->dxfOutFields(filer);
  if (es != Acad::eOk) return es;
  for (const resbuf* rb = impl(obj)->xdata; rb != nullptr; rb = rb->rbnext) {
    es = filer->writeResBuf(*rb);
    if (es != Acad::eOk) return es;
  }
  return filer->filerStatus();
}

Acad::ErrorStatus dxfInObject(AcDbObject* obj, AcDbDxfFiler* filer) {
  if (obj == nullptr || filer == nullptr) return Acad::eNullObjectPointer;
  Acad::ErrorStatus es = obj->dxfInFields(filer);
  if (es != Acad::eOk) return es;
  TagDxfFiler* tags = dynamic_cast<TagDxfFiler*>(filer);
  if (tags == nullptr) return filer->filerStatus();
  // Extended data follows the fields: 1001 <application>, then its groups.
  while (!tags->atEOF() && !tags->atExtendedData() && tags->peek()->code != 0) tags->setPosition(tags->position() + 1);
  if (!tags->atExtendedData()) return filer->filerStatus();
  resbuf* head = nullptr;
  resbuf** tail = &head;
  tags->setReadExtendedData(true);
  resbuf rb;
  while ((es = tags->readResBuf(&rb)) == Acad::eOk) {
    resbuf one = rb;
    one.rbnext = nullptr;
    *tail = copyResbufChain(&one);
    tail = &(*tail)->rbnext;
  }
  tags->setReadExtendedData(false);
  if (es != Acad::eEndOfObject) {
    freeResbufChain(head);
    return es;
  }
  freeResbufChain(impl(obj)->xdata);
  impl(obj)->xdata = head;
  return filer->filerStatus();
}

}  // namespace pf
