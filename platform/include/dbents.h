// dbents.h - the common drawing entities: text, attributes and their definitions, block
// references with the attributes they own, the end-of-sequence marker, lines and circles.
#pragma once
#include <string>
#include <vector>

#include "dbmain.h"
#include "dbcurve.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "gescl3d.h"

class AcGeMatrix3d;
class AcDbAttribute;
class AcDbAttributeDefinition;
class AcDbSequenceEnd;
namespace pf {
class EntityInternals;

// A name many entities repeat (a style, tag or block name): a pointer into the platform's pool
// of names, one pointer wide. Its members are defined with the pool, in the database's own
// headers, so only the platform reads or sets it.
class PooledName {
public:
  PooledName() = default;
  inline PooledName(const char* s);
  inline PooledName(const std::string& s);
  inline PooledName& operator=(const char* s);
  inline PooledName& operator=(const std::string& s);
  inline const char* c_str() const;
  inline bool empty() const;
  inline void clear();
  inline operator std::string() const;

private:
  const char* p_ = "";
};
}

// ---------------------------------------------------------------------------------------------
// Single-line text. The position and alignment point are in the WCS; rotation and oblique
// angle are in radians.
class AcDbText : public AcDbEntity {
 public:
  ACDB_DECLARE_MEMBERS(AcDbText);

  AcDbText();
  AcDbText(const AcGePoint3d& position, const char* text,
           AcDbObjectId style = AcDbObjectId::kNull, double height = 0, double rotation = 0);
  virtual ~AcDbText();

  AcGePoint3d position() const;
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcGePoint3d alignmentPoint() const;
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point);
  Adesk::Boolean isDefaultAlignment() const;

  AcGeVector3d normal() const;
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  double thickness() const;
  Acad::ErrorStatus setThickness(double thickness);
  double oblique() const;
  Acad::ErrorStatus setOblique(double angle);
  double rotation() const;
  Acad::ErrorStatus setRotation(double angle);
  double height() const;
  Acad::ErrorStatus setHeight(double height);
  double widthFactor() const;
  Acad::ErrorStatus setWidthFactor(double factor);
  Adesk::Boolean isMirroredInX() const;
  Acad::ErrorStatus mirrorInX(Adesk::Boolean mirrored);
  Adesk::Boolean isMirroredInY() const;
  Acad::ErrorStatus mirrorInY(Adesk::Boolean mirrored);
  AcDb::TextHorzMode horizontalMode() const;
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
  AcDb::TextVertMode verticalMode() const;
  Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);

  // A heap copy of the text; the caller frees it with acutDelString.
  char* textString() const;
  Acad::ErrorStatus setTextString(const char* text);
  AcDbObjectId textStyle() const;
  Acad::ErrorStatus setTextStyle(AcDbObjectId style);

  // Without font metrics the alignment cannot move the position; it is accepted as it is.
  virtual Acad::ErrorStatus adjustAlignment(const AcDbDatabase* pDb = NULL);

  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

 protected:
  // The AcDbText subclass groups, shared with attributes and attribute definitions, which
  // continue with their own subclass where plain text has a second AcDbText marker.
  Acad::ErrorStatus dxfOutTextData(AcDbDxfFiler* pFiler) const;
  Acad::ErrorStatus dxfInTextData(AcDbDxfFiler* pFiler);

  // The vertical mode travels with the subclass that files it (73 for text, 74 for attributes).
  int mVertMode = 0;

 private:
  friend class pf::EntityInternals;
  AcGePoint3d mPosition;   // WCS
  AcGePoint3d mAlignment;  // WCS
  AcGeVector3d mNormal;
  double mThickness = 0.0;
  double mHeight = 0.0;
  double mRotation = 0.0;
  double mWidthFactor = 1.0;
  double mOblique = 0.0;
  int mGeneration = 0;  // 2 mirrored in X, 4 mirrored in Y
  int mHorzMode = 0;
  std::string mText;
  AcDbObjectId mStyle;
  pf::PooledName mStyleName;  // the style's name as filed, kept when no style record resolves it
};

// ---------------------------------------------------------------------------------------------
// An attribute: a tagged text owned by a block reference.
class AcDbAttribute : public AcDbText {
 public:
  ACDB_DECLARE_MEMBERS(AcDbAttribute);

  AcDbAttribute();
  AcDbAttribute(const AcGePoint3d& position, const char* text, const char* tag,
                AcDbObjectId style = AcDbObjectId::kNull);
  virtual ~AcDbAttribute();

  // A heap copy of the tag; the caller frees it with acutDelString.
  char* tag() const;
  Acad::ErrorStatus setTag(const char* newTag);

  Adesk::Boolean isInvisible() const;
  Acad::ErrorStatus setInvisible(Adesk::Boolean value);
  Adesk::Boolean isConstant() const;
  Adesk::Boolean isVerifiable() const;
  Adesk::Boolean isPreset() const;
  Adesk::UInt16 fieldLength() const;
  Acad::ErrorStatus setFieldLength(Adesk::UInt16 length);

  // Places the attribute as its definition in the block, transformed by the insertion.
  Acad::ErrorStatus setAttributeFromBlock(const AcGeMatrix3d& blkXform);
  Acad::ErrorStatus setAttributeFromBlock(const AcDbAttributeDefinition* pAttdef,
                                          const AcGeMatrix3d& blkXform);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

 private:
  friend class pf::EntityInternals;
  pf::PooledName mTag;
  Adesk::UInt16 mFieldLength = 0;
  // Two groups 280 of R2010 and later files, written back as read (-1: not read): the
  // subclass's version, and after the flags the lock of the position.
  signed char mVersionGroup = -1;
  signed char mLockGroup = -1;
  int mFlags = 0;  // 1 invisible, 2 constant, 4 verifiable, 8 preset
};

// ---------------------------------------------------------------------------------------------
// An attribute definition: the template in a block from which inserts make attributes.
class AcDbAttributeDefinition : public AcDbText {
 public:
  ACDB_DECLARE_MEMBERS(AcDbAttributeDefinition);

  AcDbAttributeDefinition();
  AcDbAttributeDefinition(const AcGePoint3d& position, const char* text, const char* tag,
                          const char* prompt, AcDbObjectId style = AcDbObjectId::kNull);
  virtual ~AcDbAttributeDefinition();

  // Heap copies; the caller frees them with acutDelString.
  char* prompt() const;
  Acad::ErrorStatus setPrompt(const char* prompt);
  char* tag() const;
  Acad::ErrorStatus setTag(const char* tag);

  Adesk::Boolean isInvisible() const;
  Acad::ErrorStatus setInvisible(Adesk::Boolean value);
  Adesk::Boolean isConstant() const;
  Acad::ErrorStatus setConstant(Adesk::Boolean value);
  Adesk::Boolean isVerifiable() const;
  Acad::ErrorStatus setVerifiable(Adesk::Boolean value);
  Adesk::Boolean isPreset() const;
  Acad::ErrorStatus setPreset(Adesk::Boolean value);
  Adesk::UInt16 fieldLength() const;
  Acad::ErrorStatus setFieldLength(Adesk::UInt16 length);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

 private:
  friend class pf::EntityInternals;
  Acad::ErrorStatus setFlag(int bit, Adesk::Boolean value);
  pf::PooledName mTag;
  std::string mPrompt;
  Adesk::UInt16 mFieldLength = 0;
  signed char mVersionGroup = -1;  // as AcDbAttribute's
  signed char mLockGroup = -1;
  int mFlags = 0;
};

// ---------------------------------------------------------------------------------------------
// The marker that ends the attributes of a block reference in a drawing file.
class AcDbSequenceEnd : public AcDbEntity {
 public:
  ACDB_DECLARE_MEMBERS(AcDbSequenceEnd);
  AcDbSequenceEnd();
  virtual ~AcDbSequenceEnd();
};

// ---------------------------------------------------------------------------------------------
// A block reference (insert): a block table record placed with a position, scale, rotation
// and normal, owning the attributes appended to it and, once it has any, a sequence end.
class AcDbBlockReference : public AcDbEntity {
 public:
  ACDB_DECLARE_MEMBERS(AcDbBlockReference);

  AcDbBlockReference();
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec);
  virtual ~AcDbBlockReference();

  AcDbObjectId blockTableRecord() const;
  virtual Acad::ErrorStatus setBlockTableRecord(AcDbObjectId blockTableRec);
  virtual AcGePoint3d position() const;
  virtual Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcGeScale3d scaleFactors() const;
  virtual Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
  double rotation() const;
  virtual Acad::ErrorStatus setRotation(double newVal);
  AcGeVector3d normal() const;
  virtual Acad::ErrorStatus setNormal(const AcGeVector3d& newVal);
  // Block coordinates to WCS: scale, rotate about the normal, place at the position.
  AcGeMatrix3d blockTransform() const;

  // Adds the attribute to the reference's database, owned by this reference. The reference
  // must be open for write and in a database; the attribute must be new.
  Acad::ErrorStatus appendAttribute(AcDbAttribute* pAttr);
  Acad::ErrorStatus appendAttribute(AcDbObjectId& attrId, AcDbAttribute* pAttr);
  // Opens one of this reference's attributes.
  Acad::ErrorStatus openAttribute(AcDbAttribute*& pAttr, AcDbObjectId attrId,
                                  AcDb::OpenMode mode, bool openErasedOne = false);
  Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& pSeqEnd, AcDb::OpenMode mode);
  // An iterator over the attributes in the order they were appended; the caller deletes it.
  AcDbObjectIterator* attributeIterator() const;

  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
  // The sequence end stays on the reference's layer, as drawing files expect.
  virtual Acad::ErrorStatus setLayer(const char* newVal, Adesk::Boolean doSubents = true);
  virtual Acad::ErrorStatus setLayer(AcDbObjectId newVal, Adesk::Boolean doSubents = true);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

 protected:
  // Erasing (or unerasing) the reference does the same to the attributes and sequence end.
  virtual Acad::ErrorStatus subErase(Adesk::Boolean erasing);

 private:
  friend class pf::EntityInternals;
  void syncSequenceEndLayer();
  mutable AcDbObjectId mBlock;  // resolved from mBlockName on first use when read by name
  pf::PooledName mBlockName;    // as filed, kept when the name does not resolve to a record
  AcGePoint3d mPosition;   // WCS
  AcGeScale3d mScale;
  double mRotation = 0.0;
  AcGeVector3d mNormal;
  std::vector<AcDbObjectId> mAttributes;
  AcDbObjectId mSequenceEnd;
};

// ---------------------------------------------------------------------------------------------
// A straight line between two WCS points.
class AcDbLine : public AcDbCurve {
 public:
  ACDB_DECLARE_MEMBERS(AcDbLine);

  AcDbLine();
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);
  virtual ~AcDbLine();

  AcGePoint3d startPoint() const;
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& point);
  AcGePoint3d endPoint() const;
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& point);
  double thickness() const;
  Acad::ErrorStatus setThickness(double thickness);
  AcGeVector3d normal() const;
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);

  // A line encloses nothing.
  virtual Acad::ErrorStatus getArea(double& area) const;
  // Parameters run over the length, from 0 at the start point.
  virtual Adesk::Boolean isClosed() const;
  virtual Acad::ErrorStatus getStartParam(double& param) const;
  virtual Acad::ErrorStatus getEndParam(double& param) const;
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
  virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

 private:
  AcGePoint3d mStart;
  AcGePoint3d mEnd;
  double mThickness = 0.0;
  AcGeVector3d mNormal;
};

// ---------------------------------------------------------------------------------------------
// A circle: WCS centre, radius and the normal of its plane.
class AcDbCircle : public AcDbCurve {
 public:
  ACDB_DECLARE_MEMBERS(AcDbCircle);

  AcDbCircle();
  AcDbCircle(const AcGePoint3d& cntr, const AcGeVector3d& nrm, double radius);
  virtual ~AcDbCircle();

  AcGePoint3d center() const;
  Acad::ErrorStatus setCenter(const AcGePoint3d& center);
  double radius() const;
  Acad::ErrorStatus setRadius(double radius);
  double thickness() const;
  Acad::ErrorStatus setThickness(double thickness);
  AcGeVector3d normal() const;
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);

  virtual Acad::ErrorStatus getArea(double& area) const;
  // Parameters are angles about the normal from the plane's X axis, 0 to 2 pi.
  virtual Adesk::Boolean isClosed() const;
  virtual Adesk::Boolean isPeriodic() const;
  virtual Acad::ErrorStatus getStartParam(double& param) const;
  virtual Acad::ErrorStatus getEndParam(double& param) const;
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
  virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

 private:
  AcGePoint3d mCenter;  // WCS
  double mRadius = 0.0;
  double mThickness = 0.0;
  AcGeVector3d mNormal;
};
