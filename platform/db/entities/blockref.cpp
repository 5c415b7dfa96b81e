// blockref.cpp - AcDbBlockReference: placement of a block and the attributes it owns.
// The filing (DWG and DXF) is in blockref_filing.cpp.
#include "dbents.h"

#include <algorithm>
#include <cmath>

#include "acutmem.h"
#include "db/pooled_name.h"
#include "db/entities/entity_util.h"
#include "db/entities/entities_internal.h"
#include "db/entities/style_names.h"
#include "gemat3d.h"
#include "rx/rxinit.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, AcDb::kDHL_CURRENT,
                        AcDb::kMReleaseCurrent, 0, INSERT, AutoCAD);
ACRX_DXF_DEFINE_MEMBERS(AcDbSequenceEnd, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent,
                        0, SEQEND, AutoCAD);
PF_REGISTER_CLASS(AcDbBlockReference);
PF_REGISTER_CLASS(AcDbSequenceEnd);

AcDbSequenceEnd::AcDbSequenceEnd() {}
AcDbSequenceEnd::~AcDbSequenceEnd() {}

AcDbBlockReference::AcDbBlockReference() : mNormal(0.0, 0.0, 1.0) {}

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec)
    : mBlock(blockTableRec), mPosition(position), mNormal(0.0, 0.0, 1.0) {}

AcDbBlockReference::~AcDbBlockReference() {}

AcDbObjectId AcDbBlockReference::blockTableRecord() const {
  assertReadEnabled();
  // A reference read from a drawing before its block record was known resolves the name now.
  if (mBlock.isNull() && !mBlockName.empty()) mBlock = pf::blockId(database(), mBlockName);
  return mBlock;
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId blockTableRec) {
  assertWriteEnabled();
  mBlock = blockTableRec;
  mBlockName.clear();
  return Acad::eOk;
}

AcGePoint3d AcDbBlockReference::position() const {
  assertReadEnabled();
  return mPosition;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position) {
  if (!pf::finite(position)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mPosition = position;
  return Acad::eOk;
}

AcGeScale3d AcDbBlockReference::scaleFactors() const {
  assertReadEnabled();
  return mScale;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale) {
  // A zero factor would flatten the block beyond recovery.
  if (!pf::finite(scale.sx) || !pf::finite(scale.sy) || !pf::finite(scale.sz) || scale.sx == 0 ||
      scale.sy == 0 || scale.sz == 0)
    return Acad::eInvalidInput;
  assertWriteEnabled();
  mScale = scale;
  return Acad::eOk;
}

double AcDbBlockReference::rotation() const {
  assertReadEnabled();
  return mRotation;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double newVal) {
  if (!pf::finite(newVal)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mRotation = newVal;
  return Acad::eOk;
}

AcGeVector3d AcDbBlockReference::normal() const {
  assertReadEnabled();
  return mNormal;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& newVal) {
  AcGeVector3d unit;
  if (!pf::unitNormal(newVal, unit)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mNormal = unit;
  return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
  assertReadEnabled();
  // Block coordinates are scaled, rotated about the block's Z axis, then laid into the plane
  // of the normal (its OCS) with the block origin at the position.
  const pf::Ocs ocs(pf::toVec3(mNormal));
  const pf::Vec3 ax = pf::sub(ocs.toWorld({1, 0, 0}), ocs.toWorld({0, 0, 0}));
  const pf::Vec3 ay = pf::sub(ocs.toWorld({0, 1, 0}), ocs.toWorld({0, 0, 0}));
  const pf::Vec3 az = pf::toVec3(mNormal);
  const double c = std::cos(mRotation), s = std::sin(mRotation);
  // Columns of the linear part: images of the block's unit axes.
  const pf::Vec3 bx{(c * ax.x + s * ay.x) * mScale.sx, (c * ax.y + s * ay.y) * mScale.sx,
                    (c * ax.z + s * ay.z) * mScale.sx};
  const pf::Vec3 by{(-s * ax.x + c * ay.x) * mScale.sy, (-s * ax.y + c * ay.y) * mScale.sy,
                    (-s * ax.z + c * ay.z) * mScale.sy};
  const pf::Vec3 bz{az.x * mScale.sz, az.y * mScale.sz, az.z * mScale.sz};
  AcGeMatrix3d m;
  const pf::Vec3 cols[3] = {bx, by, bz};
  for (int col = 0; col < 3; ++col) {
    m.entry[0][col] = cols[col].x;
    m.entry[1][col] = cols[col].y;
    m.entry[2][col] = cols[col].z;
  }
  m.entry[0][3] = mPosition.x;
  m.entry[1][3] = mPosition.y;
  m.entry[2][3] = mPosition.z;
  return m;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* pAttr) {
  AcDbObjectId id;
  return appendAttribute(id, pAttr);
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& attrId, AcDbAttribute* pAttr) {
  PF_FAULT_CHECK("AcDbBlockReference::appendAttribute");
  if (pAttr == nullptr) return Acad::eNullObjectPointer;
  if (!pAttr->objectId().isNull()) return Acad::eAlreadyInDb;
  AcDbDatabase* db = database();
  if (db == nullptr) return Acad::eNoDatabase;
  assertWriteEnabled();

  // The sequence end is made with the first attribute so that a saved drawing can close the
  // attribute list; both are owned by this reference.
  if (mSequenceEnd.isNull()) {
    AcDbSequenceEnd* seq = new AcDbSequenceEnd();
    Acad::ErrorStatus es = pf::EntityInternals::addOwnedEntity(this, seq, mSequenceEnd);
    if (es != Acad::eOk) {
      if (mSequenceEnd.isNull()) {
        delete seq;  // never made it into the database
      } else {
        seq->erase();
        seq->close();
        mSequenceEnd = AcDbObjectId::kNull;
      }
      return es;
    }
    char* layerName = layer();
    if (layerName) seq->setLayer(layerName);
    acutDelString(layerName);
    seq->close();
  }
  Acad::ErrorStatus es = pf::EntityInternals::addOwnedEntity(this, pAttr, attrId);
  if (es != Acad::eOk) return es;
  mAttributes.push_back(attrId);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::openAttribute(AcDbAttribute*& pAttr, AcDbObjectId attrId,
                                                    AcDb::OpenMode mode, bool openErasedOne) {
  PF_FAULT_CHECK("AcDbBlockReference::openAttribute");
  assertReadEnabled();
  if (attrId.isNull()) return Acad::eNullObjectId;
  if (std::find(mAttributes.begin(), mAttributes.end(), attrId) == mAttributes.end())
    return Acad::eInvalidInput;  // not one of this reference's attributes
  return acdbOpenObject(pAttr, attrId, mode, openErasedOne);
}

Acad::ErrorStatus AcDbBlockReference::openSequenceEnd(AcDbSequenceEnd*& pSeqEnd,
                                                      AcDb::OpenMode mode) {
  assertReadEnabled();
  if (mSequenceEnd.isNull()) return Acad::eNullObjectId;
  return acdbOpenObject(pSeqEnd, mSequenceEnd, mode);
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const {
  assertReadEnabled();
  return pf::EntityInternals::newIdIterator(mAttributes);
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform) {
  pf::Similarity sim;
  if (!pf::similarityOf(xform, sim)) return Acad::eCannotScaleNonUniformly;
  assertWriteEnabled();
  // The reference's own X direction (rotation about the normal) is mapped as a vector and
  // re-expressed as an angle about the mapped normal. A mirror reverses the plane's turning
  // sense seen from the mapped normal, so the block's Y axis comes out reversed: negative Y scale.
  const pf::Ocs oldOcs(pf::toVec3(mNormal));
  const pf::Vec3 dir = oldOcs.toWorld({std::cos(mRotation), std::sin(mRotation), 0.0});
  pf::Vec3 n = pf::mapNormal(sim, pf::toVec3(mNormal));
  const pf::Vec3 newDir = pf::Ocs(n).toOcs(sim.applyLinear(dir));
  mRotation = std::atan2(newDir.y, newDir.x);
  mPosition = pf::toPoint(sim.apply(pf::toVec3(mPosition)));
  mNormal = pf::toVector(n);
  mScale = AcGeScale3d(mScale.sx * sim.scale, mScale.sy * sim.scale * (sim.mirror ? -1.0 : 1.0),
                       mScale.sz * sim.scale);
  // The attributes go with the reference.
  for (const AcDbObjectId& id : mAttributes) {
    AcDbAttribute* attr = nullptr;
    if (acdbOpenObject(attr, id, AcDb::kForWrite) != Acad::eOk) continue;
    attr->transformBy(xform);
    attr->close();
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::subErase(Adesk::Boolean erasing) {
  Acad::ErrorStatus es = AcDbEntity::subErase(erasing);
  if (es != Acad::eOk) return es;
  // The owned entities follow; one that cannot be opened now (open for write elsewhere) is
  // left as it is rather than refusing to erase the reference.
  std::vector<AcDbObjectId> owned = mAttributes;
  if (!mSequenceEnd.isNull()) owned.push_back(mSequenceEnd);
  for (const AcDbObjectId& id : owned) {
    AcDbEntity* ent = nullptr;
    if (acdbOpenAcDbEntity(ent, id, AcDb::kForWrite, true) != Acad::eOk) continue;
    if ((ent->isErased() != Adesk::kFalse) != (erasing != Adesk::kFalse)) ent->erase(erasing);
    ent->close();
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setLayer(const char* newVal, Adesk::Boolean doSubents) {
  const Acad::ErrorStatus es = AcDbEntity::setLayer(newVal, doSubents);
  if (es == Acad::eOk) syncSequenceEndLayer();
  return es;
}

Acad::ErrorStatus AcDbBlockReference::setLayer(AcDbObjectId newVal, Adesk::Boolean doSubents) {
  const Acad::ErrorStatus es = AcDbEntity::setLayer(newVal, doSubents);
  if (es == Acad::eOk) syncSequenceEndLayer();
  return es;
}

void AcDbBlockReference::syncSequenceEndLayer() {
  if (mSequenceEnd.isNull()) return;
  AcDbEntity* seq = nullptr;
  if (acdbOpenAcDbEntity(seq, mSequenceEnd, AcDb::kForWrite, true) != Acad::eOk) return;
  char* layerName = layer();
  if (layerName) seq->setLayer(layerName);
  acutDelString(layerName);
  seq->close();
}
