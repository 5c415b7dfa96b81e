// dxf_file_filers.h - the DXF filers the drawing reader and writer hand to objects: an input filer
// over the groups of one record as read from the file (values still in the file's buffer,
// converted to resbufs only when an object asks), and an output filer that writes straight
// into the drawing being saved. Neither builds an intermediate list, so a drawing of a million
// objects is filed without a million temporary containers.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "dbmain.h"
#include "dxf/dxf_tag.h"
#include "dxf/dxf_writer.h"

namespace pf {
namespace dxf {

class DxfInFiler : public AcDbDxfFiler {
 public:
  explicit DxfInFiler(AcDbDatabase* db);

  // The groups to hand out: the record's groups after its `0 type` group.
  void reset(const Tag* tags, std::size_t count);
  // Line of the group read last (for messages), or of the record start when none was read.
  std::uint32_t lastLine() const;

  Acad::ErrorStatus readResBuf(resbuf* pRb) override;
  Acad::ErrorStatus pushBackItem() override;
  bool atEOF() override;
  bool atSubclassData(const char* subClassName) override;
  bool atExtendedData() override;
  bool atEndOfObject() override;
  void haltAtClassBoundries(bool halt) override { halt_ = halt; }
  // Skips what the object left unread, up to its extended data.
  void skipToExtendedData() {
    while (pos_ < count_ && tags_[pos_].code != AcDb::kDxfRegAppName) ++pos_;
    canPushBack_ = false;
  }
  // Extended data (from the first 1001 group) is read only when asked for.
  void setReadExtendedData(bool on) { readXData_ = on; }

  int rewindFiler() override;
  Acad::ErrorStatus filerStatus() const override { return status_; }
  void resetFilerStatus() override { status_ = Acad::eOk; }
  Acad::ErrorStatus setError(Acad::ErrorStatus es, const char* fmt, ...) override;
  Acad::ErrorStatus setError(const char* fmt, ...) override;
  AcDb::FilerType filerType() const override { return AcDb::kFileFiler; }
  AcDbDatabase* database() const override { return db_; }
  bool includesDefaultValues() const override { return false; }

  // An input filer writes nothing.
  Acad::ErrorStatus writeObjectId(AcDb::DxfCode, const AcDbObjectId&) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeChar(AcDb::DxfCode, Adesk::Int8) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeString(AcDb::DxfCode, const char*) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeBChunk(AcDb::DxfCode, const ads_binary&) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeAcDbHandle(AcDb::DxfCode, const AcDbHandle&) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeInt32(AcDb::DxfCode, Adesk::Int32) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeInt16(AcDb::DxfCode, Adesk::Int16) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeUInt32(AcDb::DxfCode, Adesk::UInt32) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeUInt16(AcDb::DxfCode, Adesk::UInt16) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeUInt8(AcDb::DxfCode, Adesk::UInt8) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeBoolean(AcDb::DxfCode, Adesk::Boolean) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeBool(AcDb::DxfCode, bool) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeDouble(AcDb::DxfCode, double, int = kDfltPrec) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writePoint2d(AcDb::DxfCode, const AcGePoint2d&, int = kDfltPrec) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writePoint3d(AcDb::DxfCode, const AcGePoint3d&, int = kDfltPrec) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeVector2d(AcDb::DxfCode, const AcGeVector2d&, int = kDfltPrec) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeVector3d(AcDb::DxfCode, const AcGeVector3d&, int = kDfltPrec) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeScale3d(AcDb::DxfCode, const AcGeScale3d&, int = kDfltPrec) override { return Acad::eNotApplicable; }
  Acad::ErrorStatus writeResBuf(const resbuf&) override { return Acad::eNotApplicable; }

  // The id a handle names in the database being read: null for 0; an id reserved for the
  // handle when its object is not (yet) there.
  AcDbObjectId idOf(std::string_view handleText) const;

  // Hands the groups not read yet to f(code, text) and ends the record (proxies keep them).
  template <class F>
  void takeRest(F f) {
    for (; pos_ < count_ && tags_[pos_].code != AcDb::kDxfRegAppName; ++pos_) f(tags_[pos_].code, tags_[pos_].value);
    canPushBack_ = false;
  }

 private:
  AcDbDatabase* db_;
  const Tag* tags_ = nullptr;
  std::size_t count_ = 0;
  std::size_t pos_ = 0;
  std::size_t lastStart_ = 0;  // where the item read last began (pushBackItem goes back there)
  bool canPushBack_ = false;
  bool readXData_ = false;
  bool halt_ = false;
  Acad::ErrorStatus status_ = Acad::eOk;
  // Text and binary values handed out, reused record after record.
  const char* keep(std::string_view text);
  std::deque<std::string> pool_;
  std::size_t used_ = 0;
};

class DxfOutFiler : public AcDbDxfFiler {
 public:
  // `saved` answers whether an object is written to the file; references to anything else are
  // left out, so the drawing never names an object it does not hold.
  DxfOutFiler(AcDbDatabase* db, TagWriter& out, std::function<bool(const AcDbObjectId&)> saved);

  Acad::ErrorStatus writeObjectId(AcDb::DxfCode code, const AcDbObjectId& id) override;
  Acad::ErrorStatus writeChar(AcDb::DxfCode code, Adesk::Int8 v) override;
  Acad::ErrorStatus writeString(AcDb::DxfCode code, const char* v) override;
  Acad::ErrorStatus writeBChunk(AcDb::DxfCode code, const ads_binary& v) override;
  Acad::ErrorStatus writeAcDbHandle(AcDb::DxfCode code, const AcDbHandle& v) override;
  Acad::ErrorStatus writeInt32(AcDb::DxfCode code, Adesk::Int32 v) override;
  Acad::ErrorStatus writeInt16(AcDb::DxfCode code, Adesk::Int16 v) override;
  Acad::ErrorStatus writeUInt32(AcDb::DxfCode code, Adesk::UInt32 v) override;
  Acad::ErrorStatus writeUInt16(AcDb::DxfCode code, Adesk::UInt16 v) override;
  Acad::ErrorStatus writeUInt8(AcDb::DxfCode code, Adesk::UInt8 v) override;
  Acad::ErrorStatus writeBoolean(AcDb::DxfCode code, Adesk::Boolean v) override;
  Acad::ErrorStatus writeBool(AcDb::DxfCode code, bool v) override;
  Acad::ErrorStatus writeDouble(AcDb::DxfCode code, double v, int prec = kDfltPrec) override;
  Acad::ErrorStatus writePoint2d(AcDb::DxfCode code, const AcGePoint2d& v, int prec = kDfltPrec) override;
  Acad::ErrorStatus writePoint3d(AcDb::DxfCode code, const AcGePoint3d& v, int prec = kDfltPrec) override;
  Acad::ErrorStatus writeVector2d(AcDb::DxfCode code, const AcGeVector2d& v, int prec = kDfltPrec) override;
  Acad::ErrorStatus writeVector3d(AcDb::DxfCode code, const AcGeVector3d& v, int prec = kDfltPrec) override;
  Acad::ErrorStatus writeScale3d(AcDb::DxfCode code, const AcGeScale3d& v, int prec = kDfltPrec) override;
  Acad::ErrorStatus writeResBuf(const resbuf& rb) override;
  Acad::ErrorStatus writeXDataStart() override { return Acad::eOk; }

  int rewindFiler() override { return 0; }
  Acad::ErrorStatus filerStatus() const override { return status_; }
  void resetFilerStatus() override { status_ = Acad::eOk; }
  AcDb::FilerType filerType() const override { return AcDb::kFileFiler; }
  AcDbDatabase* database() const override { return db_; }
  bool includesDefaultValues() const override { return false; }
  Acad::ErrorStatus pushBackItem() override;
  Acad::ErrorStatus readResBuf(resbuf*) override { return Acad::eNotApplicable; }

  // A group kept as text by a proxy: references are checked like writeObjectId's.
  void writeKept(int code, std::string_view text);
  // DIMSTYLE records carry their handle in group 105: the next group 5 is written as 105.
  void setHandleCode(int code) { handleCode_ = code; }
  // A null reference written with group `code` names `handle` instead (a new drawing's block
  // records point at layouts the database does not hold). Code 0 turns it off.
  void setNullReplacement(int code, std::uint64_t handle) {
    nullCode_ = code;
    nullHandle_ = handle;
  }
  // References a drawing's file made to handles below `seed` that no record of it has (writers
  // leave such dangling reactors behind) are written back as read, so that a drawing saved
  // unchanged keeps them; no new object can take those handles. 0 (the default) leaves every
  // such reference out.
  void keepDanglingBelow(std::uint64_t seed) { danglingBelow_ = seed; }

 private:
  void real(int code, double v, int prec);
  // The record's own handle is its first group 5; only that one is renumbered.
  int code5(int code) {
    if (code != 5) return code;
    int c = handleCode_;
    handleCode_ = 5;
    return c;
  }

  AcDbDatabase* db_;
  TagWriter& out_;
  std::function<bool(const AcDbObjectId&)> saved_;
  Acad::ErrorStatus status_ = Acad::eOk;
  int handleCode_ = 5;
  int nullCode_ = 0;
  std::uint64_t nullHandle_ = 0;
  std::uint64_t danglingBelow_ = 0;
  bool dangling(const AcDbStub* stub, std::uint64_t handle) const;
};

}  // namespace dxf
}  // namespace pf
