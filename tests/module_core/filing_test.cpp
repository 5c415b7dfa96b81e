// filing_test.cpp - the link's DWG and DXF records: round trips, the version rule, the
// subclass marker, the order of the groups and repeated groups.
#include <string>

#include <gtest/gtest.h>

#include "db/dwg_filer.h"
#include "db/dxf_tag_filer.h"

#include "drawing_fixture.h"

namespace {

std::string handleText(AcDbObjectId id)
{
    char buffer[32] = "";
    id.handle().getIntoAsciiBuffer(buffer);
    return buffer;
}

class FilingTest : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        m_attId = addAttribute("AREA");
        m_otherAttId = addAttribute("OTHER");
        m_plineId = addRectangle(0, 0, 2, 2);
        m_linkId = link(m_plineId, m_attId);
    }

    // The DXF groups of the link as a drawing file holds them.
    pf::TagList linkTags()
    {
        CPlineNotifyObject* pLink = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(pLink, m_linkId, AcDb::kForRead));
        pf::TagDxfFiler filer(m_db);
        EXPECT_EQ(Acad::eOk, pLink->dxfOutFields(&filer));
        pLink->close();
        return filer.tags();
    }

    // The groups that the base class writes for the link.
    pf::TagList baseTags()
    {
        CPlineNotifyObject* pLink = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(pLink, m_linkId, AcDb::kForRead));
        pf::TagDxfFiler filer(m_db);
        pLink->AcDbObject::dxfOutFields(&filer);
        pLink->close();
        return filer.tags();
    }

    // Reads the base groups followed by `own` into the link (first given attribute id
    // `before`); answers the status and leaves the resulting id in `after`.
    Acad::ErrorStatus readDxf(const pf::TagList& own, AcDbObjectId before, AcDbObjectId& after,
                              size_t* pStoppedAt = nullptr)
    {
        pf::TagList tags = baseTags();
        size_t baseCount = tags.size();
        tags.insert(tags.end(), own.begin(), own.end());
        CPlineNotifyObject* pLink = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(pLink, m_linkId, AcDb::kForWrite));
        pLink->setAttributeId(before);
        pf::TagDxfFiler filer(m_db, tags);
        Acad::ErrorStatus es = pLink->dxfInFields(&filer);
        after = pLink->attributeId();
        pLink->setAttributeId(m_attId);
        pLink->close();
        if (pStoppedAt)
            *pStoppedAt = filer.position() - baseCount;
        return es;
    }

    AcDbObjectId m_attId, m_otherAttId, m_plineId, m_linkId;
};

TEST_F(FilingTest, DwgRecordRoundTrips)
{
    for (AcDbObjectId stored : {m_attId, AcDbObjectId(AcDbObjectId::kNull)}) {
        CPlineNotifyObject* pLink = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenObject(pLink, m_linkId, AcDb::kForWrite));
        pLink->setAttributeId(stored);
        pf::MemoryDwgFiler filer(AcDb::kCopyFiler, m_db);
        EXPECT_EQ(Acad::eOk, pLink->dwgOutFields(&filer));

        filer.rewind();
        pLink->setAttributeId(m_otherAttId);
        EXPECT_EQ(Acad::eOk, pLink->dwgInFields(&filer));
        EXPECT_EQ(stored, pLink->attributeId());
        pLink->setAttributeId(m_attId);
        pLink->close();
    }
}

TEST_F(FilingTest, DwgRecordHoldsVersionThenSoftPointer)
{
    CPlineNotifyObject* pLink = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(pLink, m_linkId, AcDb::kForWrite));
    pf::MemoryDwgFiler filer(AcDb::kCopyFiler, m_db);
    EXPECT_EQ(Acad::eOk, pLink->dwgOutFields(&filer));

    // Past the base class's part, the link's own items follow with the kinds it promises (the
    // filer reports a kind mismatch as an error).
    filer.rewind();
    EXPECT_EQ(Acad::eOk, pLink->AcDbObject::dwgInFields(&filer));
    Adesk::Int16 version = 0;
    EXPECT_EQ(Acad::eOk, filer.readInt16(&version));
    EXPECT_EQ(1, version);
    AcDbSoftPointerId id;
    EXPECT_EQ(Acad::eOk, filer.readSoftPointerId(&id));
    EXPECT_EQ(m_attId, AcDbObjectId(id));
    EXPECT_EQ(Acad::eOk, filer.filerStatus());
    pLink->close();
}

TEST_F(FilingTest, NewerDwgRecordIsKeptAsAProxy)
{
    CPlineNotifyObject* pLink = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(pLink, m_linkId, AcDb::kForWrite));
    pf::MemoryDwgFiler filer(AcDb::kCopyFiler, m_db);
    pLink->AcDbObject::dwgOutFields(&filer);
    filer.writeInt16(2);
    filer.writeSoftPointerId(AcDbSoftPointerId(m_otherAttId));
    filer.rewind();
    EXPECT_EQ(Acad::eMakeMeProxy, pLink->dwgInFields(&filer));
    EXPECT_EQ(m_attId, pLink->attributeId());  // nothing after the version is read
    pLink->close();
}

TEST_F(FilingTest, DxfRecordIsThreeGroupsAfterTheBase)
{
    pf::TagList tags = linkTags();
    size_t baseCount = baseTags().size();
    ASSERT_EQ(baseCount + 3, tags.size());
    EXPECT_EQ(100, tags[baseCount].code);
    EXPECT_EQ("PlineNotifyObject", tags[baseCount].text);
    EXPECT_EQ(70, tags[baseCount + 1].code);
    EXPECT_EQ("1", tags[baseCount + 1].text);
    EXPECT_EQ(330, tags[baseCount + 2].code);
    EXPECT_EQ(handleText(m_attId), tags[baseCount + 2].text);
}

TEST_F(FilingTest, DxfRecordRoundTrips)
{
    pf::TagList tags = linkTags();
    size_t baseCount = baseTags().size();
    pf::TagList own(tags.begin() + baseCount, tags.end());
    AcDbObjectId after;
    EXPECT_EQ(Acad::eOk, readDxf(own, AcDbObjectId::kNull, after));
    EXPECT_EQ(m_attId, after);
}

TEST_F(FilingTest, DxfVersionAboveOneIsKeptAsAProxy)
{
    AcDbObjectId after;
    size_t stoppedAt = 0;
    EXPECT_EQ(Acad::eMakeMeProxy,
              readDxf({pf::Tag(100, "PlineNotifyObject"), pf::Tag(70, "2"), pf::Tag(330, handleText(m_otherAttId))},
                      AcDbObjectId::kNull, after, &stoppedAt));
    EXPECT_TRUE(after.isNull());  // the 330 after the version is not read
    EXPECT_EQ(2u, stoppedAt);

    for (const char* accepted : {"0", "-1", "1"}) {
        EXPECT_EQ(Acad::eOk,
                  readDxf({pf::Tag(100, "PlineNotifyObject"), pf::Tag(70, accepted), pf::Tag(330, handleText(m_otherAttId))},
                          AcDbObjectId::kNull, after))
            << accepted;
        EXPECT_EQ(m_otherAttId, after) << accepted;
    }
}

TEST_F(FilingTest, DxfWithoutSubclassMarkerIsABadSequence)
{
    AcDbObjectId after;
    EXPECT_EQ(Acad::eBadDxfSequence,
              readDxf({pf::Tag(70, "1"), pf::Tag(330, handleText(m_otherAttId))}, AcDbObjectId::kNull, after));
    EXPECT_TRUE(after.isNull());
    EXPECT_EQ(Acad::eBadDxfSequence,
              readDxf({pf::Tag(100, "SomethingElse"), pf::Tag(70, "1")}, AcDbObjectId::kNull, after));
}

TEST_F(FilingTest, DxfGroupsComeInAnyOrderAndTheLast330Wins)
{
    AcDbObjectId after;
    EXPECT_EQ(Acad::eOk, readDxf({pf::Tag(100, "PlineNotifyObject"), pf::Tag(330, handleText(m_attId)), pf::Tag(70, "1"),
                                  pf::Tag(330, handleText(m_otherAttId)), pf::Tag(70, "1")},
                                 AcDbObjectId::kNull, after));
    EXPECT_EQ(m_otherAttId, after);

    // Without a 330 the attribute id stays as it was.
    EXPECT_EQ(Acad::eOk, readDxf({pf::Tag(100, "PlineNotifyObject"), pf::Tag(70, "1")}, AcDbObjectId::kNull, after));
    EXPECT_TRUE(after.isNull());
    EXPECT_EQ(Acad::eOk, readDxf({pf::Tag(100, "PlineNotifyObject"), pf::Tag(70, "1")}, m_attId, after));
    EXPECT_EQ(m_attId, after);
}

TEST_F(FilingTest, AnotherGroupEndsTheLinkAndIsGivenBack)
{
    AcDbObjectId after;
    size_t stoppedAt = 0;
    EXPECT_EQ(Acad::eOk, readDxf({pf::Tag(100, "PlineNotifyObject"), pf::Tag(70, "1"), pf::Tag(330, handleText(m_attId)),
                                  pf::Tag(1, "other data"), pf::Tag(330, handleText(m_otherAttId))},
                                 AcDbObjectId::kNull, after, &stoppedAt));
    EXPECT_EQ(m_attId, after);
    EXPECT_EQ(3u, stoppedAt);  // the other group is the next one to read
}

}  // namespace
