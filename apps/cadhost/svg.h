// svg.h - renders shapes of model space to an SVG picture, scaled to fit, y pointing up.
#pragma once
#include <string>
#include <vector>

#include "geometry.h"

namespace cadhost {

// A legend entry: a label and the colour its shapes are drawn in.
struct LegendEntry {
  std::string label;
  std::string colour;
};

// Writes the shapes as an SVG document of at most width x height pixels. Answers false with a
// reason when the file cannot be written (the file is written completely or not at all).
bool writeSvg(const std::vector<Shape>& shapes, const std::string& path, std::string& error, int width = 1200,
              int height = 900);
bool writeSvg(const std::vector<Shape>& shapes, const std::vector<LegendEntry>& legend, const std::string& path,
              std::string& error);

// The SVG text itself (for tests).
std::string svgText(const std::vector<Shape>& shapes, int width = 1200, int height = 900);

// The SVG text with a legend in the top left corner.
std::string svgText(const std::vector<Shape>& shapes, const std::vector<LegendEntry>& legend, int width = 1200,
                    int height = 900);

}  // namespace cadhost
