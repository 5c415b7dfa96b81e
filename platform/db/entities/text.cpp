// text.cpp - AcDbText: single-line text, its placement and properties.
// The filing (DWG and DXF) is in text_filing.cpp.
#include "dbents.h"

#include "acutmem.h"
#include "db/pooled_name.h"
#include "db/entities/entity_util.h"
#include "gemat3d.h"
#include "rx/rxinit.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbText, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, TEXT,
                        AutoCAD);
PF_REGISTER_CLASS(AcDbText);

AcDbText::AcDbText() : mNormal(0.0, 0.0, 1.0) {}

AcDbText::AcDbText(const AcGePoint3d& position, const char* text, AcDbObjectId style,
                   double height, double rotation)
    : mPosition(position),
      mAlignment(position),
      mNormal(0.0, 0.0, 1.0),
      mHeight(pf::finite(height) && height >= 0 ? height : 0.0),
      mRotation(pf::finite(rotation) ? rotation : 0.0),
      mText(text ? text : ""),
      mStyle(style) {}

AcDbText::~AcDbText() {}

AcGePoint3d AcDbText::position() const {
  assertReadEnabled();
  return mPosition;
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) {
  if (!pf::finite(position)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mPosition = position;
  return Acad::eOk;
}

AcGePoint3d AcDbText::alignmentPoint() const {
  assertReadEnabled();
  return mAlignment;
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& point) {
  if (!pf::finite(point)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mAlignment = point;
  return Acad::eOk;
}

Adesk::Boolean AcDbText::isDefaultAlignment() const {
  assertReadEnabled();
  return (mHorzMode == AcDb::kTextLeft && mVertMode == AcDb::kTextBase) ? Adesk::kTrue
                                                                        : Adesk::kFalse;
}

AcGeVector3d AcDbText::normal() const {
  assertReadEnabled();
  return mNormal;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& normal) {
  AcGeVector3d unit;
  if (!pf::unitNormal(normal, unit)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mNormal = unit;
  return Acad::eOk;
}

double AcDbText::thickness() const {
  assertReadEnabled();
  return mThickness;
}

Acad::ErrorStatus AcDbText::setThickness(double thickness) {
  if (!pf::finite(thickness)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mThickness = thickness;
  return Acad::eOk;
}

double AcDbText::oblique() const {
  assertReadEnabled();
  return mOblique;
}

Acad::ErrorStatus AcDbText::setOblique(double angle) {
  if (!pf::finite(angle)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mOblique = angle;
  return Acad::eOk;
}

double AcDbText::rotation() const {
  assertReadEnabled();
  return mRotation;
}

Acad::ErrorStatus AcDbText::setRotation(double angle) {
  if (!pf::finite(angle)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mRotation = angle;
  return Acad::eOk;
}

double AcDbText::height() const {
  assertReadEnabled();
  return mHeight;
}

Acad::ErrorStatus AcDbText::setHeight(double height) {
  if (!pf::finite(height) || height < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  mHeight = height;
  return Acad::eOk;
}

double AcDbText::widthFactor() const {
  assertReadEnabled();
  return mWidthFactor;
}

Acad::ErrorStatus AcDbText::setWidthFactor(double factor) {
  if (!pf::finite(factor) || factor <= 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  mWidthFactor = factor;
  return Acad::eOk;
}

Adesk::Boolean AcDbText::isMirroredInX() const {
  assertReadEnabled();
  return (mGeneration & 2) ? Adesk::kTrue : Adesk::kFalse;
}

Acad::ErrorStatus AcDbText::mirrorInX(Adesk::Boolean mirrored) {
  assertWriteEnabled();
  mGeneration = mirrored ? (mGeneration | 2) : (mGeneration & ~2);
  return Acad::eOk;
}

Adesk::Boolean AcDbText::isMirroredInY() const {
  assertReadEnabled();
  return (mGeneration & 4) ? Adesk::kTrue : Adesk::kFalse;
}

Acad::ErrorStatus AcDbText::mirrorInY(Adesk::Boolean mirrored) {
  assertWriteEnabled();
  mGeneration = mirrored ? (mGeneration | 4) : (mGeneration & ~4);
  return Acad::eOk;
}

AcDb::TextHorzMode AcDbText::horizontalMode() const {
  assertReadEnabled();
  // A damaged file may carry any number here (it is written back as read): outside the known
  // modes the text reads as left-aligned, never as a value the enumeration does not have.
  if (mHorzMode < AcDb::kTextLeft || mHorzMode > AcDb::kTextFit) return AcDb::kTextLeft;
  return static_cast<AcDb::TextHorzMode>(mHorzMode);
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
  if (mode < AcDb::kTextLeft || mode > AcDb::kTextFit) return Acad::eInvalidInput;
  assertWriteEnabled();
  mHorzMode = mode;
  return Acad::eOk;
}

AcDb::TextVertMode AcDbText::verticalMode() const {
  assertReadEnabled();
  if (mVertMode < AcDb::kTextBase || mVertMode > AcDb::kTextTop) return AcDb::kTextBase;  // as above
  return static_cast<AcDb::TextVertMode>(mVertMode);
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
  if (mode < AcDb::kTextBase || mode > AcDb::kTextTop) return Acad::eInvalidInput;
  assertWriteEnabled();
  mVertMode = mode;
  return Acad::eOk;
}

char* AcDbText::textString() const {
  assertReadEnabled();
  char* copy = nullptr;
  acutNewString(mText.c_str(), copy);
  return copy;
}

Acad::ErrorStatus AcDbText::setTextString(const char* text) {
  PF_FAULT_CHECK("AcDbText::setTextString");
  if (text == nullptr) return Acad::eInvalidInput;
  assertWriteEnabled();
  mText = text;
  return Acad::eOk;
}

AcDbObjectId AcDbText::textStyle() const {
  assertReadEnabled();
  return mStyle;
}

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
  assertWriteEnabled();
  mStyle = style;
  mStyleName.clear();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::adjustAlignment(const AcDbDatabase*) {
  assertReadEnabled();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform) {
  pf::Similarity sim;
  if (!pf::similarityOf(xform, sim)) return Acad::eCannotScaleNonUniformly;
  assertWriteEnabled();
  // The text direction (rotation about the old normal) is mapped as a vector and re-expressed
  // as an angle about the new normal.
  const pf::Ocs oldOcs(pf::toVec3(mNormal));
  const pf::Vec3 dir = oldOcs.toWorld({std::cos(mRotation), std::sin(mRotation), 0.0});
  const pf::Vec3 n = pf::mapNormal(sim, pf::toVec3(mNormal));
  const pf::Vec3 newDir = pf::Ocs(n).toOcs(sim.applyLinear(dir));
  mRotation = std::atan2(newDir.y, newDir.x);
  mPosition = pf::toPoint(sim.apply(pf::toVec3(mPosition)));
  mAlignment = pf::toPoint(sim.apply(pf::toVec3(mAlignment)));
  mNormal = pf::toVector(n);
  mHeight *= sim.scale;
  mThickness *= sim.scale;
  // A mirror reverses the reading direction; the text is marked mirrored in X so that it
  // still reads from its position along the mapped direction.
  if (sim.mirror) mGeneration ^= 2;
  return Acad::eOk;
}
