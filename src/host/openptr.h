// openptr.h - scope-bound holders of open database objects.
//
// An OpenPtr<T> holds one object that the module opened (or created) and ends that open when
// it goes out of scope, on every path out of the function, exceptions included. An object
// that is in the database is closed; one that never entered it (null objectId) is deleted
// instead, because closing such an object is not allowed.
#pragma once

#include "dbmain.h"

#include "typedopen.h"


template <class T>
class OpenPtr {
public:
    // Holds nothing; status() answers eNullObjectPointer until something is opened or adopted.
    OpenPtr() : m_pObj(NULL), m_status(Acad::eNullObjectPointer) {}

    // Opens `id` in `mode` as a T (typed open); status() tells how that went.
    OpenPtr(AcDbObjectId id, AcDb::OpenMode mode) : m_pObj(NULL), m_status(Acad::eNullObjectPointer)
    {
        open(id, mode);
    }

    ~OpenPtr() { reset(); }

    // Ends whatever is held, then opens `id` in `mode` as a T.
    Acad::ErrorStatus open(AcDbObjectId id, AcDb::OpenMode mode)
    {
        reset();
        m_status = openTypedObject(m_pObj, id, mode);
        return m_status;
    }

    // Takes over an object that the caller opened or created.
    void adopt(T* pObj)
    {
        reset();
        m_pObj = pObj;
        m_status = pObj != NULL ? Acad::eOk : Acad::eNullObjectPointer;
    }

    // Gives the object up without closing it; the caller is responsible for it again.
    T* release()
    {
        T* pObj = m_pObj;
        m_pObj = NULL;
        m_status = Acad::eNullObjectPointer;
        return pObj;
    }

    // Closes the object now and answers the close status (eOk when nothing was held, or
    // when a non-resident object was deleted). The holder is empty afterwards either way.
    Acad::ErrorStatus close()
    {
        T* pObj = release();
        if (pObj == NULL)
            return Acad::eOk;
        if (pObj->objectId().isNull()) {
            delete pObj;
            return Acad::eOk;
        }
        return pObj->close();
    }

    T* get() const { return m_pObj; }
    T* operator->() const { return m_pObj; }
    bool isOpen() const { return m_pObj != NULL; }
    Acad::ErrorStatus status() const { return m_status; }

private:
    void reset() { close(); }

    OpenPtr(const OpenPtr&) = delete;
    OpenPtr& operator=(const OpenPtr&) = delete;

    T* m_pObj;
    Acad::ErrorStatus m_status;
};

