// attribute_filing.cpp - DWG and DXF filing of AcDbAttribute and AcDbAttributeDefinition.
//
// DXF: both start with the AcDbText subclass of text_filing.cpp (without the second AcDbText
// marker). ATTRIB continues with 100 AcDbAttribute: 2 tag, 70 flags, [73 field length],
// [74 vertical justification]. ATTDEF continues with 100 AcDbAttributeDefinition: 3 prompt,
// 2 tag, 70 flags, [73 field length], [74 vertical justification].
#include "dbents.h"

#include "acutmem.h"
#include "db/pooled_name.h"
#include "db/entities/filing_util.h"

namespace {

// Flags outside the four known bits are not ours to invent; they are dropped on reading.
const int kKnownFlags = 1 | 2 | 4 | 8;

struct AttributeGroups {
  std::string tag;
  std::string prompt;
  int flags = 0;
  int fieldLength = 0;
  int vert = 0;
  int version = -1;  // 280 before the tag (R2010 and later), or -1
  int lock = -1;     // 280 after it, or -1
};

// Reads the attribute subclass groups shared by ATTRIB and ATTDEF.
Acad::ErrorStatus readAttributeGroups(AcDbDxfFiler* pFiler, AttributeGroups& g) {
  bool tagRead = false;
  Acad::ErrorStatus es = pf::readGroups(pFiler, [&](const resbuf& rb) -> Acad::ErrorStatus {
    switch (rb.restype) {
      case AcDb::kDxfAttributeTag: tagRead = true; return pf::groupString(pFiler, rb, g.tag);
      case 280: {
        int v = 0;
        Acad::ErrorStatus got = pf::groupInt(pFiler, rb, v);
        if (got == Acad::eOk) (tagRead ? g.lock : g.version) = v < 0 || v > 127 ? 0 : v;
        return got;
      }
      case AcDb::kDxfAttributePrompt: return pf::groupString(pFiler, rb, g.prompt);
      case AcDb::kDxfInt16: return pf::groupInt(pFiler, rb, g.flags);
      case 73: return pf::groupInt(pFiler, rb, g.fieldLength);
      case 74: return pf::groupInt(pFiler, rb, g.vert);
      default: return pf::skipGroup(pFiler, rb);
    }
  });
  if (es != Acad::eOk) return es;
  if (g.fieldLength < 0 || g.fieldLength > 0xFFFF || g.vert < AcDb::kTextBase ||
      g.vert > AcDb::kTextTop) {
    pFiler->setError(Acad::eInvalidInput, "attribute field length or justification out of range");
    return Acad::eInvalidInput;
  }
  g.flags &= kKnownFlags;
  return Acad::eOk;
}

void writeLaterGroup(AcDbDxfFiler* pFiler, signed char value) {
  if (value >= 0) pFiler->writeInt16(280, value);
}

void writeAttributeTail(AcDbDxfFiler* pFiler, int flags, Adesk::UInt16 fieldLength, int vert, signed char lock) {
  pFiler->writeInt16(AcDb::kDxfInt16, static_cast<Adesk::Int16>(flags));
  if (fieldLength != 0) pFiler->writeInt16(73, static_cast<Adesk::Int16>(fieldLength));
  if (vert != 0) pFiler->writeInt16(74, static_cast<Adesk::Int16>(vert));
  writeLaterGroup(pFiler, lock);
}

// Plain text has a second AcDbText marker; a writer that gives one to an attribute as well is
// tolerated by passing over it (its only group, the vertical mode, is filed again as 74).
Acad::ErrorStatus skipSecondTextMarker(AcDbDxfFiler* pFiler) {
  if (!pFiler->atSubclassData("AcDbText")) return Acad::eOk;
  return pf::readGroups(pFiler, [&](const resbuf& rb) { return pf::skipGroup(pFiler, rb); });
}

std::string readOwnedString(AcDbDwgFiler* pFiler) {
  char* s = nullptr;
  pFiler->readString(&s);
  std::string out = s ? s : "";
  acutDelString(s);
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// AcDbAttribute

Acad::ErrorStatus AcDbAttribute::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbText::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(mTag.c_str());
  pFiler->writeUInt16(mFieldLength);
  pFiler->writeInt16(static_cast<Adesk::Int16>(mFlags));
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbAttribute::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbText::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  mTag = readOwnedString(pFiler);
  Adesk::Int16 flags = 0;
  pFiler->readUInt16(&mFieldLength);
  pFiler->readInt16(&flags);
  mFlags = flags;
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbAttribute::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = dxfOutTextData(pFiler)) != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbAttribute");
  writeLaterGroup(pFiler, mVersionGroup);
  pFiler->writeString(AcDb::kDxfAttributeTag, mTag.c_str());
  writeAttributeTail(pFiler, mFlags, mFieldLength, mVertMode, mLockGroup);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbAttribute::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = dxfInTextData(pFiler)) != Acad::eOk) return es;
  if ((es = skipSecondTextMarker(pFiler)) != Acad::eOk) return es;
  if ((es = pf::expectSubclass(pFiler, "AcDbAttribute")) != Acad::eOk) return es;
  AttributeGroups g;
  if ((es = readAttributeGroups(pFiler, g)) != Acad::eOk) return es;
  mTag = g.tag;
  mFlags = g.flags;
  mFieldLength = static_cast<Adesk::UInt16>(g.fieldLength);
  mVertMode = g.vert;
  mVersionGroup = static_cast<signed char>(g.version);
  mLockGroup = static_cast<signed char>(g.lock);
  return Acad::eOk;
}

// ---------------------------------------------------------------------------------------------
// AcDbAttributeDefinition

Acad::ErrorStatus AcDbAttributeDefinition::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbText::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(mTag.c_str());
  pFiler->writeString(mPrompt.c_str());
  pFiler->writeUInt16(mFieldLength);
  pFiler->writeInt16(static_cast<Adesk::Int16>(mFlags));
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbAttributeDefinition::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbText::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  mTag = readOwnedString(pFiler);
  mPrompt = readOwnedString(pFiler);
  Adesk::Int16 flags = 0;
  pFiler->readUInt16(&mFieldLength);
  pFiler->readInt16(&flags);
  mFlags = flags;
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbAttributeDefinition::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = dxfOutTextData(pFiler)) != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbAttributeDefinition");
  writeLaterGroup(pFiler, mVersionGroup);
  pFiler->writeString(AcDb::kDxfAttributePrompt, mPrompt.c_str());
  pFiler->writeString(AcDb::kDxfAttributeTag, mTag.c_str());
  writeAttributeTail(pFiler, mFlags, mFieldLength, mVertMode, mLockGroup);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbAttributeDefinition::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = dxfInTextData(pFiler)) != Acad::eOk) return es;
  if ((es = skipSecondTextMarker(pFiler)) != Acad::eOk) return es;
  if ((es = pf::expectSubclass(pFiler, "AcDbAttributeDefinition")) != Acad::eOk) return es;
  AttributeGroups g;
  if ((es = readAttributeGroups(pFiler, g)) != Acad::eOk) return es;
  mTag = g.tag;
  mPrompt = g.prompt;
  mFlags = g.flags;
  mFieldLength = static_cast<Adesk::UInt16>(g.fieldLength);
  mVertMode = g.vert;
  mVersionGroup = static_cast<signed char>(g.version);
  mLockGroup = static_cast<signed char>(g.lock);
  return Acad::eOk;
}
