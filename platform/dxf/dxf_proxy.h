// dxf_proxy.h - the proxies the drawing reader makes for records it does not model (HATCH,
// MTEXT, LAYOUT, table records, objects of unregistered classes, ...).
//
// They are the platform's proxy object and proxy entity, keeping the record's own groups (after
// the common object or entity part) as the text that was read, packed into one buffer: a large
// drawing holds hundreds of thousands of them, and writing them back must give the same groups
// (same codes, same number of coordinates, same text). References among the kept groups are
// resolved by handle when they are written, so a reference to an object that is no longer in the
// drawing is left out; copying files them as ids, so deep clone translates them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "db/entities/proxy.h"

namespace pf {
namespace dxf {

// Groups as (code, text) pairs in one buffer: 2 bytes of code, a 1-3 byte length, the text.
// 16 bytes besides the buffer, which shrink() makes exactly as long as its content.
class PackedTags {
 public:
  PackedTags() = default;
  PackedTags(PackedTags&& other) noexcept { *this = std::move(other); }
  PackedTags& operator=(PackedTags&& other) noexcept {
    if (this != &other) {
      delete[] buf_;
      buf_ = other.buf_;
      size_ = other.size_;
      capacity_ = other.capacity_;
      other.buf_ = nullptr;
      other.size_ = other.capacity_ = 0;
    }
    return *this;
  }
  PackedTags(const PackedTags&) = delete;
  PackedTags& operator=(const PackedTags&) = delete;
  ~PackedTags() { delete[] buf_; }

  void append(int code, std::string_view text);
  void clear() { size_ = 0; }
  bool empty() const { return size_ == 0; }
  std::size_t bytes() const { return capacity_; }
  template <class F>
  void forEach(F f) const {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(buf_);
    const unsigned char* end = p + size_;
    while (p < end) {
      int code = static_cast<std::int16_t>(p[0] | (p[1] << 8));
      p += 2;
      std::size_t len = 0;
      int shift = 0;
      for (;;) {
        unsigned char b = *p++;
        len |= static_cast<std::size_t>(b & 0x7f) << shift;
        if (!(b & 0x80)) break;
        shift += 7;
      }
      f(code, std::string_view(reinterpret_cast<const char*>(p), len));
      p += len;
    }
  }
  void shrink();

 private:
  void reserve(std::size_t more);

  char* buf_ = nullptr;
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 0;
};

class DxfProxyObject : public ProxyObject {
 public:
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const override;
  Acad::ErrorStatus getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const override;
  const PackedTags& kept() const { return kept_; }
  ProxyObject* newEmpty() const override { return new DxfProxyObject(); }

 private:
  PackedTags kept_;
};

class DxfProxyEntity : public ProxyEntity {
 public:
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const override;
  Acad::ErrorStatus getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const override;
  const PackedTags& kept() const { return kept_; }
  ProxyEntity* newEmpty() const override { return new DxfProxyEntity(); }

 private:
  PackedTags kept_;
};

DxfProxyObject* newDxfProxyObject(const std::string& className, const std::string& dxfName,
                                  const std::string& app, int flags);
DxfProxyEntity* newDxfProxyEntity(const std::string& className, const std::string& dxfName,
                                  const std::string& app, int flags);

// The original DXF name of a proxy (object or entity), or null for anything else.
const char* proxyDxfName(const AcDbObject* obj);

}  // namespace dxf
}  // namespace pf
