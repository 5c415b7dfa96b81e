// text_filing.cpp - DWG and DXF filing of AcDbText.
//
// DXF subclass AcDbText (shared with ATTRIB and ATTDEF): [39 thickness], 10/20/30 position,
// 40 height, 1 text, [50 rotation], [41 width factor], [51 oblique], [7 style], [71 generation
// flags], [72 horizontal justification], [11/21/31 alignment point when justified], [210].
// Points are in the OCS and angles in degrees. Plain text then has a second AcDbText marker
// with [73 vertical justification]; attributes continue with their own subclass instead.
#include "dbents.h"

#include "acutmem.h"
#include "db/pooled_name.h"
#include "db/entities/entity_util.h"
#include "db/entities/filing_util.h"
#include "db/entities/style_names.h"

Acad::ErrorStatus AcDbText::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writePoint3d(mPosition);
  pFiler->writePoint3d(mAlignment);
  pFiler->writeVector3d(mNormal);
  pFiler->writeDouble(mThickness);
  pFiler->writeDouble(mHeight);
  pFiler->writeDouble(mRotation);
  pFiler->writeDouble(mWidthFactor);
  pFiler->writeDouble(mOblique);
  pFiler->writeInt16(static_cast<Adesk::Int16>(mGeneration));
  pFiler->writeInt16(static_cast<Adesk::Int16>(mHorzMode));
  pFiler->writeInt16(static_cast<Adesk::Int16>(mVertMode));
  pFiler->writeString(mText.c_str());
  pFiler->writeHardPointerId(mStyle);
  pFiler->writeString(mStyleName.c_str());
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbText::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  Adesk::Int16 generation = 0, horz = 0, vert = 0;
  char* text = nullptr;
  char* styleName = nullptr;
  AcDbHardPointerId style;
  pFiler->readPoint3d(&mPosition);
  pFiler->readPoint3d(&mAlignment);
  pFiler->readVector3d(&mNormal);
  pFiler->readDouble(&mThickness);
  pFiler->readDouble(&mHeight);
  pFiler->readDouble(&mRotation);
  pFiler->readDouble(&mWidthFactor);
  pFiler->readDouble(&mOblique);
  pFiler->readInt16(&generation);
  pFiler->readInt16(&horz);
  pFiler->readInt16(&vert);
  pFiler->readString(&text);
  pFiler->readHardPointerId(&style);
  pFiler->readString(&styleName);
  mGeneration = generation;
  mHorzMode = horz;
  mVertMode = vert;
  mText = text ? text : "";
  mStyle = style;
  mStyleName = styleName ? styleName : "";
  acutDelString(text);
  acutDelString(styleName);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbText::dxfOutTextData(AcDbDxfFiler* pFiler) const {
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbText");
  if (mThickness != 0.0) pFiler->writeDouble(AcDb::kDxfThickness, mThickness);
  pFiler->writePoint3d(AcDb::kDxfXCoord, pf::toOcsPoint(mNormal, mPosition));
  pFiler->writeDouble(AcDb::kDxfTxtSize, mHeight);
  pFiler->writeString(AcDb::kDxfText, mText.c_str());
  if (mRotation != 0.0) pFiler->writeDouble(AcDb::kDxfAngle, pf::toDegrees(mRotation));
  if (mWidthFactor != 1.0) pFiler->writeDouble(41, mWidthFactor);
  if (mOblique != 0.0) pFiler->writeDouble(51, pf::toDegrees(mOblique));
  const std::string style = pf::textStyleName(mStyle, mStyleName);
  if (!style.empty()) pFiler->writeString(AcDb::kDxfTextStyleName, style.c_str());
  if (mGeneration != 0) pFiler->writeInt16(71, static_cast<Adesk::Int16>(mGeneration));
  if (mHorzMode != 0) pFiler->writeInt16(72, static_cast<Adesk::Int16>(mHorzMode));
  // The alignment point only means something for justified text.
  if (mHorzMode != 0 || mVertMode != 0)
    pFiler->writePoint3d(AcDb::kDxfXCoord + 1, pf::toOcsPoint(mNormal, mAlignment));
  pf::writeNormal(pFiler, mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbText::dxfInTextData(AcDbDxfFiler* pFiler) {
  Acad::ErrorStatus es = pf::expectSubclass(pFiler, "AcDbText");
  if (es != Acad::eOk) return es;
  AcGePoint3d position, alignment;
  bool hasAlignment = false;
  AcGeVector3d normal(0.0, 0.0, 1.0);
  double thickness = 0.0, height = 0.0, rotation = 0.0, widthFactor = 1.0, oblique = 0.0;
  int generation = 0, horz = 0;
  std::string text, styleName;
  es = pf::readGroups(pFiler, [&](const resbuf& rb) -> Acad::ErrorStatus {
    switch (rb.restype) {
      case AcDb::kDxfThickness: return pf::groupReal(pFiler, rb, thickness);
      case AcDb::kDxfXCoord: return pf::groupPoint(pFiler, rb, position);
      case AcDb::kDxfTxtSize: return pf::groupReal(pFiler, rb, height);
      case AcDb::kDxfText: return pf::groupString(pFiler, rb, text);
      case AcDb::kDxfAngle: return pf::groupReal(pFiler, rb, rotation);
      case 41: return pf::groupReal(pFiler, rb, widthFactor);
      case 51: return pf::groupReal(pFiler, rb, oblique);
      case AcDb::kDxfTextStyleName: return pf::groupString(pFiler, rb, styleName);
      case 71: return pf::groupInt(pFiler, rb, generation);
      case 72: return pf::groupInt(pFiler, rb, horz);
      case AcDb::kDxfXCoord + 1:
        hasAlignment = true;
        return pf::groupPoint(pFiler, rb, alignment);
      case AcDb::kDxfNormalX: return pf::groupNormal(pFiler, rb, normal);
      default: return pf::skipGroup(pFiler, rb);
    }
  });
  if (es != Acad::eOk) return es;
  if (height < 0.0 || !(widthFactor > 0.0) || horz < AcDb::kTextLeft || horz > AcDb::kTextFit) {
    pFiler->setError(Acad::eInvalidInput, "text height, width factor or justification out of range");
    return Acad::eInvalidInput;
  }
  mNormal = normal;
  mPosition = pf::toWorldPoint(normal, position);
  mAlignment = pf::toWorldPoint(normal, hasAlignment ? alignment : position);
  mThickness = thickness;
  mHeight = height;
  mRotation = pf::toRadians(rotation);
  mWidthFactor = widthFactor;
  mOblique = pf::toRadians(oblique);
  mGeneration = generation;
  mHorzMode = horz;
  mText = text;
  mStyleName = styleName;
  mStyle = pf::textStyleId(pFiler->database(), styleName);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = dxfOutTextData(pFiler)) != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbText");
  if (mVertMode != 0) pFiler->writeInt16(73, static_cast<Adesk::Int16>(mVertMode));
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbText::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = dxfInTextData(pFiler)) != Acad::eOk) return es;
  // Some writers leave out the second marker when there is nothing after it.
  int vert = 0;
  if (pFiler->atSubclassData("AcDbText")) {
    es = pf::readGroups(pFiler, [&](const resbuf& rb) -> Acad::ErrorStatus {
      if (rb.restype == 73) return pf::groupInt(pFiler, rb, vert);
      return pf::skipGroup(pFiler, rb);
    });
    if (es != Acad::eOk) return es;
  }
  if (vert < AcDb::kTextBase || vert > AcDb::kTextTop) {
    pFiler->setError(Acad::eInvalidInput, "vertical justification %d out of range", vert);
    return Acad::eInvalidInput;
  }
  mVertMode = vert;
  return Acad::eOk;
}
