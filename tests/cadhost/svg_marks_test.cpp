// svg_marks_test.cpp - marks files: the Handle and Status columns, labels in order, colours and
// the legend in the picture, and files that cannot be used.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "svg.h"
#include "svg_marks.h"

namespace {

std::string writeTemp(const std::string& text) {
  char name[] = "/tmp/svg_marks_XXXXXX";
  const int fd = mkstemp(name);
  EXPECT_GE(fd, 0);
  std::ofstream(name, std::ios::binary) << text;
  return name;
}

TEST(SvgMarksTest, LabelsComeFromTheNamedColumnsInOrderAndLaterFilesOverride) {
  const std::string first = writeTemp("Status,Handle,Others\r\nstale,3e,x\r\nbroken,\"39\",\r\n");
  const std::string second = writeTemp("Handle,Layer,Status\n3E,ROOMS,current\n48,ROOMS,current\nTotal,,difference 0.1\n");
  cadhost::SvgMarks marks;
  std::string error;
  ASSERT_TRUE(cadhost::readSvgMarks(first, marks, error)) << error;
  ASSERT_TRUE(cadhost::readSvgMarks(second, marks, error)) << error;
  EXPECT_EQ((std::vector<std::string>{"stale", "broken", "current"}), marks.labels) << "the total row adds no label";
  EXPECT_EQ("current", marks.labelOfHandle.at("3E"));
  EXPECT_EQ("broken", marks.labelOfHandle.at("39"));
  const std::vector<cadhost::LegendEntry> legend = cadhost::marksLegend(marks);
  ASSERT_EQ(3u, legend.size());
  EXPECT_NE(legend[0].colour, legend[1].colour);
  EXPECT_NE(legend[1].colour, legend[2].colour);

  cadhost::Shape line;
  line.kind = cadhost::Shape::Line;
  line.points = {{0, 0}, {10, 10}};
  line.stroke = legend[2].colour;
  const std::string svg = cadhost::svgText({line}, legend, 400, 400);
  EXPECT_NE(std::string::npos, svg.find("stroke=\"" + legend[2].colour + "\" stroke-width=\"3\"")) << svg;
  EXPECT_NE(std::string::npos, svg.find(">broken</text>")) << svg;
  std::remove(first.c_str());
  std::remove(second.c_str());
}

TEST(SvgMarksTest, MissingFilesAndHeadersWithoutTheColumnsAreRefused) {
  cadhost::SvgMarks marks;
  std::string error;
  EXPECT_FALSE(cadhost::readSvgMarks("/tmp/no/such/marks.csv", marks, error));
  EXPECT_NE(std::string::npos, error.find("cannot read the marks file")) << error;
  const std::string bad = writeTemp("kind,room\nstale,3E\n");
  EXPECT_FALSE(cadhost::readSvgMarks(bad, marks, error));
  EXPECT_NE(std::string::npos, error.find(":1: the header names no Handle and Status columns")) << error;
  std::remove(bad.c_str());
}

}  // namespace

namespace {

TEST(SvgMarksTest, GivenColoursFixTheirLabelsAndTheOthersTakeTheColoursLeft) {
  const std::string file = writeTemp("Handle,Status\n39,current\n3E,stale\n48,broken\n");
  cadhost::SvgMarks marks;
  std::string error;
  // The palette's first colour is given to "current": no other label may share it.
  ASSERT_TRUE(cadhost::setLabelColour(marks, "current=#d7263d"));
  ASSERT_TRUE(cadhost::setLabelColour(marks, "a=b=green")) << "the last '=' splits";
  ASSERT_TRUE(cadhost::readSvgMarks(file, marks, error)) << error;
  const std::vector<cadhost::LegendEntry> legend = cadhost::marksLegend(marks);
  ASSERT_EQ(3u, legend.size());
  EXPECT_EQ("#d7263d", legend[0].colour);
  EXPECT_NE(legend[1].colour, legend[0].colour);
  EXPECT_NE(legend[2].colour, legend[0].colour);
  EXPECT_NE(legend[1].colour, legend[2].colour);
  EXPECT_EQ("green", marks.colourOfLabel.at("a=b"));

  for (const char* bad : {"current", "=red", "current=", "current=#12", "current=red;stroke:x", "x=#12345g"})
    EXPECT_FALSE(cadhost::setLabelColour(marks, bad)) << bad;
  EXPECT_TRUE(cadhost::isSvgColour("#abc"));
  std::remove(file.c_str());
}

}  // namespace
