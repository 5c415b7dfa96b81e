// proxy.h - the concrete proxy object and proxy entity the database makes for records it
// cannot interpret: an unknown DXF record, or a known class that answered eMakeMeProxy.
//
// A proxy keeps its original class name, DXF name and application description, and every
// group of the record after the common object (or entity) part, exactly as read, in order.
// Saving writes the same groups back. Object references among the kept groups are held as ids,
// so that copying a proxy translates them like any other object's, and hard-owned objects are
// copied with it.
#pragma once
#include <string>
#include <vector>

#include "dbproxy.h"
#include "db/tag_list.h"

namespace pf {

// One kept group of a proxy's record: its typed value, and the tags it was read from (a point
// is two or three tags) so that a tag writer gets back exactly the text that was read.
struct KeptGroup {
  int code = 0;
  TagKind kind = TagKind::String;
  std::string text;                  // String, Handle, Comment
  double v[3] = {0.0, 0.0, 0.0};     // Real (v[0]) and points
  int dims = 3;                      // points: 2 when the record had no Z
  long long integer = 0;             // Int16, Int32, Int64, Bool
  AcDbObjectId id;                   // Id
  std::vector<unsigned char> bytes;  // Binary
  std::vector<Tag> raw;              // as read; empty when not read from a tag list
};

// What a proxy says of its original class. Pooled: a drawing's hundreds of thousands of
// proxies repeat a handful of classes, and each holds one pointer.
struct ProxyClass {
  const char* className;
  const char* dxfName;
  const char* appDescription;
  int flags;
};
const ProxyClass* pooledProxyClass(const char* className, const char* dxfName, const char* appDescription, int flags);
const ProxyClass* noProxyClass();  // all names empty

// The data both proxy kinds keep.
class ProxyData {
 public:
  const char* className() const { return cls_->className; }
  const char* dxfName() const { return cls_->dxfName; }
  const char* appDescription() const { return cls_->appDescription; }
  int flags() const { return cls_->flags; }
  void setClass(const char* className, const char* dxfName, const char* appDescription, int flags) {
    cls_ = pooledProxyClass(className, dxfName, appDescription, flags);
  }
  void setClass(const ProxyClass* cls) { cls_ = cls; }

  std::vector<KeptGroup> groups;

  // Reads every group up to the end of the object or the start of its extended data.
  Acad::ErrorStatus readDxf(AcDbDxfFiler* pFiler);
  Acad::ErrorStatus writeDxf(AcDbDxfFiler* pFiler) const;
  Acad::ErrorStatus readDwg(AcDbDwgFiler* pFiler);
  Acad::ErrorStatus writeDwg(AcDbDwgFiler* pFiler) const;
  // The referenced ids with their kind: 0 soft pointer, 1 hard pointer, 2 soft ownership,
  // 3 hard ownership.
  void references(AcDbObjectIdArray& ids, AcDbIntArray& types) const;

 private:
  const ProxyClass* cls_ = noProxyClass();
};

class ProxyObject : public AcDbProxyObject {
 public:
  ProxyObject();
  virtual ~ProxyObject();

  virtual int proxyFlags() const;
  virtual const char* originalClassName() const;
  virtual const char* originalDxfName() const;
  virtual const char* applicationDescription() const;
  virtual Acad::ErrorStatus getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const;
  virtual AcDb::DuplicateRecordCloning mergeStyle() const;

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

  ProxyData& data() { return mData; }
  const ProxyData& data() const { return mData; }

  // A new, empty proxy of this one's own kind. One runtime class stands for every kind of
  // proxy, and each kind files its data its own way: a copy (deep clone) is made with this, so
  // that it can read what its source wrote.
  virtual ProxyObject* newEmpty() const { return new ProxyObject(); }

 private:
  ProxyData mData;
};

class ProxyEntity : public AcDbProxyEntity {
 public:
  ProxyEntity();
  virtual ~ProxyEntity();

  virtual int proxyFlags() const;
  virtual const char* originalClassName() const;
  virtual const char* originalDxfName() const;
  virtual const char* applicationDescription() const;
  virtual Acad::ErrorStatus getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const;
  virtual GraphicsMetafileType graphicsMetafileType() const;

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

  ProxyData& data() { return mData; }
  const ProxyData& data() const { return mData; }

  virtual ProxyEntity* newEmpty() const { return new ProxyEntity(); }  // as ProxyObject's

 private:
  ProxyData mData;
};

// New, not yet database-resident proxies for a record of the given class and DXF names (the
// DXF name is what the record is written back as). Their dxfInFields then keeps the record.
ProxyObject* newProxyObject(const char* className, const char* dxfName,
                            const char* appDescription = "", int proxyFlags = 0);
ProxyEntity* newProxyEntity(const char* className, const char* dxfName,
                            const char* appDescription = "", int proxyFlags = 0);

}  // namespace pf
