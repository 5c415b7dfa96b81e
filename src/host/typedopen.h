// typedopen.h - opening database objects by id with a class test.
//
// Every open of the module goes through here: the object is opened with acdbOpenAcDbObject
// (erased objects are never opened) and accepted only when it is of the wanted class or of a
// class derived from it. An object of another class is closed again at once and the open
// answers eNotThatKindOfClass (46); if that close fails the object is in a state the module
// cannot recover from, and the host is aborted.
#pragma once

#include "dbmain.h"
#include "adslib.h"


// Closes an object that a class test rejected; a failed close is fatal.
inline void closeRejectedObject(AcDbObject* pObj)
{
    if (pObj->close() != Acad::eOk)
        acrx_abort("Failed AcDbObject::close()");
}

// Tells whether an open object is an instance of T or of a class derived from T.
template <class T>
inline bool isInstanceOf(const AcDbObject* pObj)
{
    return pObj != NULL && pObj->isKindOf(T::desc());
}

// Opens the object `id` in `mode` as a T. On success pObj holds the open object; otherwise
// pObj is left null and the answer is the host's status (46 for an object of another class).
template <class T>
Acad::ErrorStatus openTypedObject(T*& pObj, AcDbObjectId id, AcDb::OpenMode mode)
{
    pObj = NULL;
    AcDbObject* pRaw = NULL;
    Acad::ErrorStatus es = acdbOpenAcDbObject(pRaw, id, mode, false);
    if (es != Acad::eOk)
        return es;
    if (!isInstanceOf<T>(pRaw)) {
        closeRejectedObject(pRaw);
        return Acad::eNotThatKindOfClass;
    }
    pObj = static_cast<T*>(pRaw);
    return Acad::eOk;
}

