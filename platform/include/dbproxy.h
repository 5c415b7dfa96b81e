// dbproxy.h - stand-ins for objects and entities whose class is not available.
//
// When a drawing holds an object of a class that no loaded application defines (or whose data
// is newer than its class can read), the database keeps it as a proxy: the original class and
// DXF names and the data as it was read, written back unchanged when the drawing is saved.
#pragma once
#include "dbmain.h"
#include "dbidar.h"
#include "dbintar.h"

class AcDbProxyObject : public AcDbObject {
 public:
  ACDB_DECLARE_MEMBERS(AcDbProxyObject);
  virtual ~AcDbProxyObject();

  enum {
    kNoOperation = 0,
    kEraseAllowed = 0x1,
    kAllButCloningAllowed = 0x1,
    kCloningAllowed = 0x80,
    kAllAllowedBits = 0x81,
    kMergeIgnore = 0,
    kMergeReplace = 0x100,
    kMergeMangleName = 0x200
  };

  virtual int proxyFlags() const = 0;
  virtual const char* originalClassName() const = 0;
  virtual const char* originalDxfName() const = 0;
  virtual const char* applicationDescription() const = 0;
  virtual Acad::ErrorStatus getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const = 0;
  virtual AcDb::DuplicateRecordCloning mergeStyle() const = 0;

 protected:
  AcDbProxyObject();
};

class AcDbProxyEntity : public AcDbEntity {
 public:
  ACDB_DECLARE_MEMBERS(AcDbProxyEntity);
  virtual ~AcDbProxyEntity();

  enum GraphicsMetafileType { kNoMetafile = 0, kBoundingBox = 1, kFullGraphics = 2 };

  enum {
    kNoOperation = 0,
    kEraseAllowed = 0x1,
    kTransformAllowed = 0x2,
    kColorChangeAllowed = 0x4,
    kLayerChangeAllowed = 0x8,
    kLinetypeChangeAllowed = 0x10,
    kLinetypeScaleChangeAllowed = 0x20,
    kVisibilityChangeAllowed = 0x40,
    kCloningAllowed = 0x80,
    kLineWeightChangeAllowed = 0x100,
    kPlotStyleNameChangeAllowed = 0x200,
    kAllButCloningAllowed = 0x37F,
    kAllAllowedBits = 0x3FF
  };

  virtual int proxyFlags() const = 0;
  virtual const char* originalClassName() const = 0;
  virtual const char* originalDxfName() const = 0;
  virtual const char* applicationDescription() const = 0;
  virtual Acad::ErrorStatus getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const = 0;
  virtual GraphicsMetafileType graphicsMetafileType() const = 0;

 protected:
  AcDbProxyEntity();
};
