// drawing_fixture.h - a drawing with the module's classes registered, for the link tests.
//
// Each test gets a new database as the working database, with the link class and the editor
// reactor class registered as the module registers them at start-up. Helpers build polylines,
// block references with attributes and links the way the Create option does. Every test ends
// by checking that nothing is left open, and the settings are restored to what they were.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dbmain.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "dbdict.h"
#include "dbapserv.h"
#include "rxclass.h"
#include "acutmem.h"

#include "pf/dbdebug.h"
#include "pf/faults.h"

#include "cmd/arealink.h"
#include "cmd/cmdzorvik.h"
#include "plinenotifyobj.h"
#include "zorvik.h"

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedSettings = currentSettings();
        m_db = new AcDbDatabase(true, true);
        m_previousDb = acdbHostApplicationServices()->workingDatabase();
        acdbHostApplicationServices()->setWorkingDatabase(m_db);
        getModuleApp()->registerClasses();
        acrxBuildClassHierarchy();
        m_errorsBefore = getModuleApp()->errorLog().count();
    }

    void TearDown() override
    {
        pf::clearAllFaults();
        EXPECT_EQ("", pf::openObjectsReport(m_db));
        acdbHostApplicationServices()->setWorkingDatabase(m_previousDb);
        delete m_db;
        getModuleApp()->unregisterClasses();
        restoreSettings(m_savedSettings);
    }

    static Settings currentSettings()
    {
        ModuleApp* app = getModuleApp();
        Settings s;
        s.autoUpdate = app->autoUpdate();
        s.areaPrec = app->areaPrec();
        s.divisor = app->divisor();
        s.quietMode = app->quietMode();
        s.attname = app->attname();
        return s;
    }

    static void restoreSettings(const Settings& s)
    {
        ModuleApp* app = getModuleApp();
        app->setAutoUpdate(s.autoUpdate);
        app->setAreaPrec(s.areaPrec);
        app->setDivisor(s.divisor);
        app->setQuietMode(s.quietMode);
        app->setAttname(s.attname.c_str());
    }

    // Records appended to the error log since the test started.
    int newErrorCount() const { return getModuleApp()->errorLog().count() - m_errorsBefore; }
    ErrorRecord newError(int i) const { return getModuleApp()->errorLog().at(m_errorsBefore + i); }

    AcDbObjectId appendToModelSpace(AcDbEntity* pEnt)
    {
        AcDbBlockTable* pTable = nullptr;
        EXPECT_EQ(Acad::eOk, m_db->getSymbolTable(pTable, AcDb::kForRead));
        AcDbBlockTableRecord* pSpace = nullptr;
        EXPECT_EQ(Acad::eOk, pTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForWrite));
        pTable->close();
        AcDbObjectId id;
        EXPECT_EQ(Acad::eOk, pSpace->appendAcDbEntity(id, pEnt));
        pSpace->close();
        return id;
    }

    AcDbObjectId modelSpaceId()
    {
        AcDbBlockTable* pTable = nullptr;
        EXPECT_EQ(Acad::eOk, m_db->getSymbolTable(pTable, AcDb::kForRead));
        AcDbObjectId id;
        EXPECT_EQ(Acad::eOk, pTable->getAt(ACDB_MODEL_SPACE, id));
        pTable->close();
        return id;
    }

    // A closed rectangle with a corner at (x, y); its area is width * height.
    AcDbObjectId addRectangle(double x, double y, double width, double height)
    {
        AcDbPolyline* pPline = new AcDbPolyline;
        pPline->addVertexAt(0, AcGePoint2d(x, y));
        pPline->addVertexAt(1, AcGePoint2d(x + width, y));
        pPline->addVertexAt(2, AcGePoint2d(x + width, y + height));
        pPline->addVertexAt(3, AcGePoint2d(x, y + height));
        pPline->setClosed(Adesk::kTrue);
        AcDbObjectId id = appendToModelSpace(pPline);
        pPline->close();
        return id;
    }

    // A block definition "ROOM" (made once) and a reference to it with one attribute per tag.
    // Answers the reference's id; attributeIds receives the attributes' ids in tag order.
    AcDbObjectId addBlockReference(const std::vector<std::string>& tags, std::vector<AcDbObjectId>& attributeIds)
    {
        AcDbObjectId blockId = roomBlock();
        AcDbBlockReference* pRef = new AcDbBlockReference(AcGePoint3d(0, 0, 0), blockId);
        AcDbObjectId refId = appendToModelSpace(pRef);
        attributeIds.clear();
        for (const std::string& tag : tags) {
            AcDbAttribute* pAtt = new AcDbAttribute(AcGePoint3d(1, 1, 0), "old", tag.c_str());
            AcDbObjectId attId;
            EXPECT_EQ(Acad::eOk, pRef->appendAttribute(attId, pAtt));
            pAtt->close();
            attributeIds.push_back(attId);
        }
        pRef->close();
        return refId;
    }

    AcDbObjectId addAttribute(const char* tag, AcDbObjectId* pRefId = nullptr)
    {
        std::vector<AcDbObjectId> ids;
        AcDbObjectId refId = addBlockReference({tag}, ids);
        if (pRefId)
            *pRefId = refId;
        return ids[0];
    }

    // Links the polyline to the attribute as the Create option does: a new link with the
    // attribute's id, attached to the polyline opened for write, which is then closed.
    AcDbObjectId link(AcDbObjectId plineId, AcDbObjectId attId, bool* pAttached = nullptr)
    {
        AcDbObject* pObj = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, plineId, AcDb::kForWrite));
        AcDbPolyline* pPline = AcDbPolyline::cast(pObj);
        CPlineNotifyObject* pLink = new CPlineNotifyObject;
        pLink->setAttributeId(attId);
        AcDbObjectId linkId;
        bool attached = pLink->attachToPolyline(pPline, linkId);
        if (pAttached)
            *pAttached = attached;
        pPline->recordGraphicsModified(Adesk::kTrue);
        pPline->close();
        if (pLink->objectId().isNull())
            delete pLink;
        else
            pLink->close();
        return linkId;
    }

    std::string attributeText(AcDbObjectId attId)
    {
        AcDbObject* pObj = nullptr;
        if (acdbOpenAcDbObject(pObj, attId, AcDb::kForRead) != Acad::eOk)
            return "<cannot open>";
        AcDbAttribute* pAtt = AcDbAttribute::cast(pObj);
        std::string text;
        if (pAtt) {
            char* p = pAtt->textString();
            text = p ? p : "";
            acutDelString(p);
        }
        pObj->close();
        return text;
    }

    int attributeFieldLength(AcDbObjectId attId)
    {
        AcDbObject* pObj = nullptr;
        if (acdbOpenAcDbObject(pObj, attId, AcDb::kForRead) != Acad::eOk)
            return -1;
        AcDbAttribute* pAtt = AcDbAttribute::cast(pObj);
        int length = pAtt ? pAtt->fieldLength() : -1;
        pObj->close();
        return length;
    }

    // Moves every vertex of the polyline by (dx, dy) scaled about its first vertex by `scale`:
    // an edit that changes the area and sends `modified` to the polyline's reactors.
    void scalePolyline(AcDbObjectId plineId, double scale)
    {
        AcDbObject* pObj = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, plineId, AcDb::kForWrite));
        AcDbPolyline* pPline = AcDbPolyline::cast(pObj);
        ASSERT_NE(nullptr, pPline);
        AcGePoint2d origin;
        pPline->getPointAt(0, origin);
        for (unsigned int i = 1; i < pPline->numVerts(); ++i) {
            AcGePoint2d pt;
            pPline->getPointAt(i, pt);
            pPline->setPointAt(i, AcGePoint2d(origin.x + (pt.x - origin.x) * scale, origin.y + (pt.y - origin.y) * scale));
        }
        pPline->close();
    }

    // The attribute id of the polyline's link, as the Update option finds it; null when the
    // polyline has no link.
    AcDbObjectId linkedAttribute(AcDbObjectId plineId)
    {
        AcDbObject* pObj = nullptr;
        if (acdbOpenAcDbObject(pObj, plineId, AcDb::kForRead) != Acad::eOk)
            return AcDbObjectId::kNull;
        AcDbObjectId attId;
        AcDbEntity* pEnt = AcDbEntity::cast(pObj);
        if (pEnt == nullptr || !findLinkedAttribute(pEnt, attId))
            attId = AcDbObjectId::kNull;
        pObj->close();
        return attId;
    }

    AcDbDatabase* m_db = nullptr;

private:
    AcDbObjectId roomBlock()
    {
        if (!m_roomBlockId.isNull())
            return m_roomBlockId;
        AcDbBlockTable* pTable = nullptr;
        EXPECT_EQ(Acad::eOk, m_db->getSymbolTable(pTable, AcDb::kForWrite));
        AcDbBlockTableRecord* pBlock = new AcDbBlockTableRecord;
        pBlock->setName("ROOM");
        EXPECT_EQ(Acad::eOk, pTable->add(m_roomBlockId, pBlock));
        pBlock->close();
        pTable->close();
        return m_roomBlockId;
    }

    AcDbDatabase* m_previousDb = nullptr;
    AcDbObjectId m_roomBlockId;
    Settings m_savedSettings;
    int m_errorsBefore = 0;
};
