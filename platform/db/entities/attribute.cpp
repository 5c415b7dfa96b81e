// attribute.cpp - AcDbAttribute and AcDbAttributeDefinition: tagged texts of block references
// and of block definitions. Their filing is in attribute_filing.cpp.
#include "dbents.h"

#include "acutmem.h"
#include "db/pooled_name.h"
#include "db/entities/entity_util.h"
#include "gemat3d.h"
#include "rx/rxinit.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbAttribute, AcDbText, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        ATTRIB, AutoCAD);
ACRX_DXF_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbText, AcDb::kDHL_CURRENT,
                        AcDb::kMReleaseCurrent, 0, ATTDEF, AutoCAD);
PF_REGISTER_CLASS(AcDbAttribute);
PF_REGISTER_CLASS(AcDbAttributeDefinition);

namespace {

char* heapCopy(const std::string& s) {
  char* copy = nullptr;
  acutNewString(s.c_str(), copy);
  return copy;
}

enum AttributeFlag { kAttInvisible = 1, kAttConstant = 2, kAttVerifiable = 4, kAttPreset = 8 };

}  // namespace

// ---------------------------------------------------------------------------------------------
// AcDbAttribute

AcDbAttribute::AcDbAttribute() {}

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const char* text, const char* tag,
                             AcDbObjectId style)
    : AcDbText(position, text, style), mTag(tag ? tag : "") {}

AcDbAttribute::~AcDbAttribute() {}

char* AcDbAttribute::tag() const {
  assertReadEnabled();
  return heapCopy(mTag);
}

Acad::ErrorStatus AcDbAttribute::setTag(const char* newTag) {
  PF_FAULT_CHECK("AcDbAttribute::setTag");
  if (newTag == nullptr) return Acad::eInvalidInput;
  assertWriteEnabled();
  mTag = newTag;
  return Acad::eOk;
}

Adesk::Boolean AcDbAttribute::isInvisible() const {
  assertReadEnabled();
  return (mFlags & kAttInvisible) ? Adesk::kTrue : Adesk::kFalse;
}

Acad::ErrorStatus AcDbAttribute::setInvisible(Adesk::Boolean value) {
  assertWriteEnabled();
  mFlags = value ? (mFlags | kAttInvisible) : (mFlags & ~kAttInvisible);
  return Acad::eOk;
}

Adesk::Boolean AcDbAttribute::isConstant() const {
  assertReadEnabled();
  return (mFlags & kAttConstant) ? Adesk::kTrue : Adesk::kFalse;
}

Adesk::Boolean AcDbAttribute::isVerifiable() const {
  assertReadEnabled();
  return (mFlags & kAttVerifiable) ? Adesk::kTrue : Adesk::kFalse;
}

Adesk::Boolean AcDbAttribute::isPreset() const {
  assertReadEnabled();
  return (mFlags & kAttPreset) ? Adesk::kTrue : Adesk::kFalse;
}

Adesk::UInt16 AcDbAttribute::fieldLength() const {
  assertReadEnabled();
  return mFieldLength;
}

Acad::ErrorStatus AcDbAttribute::setFieldLength(Adesk::UInt16 length) {
  assertWriteEnabled();
  mFieldLength = length;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcGeMatrix3d& blkXform) {
  return transformBy(blkXform);
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* pAttdef,
                                                       const AcGeMatrix3d& blkXform) {
  if (pAttdef == nullptr) return Acad::eNullObjectPointer;
  pf::Similarity sim;
  if (!pf::similarityOf(blkXform, sim)) return Acad::eCannotScaleNonUniformly;
  assertWriteEnabled();
  // Take the definition's placement and text properties, then place them by the insertion.
  setPosition(pAttdef->position());
  setAlignmentPoint(pAttdef->alignmentPoint());
  setNormal(pAttdef->normal());
  setThickness(pAttdef->thickness());
  setOblique(pAttdef->oblique());
  setRotation(pAttdef->rotation());
  setHeight(pAttdef->height());
  setWidthFactor(pAttdef->widthFactor());
  mirrorInX(pAttdef->isMirroredInX());
  mirrorInY(pAttdef->isMirroredInY());
  setHorizontalMode(pAttdef->horizontalMode());
  setVerticalMode(pAttdef->verticalMode());
  setTextStyle(pAttdef->textStyle());
  char* s = pAttdef->textString();
  setTextString(s ? s : "");
  acutDelString(s);
  s = pAttdef->tag();
  mTag = s ? s : "";
  acutDelString(s);
  mFieldLength = pAttdef->fieldLength();
  mFlags = (pAttdef->isInvisible() ? kAttInvisible : 0) | (pAttdef->isConstant() ? kAttConstant : 0) |
           (pAttdef->isVerifiable() ? kAttVerifiable : 0) | (pAttdef->isPreset() ? kAttPreset : 0);
  return transformBy(blkXform);
}

// ---------------------------------------------------------------------------------------------
// AcDbAttributeDefinition

AcDbAttributeDefinition::AcDbAttributeDefinition() {}

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const char* text,
                                                 const char* tag, const char* prompt,
                                                 AcDbObjectId style)
    : AcDbText(position, text, style), mTag(tag ? tag : ""), mPrompt(prompt ? prompt : "") {}

AcDbAttributeDefinition::~AcDbAttributeDefinition() {}

char* AcDbAttributeDefinition::prompt() const {
  assertReadEnabled();
  return heapCopy(mPrompt);
}

Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const char* prompt) {
  if (prompt == nullptr) return Acad::eInvalidInput;
  assertWriteEnabled();
  mPrompt = prompt;
  return Acad::eOk;
}

char* AcDbAttributeDefinition::tag() const {
  assertReadEnabled();
  return heapCopy(mTag);
}

Acad::ErrorStatus AcDbAttributeDefinition::setTag(const char* tag) {
  if (tag == nullptr) return Acad::eInvalidInput;
  assertWriteEnabled();
  mTag = tag;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setFlag(int bit, Adesk::Boolean value) {
  assertWriteEnabled();
  mFlags = value ? (mFlags | bit) : (mFlags & ~bit);
  return Acad::eOk;
}

Adesk::Boolean AcDbAttributeDefinition::isInvisible() const {
  assertReadEnabled();
  return (mFlags & kAttInvisible) ? Adesk::kTrue : Adesk::kFalse;
}
Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(Adesk::Boolean value) {
  return setFlag(kAttInvisible, value);
}
Adesk::Boolean AcDbAttributeDefinition::isConstant() const {
  assertReadEnabled();
  return (mFlags & kAttConstant) ? Adesk::kTrue : Adesk::kFalse;
}
Acad::ErrorStatus AcDbAttributeDefinition::setConstant(Adesk::Boolean value) {
  return setFlag(kAttConstant, value);
}
Adesk::Boolean AcDbAttributeDefinition::isVerifiable() const {
  assertReadEnabled();
  return (mFlags & kAttVerifiable) ? Adesk::kTrue : Adesk::kFalse;
}
Acad::ErrorStatus AcDbAttributeDefinition::setVerifiable(Adesk::Boolean value) {
  return setFlag(kAttVerifiable, value);
}
Adesk::Boolean AcDbAttributeDefinition::isPreset() const {
  assertReadEnabled();
  return (mFlags & kAttPreset) ? Adesk::kTrue : Adesk::kFalse;
}
Acad::ErrorStatus AcDbAttributeDefinition::setPreset(Adesk::Boolean value) {
  return setFlag(kAttPreset, value);
}

Adesk::UInt16 AcDbAttributeDefinition::fieldLength() const {
  assertReadEnabled();
  return mFieldLength;
}

Acad::ErrorStatus AcDbAttributeDefinition::setFieldLength(Adesk::UInt16 length) {
  assertWriteEnabled();
  mFieldLength = length;
  return Acad::eOk;
}
