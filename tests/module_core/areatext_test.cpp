// areatext_test.cpp - the area text: formatting, writing it into the attribute, and the
// link's modified notification.
#include <string>

#include <gtest/gtest.h>

#include "windows.h"
#include "pf/messagebox.h"

#include "cmd/arealink.h"
#include "cmd/cmdzorvik.h"
#include "drawing_fixture.h"
#include "source_lines.h"

namespace {

TEST(AreaTextFormat, DividesAndRoundsToTheGivenDecimals)
{
    EXPECT_EQ("123.46", formatAreaText(123.456, 1.0, 2));
    EXPECT_EQ("2.50", formatAreaText(250.0, 100.0, 2));
    EXPECT_EQ("123", formatAreaText(123.456, 1.0, 0));
    EXPECT_EQ("0.123456", formatAreaText(0.1234564, 1.0, 6));
    EXPECT_EQ("-1.50", formatAreaText(-1.5, 1.0, 2));
    EXPECT_EQ("1000000.00", formatAreaText(1e6, 1.0, 2));  // no digit grouping
}

TEST(AreaTextFormat, SmallOrNegativeDivisorsAreNotApplied)
{
    EXPECT_EQ("250.00", formatAreaText(250.0, 0.00001, 2));  // the threshold itself
    EXPECT_EQ("250.00", formatAreaText(250.0, 0.0, 2));
    EXPECT_EQ("250.00", formatAreaText(250.0, -4.0, 2));
    EXPECT_EQ("12500000.00", formatAreaText(250.0, 0.00002, 2));
}

TEST(AreaTextFormat, PrecisionOutsideTheUsualRangeIsClamped)
{
    EXPECT_EQ("123", formatAreaText(123.456, 1.0, -1));
    EXPECT_EQ("123", formatAreaText(123.456, 1.0, -2147483647 - 1));
    EXPECT_EQ("0.333333333333", formatAreaText(1.0, 3.0, 12));
    EXPECT_EQ("0.333333333333", formatAreaText(1.0, 3.0, 13));
    EXPECT_EQ("0.333333333333", formatAreaText(1.0, 3.0, 2147483647));
    EXPECT_EQ("1.000000000", formatAreaText(1.0, 1.0, 9));  // 7 to 12 are used as they are
}

TEST(AreaTextFormat, HugeAreasAreFormattedInFull)
{
    std::string text = formatAreaText(1e300, 1.0, 12);
    EXPECT_EQ(301u + 1u + 12u, text.size());
    EXPECT_EQ("1", text.substr(0, 1));
}

class AreaTextTest : public DrawingTest {};

TEST_F(AreaTextTest, WritesTextAndFieldLength)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 10.0, 12.3456);

    AcDbPolyline* pPline = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(pPline, plineId, AcDb::kForRead));
    EXPECT_TRUE(updateAreaText(pPline, attId));
    pPline->close();

    EXPECT_EQ("123.46", attributeText(attId));
    EXPECT_EQ(6, attributeFieldLength(attId));
    EXPECT_EQ(0, newErrorCount());
}

TEST_F(AreaTextTest, UsesTheCurrentSettings)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 25.0, 10.0);
    getModuleApp()->setDivisor(100.0);
    getModuleApp()->setAreaPrec(2);

    AcDbPolyline* pPline = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(pPline, plineId, AcDb::kForRead));
    EXPECT_TRUE(updateAreaText(pPline, attId));
    EXPECT_EQ("2.50", attributeText(attId));

    getModuleApp()->setAreaPrec(0);
    getModuleApp()->setDivisor(0.0);
    EXPECT_TRUE(updateAreaText(pPline, attId));
    EXPECT_EQ("250", attributeText(attId));
    EXPECT_EQ(3, attributeFieldLength(attId));

    getModuleApp()->setAreaPrec(40);  // only an edited registry value can be this large
    EXPECT_TRUE(updateAreaText(pPline, attId));
    EXPECT_EQ("250.000000000000", attributeText(attId));
    pPline->close();
}

TEST_F(AreaTextTest, AttributeThatCannotBeOpenedIsLeftAloneSilently)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 2, 2);
    AcDbPolyline* pPline = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(pPline, plineId, AcDb::kForRead));

    EXPECT_FALSE(updateAreaText(pPline, AcDbObjectId::kNull));  // a repaired copy's link
    EXPECT_FALSE(updateAreaText(pPline, plineId));              // an object of another class

    AcDbObject* pAtt = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pAtt, attId, AcDb::kForWrite));
    EXPECT_EQ(Acad::eOk, pAtt->erase());
    pAtt->close();
    EXPECT_FALSE(updateAreaText(pPline, attId));  // erased
    pPline->close();

    EXPECT_EQ(0, newErrorCount());
}

TEST_F(AreaTextTest, FailedAreaIsLoggedAndTheAttributeKept)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 2, 2);
    AcDbPolyline* pPline = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(pPline, plineId, AcDb::kForRead));

    pf::failNext("AcDbPolyline::getArea", Acad::eInvalidInput, 1);
    EXPECT_FALSE(updateAreaText(pPline, attId));
    pPline->close();

    EXPECT_EQ("old", attributeText(attId));
    ASSERT_EQ(1, newErrorCount());
    ErrorRecord r = newError(0);
    EXPECT_EQ("src/cmd/cmdzorvik", r.sourceFile);
    EXPECT_EQ("Acad::ErrorStatus = 3", r.message);
    EXPECT_EQ(sourceLineOf("src/cmd/cmdzorvik.cpp", "pPline->getArea(area)"), r.line);
}

TEST_F(AreaTextTest, NullPolylineShowsTheAssertionBox)
{
    AcDbObjectId attId = addAttribute("AREA");
    pf::clearMessageBoxes();
    EXPECT_FALSE(updateAreaText(nullptr, attId));
    ASSERT_EQ(1u, pf::messageBoxes().size());
    EXPECT_EQ("Assertion failed", pf::messageBoxes()[0].caption);
    EXPECT_EQ("Module: src/cmd/cmdzorvik\nLine: " +
                  std::to_string(sourceLineOf("src/cmd/cmdzorvik.cpp", "\"pPline != NULL\"")) +
                  "\nCondition: pPline != NULL",
              pf::messageBoxes()[0].text);
    EXPECT_EQ(unsigned(MB_ICONERROR | MB_OK), pf::messageBoxes()[0].style);
    EXPECT_EQ(nullptr, pf::messageBoxes()[0].owner);
    EXPECT_EQ(0, newErrorCount());
    EXPECT_EQ("old", attributeText(attId));
}

TEST_F(AreaTextTest, ModifiedPolylineRewritesItsAttributeWhileAutoUpdateIsOn)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 10, 10);
    link(plineId, attId);
    EXPECT_EQ("100.00", attributeText(attId));  // linking itself modifies the polyline

    scalePolyline(plineId, 2.0);
    EXPECT_EQ("400.00", attributeText(attId));

    getModuleApp()->setAutoUpdate(0);
    scalePolyline(plineId, 0.5);
    EXPECT_EQ("400.00", attributeText(attId));

    getModuleApp()->setAutoUpdate(1);
    scalePolyline(plineId, 3.0);
    EXPECT_EQ("900.00", attributeText(attId));
}

TEST_F(AreaTextTest, NotificationFromAnythingButAPolylineIsIgnored)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId otherId = addAttribute("OTHER");
    CPlineNotifyObject* pLink = new CPlineNotifyObject;
    pLink->setAttributeId(attId);

    pLink->modified(nullptr);
    AcDbObject* pOther = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pOther, otherId, AcDb::kForRead));
    pLink->modified(pOther);
    pOther->close();
    delete pLink;

    EXPECT_EQ("old", attributeText(attId));
    EXPECT_EQ(0, newErrorCount());
}

TEST_F(AreaTextTest, LinkWithoutAttributeDoesNothingWhenNotified)
{
    AcDbObjectId plineId = addRectangle(0, 0, 10, 10);
    link(plineId, AcDbObjectId::kNull);
    scalePolyline(plineId, 2.0);
    EXPECT_EQ(0, newErrorCount());
}

}  // namespace
