// core_test_objects.h - small concrete classes for database tests: an object with a value,
// an entity with a value, and reactors that record what they hear.
#pragma once
#include <string>
#include <vector>
#include "dbmain.h"
#include "dbcurve.h"

// A plain object holding an integer and a soft pointer.
class TestObj : public AcDbObject {
public:
  ACRX_DECLARE_MEMBERS(TestObj);
  TestObj() {}
  explicit TestObj(int v) : mValue(v) {}

  int value() const {
    assertReadEnabled();
    return mValue;
  }
  void setValue(int v) {
    assertWriteEnabled();
    mValue = v;
  }
  AcDbObjectId ref() const {
    assertReadEnabled();
    return mRef;
  }
  void setRef(AcDbObjectId id) {
    assertWriteEnabled();
    mRef = id;
  }

  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* f) const override {
    Acad::ErrorStatus es = AcDbObject::dwgOutFields(f);
    if (es != Acad::eOk) return es;
    f->writeInt32(mValue);
    f->writeSoftPointerId(mRef);
    return f->filerStatus();
  }
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* f) override {
    Acad::ErrorStatus es = AcDbObject::dwgInFields(f);
    if (es != Acad::eOk) return es;
    Adesk::Int32 v = 0;
    AcDbSoftPointerId ref;
    f->readInt32(&v);
    f->readSoftPointerId(&ref);
    mValue = v;
    mRef = ref;
    return f->filerStatus();
  }
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* f) const override {
    Acad::ErrorStatus es = AcDbObject::dxfOutFields(f);
    if (es != Acad::eOk) return es;
    f->writeString(AcDb::kDxfSubclass, "TestObj");
    f->writeInt32(AcDb::kDxfInt32, mValue);
    f->writeObjectId(AcDb::kDxfSoftPointerId, mRef);
    return f->filerStatus();
  }
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* f) override {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk) return es;
    if (!f->atSubclassData("TestObj")) return Acad::eBadDxfSequence;
    resbuf rb;
    while ((es = f->readItem(&rb)) == Acad::eOk) {
      if (rb.restype == AcDb::kDxfInt32) mValue = static_cast<int>(rb.resval.rlong);
      else if (rb.restype == AcDb::kDxfSoftPointerId) acdbGetObjectId(mRef, rb.resval.rlname);
      else {
        f->pushBackItem();
        return Acad::eInvalidDxfCode;
      }
    }
    return es == Acad::eEndOfObject ? Acad::eOk : es;
  }

private:
  int mValue = 0;
  AcDbObjectId mRef;
};

// A curve with a value, to stand in for real entities.
class TestCurve : public AcDbCurve {
public:
  ACRX_DECLARE_MEMBERS(TestCurve);
  TestCurve() {}
  double size() const {
    assertReadEnabled();
    return mSize;
  }
  void setSize(double s) {
    assertWriteEnabled();
    mSize = s;
    recordGraphicsModified();
  }
  Acad::ErrorStatus getArea(double& area) const override {
    Acad::ErrorStatus es = AcDbCurve::getArea(area);  // consults fault injection
    if (es != Acad::eOk && es != Acad::eNotApplicable) return es;
    area = mSize * mSize;
    return Acad::eOk;
  }
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* f) const override {
    Acad::ErrorStatus es = AcDbEntity::dwgOutFields(f);
    if (es != Acad::eOk) return es;
    f->writeDouble(mSize);
    return f->filerStatus();
  }
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* f) override {
    Acad::ErrorStatus es = AcDbEntity::dwgInFields(f);
    if (es != Acad::eOk) return es;
    f->readDouble(&mSize);
    return f->filerStatus();
  }

private:
  double mSize = 1.0;
};

// What a reactor heard, as "event:handle-of-sender" lines.
struct EventLog {
  std::vector<std::string> events;
  void add(const std::string& what, const AcDbObject* obj) {
    char h[20] = "-";
    if (obj != nullptr) {
      AcDbHandle handle;
      obj->getAcDbHandle(handle);
      handle.getIntoAsciiBuffer(h);
    }
    events.push_back(what + ":" + h);
  }
  // How many times the event was heard (from any sender).
  int count(const std::string& event) const {
    int n = 0;
    for (const auto& e : events)
      if (e.substr(0, e.find(':')) == event) ++n;
    return n;
  }
};

EventLog& persistentLog();

// A persistent reactor: a database object that logs the notifications it receives and
// whether it was open for notify at the time.
class TestReactor : public AcDbObject {
public:
  ACRX_DECLARE_MEMBERS(TestReactor);
  void modified(const AcDbObject* obj) override { log("modified", obj); }
  void openedForModify(const AcDbObject* obj) override { log("openedForModify", obj); }
  void erased(const AcDbObject* obj, Adesk::Boolean erasing) override { log(erasing ? "erased" : "unerased", obj); }
  void copied(const AcDbObject* obj, const AcDbObject*) override { log("copied", obj); }
  void goodbye(const AcDbObject* obj) override { log("goodbye", obj); }
  void cancelled(const AcDbObject* obj) override { log("cancelled", obj); }
  void modifiedGraphics(const AcDbEntity* obj) override { log("modifiedGraphics", obj); }

  bool sawNotifyOpen = true;

private:
  void log(const char* what, const AcDbObject* obj) {
    if (!isNotifyEnabled()) sawNotifyOpen = false;
    persistentLog().add(what, obj);
  }
};

// A transient reactor.
class TestTransientReactor : public AcDbEntityReactor {
public:
  EventLog log;
  void modified(const AcDbObject* obj) override { log.add("modified", obj); }
  void openedForModify(const AcDbObject* obj) override { log.add("openedForModify", obj); }
  void erased(const AcDbObject* obj, Adesk::Boolean erasing) override { log.add(erasing ? "erased" : "unerased", obj); }
  void copied(const AcDbObject* obj, const AcDbObject*) override { log.add("copied", obj); }
  void goodbye(const AcDbObject* obj) override { log.add("goodbye", obj); }
  void cancelled(const AcDbObject* obj) override { log.add("cancelled", obj); }
  void modifiedGraphics(const AcDbEntity* obj) override { log.add("modifiedGraphics", obj); }
};

// Registers the test classes (once).
void registerTestClasses();
