// dxf_proxy.cpp - proxies keeping a record's groups as read (see dxf_proxy.h).
#include "dxf/dxf_proxy.h"

#include <cstring>
#include <new>
#include <vector>

#include "acutmem.h"
#include "dxf/dxf_file_filers.h"
#include "dxf/dxf_tag.h"
#include "dxf/dxf_writer.h"
#include "db/db_services.h"

namespace pf {
namespace dxf {

void PackedTags::reserve(std::size_t more) {
  const std::size_t need = static_cast<std::size_t>(size_) + more;
  if (need <= capacity_) return;
  // Sizes are 32-bit: a kept record of 4 GB is more than memory can take here anyway.
  if (need > 0xFFFFFFFFu) throw std::bad_alloc();
  std::size_t capacity = capacity_ ? capacity_ : 256;
  while (capacity < need) capacity *= 2;
  if (capacity > 0xFFFFFFFFu) capacity = need;
  char* grown = new char[capacity];
  if (size_) std::memcpy(grown, buf_, size_);
  delete[] buf_;
  buf_ = grown;
  capacity_ = static_cast<std::uint32_t>(capacity);
}

void PackedTags::append(int code, std::string_view text) {
  reserve(2 + 5 + text.size());
  const std::int16_t c = static_cast<std::int16_t>(code);
  char* out = buf_ + size_;
  *out++ = static_cast<char>(c & 0xff);
  *out++ = static_cast<char>((c >> 8) & 0xff);
  std::size_t len = text.size();
  do {
    unsigned char b = static_cast<unsigned char>(len & 0x7f);
    len >>= 7;
    if (len) b |= 0x80;
    *out++ = static_cast<char>(b);
  } while (len);
  if (!text.empty()) std::memcpy(out, text.data(), text.size());
  out += text.size();
  size_ = static_cast<std::uint32_t>(out - buf_);
}

void PackedTags::shrink() {
  if (size_ == capacity_) return;
  char* exact = size_ ? new char[size_] : nullptr;
  if (size_) std::memcpy(exact, buf_, size_);
  delete[] buf_;
  buf_ = exact;
  capacity_ = size_;
}

namespace {

// References that name objects (and so are resolved, translated and checked): 330-369,
// 390-399, 480-481. 320-329 and 1005 are handles kept as text.
bool isIdCode(int code) { return (code >= 330 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481; }

int referenceType(int code) {
  if (code >= 360 && code <= 369) return 3;  // hard ownership
  if (code >= 350 && code <= 359) return 2;  // soft ownership
  if ((code >= 340 && code <= 349) || (code >= 390 && code <= 399) || code == 480 || code == 481) return 1;
  return 0;  // soft pointer
}

AcDbObjectId idOfHandle(AcDbDatabase* db, std::string_view text) {
  std::uint64_t h = 0;
  if (!db || !parseHandle(text, h) || h == 0) return AcDbObjectId::kNull;
  return pf::idForHandle(db, AcDbHandle::fromValue(h), false);
}

std::string handleText(const AcDbObjectId& id) {
  if (id.isNull()) return "0";
  char buf[20];
  id.handle().getIntoAsciiBuffer(buf);
  return buf;
}

// Reads the rest of the record into `kept`. From the drawing reader's filer the groups are
// taken as read; from any other filer each item is turned back into groups.
Acad::ErrorStatus readKept(AcDbDxfFiler* pFiler, PackedTags& kept) {
  kept.clear();
  if (DxfInFiler* in = dynamic_cast<DxfInFiler*>(pFiler)) {
    in->takeRest([&](int code, std::string_view text) { kept.append(code, text); });
    kept.shrink();
    return Acad::eOk;
  }
  for (;;) {
    if (pFiler->atEndOfObject()) break;
    resbuf rb;
    rb.rbnext = nullptr;
    rb.restype = 0;
    Acad::ErrorStatus es = pFiler->readItem(&rb);
    if (es == Acad::eEndOfObject || es == Acad::eEndOfFile) break;
    if (es != Acad::eOk) return es;
    const int code = rb.restype;
    if (code == AcDb::kDxfStart || code == AcDb::kDxfEnd) {
      pFiler->pushBackItem();
      break;
    }
    std::string text;
    bool point = (code >= 10 && code <= 18) || (code >= 110 && code <= 112) || code == 210 ||
                 (code >= 1010 && code <= 1013);
    ValueKind k = kindOf(code);
    if (point) {
      for (int i = 0; i < 3; ++i) kept.append(code + 10 * i, TagWriter::formatDouble(rb.resval.rpoint[i]));
      continue;
    }
    if (isIdCode(code)) {
      AcDbObjectId id;
      acdbGetObjectId(id, rb.resval.rlname);
      text = handleText(id);
    } else if (k == ValueKind::Double) {
      text = TagWriter::formatDouble(rb.resval.rreal);
    } else if (k == ValueKind::Int16 || k == ValueKind::Bool) {
      text = std::to_string(rb.resval.rint);
    } else if (k == ValueKind::Int32) {
      text = std::to_string(rb.resval.rlong);
    } else if (k == ValueKind::Binary) {
      static const char digits[] = "0123456789ABCDEF";
      for (short i = 0; i < rb.resval.rbinary.clen; ++i) {
        unsigned char c = static_cast<unsigned char>(rb.resval.rbinary.buf[i]);
        text.push_back(digits[c >> 4]);
        text.push_back(digits[c & 15]);
      }
    } else {
      text = rb.resval.rstring ? rb.resval.rstring : "";
    }
    kept.append(code, text);
  }
  kept.shrink();
  return Acad::eOk;
}

Acad::ErrorStatus writeKept(AcDbDxfFiler* pFiler, const PackedTags& kept, AcDbDatabase* db) {
  if (DxfOutFiler* out = dynamic_cast<DxfOutFiler*>(pFiler)) {
    kept.forEach([&](int code, std::string_view text) { out->writeKept(code, text); });
    return Acad::eOk;
  }
  kept.forEach([&](int code, std::string_view text) {
    const AcDb::DxfCode c = static_cast<AcDb::DxfCode>(code);
    if (isIdCode(code)) {
      pFiler->writeObjectId(c, idOfHandle(db, text));
      return;
    }
    switch (kindOf(code)) {
      case ValueKind::Double: {
        double d = 0;
        parseDouble(text, d);
        pFiler->writeDouble(c, d);
        return;
      }
      case ValueKind::Int16:
      case ValueKind::Bool: {
        std::int64_t v = 0;
        parseInt64(text, v);
        pFiler->writeInt16(c, static_cast<Adesk::Int16>(v));
        return;
      }
      case ValueKind::Int32: {
        std::int64_t v = 0;
        parseInt64(text, v);
        pFiler->writeInt32(c, static_cast<Adesk::Int32>(v));
        return;
      }
      default:
        pFiler->writeString(c, std::string(text).c_str());
        return;
    }
  });
  return pFiler->filerStatus();
}

void writeKeptDwg(AcDbDwgFiler* pFiler, const ProxyData& data, const PackedTags& kept, AcDbDatabase* db) {
  pFiler->writeString(data.className());
  pFiler->writeString(data.dxfName());
  pFiler->writeString(data.appDescription());
  pFiler->writeInt32(data.flags());
  Adesk::UInt32 n = 0;
  kept.forEach([&](int, std::string_view) { ++n; });
  pFiler->writeUInt32(n);
  kept.forEach([&](int code, std::string_view text) {
    pFiler->writeInt16(static_cast<Adesk::Int16>(code));
    if (isIdCode(code)) {
      AcDbObjectId id = idOfHandle(db, text);
      switch (referenceType(code)) {
        case 3: pFiler->writeHardOwnershipId(AcDbHardOwnershipId(id)); break;
        case 2: pFiler->writeSoftOwnershipId(AcDbSoftOwnershipId(id)); break;
        case 1: pFiler->writeHardPointerId(AcDbHardPointerId(id)); break;
        default: pFiler->writeSoftPointerId(AcDbSoftPointerId(id)); break;
      }
    } else {
      pFiler->writeString(std::string(text).c_str());
    }
  });
}

std::string readDwgString(AcDbDwgFiler* pFiler) {
  char* s = nullptr;
  pFiler->readString(&s);
  std::string out = s ? s : "";
  if (s) acutDelString(s);
  return out;
}

Acad::ErrorStatus readKeptDwg(AcDbDwgFiler* pFiler, ProxyData& data, PackedTags& kept) {
  const std::string className = readDwgString(pFiler);
  const std::string dxfName = readDwgString(pFiler);
  const std::string app = readDwgString(pFiler);
  Adesk::Int32 flags = 0;
  pFiler->readInt32(&flags);
  data.setClass(className.c_str(), dxfName.c_str(), app.c_str(), flags);
  Adesk::UInt32 n = 0;
  Acad::ErrorStatus es = pFiler->readUInt32(&n);
  if (es != Acad::eOk) return es;
  PackedTags in;
  for (Adesk::UInt32 i = 0; i < n; ++i) {
    Adesk::Int16 code = 0;
    if ((es = pFiler->readInt16(&code)) != Acad::eOk) return es;
    if (isIdCode(code)) {
      AcDbObjectId id;
      switch (referenceType(code)) {
        case 3: { AcDbHardOwnershipId x; es = pFiler->readHardOwnershipId(&x); id = x; break; }
        case 2: { AcDbSoftOwnershipId x; es = pFiler->readSoftOwnershipId(&x); id = x; break; }
        case 1: { AcDbHardPointerId x; es = pFiler->readHardPointerId(&x); id = x; break; }
        default: { AcDbSoftPointerId x; es = pFiler->readSoftPointerId(&x); id = x; break; }
      }
      if (es != Acad::eOk) return es;
      in.append(code, handleText(id));
    } else {
      in.append(code, readDwgString(pFiler));
    }
  }
  if ((es = pFiler->filerStatus()) != Acad::eOk) return es;
  kept = std::move(in);
  kept.shrink();
  return Acad::eOk;
}

void keptReferences(const PackedTags& kept, AcDbDatabase* db, AcDbObjectIdArray& ids, AcDbIntArray& types) {
  kept.forEach([&](int code, std::string_view text) {
    if (!isIdCode(code)) return;
    AcDbObjectId id = idOfHandle(db, text);
    if (id.isNull()) return;
    ids.append(id);
    types.append(referenceType(code));
  });
}

template <class P>
P* makeProxy(const std::string& className, const std::string& dxfName, const std::string& app, int flags) {
  P* p = new P();
  p->data().setClass(className.c_str(), dxfName.c_str(), app.c_str(), flags);
  return p;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
Acad::ErrorStatus DxfProxyObject::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbObject::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  return readKept(pFiler, kept_);
}

Acad::ErrorStatus DxfProxyObject::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbObject::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  return writeKept(pFiler, kept_, database() ? database() : pFiler->database());
}

Acad::ErrorStatus DxfProxyObject::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  writeKeptDwg(pFiler, data(), kept_, database());
  return pFiler->filerStatus();
}

Acad::ErrorStatus DxfProxyObject::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbObject::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  return readKeptDwg(pFiler, data(), kept_);
}

Acad::ErrorStatus DxfProxyObject::getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const {
  assertReadEnabled();
  keptReferences(kept_, database(), ids, types);
  return Acad::eOk;
}

// ---------------------------------------------------------------------------------------------
Acad::ErrorStatus DxfProxyEntity::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  return readKept(pFiler, kept_);
}

Acad::ErrorStatus DxfProxyEntity::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  return writeKept(pFiler, kept_, database() ? database() : pFiler->database());
}

Acad::ErrorStatus DxfProxyEntity::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  writeKeptDwg(pFiler, data(), kept_, database());
  return pFiler->filerStatus();
}

Acad::ErrorStatus DxfProxyEntity::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  return readKeptDwg(pFiler, data(), kept_);
}

Acad::ErrorStatus DxfProxyEntity::getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const {
  assertReadEnabled();
  keptReferences(kept_, database(), ids, types);
  return Acad::eOk;
}

DxfProxyObject* newDxfProxyObject(const std::string& className, const std::string& dxfName, const std::string& app,
                                  int flags) {
  return makeProxy<DxfProxyObject>(className, dxfName, app, flags);
}

DxfProxyEntity* newDxfProxyEntity(const std::string& className, const std::string& dxfName, const std::string& app,
                                  int flags) {
  return makeProxy<DxfProxyEntity>(className, dxfName, app, flags);
}

const char* proxyDxfName(const AcDbObject* obj) {
  if (const AcDbProxyObject* p = AcDbProxyObject::cast(obj)) return p->originalDxfName();
  if (const AcDbProxyEntity* p = AcDbProxyEntity::cast(obj)) return p->originalDxfName();
  return nullptr;
}

}  // namespace dxf
}  // namespace pf
