// entity.cpp - AcDbEntity (common properties and their filing), AcDbCurve, AcDbExtents.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>
#include "db_internal.h"
#include "db/pooled_name.h"
#include "dbcurve.h"
#include "acutmem.h"
#include "acutads.h"
#include "pf/faults.h"
#include "dbapserv.h"
#include "db/editor_sinks.h"

using pf::impl;

namespace pf {

static EntityData& ent(const AcDbEntity* e) { return impl(e)->entity; }

static double linetypeScaleOf(const AcDbEntity* e) {
  const ObjectImpl* oi = impl(e);
  return oi->extras ? oi->extras->linetypeScale : 1.0;
}

static void setLinetypeScaleOf(const AcDbEntity* e, double v) {
  ObjectImpl* oi = impl(e);
  if (v == 1.0 && !oi->extras) return;
  oi->more().linetypeScale = v;
  oi->trimExtras();
}

static const resbuf* keptOf(const AcDbEntity* e) {
  const ObjectImpl* oi = impl(e);
  return oi->extras ? oi->extras->entityKept : nullptr;
}

// Replaces the unmodelled groups (the chain is taken over).
static void setKeptOf(const AcDbEntity* e, resbuf* chain) {
  ObjectImpl* oi = impl(e);
  if (chain == nullptr && (!oi->extras || oi->extras->entityKept == nullptr)) return;
  freeResbufChain(oi->more().entityKept);
  oi->extras->entityKept = chain;
  oi->trimExtras();
}
}  // namespace pf

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbEntity, AcDbObject)

AcDbEntity::AcDbEntity() { pf::ent(this); }
AcDbEntity::AcDbEntity(AcDbSystemInternals* p) : AcDbObject(p) { pf::ent(this); }
AcDbEntity::~AcDbEntity() {}

AcDbObjectId AcDbEntity::blockId() const {
  AcDbObject* owner = pf::peekObject(ownerId());
  return owner != nullptr && AcDbBlockTableRecord::cast(owner) != nullptr ? ownerId() : AcDbObjectId::kNull;
}

Adesk::UInt16 AcDbEntity::colorIndex() const {
  assertReadEnabled();
  return pf::ent(this).color;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color, Adesk::Boolean) {
  if (color > 257) return Acad::eOutOfRange;
  assertWriteEnabled();
  pf::ent(this).color = color;
  recordGraphicsModified();
  return Acad::eOk;
}

char* AcDbEntity::layer() const {
  assertReadEnabled();
  char* out = nullptr;
  acutNewString(pf::ent(this).layer, out);
  return out;
}

AcDbObjectId AcDbEntity::layerId() const { return AcDbObjectId::kNull; }

Acad::ErrorStatus AcDbEntity::setLayer(const char* newVal, Adesk::Boolean) {
  if (newVal == nullptr || *newVal == '\0') return Acad::eInvalidInput;
  assertWriteEnabled();
  pf::ent(this).layer = pf::pooledName(newVal);
  recordGraphicsModified();
  return Acad::eOk;
}

// Layers are kept by name only; an id cannot be resolved to one here.
Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId, Adesk::Boolean) { return Acad::eNotApplicable; }

char* AcDbEntity::linetype() const {
  assertReadEnabled();
  char* out = nullptr;
  acutNewString(pf::ent(this).linetype, out);
  return out;
}

AcDbObjectId AcDbEntity::linetypeId() const { return AcDbObjectId::kNull; }

Acad::ErrorStatus AcDbEntity::setLinetype(const char* newVal, Adesk::Boolean) {
  if (newVal == nullptr || *newVal == '\0') return Acad::eInvalidInput;
  assertWriteEnabled();
  pf::ent(this).linetype = pf::pooledName(newVal);
  recordGraphicsModified();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId, Adesk::Boolean) { return Acad::eNotApplicable; }

double AcDbEntity::linetypeScale() const {
  assertReadEnabled();
  return pf::linetypeScaleOf(this);
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double v, Adesk::Boolean) {
  if (!(v > 0.0) || !std::isfinite(v)) return Acad::eInvalidInput;
  assertWriteEnabled();
  pf::setLinetypeScaleOf(this, v);
  recordGraphicsModified();
  return Acad::eOk;
}

AcDb::Visibility AcDbEntity::visibility() const {
  assertReadEnabled();
  return pf::ent(this).invisible ? AcDb::kInvisible : AcDb::kVisible;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility v, Adesk::Boolean) {
  assertWriteEnabled();
  pf::ent(this).invisible = v == AcDb::kInvisible;
  recordGraphicsModified();
  return Acad::eOk;
}

AcDb::LineWeight AcDbEntity::lineWeight() const {
  assertReadEnabled();
  // Outside the enumeration's range (a damaged file; the value is written back as read) the
  // weight reads as "by layer".
  const int weight = pf::ent(this).lineWeight;
  if (weight < AcDb::kLnWtByLwDefault || weight > AcDb::kLnWt211) return AcDb::kLnWtByLayer;
  return static_cast<AcDb::LineWeight>(weight);
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight v, Adesk::Boolean) {
  assertWriteEnabled();
  pf::ent(this).lineWeight = v;
  recordGraphicsModified();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setPropertiesFrom(const AcDbEntity* pEntity, Adesk::Boolean) {
  if (pEntity == nullptr) return Acad::eNullEntityPointer;
  pEntity->assertReadEnabled();
  assertWriteEnabled();
  pf::EntityData& dst = pf::ent(this);
  const pf::EntityData& src = pf::ent(pEntity);
  dst.layer = src.layer;
  dst.linetype = src.linetype;
  dst.color = src.color;
  pf::setLinetypeScaleOf(this, pf::linetypeScaleOf(pEntity));
  dst.lineWeight = src.lineWeight;
  dst.invisible = src.invisible;
  recordGraphicsModified();
  return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults() { setDatabaseDefaults(acdbHostApplicationServices()->workingDatabase()); }

// Defaults come from the drawing's current settings; the platform keeps none beyond layer
// "0", so a new entity starts with the plain defaults.
void AcDbEntity::setDatabaseDefaults(AcDbDatabase* pDb) { subSetDatabaseDefaults(pDb); }
void AcDbEntity::subSetDatabaseDefaults(AcDbDatabase*) {}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& pEnt) const {
  assertReadEnabled();
  AcRxObject* made = isA() ? isA()->create() : nullptr;
  AcDbEntity* copy = AcDbEntity::cast(made);
  if (copy == nullptr) {
    delete made;
    return Acad::eNotApplicable;
  }
  pf::MemoryDwgFiler filer(AcDb::kCopyFiler, database());
  Acad::ErrorStatus es = dwgOutFields(&filer);
  if (es == Acad::eOk) {
    filer.rewind();
    es = copy->dwgInFields(&filer);
  }
  if (es == Acad::eOk) {
    // The copy is not in a database: it has no owner, reactors or extension dictionary.
    pf::ObjectImpl* ci = impl(copy);
    ci->owner = AcDbObjectId::kNull;
    ci->setXdict(AcDbObjectId::kNull);
    ci->setReactors(AcDbVoidPtrArray());
    es = copy->transformBy(xform);
  }
  if (es != Acad::eOk) {
    delete copy;
    return es;
  }
  pEnt = copy;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents&) const { return Acad::eInvalidExtents; }

void AcDbEntity::list() const {
  assertReadEnabled();
  char handle[20];
  AcDbHandle h;
  getAcDbHandle(h);
  h.getIntoAsciiBuffer(handle);
  // The command line belongs to the editor layer, which installs the sink; without it the
  // listing goes to stdout.
  const char* name = isA() ? isA()->name() : "Entity";
  const char* layer = pf::ent(this).layer;
  pf::writeDatabaseText(std::string(name) + "  Layer: \"" + (layer ? layer : "") + "\"\n  Handle = " + handle + "\n");
}

void AcDbEntity::recordGraphicsModified(Adesk::Boolean setModified) {
  if (!setModified) return;
  assertWriteEnabled();
  impl(this)->modifiedGraphics = true;
}

Acad::ErrorStatus AcDbEntity::dwgOutFields(AcDbDwgFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  const pf::EntityData& e = pf::ent(this);
  pFiler->writeString(e.layer);
  pFiler->writeString(e.linetype);
  pFiler->writeUInt16(e.color);
  pFiler->writeDouble(pf::linetypeScaleOf(this));
  pFiler->writeInt16(static_cast<Adesk::Int16>(e.lineWeight));
  pFiler->writeInt16(e.invisible ? AcDb::kInvisible : AcDb::kVisible);
  pFiler->writeBool(e.paperSpaceFlag);
  Adesk::Int32 n = 0;
  for (const resbuf* rb = pf::keptOf(this); rb; rb = rb->rbnext) ++n;
  pFiler->writeInt32(n);
  for (const resbuf* rb = pf::keptOf(this); rb; rb = rb->rbnext) pf::dwgOutResbuf(pFiler, rb);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbEntity::dwgInFields(AcDbDwgFiler* pFiler) {
  Acad::ErrorStatus es = AcDbObject::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  pf::EntityData& e = pf::ent(this);
  char* layer = nullptr;
  char* linetype = nullptr;
  Adesk::Int16 lw = 0, vis = 0;
  Adesk::Int32 n = 0;
  pFiler->readString(&layer);
  pFiler->readString(&linetype);
  pFiler->readUInt16(&e.color);
  double linetypeScale = 1.0;
  pFiler->readDouble(&linetypeScale);
  pFiler->readInt16(&lw);
  pFiler->readInt16(&vis);
  pFiler->readBool(&e.paperSpaceFlag);
  es = pFiler->readInt32(&n);
  e.layer = layer ? pf::pooledName(layer) : "0";
  e.linetype = linetype ? pf::pooledName(linetype) : "ByLayer";
  acutDelString(layer);
  acutDelString(linetype);
  e.lineWeight = lw;
  e.invisible = vis != 0;
  pf::setLinetypeScaleOf(this, linetypeScale);
  if (es != Acad::eOk) return es;
  if (n < 0 || n > 1000000) return Acad::eFilerError;
  resbuf* kept = nullptr;
  resbuf** tail = &kept;
  for (Adesk::Int32 i = 0; i < n; ++i) {
    resbuf* rb = nullptr;
    if ((es = pf::dwgInResbuf(pFiler, rb)) != Acad::eOk) break;
    *tail = rb;
    tail = &rb->rbnext;
  }
  pf::setKeptOf(this, kept);
  return es != Acad::eOk ? es : pFiler->filerStatus();
}

namespace {

// The common groups the platform models, in the order it writes them; any other group of the
// subclass is kept and written after them.
const std::int16_t kCommonOrder[] = {67, AcDb::kDxfLayerName, AcDb::kDxfLinetypeName, AcDb::kDxfColor,
                                     AcDb::kDxfLineWeight, 48, AcDb::kDxfVisibility};

bool isCommonGroup(int code) {
  for (std::int16_t c : kCommonOrder)
    if (c == code) return true;
  return false;
}

// What the platform writes of the common groups: the paper-space mark, the layer, then each
// property that is not its default.
struct CommonGroups {
  const pf::EntityData& e;
  bool paper;
  double linetypeScale;

  bool byLayerLinetype() const {
    return (e.linetype[0] == 'B' || e.linetype[0] == 'b') && strcasecmp(e.linetype, "ByLayer") == 0;
  }
  bool needed(int code) const {
    switch (code) {
      case 67: return paper;
      case AcDb::kDxfLayerName: return true;
      case AcDb::kDxfLinetypeName: return !byLayerLinetype();
      case AcDb::kDxfColor: return e.color != 256;
      case AcDb::kDxfLineWeight: return e.lineWeight != AcDb::kLnWtByLayer;
      case 48: return linetypeScale != 1.0;
      case AcDb::kDxfVisibility: return e.invisible;
      default: return false;
    }
  }
  void write(AcDbDxfFiler* pFiler, int code) const {
    switch (code) {
      case 67: pFiler->writeInt16(67, paper ? 1 : 0); break;
      case AcDb::kDxfLayerName: pFiler->writeString(AcDb::kDxfLayerName, e.layer); break;
      case AcDb::kDxfLinetypeName: pFiler->writeString(AcDb::kDxfLinetypeName, e.linetype); break;
      case AcDb::kDxfColor: pFiler->writeInt16(AcDb::kDxfColor, static_cast<Adesk::Int16>(e.color)); break;
      case AcDb::kDxfLineWeight: pFiler->writeInt16(AcDb::kDxfLineWeight, static_cast<Adesk::Int16>(e.lineWeight)); break;
      case 48: pFiler->writeDouble(48, linetypeScale); break;
      case AcDb::kDxfVisibility: pFiler->writeInt16(AcDb::kDxfVisibility, e.invisible ? 1 : 0); break;
      default: break;
    }
  }
};

// The subclass as the file had it, when that still describes the entity: every group the
// platform would write has its place, and the kept groups are the ones read, in order.
bool entityLayoutFits(const std::vector<std::int16_t>& layout, const CommonGroups& g, const resbuf* kept) {
  for (std::int16_t c : kCommonOrder)
    if (g.needed(c) && std::find(layout.begin(), layout.end(), c) == layout.end()) return false;
  for (std::int16_t c : layout) {
    if (isCommonGroup(c)) continue;
    if (kept == nullptr || kept->restype != c) return false;
    kept = kept->rbnext;
  }
  return kept == nullptr;
}

// The codes of the subclass in file order: on the stack for the usual few, so that reading
// an entity allocates nothing for them.
class SubclassCodes {
 public:
  void push(int code) {
    if (n_ < kInline) inline_[n_] = static_cast<std::int16_t>(code);
    else {
      if (n_ == kInline) more_.assign(inline_, inline_ + kInline);
      more_.push_back(static_cast<std::int16_t>(code));
    }
    ++n_;
  }
  std::size_t size() const { return n_; }
  std::int16_t operator[](std::size_t i) const { return n_ <= kInline ? inline_[i] : more_[i]; }
  std::vector<std::int16_t> toVector() const {
    return n_ <= kInline ? std::vector<std::int16_t>(inline_, inline_ + n_) : more_;
  }

 private:
  static constexpr std::size_t kInline = 24;
  std::int16_t inline_[kInline];
  std::size_t n_ = 0;
  std::vector<std::int16_t> more_;
};

// Keeps the file's order of the subclass only where the platform would write it otherwise (the
// common groups in another order, or a default written out).
void setEntityLayout(const AcDbEntity* ent, const SubclassCodes& codes, const CommonGroups& g) {
  bool usual = true;
  std::size_t at = 0;
  for (std::int16_t c : kCommonOrder) {
    if (!g.needed(c)) continue;
    if (at >= codes.size() || codes[at] != c) usual = false;
    ++at;
  }
  for (std::size_t i = at; usual && i < codes.size(); ++i)
    if (isCommonGroup(codes[i])) usual = false;
  pf::ObjectImpl* oi = pf::impl(ent);
  if (usual) {
    if (const pf::FileLayout* l = oi->layout()) {
      if (l->head.empty()) oi->extras->layout.reset();
      else oi->layoutForChange().entity.clear();
      oi->trimExtras();
    }
    return;
  }
  oi->layoutForChange().entity = codes.toVector();
}

}  // namespace

// 100 AcDbEntity, [67 1], 8 layer, then the optional groups that differ from their defaults,
// then groups kept from the file that are not modelled here; an entity read from a file that had
// them in another order (or wrote out a default) is written in that order.
Acad::ErrorStatus AcDbEntity::dxfOutFields(AcDbDxfFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbObject::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  const pf::EntityData& e = pf::ent(this);
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbEntity");
  bool paper = e.paperSpaceFlag;
  AcDbBlockTableRecord* owner = AcDbBlockTableRecord::cast(pf::peekObject(ownerId()));
  if (owner != nullptr) {
    // Entities come block by block: the answer for the last owner's name is kept (an exact
    // comparison costs less than the two caseless ones).
    static std::string lastName;  // the database is used from one thread at a time
    static int lastSpace = 0;  // 1 model space, 2 paper space, 0 another block
    static bool known = false;
    const char* name = nullptr;
    if (owner->getName(name) == Acad::eOk && name) {
      if (!known || std::strcmp(name, lastName.c_str()) != 0) {
        known = true;
        lastName = name;
        lastSpace = strcasecmp(name, ACDB_PAPER_SPACE) == 0 ? 2 : strcasecmp(name, ACDB_MODEL_SPACE) == 0 ? 1 : 0;
      }
      if (lastSpace == 2) paper = true;
      else if (lastSpace == 1) paper = false;
    }
  }
  const CommonGroups groups{e, paper, pf::linetypeScaleOf(this)};
  const pf::FileLayout* layout = pf::impl(this)->layout();
  if (layout && !layout->entity.empty() && entityLayoutFits(layout->entity, groups, pf::keptOf(this))) {
    const resbuf* kept = pf::keptOf(this);
    for (std::int16_t c : layout->entity) {
      if (isCommonGroup(c)) {
        groups.write(pFiler, c);
      } else {
        pFiler->writeResBuf(*kept);
        kept = kept->rbnext;
      }
    }
    return pFiler->filerStatus();
  }
  for (std::int16_t c : kCommonOrder)
    if (groups.needed(c)) groups.write(pFiler, c);
  for (const resbuf* rb = pf::keptOf(this); rb; rb = rb->rbnext) pFiler->writeResBuf(*rb);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbEntity::dxfInFields(AcDbDxfFiler* pFiler) {
  Acad::ErrorStatus es = AcDbObject::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if (!pFiler->atSubclassData("AcDbEntity"))
    return pFiler->setError(Acad::eBadDxfSequence, "AcDbEntity subclass marker missing");
  pf::EntityData& e = pf::ent(this);
  resbuf* kept = nullptr;
  resbuf** tail = &kept;
  double linetypeScale = pf::linetypeScaleOf(this);
  SubclassCodes codes;
  resbuf rb;
  while ((es = pFiler->readResBuf(&rb)) == Acad::eOk) {
    if (rb.restype != AcDb::kDxfSubclass) codes.push(rb.restype);
    switch (rb.restype) {
      case AcDb::kDxfSubclass:
        pFiler->pushBackItem();
        es = Acad::eEndOfObject;  // the end of this class's groups
        break;
      case AcDb::kDxfLayerName: e.layer = rb.resval.rstring ? pf::pooledName(rb.resval.rstring) : "0"; break;
      case AcDb::kDxfLinetypeName: e.linetype = rb.resval.rstring ? pf::pooledName(rb.resval.rstring) : "ByLayer"; break;
      case AcDb::kDxfColor: e.color = static_cast<Adesk::UInt16>(rb.resval.rint < 0 ? -rb.resval.rint : rb.resval.rint); break;
      case AcDb::kDxfLineWeight: e.lineWeight = rb.resval.rint; break;
      case 48: linetypeScale = rb.resval.rreal; break;
      case AcDb::kDxfVisibility: e.invisible = rb.resval.rint != 0; break;
      case 67: e.paperSpaceFlag = rb.resval.rint != 0; break;
      default: {
        resbuf one = rb;
        one.rbnext = nullptr;
        *tail = pf::copyResbufChain(&one);
        tail = &(*tail)->rbnext;
      }
    }
    if (es != Acad::eOk) break;
  }
  pf::setLinetypeScaleOf(this, linetypeScale);
  pf::setKeptOf(this, kept);
  setEntityLayout(this, codes, CommonGroups{e, e.paperSpaceFlag, linetypeScale});
  if (es == Acad::eEndOfObject) es = Acad::eOk;
  return es != Acad::eOk ? es : pFiler->filerStatus();
}

// ---- AcDbCurve -------------------------------------------------------------------------------------

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbCurve, AcDbEntity)

AcDbCurve::AcDbCurve() {}
AcDbCurve::AcDbCurve(AcDbSystemInternals* p) : AcDbEntity(p) {}
AcDbCurve::~AcDbCurve() {}
Adesk::Boolean AcDbCurve::isClosed() const { return Adesk::kFalse; }
Adesk::Boolean AcDbCurve::isPeriodic() const { return Adesk::kFalse; }
Acad::ErrorStatus AcDbCurve::getStartParam(double&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getEndParam(double&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getPointAtParam(double, AcGePoint3d&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getParamAtPoint(const AcGePoint3d&, double&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getDistAtParam(double, double&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getClosestPointTo(const AcGePoint3d&, AcGePoint3d&, Adesk::Boolean) const {
  return Acad::eNotApplicable;
}

// A curve class that encloses an area overrides this; the check keeps fault injection
// available for every curve.
Acad::ErrorStatus AcDbCurve::getArea(double&) const {
  Acad::ErrorStatus es = pf::injectedFault("AcDbCurve::getArea");
  if (es != Acad::eOk) return es;
  return Acad::eNotApplicable;
}

// ---- AcDbExtents ----------------------------------------------------------------------------------

AcDbExtents::AcDbExtents() : mEmpty(true) {}
AcDbExtents::AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : mEmpty(true) { set(min, max); }

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max) {
  if (min.x > max.x || min.y > max.y || min.z > max.z) return Acad::eInvalidExtents;
  mMin = min;
  mMax = max;
  mEmpty = false;
  return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& p) {
  if (mEmpty) {
    mMin = mMax = p;
    mEmpty = false;
    return;
  }
  for (unsigned i = 0; i < 3; ++i) {
    if (p[i] < mMin[i]) mMin[i] = p[i];
    if (p[i] > mMax[i]) mMax[i] = p[i];
  }
}

void AcDbExtents::addExt(const AcDbExtents& src) {
  if (src.mEmpty) return;
  addPoint(src.mMin);
  addPoint(src.mMax);
}

void AcDbExtents::expandBy(const AcGeVector3d& v) {
  if (mEmpty) return;
  addPoint(mMin + v);
  addPoint(mMax + v);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& mat) {
  if (mEmpty) return;
  AcGePoint3d lo = mMin, hi = mMax;
  mEmpty = true;
  for (int i = 0; i < 8; ++i) {
    AcGePoint3d corner((i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z);
    addPoint(mat * corner);
  }
}
