// copyrepair_test.cpp - the copy repair reactor: copies of linked polylines lose a link to an
// attribute that was not copied with them, and keep one that was.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aced.h"
#include "dbidmap.h"
#include "pf/editor_reactors.h"

#include "drawing_fixture.h"
#include "editorreactor.h"
#include "fresh_process.h"

namespace {

class CopyRepairTest : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        m_pReactor = new AcZorvikEditorReactor;
    }

    void TearDown() override
    {
        delete m_pReactor;
        DrawingTest::TearDown();
    }

    // Copies the objects into model space as COPY does; answers the clone of each source id.
    std::vector<AcDbObjectId> copy(const std::vector<AcDbObjectId>& sources)
    {
        AcDbObjectIdArray ids;
        for (const AcDbObjectId& id : sources)
            ids.append(id);
        AcDbObjectId owner = modelSpaceId();
        AcDbIdMapping idMap;
        EXPECT_EQ(Acad::eOk, m_db->deepCloneObjects(ids, owner, idMap));
        std::vector<AcDbObjectId> clones;
        for (const AcDbObjectId& id : sources) {
            AcDbIdPair pair(id, AcDbObjectId::kNull, true);
            EXPECT_TRUE(idMap.compute(pair));
            clones.push_back(pair.value());
        }
        return clones;
    }

    // The attribute id stored in the polyline's link (null when the link names none), as
    // findLinkedAttribute reads it from the link object: the attribute need not exist.
    AcDbObjectId storedAttributeId(AcDbObjectId plineId) { return linkedAttribute(plineId); }

    AcZorvikEditorReactor* m_pReactor = nullptr;
};

TEST_F(CopyRepairTest, ReactorIsAttachedToTheEditorForItsLifetime)
{
    std::vector<AcRxEventReactor*>& list = pf::editorEventReactors();
    EXPECT_NE(list.end(), std::find(list.begin(), list.end(), m_pReactor));
    {
        AcZorvikEditorReactor second;
        EXPECT_NE(list.end(), std::find(list.begin(), list.end(), &second));
    }
    size_t before = list.size();
    AcZorvikEditorReactor* pThird = new AcZorvikEditorReactor;
    EXPECT_EQ(before + 1, list.size());
    delete pThird;
    EXPECT_EQ(before, list.size());
}

TEST_F(CopyRepairTest, PolylineCopiedAloneLosesItsAttribute)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 10, 10);
    link(plineId, attId);
    ASSERT_EQ("100.00", attributeText(attId));

    AcDbObjectId copyId = copy({plineId})[0];
    EXPECT_TRUE(storedAttributeId(copyId).isNull());
    EXPECT_EQ(attId, storedAttributeId(plineId));

    // Editing the copy leaves the source block's attribute alone; editing the source still
    // updates it.
    scalePolyline(copyId, 3.0);
    EXPECT_EQ("100.00", attributeText(attId));
    scalePolyline(plineId, 2.0);
    EXPECT_EQ("400.00", attributeText(attId));
    EXPECT_EQ(0, newErrorCount());
}

TEST_F(CopyRepairTest, PolylineCopiedWithItsBlockKeepsTheCopiedAttribute)
{
    AcDbObjectId refId;
    AcDbObjectId attId = addAttribute("AREA", &refId);
    AcDbObjectId plineId = addRectangle(0, 0, 10, 10);
    link(plineId, attId);

    std::vector<AcDbObjectId> clones = copy({plineId, refId});
    AcDbObjectId copiedAtt = storedAttributeId(clones[0]);
    ASSERT_FALSE(copiedAtt.isNull());
    EXPECT_NE(attId, copiedAtt);

    // The copied attribute belongs to the copied block reference.
    AcDbObject* pObj = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, copiedAtt, AcDb::kForRead));
    EXPECT_EQ(clones[1], pObj->ownerId());
    pObj->close();

    scalePolyline(clones[0], 2.0);
    EXPECT_EQ("400.00", attributeText(copiedAtt));
    EXPECT_EQ("100.00", attributeText(attId));
}

TEST_F(CopyRepairTest, WithoutTheReactorACopyWouldDriveTheSourceAttribute)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 10, 10);
    link(plineId, attId);

    delete m_pReactor;
    m_pReactor = nullptr;
    AcDbObjectId copyId = copy({plineId})[0];
    EXPECT_EQ(attId, storedAttributeId(copyId));
    scalePolyline(copyId, 3.0);
    EXPECT_EQ("900.00", attributeText(attId));
}

TEST_F(CopyRepairTest, CopiesWithoutLinksAreLeftAlone)
{
    AcDbObjectId refId;
    AcDbObjectId attId = addAttribute("AREA", &refId);
    AcDbObjectId plineId = addRectangle(0, 0, 10, 10);
    AcDbObjectId plainId = addRectangle(20, 0, 1, 1);
    link(plineId, attId);

    std::vector<AcDbObjectId> clones = copy({refId, plainId});
    EXPECT_TRUE(storedAttributeId(clones[1]).isNull());
    EXPECT_EQ(attId, storedAttributeId(plineId));
    EXPECT_EQ("100.00", attributeText(attId));
}

TEST_F(CopyRepairTest, LinkWithoutAttributeStaysWithout)
{
    AcDbObjectId plineId = addRectangle(0, 0, 10, 10);
    link(plineId, AcDbObjectId::kNull);
    AcDbObjectId copyId = copy({plineId})[0];
    EXPECT_TRUE(storedAttributeId(copyId).isNull());
    EXPECT_EQ(0, newErrorCount());
}

TEST_F(CopyRepairTest, ManyLinksAreRepairedOneByOne)
{
    // Every other polyline is copied with its block; the rest are copied alone.
    const int kCount = 60;
    std::vector<AcDbObjectId> plines, atts, refs, sources;
    for (int i = 0; i < kCount; ++i) {
        AcDbObjectId refId;
        atts.push_back(addAttribute("AREA", &refId));
        refs.push_back(refId);
        plines.push_back(addRectangle(i * 20.0, 0, 10, 10));
        link(plines.back(), atts.back());
        sources.push_back(plines.back());
        if (i % 2 == 0)
            sources.push_back(refId);
    }
    std::vector<AcDbObjectId> clones = copy(sources);
    size_t k = 0;
    for (int i = 0; i < kCount; ++i) {
        AcDbObjectId copied = storedAttributeId(clones[k]);
        if (i % 2 == 0) {
            EXPECT_FALSE(copied.isNull()) << i;
            EXPECT_NE(atts[i], copied) << i;
            k += 2;
        } else {
            EXPECT_TRUE(copied.isNull()) << i;
            k += 1;
        }
        EXPECT_EQ(atts[i], storedAttributeId(plines[i])) << i;
    }
}

// Attached before the module's reactor, it opens the first link clone of a copy for write
// and keeps it open, so that the module's reactor cannot open it for write.
class CloneHolder : public AcEditorReactor {
public:
    void endDeepClone(AcDbIdMapping& idMap) override
    {
        AcDbIdMappingIter iter(idMap);
        for (iter.start(); !iter.done() && m_held == nullptr; iter.next()) {
            AcDbIdPair pair;
            if (!iter.getMap(pair))
                continue;
            AcDbObject* pObj = nullptr;
            if (acdbOpenAcDbObject(pObj, pair.value(), AcDb::kForWrite) != Acad::eOk)
                continue;
            if (CPlineNotifyObject::cast(pObj) != nullptr)
                m_held = pObj;
            else
                pObj->close();
        }
    }
    AcDbObject* m_held = nullptr;
};

TEST_F(CopyRepairTest, ACloneThatCannotBeOpenedForWriteIsSkippedAndTheOthersRepaired)
{
    // Two polylines copied without their blocks: both clones' links need repair.
    std::vector<AcDbObjectId> atts, plines;
    for (int i = 0; i < 2; ++i) {
        atts.push_back(addAttribute("AREA"));
        plines.push_back(addRectangle(i * 20.0, 0, 10, 10));
        link(plines.back(), atts.back());
    }
    CloneHolder holder;
    acedEditor->addReactor(&holder);
    delete m_pReactor;  // attached again after the holder, so that it hears the copy second
    m_pReactor = new AcZorvikEditorReactor;
    std::vector<AcDbObjectId> clones = copy(plines);
    acedEditor->removeReactor(&holder);
    ASSERT_NE(nullptr, holder.m_held);
    holder.m_held->close();

    int repaired = 0, kept = 0;
    for (int i = 0; i < 2; ++i) {
        AcDbObjectId copied = storedAttributeId(clones[i]);
        if (copied.isNull())
            ++repaired;
        else if (copied == atts[i])
            ++kept;  // the held clone still names the source's attribute
        EXPECT_EQ(atts[i], storedAttributeId(plines[i])) << i;
    }
    EXPECT_EQ(1, repaired);
    EXPECT_EQ(1, kept);
}

TEST_F(CopyRepairTest, SecondRegistrationChangesNothing)
{
    AcRxClass* pClass = AcZorvikEditorReactor::desc();
    ASSERT_NE(nullptr, pClass);
    AcZorvikEditorReactor::rxInit();
    EXPECT_EQ(pClass, AcZorvikEditorReactor::desc());
    EXPECT_EQ(pClass, m_pReactor->isA());
    EXPECT_STREQ("AcZorvikEditorReactor", pClass->name());
    EXPECT_STREQ("AcEditorReactor", pClass->myParent()->name());
}

TEST(CopyRepairRegistration, AnotherClassUnderTheSameNameAborts)
{
    EXPECT_DEATH(
        {
            getModuleApp()->registerClasses();
            AcZorvikEditorReactor::gpDesc = AcEditorReactor::desc();
            AcZorvikEditorReactor::rxInit();
        },
        "Class mismatch");
}

}  // namespace
