// group_codes_test.cpp - the group-code table and the text of reals that every writer shares.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <string>
#include "adscodes.h"
#include "db/group_codes.h"
#include "db/real_text.h"
#include "db/tag_list.h"

using pf::GroupType;
using pf::PointPart;
using pf::ResbufKind;

TEST(GroupCodeTable, EdgeCodesHaveTheTypesOfTheirRanges) {
  EXPECT_EQ(GroupType::String, pf::groupType(0));
  EXPECT_EQ(GroupType::Handle, pf::groupType(5));
  EXPECT_EQ(GroupType::Double, pf::groupType(19));
  EXPECT_EQ(GroupType::Double, pf::groupType(29));
  EXPECT_EQ(GroupType::Double, pf::groupType(59));
  EXPECT_EQ(GroupType::Int16, pf::groupType(60));
  EXPECT_EQ(GroupType::Int32, pf::groupType(90));
  EXPECT_EQ(GroupType::Int64, pf::groupType(160));
  EXPECT_EQ(GroupType::Bool, pf::groupType(290));
  EXPECT_EQ(GroupType::Binary, pf::groupType(310));
  EXPECT_EQ(GroupType::Handle, pf::groupType(320));
  EXPECT_EQ(GroupType::Handle, pf::groupType(329));
  EXPECT_EQ(GroupType::Handle, pf::groupType(390));
  EXPECT_EQ(GroupType::Handle, pf::groupType(399));
  EXPECT_EQ(GroupType::Comment, pf::groupType(999));
  EXPECT_EQ(GroupType::String, pf::groupType(1000));
  EXPECT_EQ(GroupType::Binary, pf::groupType(1004));
  EXPECT_EQ(GroupType::Handle, pf::groupType(1005));
  EXPECT_EQ(GroupType::Double, pf::groupType(1010));
  EXPECT_EQ(GroupType::Int16, pf::groupType(1070));
  EXPECT_EQ(GroupType::Int32, pf::groupType(1071));
  // Gaps and codes beyond the table are no value type at all.
  for (int code : {-7, 80, 150, 240, 482, 998, 1072, 5000}) EXPECT_EQ(GroupType::Invalid, pf::groupType(code)) << code;
}

TEST(GroupCodeTable, PointsAndPointersFollowTheirCodes) {
  EXPECT_EQ(PointPart::X, pf::groupCode(10).point);
  EXPECT_EQ(PointPart::Y, pf::groupCode(20).point);
  EXPECT_EQ(PointPart::Z, pf::groupCode(30).point);
  EXPECT_EQ(PointPart::Y, pf::groupCode(28).point);
  EXPECT_EQ(PointPart::None, pf::groupCode(38).point);  // the elevation, not a Z
  EXPECT_EQ(PointPart::None, pf::groupCode(19).point);
  EXPECT_EQ(PointPart::X, pf::groupCode(1010).point);
  EXPECT_TRUE(pf::isPointerCode(330));
  EXPECT_TRUE(pf::isPointerCode(360));
  EXPECT_TRUE(pf::isPointerCode(399));
  EXPECT_FALSE(pf::isPointerCode(5));
  EXPECT_FALSE(pf::isPointerCode(320));
  EXPECT_FALSE(pf::isPointerCode(1005));
}

// The result-buffer view is a query of the same table: it must agree with the type of every code.
TEST(GroupCodeTable, ResbufKindsAgreeWithTheTable) {
  for (int code = 0; code <= pf::kMaxGroupCode; ++code) {
    const ResbufKind k = pf::resbufKind(code);
    switch (pf::groupType(code)) {
      case GroupType::Double:
        EXPECT_EQ(pf::groupCode(code).point == PointPart::X ? ResbufKind::Point : ResbufKind::Real, k) << code;
        break;
      case GroupType::Int16: case GroupType::Bool: EXPECT_EQ(ResbufKind::Short, k) << code; break;
      case GroupType::Int32: case GroupType::Int64: EXPECT_EQ(ResbufKind::Long, k) << code; break;
      case GroupType::Handle:
        EXPECT_EQ(pf::isPointerCode(code) ? ResbufKind::Name : ResbufKind::String, k) << code;
        break;
      case GroupType::Binary: EXPECT_EQ(ResbufKind::Binary, k) << code; break;
      case GroupType::String: case GroupType::Comment: EXPECT_EQ(ResbufKind::String, k) << code; break;
      case GroupType::Invalid: EXPECT_EQ(ResbufKind::Unknown, k) << code; break;
    }
  }
  EXPECT_EQ(ResbufKind::Name, pf::resbufKind(-1));
  EXPECT_EQ(ResbufKind::String, pf::resbufKind(-4));
  EXPECT_EQ(ResbufKind::Real, pf::resbufKind(RTREAL));
  EXPECT_EQ(ResbufKind::Point, pf::resbufKind(RT3DPOINT));
  EXPECT_TRUE(pf::resbufOwnsString(pf::resbufKind(1)));
  EXPECT_FALSE(pf::resbufOwnsString(pf::resbufKind(40)));
}

namespace {
std::string realText(double v, int precision = 0) {
  std::string s;
  EXPECT_TRUE(pf::formatReal(v, precision, s)) << v;
  return s;
}
}  // namespace

TEST(RealText, ShortestExactTextInTheHostsForm) {
  EXPECT_EQ("0.0", realText(0.0));
  EXPECT_EQ("0.0", realText(-0.0));
  EXPECT_EQ("2600000.0", realText(2600000.0));
  EXPECT_EQ("-12.5", realText(-12.5));
  EXPECT_EQ("1.0E+20", realText(1e20));
  EXPECT_EQ("-1.0E+20", realText(-1e20));
  EXPECT_EQ("2.5E-07", realText(2.5e-7));
  EXPECT_EQ("0.3333", realText(1.0 / 3.0, 4));
  for (double v : {0.1 + 0.2, 1.0 / 3.0, 2600000.123456789, 1e-300, 1.7976931348623157e308, 4.9e-324}) {
    double back = 0;
    const std::string s = realText(v);
    ASSERT_TRUE(pf::parseReal(s, back)) << s;
    EXPECT_EQ(v, back) << s;
    EXPECT_NE(std::string::npos, s.find('.')) << s;
    EXPECT_EQ(std::string::npos, s.find('e')) << s;
  }
}

TEST(RealText, NonFiniteValuesAreRefusedAndNothingIsWritten) {
  std::string s = "kept";
  EXPECT_FALSE(pf::formatReal(std::numeric_limits<double>::quiet_NaN(), 0, s));
  EXPECT_FALSE(pf::formatReal(std::numeric_limits<double>::infinity(), 0, s));
  EXPECT_FALSE(pf::formatReal(-std::numeric_limits<double>::infinity(), 6, s));
  char buf[pf::kRealTextMax] = "x";
  EXPECT_EQ(0u, pf::formatRealInto(buf, std::nan(""), 0));
  EXPECT_EQ('x', buf[0]);
}
