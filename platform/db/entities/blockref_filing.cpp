// blockref_filing.cpp - DWG and DXF filing of AcDbBlockReference and AcDbSequenceEnd.
//
// DXF subclass AcDbBlockReference: [66 1 when attributes follow], 2 block name, 10/20/30
// position (OCS), [41/42/43 scale factors, each only when not 1], [50 rotation in degrees when
// not 0], [210 normal]. The attributes and the sequence end are records of their own that the
// drawing writer puts after the insert; their ids are not part of the insert's DXF groups.
// A sequence end has no groups beyond the common entity ones.
#include "dbents.h"

#include "acutmem.h"
#include "db/pooled_name.h"
#include "db/entities/entities_internal.h"
#include "db/entities/entity_util.h"
#include "db/entities/filing_util.h"
#include "db/entities/style_names.h"

Acad::ErrorStatus AcDbBlockReference::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeHardPointerId(mBlock);
  pFiler->writeString(mBlockName.c_str());
  pFiler->writePoint3d(mPosition);
  pFiler->writeScale3d(mScale);
  pFiler->writeDouble(mRotation);
  pFiler->writeVector3d(mNormal);
  // Owned: copying the reference copies its attributes and sequence end with it.
  pFiler->writeUInt32(static_cast<Adesk::UInt32>(mAttributes.size()));
  for (const AcDbObjectId& id : mAttributes) pFiler->writeHardOwnershipId(id);
  pFiler->writeHardOwnershipId(mSequenceEnd);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbBlockReference::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  AcDbHardPointerId block;
  char* name = nullptr;
  pFiler->readHardPointerId(&block);
  pFiler->readString(&name);
  mBlock = block;
  mBlockName = name ? name : "";
  acutDelString(name);
  pFiler->readPoint3d(&mPosition);
  pFiler->readScale3d(&mScale);
  pFiler->readDouble(&mRotation);
  pFiler->readVector3d(&mNormal);
  Adesk::UInt32 count = 0;
  if ((es = pFiler->readUInt32(&count)) != Acad::eOk) return es;
  std::vector<AcDbObjectId> attributes;
  for (Adesk::UInt32 i = 0; i < count; ++i) {
    AcDbHardOwnershipId id;
    if ((es = pFiler->readHardOwnershipId(&id)) != Acad::eOk) return es;
    if (!AcDbObjectId(id).isNull()) attributes.push_back(id);  // null: left out of a copy
  }
  AcDbHardOwnershipId seqEnd;
  pFiler->readHardOwnershipId(&seqEnd);
  if ((es = pFiler->filerStatus()) != Acad::eOk) return es;
  mAttributes.swap(attributes);
  mSequenceEnd = seqEnd;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbBlockReference");
  if (pf::EntityInternals::hasLiveAttributes(this))
    pFiler->writeInt16(AcDb::kDxfHasSubentities, 1);
  // A reference whose block is gone, or that never had one, would make a file naming a block
  // it does not contain: refuse it with a message rather than write such a file. A name read
  // from a file that matched no block is written back as it was.
  std::string name;
  if (!mBlock.isNull()) {
    name = pf::blockName(mBlock, std::string());
    if (name.empty())
      return pFiler->setError(Acad::eInvalidInput, "block reference to a block that is not in the drawing");
  } else {
    name = mBlockName;
    if (name.empty()) return pFiler->setError(Acad::eInvalidInput, "block reference without a block");
  }
  pFiler->writeString(AcDb::kDxfBlockName, name.c_str());
  pFiler->writePoint3d(AcDb::kDxfXCoord, pf::toOcsPoint(mNormal, mPosition));
  if (mScale.sx != 1.0) pFiler->writeDouble(41, mScale.sx);
  if (mScale.sy != 1.0) pFiler->writeDouble(42, mScale.sy);
  if (mScale.sz != 1.0) pFiler->writeDouble(43, mScale.sz);
  if (mRotation != 0.0) pFiler->writeDouble(AcDb::kDxfAngle, pf::toDegrees(mRotation));
  pf::writeNormal(pFiler, mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbBlockReference::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = pf::expectSubclass(pFiler, "AcDbBlockReference")) != Acad::eOk) return es;
  std::string name;
  AcGePoint3d position;
  AcGeScale3d scale(1.0, 1.0, 1.0);
  double rotation = 0.0;
  AcGeVector3d normal(0.0, 0.0, 1.0);
  es = pf::readGroups(pFiler, [&](const resbuf& rb) -> Acad::ErrorStatus {
    switch (rb.restype) {
      case AcDb::kDxfHasSubentities: {  // the attributes are attached as they are read
        int ignored = 0;
        return pf::groupInt(pFiler, rb, ignored);
      }
      case AcDb::kDxfBlockName: return pf::groupString(pFiler, rb, name);
      case AcDb::kDxfXCoord: return pf::groupPoint(pFiler, rb, position);
      case 41: return pf::groupReal(pFiler, rb, scale.sx);
      case 42: return pf::groupReal(pFiler, rb, scale.sy);
      case 43: return pf::groupReal(pFiler, rb, scale.sz);
      case AcDb::kDxfAngle: return pf::groupReal(pFiler, rb, rotation);
      case AcDb::kDxfNormalX: return pf::groupNormal(pFiler, rb, normal);
      default: return pf::skipGroup(pFiler, rb);  // 70/71/44/45: multiple-insert layout
    }
  });
  if (es != Acad::eOk) return es;
  if (name.empty()) {
    pFiler->setError(Acad::eInvalidInput, "block reference without a block name (group 2)");
    return Acad::eInvalidInput;
  }
  if (scale.sx == 0.0 || scale.sy == 0.0 || scale.sz == 0.0) {
    pFiler->setError(Acad::eInvalidInput, "block reference with a zero scale factor");
    return Acad::eInvalidInput;
  }
  mNormal = normal;
  mPosition = pf::toWorldPoint(normal, position);
  mScale = scale;
  mRotation = pf::toRadians(rotation);
  mBlockName = name;
  mBlock = pf::blockId(pFiler->database(), name);
  return Acad::eOk;
}
