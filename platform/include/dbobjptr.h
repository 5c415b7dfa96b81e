// dbobjptr.h - scope-bound open pointers: the object is closed when the pointer goes away
// (or deleted, if it never became database-resident).
#pragma once
#include <assert.h>
#include "dbsymtb.h"

template <class T_OBJECT>
class AcDbObjectPointerBase {
public:
  AcDbObjectPointerBase() : m_ptr(NULL), m_status(Acad::eNullObjectPointer) {}
  virtual ~AcDbObjectPointerBase() {
    if (m_ptr != NULL) {
      assert(m_status == Acad::eOk);
      closeInternal();
    }
  }

  const T_OBJECT* object() const { return m_status == Acad::eOk ? m_ptr : NULL; }
  T_OBJECT* object() { return m_status == Acad::eOk ? m_ptr : NULL; }
  const T_OBJECT* operator->() const { return object(); }
  T_OBJECT* operator->() { return object(); }
  Acad::ErrorStatus openStatus() const { return m_status; }

  // Takes ownership of an object the caller holds open (or a new one) and NULLs the argument.
  Acad::ErrorStatus acquire(T_OBJECT*& pObjToAcquire) {
    if (pObjToAcquire == NULL) return Acad::eNullObjectPointer;
    if (m_ptr != NULL) {
      Acad::ErrorStatus es = closeInternal();
      if (es != Acad::eOk) return es;
    }
    m_ptr = pObjToAcquire;
    m_status = Acad::eOk;
    pObjToAcquire = NULL;
    return Acad::eOk;
  }
  // Gives the object up to the caller, who becomes responsible for closing it.
  Acad::ErrorStatus release(T_OBJECT*& pReleasedObj) {
    if (m_status != Acad::eOk) return m_status;
    pReleasedObj = m_ptr;
    m_ptr = NULL;
    m_status = Acad::eNullObjectPointer;
    return Acad::eOk;
  }
  // Makes a new object of the class (not yet in a database).
  Acad::ErrorStatus create() {
    T_OBJECT* pObj = new T_OBJECT;
    if (m_ptr != NULL) {
      Acad::ErrorStatus es = closeInternal();
      if (es != Acad::eOk) {
        delete pObj;
        return es;
      }
    }
    m_ptr = pObj;
    m_status = Acad::eOk;
    return Acad::eOk;
  }

protected:
  AcDbObjectPointerBase(AcDbObjectId objId, AcDb::OpenMode mode, bool openErased)
      : m_ptr(NULL), m_status(acdbOpenObject(m_ptr, objId, mode, openErased)) {
    if (m_status != Acad::eOk) m_ptr = NULL;
  }

  Acad::ErrorStatus closeInternal() {
    if (m_ptr == NULL) return Acad::eOk;
    Acad::ErrorStatus es = Acad::eOk;
    if (m_ptr->objectId().isNull()) {
      delete m_ptr;
    } else {
      es = m_ptr->close();
    }
    m_ptr = NULL;
    m_status = Acad::eNullObjectPointer;
    return es;
  }

  T_OBJECT* m_ptr;
  Acad::ErrorStatus m_status;

private:
  AcDbObjectPointerBase(const AcDbObjectPointerBase&) = delete;
  AcDbObjectPointerBase& operator=(const AcDbObjectPointerBase&) = delete;
};

template <class T_OBJECT>
class AcDbObjectPointer : public AcDbObjectPointerBase<T_OBJECT> {
public:
  AcDbObjectPointer() {}
  AcDbObjectPointer(AcDbObjectId objId, AcDb::OpenMode mode, bool openErased = false)
      : AcDbObjectPointerBase<T_OBJECT>(objId, mode, openErased) {}
};

typedef AcDbObjectPointer<AcDbDictionary> AcDbDictionaryPointer;
typedef AcDbObjectPointer<AcDbEntity> AcDbEntityPointer;

template <class T>
class AcDbSymbolTablePointer : public AcDbObjectPointerBase<T> {
public:
  AcDbSymbolTablePointer() {}
  AcDbSymbolTablePointer(AcDbObjectId objId, AcDb::OpenMode mode)
      : AcDbObjectPointerBase<T>(objId, mode, false) {}
  AcDbSymbolTablePointer(AcDbDatabase* pDb, AcDb::OpenMode mode) {
    if (pDb == NULL) {
      this->m_status = Acad::eNullObjectPointer;
      return;
    }
    this->m_status = pDb->getSymbolTable(this->m_ptr, mode);
    if (this->m_status != Acad::eOk) this->m_ptr = NULL;
  }
};

typedef AcDbSymbolTablePointer<AcDbBlockTable> AcDbBlockTablePointer;

template <class T>
class AcDbSymbolTableRecordPointer : public AcDbObjectPointerBase<T> {
public:
  AcDbSymbolTableRecordPointer() {}
  AcDbSymbolTableRecordPointer(AcDbObjectId objId, AcDb::OpenMode mode, bool openErased = false)
      : AcDbObjectPointerBase<T>(objId, mode, openErased) {}
  AcDbSymbolTableRecordPointer(const char* name, AcDbDatabase* pDb, AcDb::OpenMode mode,
                               bool openErased = false) {
    if (name == NULL || pDb == NULL) {
      this->m_status = Acad::eInvalidInput;
      return;
    }
    typename T::TableType* pTable = NULL;
    this->m_status = pDb->getSymbolTable(pTable, AcDb::kForRead);
    if (this->m_status != Acad::eOk) return;
    AcDbObjectId id;
    this->m_status = pTable->getAt(name, id, openErased);
    pTable->close();
    if (this->m_status != Acad::eOk) return;
    this->m_status = acdbOpenObject(this->m_ptr, id, mode, openErased);
    if (this->m_status != Acad::eOk) this->m_ptr = NULL;
  }
};

typedef AcDbSymbolTableRecordPointer<AcDbBlockTableRecord> AcDbBlockTableRecordPointer;
