// arealink.cpp - link lookup and the area text update.
//
// The ErrorLog records of these operations name the command unit, src/cmd/cmdzorvik, whose
// Update option and link objects call them.
#include "arealink.h"

#include <cstdio>
#include <string>
#include <vector>

#include "dbents.h"
#include "dbpl.h"
#include "adslib.h"

#include "errorlog.h"
#include "host/openptr.h"
#include "host/typedopen.h"
#include "plinenotifyobj.h"
#include "zorvik.h"

namespace {

const char* const kSourceFile = "src/cmd/cmdzorvik";

// The area is divided only by a divisor above this.
const double kDivisorThreshold = 0.00001;

// Precisions outside this range can only come from an edited registry value: a negative one
// is meaningless to printf and a huge one would overflow the attribute's field length.
const int kMinPrecision = 0;
const int kMaxPrecision = 12;

}  // namespace

bool findLinkedAttribute(AcDbEntity* pEnt, AcDbObjectId& attId)
{
    if (pEnt == NULL) {
        showAssertionBox(kSourceFile, __LINE__, "pEnt != NULL");
        return false;
    }

    AcDbVoidPtrArray* pReactors = pEnt->reactors();
    if (pReactors == NULL)
        return false;

    for (int i = 0; i < pReactors->length(); ++i) {
        void* pEntry = pReactors->at(i);
        if (!acdbIsPersistentReactor(pEntry))
            continue;
        AcDbObject* pObj = NULL;
        Acad::ErrorStatus es = acdbOpenAcDbObject(pObj, acdbPersistentReactorObjectId(pEntry), AcDb::kForRead, false);
        if (reportStatus(es, __LINE__, kSourceFile) != 0)
            continue;
        CPlineNotifyObject* pLink = CPlineNotifyObject::cast(pObj);
        if (pLink == NULL) {
            pObj->close();
            continue;
        }
        attId = pLink->attributeId();
        pLink->close();
        return true;
    }
    return false;
}

std::string formatAreaText(double area, double divisor, int precision)
{
    if (divisor > kDivisorThreshold)
        area = area / divisor;
    if (precision < kMinPrecision)
        precision = kMinPrecision;
    if (precision > kMaxPrecision)
        precision = kMaxPrecision;

    char format[32];
    snprintf(format, sizeof format, "%%.%df", precision);
    int length = snprintf(NULL, 0, format, area);
    if (length < 0)
        return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1);
    snprintf(text.data(), text.size(), format, area);
    return std::string(text.data(), static_cast<size_t>(length));
}

bool updateAreaText(const AcDbPolyline* pPline, AcDbObjectId attId)
{
    if (pPline == NULL) {
        showAssertionBox(kSourceFile, __LINE__, "pPline != NULL");
        return false;
    }

    OpenPtr<AcDbAttribute> pAttribute(attId, AcDb::kForWrite);
    if (!pAttribute.isOpen())
        return false;

    double area = 0.0;
    if (reportStatus(pPline->getArea(area), __LINE__, kSourceFile) != 0)
        return false;

    ModuleApp* pApp = getModuleApp();
    std::string text = formatAreaText(area, pApp->divisor(), pApp->areaPrec());
    pAttribute->setFieldLength(static_cast<Adesk::UInt16>(text.size()));
    pAttribute->setTextString(text.c_str());
    return true;
}
