// dxf_file_filers.cpp - DXF input and output filers over the drawing's groups (see dxf_file_filers.h).
//
// Values are handed to objects the way the host does: a point group (10-18, 110-112, 210,
// 1010-1013) arrives as one resbuf with its x, y and z groups combined; 16-bit and 8-bit
// integers in resval.rint, 32-bit ones in resval.rlong; text in a string the reader frees with
// acutDelString; binary chunks in a buffer freed with delete[]; object references as an
// ads_name (convert with acdbGetObjectId).
#include "dxf/dxf_file_filers.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "acutmem.h"
#include "db/db_services.h"
#include "db/tag_list.h"
#include "db/db_internal.h"

namespace pf {
namespace dxf {

using pf::TagKind;

namespace {

double toReal(std::string_view v) {
  double d = 0;
  parseDouble(v, d);
  return d;
}

std::int64_t toInt(std::string_view v) {
  std::int64_t i = 0;
  parseInt64(v, i);
  return i;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
DxfInFiler::DxfInFiler(AcDbDatabase* db) : db_(db) { mErrorMessage[0] = '\0'; }

void DxfInFiler::reset(const Tag* tags, std::size_t count) {
  tags_ = tags;
  count_ = count;
  pos_ = 0;
  lastStart_ = 0;
  canPushBack_ = false;
  readXData_ = false;
  halt_ = false;
  used_ = 0;
  status_ = Acad::eOk;
  mErrorMessage[0] = '\0';
}

std::uint32_t DxfInFiler::lastLine() const {
  if (count_ == 0) return 0;
  std::size_t at = pos_ == 0 ? 0 : pos_ - 1;
  if (at >= count_) at = count_ - 1;
  return tags_[at].line;
}

int DxfInFiler::rewindFiler() {
  pos_ = 0;
  canPushBack_ = false;
  return 0;
}

Acad::ErrorStatus DxfInFiler::setError(Acad::ErrorStatus es, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(mErrorMessage, sizeof mErrorMessage, fmt, ap);
  va_end(ap);
  status_ = es;
  return es;
}

Acad::ErrorStatus DxfInFiler::setError(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(mErrorMessage, sizeof mErrorMessage, fmt, ap);
  va_end(ap);
  if (status_ == Acad::eOk) status_ = Acad::eInvalidDxfCode;
  return status_;
}

AcDbObjectId DxfInFiler::idOf(std::string_view text) const {
  std::uint64_t h = 0;
  if (!parseHandle(text, h) || h == 0) return AcDbObjectId::kNull;
  return pf::idForHandle(db_, AcDbHandle::fromValue(h), true);
}

const char* DxfInFiler::keep(std::string_view text) {
  if (used_ == pool_.size()) pool_.emplace_back();
  std::string& slot = pool_[used_++];
  slot.assign(text.data(), text.size());
  return slot.c_str();
}

// Values are converted the way the platform's tag filer converts them (pf::tagKind), so every
// class reads the same resbufs from a file as from a tag list. Text and binary chunks belong to
// the filer (valid until the next record), as the host's filers hand them out.
Acad::ErrorStatus DxfInFiler::readResBuf(resbuf* rb) {
  if (rb == nullptr) return Acad::eNullObjectPointer;
  if (status_ != Acad::eOk) return status_;
  if (pos_ >= count_ || (tags_[pos_].code == AcDb::kDxfRegAppName && !readXData_) ||
      (halt_ && tags_[pos_].code == AcDb::kDxfSubclass)) {
    return Acad::eEndOfObject;
  }
  std::memset(rb, 0, sizeof *rb);
  lastStart_ = pos_;
  canPushBack_ = true;
  const Tag& t = tags_[pos_++];
  const int code = t.code;
  rb->restype = static_cast<short>(code);
  switch (pf::tagKind(code)) {
    case TagKind::PointX: {
      rb->resval.rpoint[0] = toReal(t.value);
      if (pos_ < count_ && tags_[pos_].code == code + 10) {
        rb->resval.rpoint[1] = toReal(tags_[pos_++].value);
        if (pos_ < count_ && tags_[pos_].code == code + 20) rb->resval.rpoint[2] = toReal(tags_[pos_++].value);
      } else {
        return setError(Acad::eBadDxfSequence, "line %u: group %d: point without its second coordinate", t.line, code);
      }
      break;
    }
    case TagKind::Real:
    case TagKind::PointY:
    case TagKind::PointZ:
      rb->resval.rreal = toReal(t.value);
      break;
    case TagKind::Int16:
    case TagKind::Bool:
      rb->resval.rint = static_cast<short>(toInt(t.value));
      break;
    case TagKind::Int32:
    case TagKind::Int64:
      rb->resval.rlong = static_cast<long>(toInt(t.value));
      break;
    case TagKind::Id: {
      AcDbObjectId id = idOf(t.value);
      acdbGetAdsName(rb->resval.rlname, id);
      break;
    }
    case TagKind::Binary: {
      std::size_t n = t.value.size() / 2;
      if (n > 32767) n = 32767;
      if (used_ == pool_.size()) pool_.emplace_back();
      std::string& bytes = pool_[used_++];
      bytes.resize(n);
      for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(hexDigit(t.value[2 * i]) * 16 + hexDigit(t.value[2 * i + 1]));
      rb->resval.rbinary.clen = static_cast<short>(n);
      rb->resval.rbinary.buf = &bytes[0];
      break;
    }
    default:
      rb->resval.rstring = const_cast<char*>(keep(t.value));
      break;
  }
  return Acad::eOk;
}

Acad::ErrorStatus DxfInFiler::pushBackItem() {
  if (status_ != Acad::eOk) return status_;
  if (!canPushBack_) return Acad::eInvalidInput;
  pos_ = lastStart_;
  canPushBack_ = false;
  return Acad::eOk;
}

bool DxfInFiler::atEOF() { return pos_ >= count_; }

bool DxfInFiler::atEndOfObject() { return pos_ >= count_ || tags_[pos_].code == AcDb::kDxfRegAppName; }

bool DxfInFiler::atExtendedData() { return pos_ < count_ && tags_[pos_].code == AcDb::kDxfRegAppName; }

bool DxfInFiler::atSubclassData(const char* name) {
  if (pos_ < count_ && tags_[pos_].code == AcDb::kDxfSubclass && name && tags_[pos_].value == name) {
    ++pos_;
    canPushBack_ = false;
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
DxfOutFiler::DxfOutFiler(AcDbDatabase* db, TagWriter& out, std::function<bool(const AcDbObjectId&)> saved)
    : db_(db), out_(out), saved_(std::move(saved)) {
  mErrorMessage[0] = '\0';
}

bool DxfOutFiler::dangling(const AcDbStub* stub, std::uint64_t handle) const {
  if (handle == 0 || handle >= danglingBelow_) return false;
  return stub == nullptr || (stub->object == nullptr && !stub->erased);
}

Acad::ErrorStatus DxfOutFiler::writeObjectId(AcDb::DxfCode code, const AcDbObjectId& id) {
  if (id.isNull()) {
    out_.handle(code, code == nullCode_ ? nullHandle_ : 0);
    return Acad::eOk;
  }
  const AcDbStub* stub = id;
  if (saved_ && !saved_(id) && !dangling(stub, stub->handle.value()))
    return Acad::eOk;  // the object is not in the file: leave the reference out
  out_.handle(code, saved_ ? stub->handle.value() : id.handle().value());
  return Acad::eOk;
}

Acad::ErrorStatus DxfOutFiler::writeChar(AcDb::DxfCode code, Adesk::Int8 v) {
  out_.integer(code, v);
  return Acad::eOk;
}

Acad::ErrorStatus DxfOutFiler::writeString(AcDb::DxfCode code, const char* v) {
  out_.string(code5(code), v ? v : "");
  return Acad::eOk;
}

Acad::ErrorStatus DxfOutFiler::writeBChunk(AcDb::DxfCode code, const ads_binary& v) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(static_cast<std::size_t>(v.clen > 0 ? v.clen : 0) * 2);
  for (short i = 0; i < v.clen; ++i) {
    unsigned char c = static_cast<unsigned char>(v.buf[i]);
    hex.push_back(digits[c >> 4]);
    hex.push_back(digits[c & 15]);
  }
  out_.kept(code, hex);
  return Acad::eOk;
}

Acad::ErrorStatus DxfOutFiler::writeAcDbHandle(AcDb::DxfCode code, const AcDbHandle& v) {
  out_.handle(code5(code), v.value());
  return Acad::eOk;
}

Acad::ErrorStatus DxfOutFiler::writeInt32(AcDb::DxfCode code, Adesk::Int32 v) {
  out_.integer(code, v);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writeInt16(AcDb::DxfCode code, Adesk::Int16 v) {
  out_.integer(code, v);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writeUInt32(AcDb::DxfCode code, Adesk::UInt32 v) {
  out_.integer(code, static_cast<std::int64_t>(v));
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writeUInt16(AcDb::DxfCode code, Adesk::UInt16 v) {
  out_.integer(code, v);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writeUInt8(AcDb::DxfCode code, Adesk::UInt8 v) {
  out_.integer(code, v);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writeBoolean(AcDb::DxfCode code, Adesk::Boolean v) {
  out_.integer(code, v ? 1 : 0);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writeBool(AcDb::DxfCode code, bool v) {
  out_.integer(code, v ? 1 : 0);
  return Acad::eOk;
}

void DxfOutFiler::real(int code, double v, int prec) {
  out_.real(code, v, prec == kDfltPrec ? 0 : prec);
}

Acad::ErrorStatus DxfOutFiler::writeDouble(AcDb::DxfCode code, double v, int prec) {
  real(code, v, prec);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writePoint2d(AcDb::DxfCode code, const AcGePoint2d& v, int prec) {
  real(code, v.x, prec);
  real(code + 10, v.y, prec);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writePoint3d(AcDb::DxfCode code, const AcGePoint3d& v, int prec) {
  real(code, v.x, prec);
  real(code + 10, v.y, prec);
  real(code + 20, v.z, prec);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writeVector2d(AcDb::DxfCode code, const AcGeVector2d& v, int prec) {
  real(code, v.x, prec);
  real(code + 10, v.y, prec);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writeVector3d(AcDb::DxfCode code, const AcGeVector3d& v, int prec) {
  real(code, v.x, prec);
  real(code + 10, v.y, prec);
  real(code + 20, v.z, prec);
  return Acad::eOk;
}
Acad::ErrorStatus DxfOutFiler::writeScale3d(AcDb::DxfCode code, const AcGeScale3d& v, int prec) {
  real(code, v.sx, prec);
  real(code + 10, v.sy, prec);
  real(code + 20, v.sz, prec);
  return Acad::eOk;
}

Acad::ErrorStatus DxfOutFiler::writeResBuf(const resbuf& rb) {
  const int code = rb.restype;
  switch (pf::tagKind(code)) {
    case TagKind::PointX:
      real(code, rb.resval.rpoint[0], kDfltPrec);
      real(code + 10, rb.resval.rpoint[1], kDfltPrec);
      real(code + 20, rb.resval.rpoint[2], kDfltPrec);
      return Acad::eOk;
    case TagKind::Real:
    case TagKind::PointY:
    case TagKind::PointZ:
      real(code, rb.resval.rreal, kDfltPrec);
      return Acad::eOk;
    case TagKind::Int16:
    case TagKind::Bool:
      out_.integer(code, rb.resval.rint);
      return Acad::eOk;
    case TagKind::Int32:
    case TagKind::Int64:
      out_.integer(code, rb.resval.rlong);
      return Acad::eOk;
    case TagKind::Id: {
      AcDbObjectId id;
      acdbGetObjectId(id, rb.resval.rlname);
      return writeObjectId(static_cast<AcDb::DxfCode>(code), id);
    }
    case TagKind::Binary:
      return writeBChunk(static_cast<AcDb::DxfCode>(code), rb.resval.rbinary);
    default:
      out_.kept(code, rb.resval.rstring ? rb.resval.rstring : "");
      return Acad::eOk;
  }
}

Acad::ErrorStatus DxfOutFiler::pushBackItem() { return Acad::eNotApplicable; }

void DxfOutFiler::writeKept(int code, std::string_view text) {
  const bool id = (code >= 330 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481;
  if (id) {
    std::uint64_t h = 0;
    if (!parseHandle(text, h) || h == 0) {
      out_.handle(code, 0);
      return;
    }
    AcDbObjectId ref = pf::idForHandle(db_, AcDbHandle::fromValue(h), false);
    const AcDbStub* stub = ref;
    if ((ref.isNull() || (saved_ && !saved_(ref))) && !dangling(stub, h)) return;  // names nothing in the file: left out
    out_.handle(code, h);
    return;
  }
  out_.kept(code5(code), text);
}

}  // namespace dxf
}  // namespace pf
