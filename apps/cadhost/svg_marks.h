// svg_marks.h - colouring entities of the SVG picture by a label that a file gives them.
//
// A marks file is CSV with a header row that names a "Handle" column and a "Status" column
// (any order, case ignored, other columns ignored), as a command's report can write it. Every
// entity whose handle is listed is drawn in its label's colour, and the picture gets a legend.
// Labels get colours in the order they are first met, unless a colour is given for the label;
// a later file overrides an earlier one.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dbmain.h"
#include "svg.h"

namespace cadhost {

struct SvgMarks {
  std::map<std::string, std::string> labelOfHandle;  // upper-case handle -> label
  std::vector<std::string> labels;                   // in the order first met
  std::map<std::string, std::string> colourOfLabel;  // colours given (--svg-colour); the rest
                                                     // take the palette's colours not given
};

// True for a colour an SVG reader takes: "#rgb", "#rrggbb" or a name of letters ("red").
bool isSvgColour(const std::string& colour);
// Fixes the colour of one label, from "LABEL=COLOUR" (the last '=' splits); false when malformed.
bool setLabelColour(SvgMarks& marks, const std::string& labelEqualsColour);

// Reads one marks file into marks; answers false with a reason (file and line) when the file
// cannot be read or has no Handle and Status columns.
bool readSvgMarks(const std::string& path, SvgMarks& marks, std::string& error);

// The legend of the labels, each with its colour.
std::vector<LegendEntry> marksLegend(const SvgMarks& marks);
// The colour of an entity's handle, or empty when it is not marked.
std::string markColour(const SvgMarks& marks, const AcDbObjectId& id);

}  // namespace cadhost
