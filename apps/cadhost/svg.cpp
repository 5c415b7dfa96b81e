// SVG rendering of model space: polylines with their arcs (SVG arc commands), lines, circles and
// texts. World y points up, SVG y points down, so every point is mirrored through the view box.
#include "svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "atomic_file.h"

namespace cadhost {
namespace {

std::string num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4g", std::fabs(v) < 1e-9 ? 0.0 : v);
  return buf;
}

std::string escapeXml(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // Control characters are not allowed in XML 1.0 text.
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
    }
  }
  return out;
}

Box shapeBox(const Shape& s) {
  Box box;
  switch (s.kind) {
    case Shape::Polyline:
      for (size_t i = 0; i < s.points.size(); ++i) {
        const bool last = i + 1 == s.points.size();
        if (last && !s.closed) {
          box.add(s.points[i]);
          break;
        }
        const Pt& b = s.points[last ? 0 : i + 1];
        box.add(segmentBox(s.points[i], b, i < s.bulges.size() ? s.bulges[i] : 0));
      }
      break;
    case Shape::Line:
      for (const Pt& p : s.points) box.add(p);
      break;
    case Shape::Circle:
      box.add(Pt{s.center.x - s.radius, s.center.y - s.radius});
      box.add(Pt{s.center.x + s.radius, s.center.y + s.radius});
      break;
    case Shape::Text:
      box.add(s.center);
      box.add(Pt{s.center.x + s.radius * 0.6 * s.text.size(), s.center.y + s.radius});
      break;
  }
  return box;
}

struct View {
  double scale = 1, minX = 0, maxY = 0, margin = 10;
  double x(double wx) const { return margin + (wx - minX) * scale; }
  double y(double wy) const { return margin + (maxY - wy) * scale; }
};

}  // namespace

std::string svgText(const std::vector<Shape>& shapes, int width, int height) {
  return svgText(shapes, {}, width, height);
}

// A shape drawn in a colour of its own, a little heavier so that it stands out.
static std::string strokeOf(const Shape& s) {
  if (s.stroke.empty()) return std::string();
  return " stroke=\"" + escapeXml(s.stroke) + "\" stroke-width=\"3\"";
}

std::string svgText(const std::vector<Shape>& shapes, const std::vector<LegendEntry>& legend, int width, int height) {
  Box all;
  for (const Shape& s : shapes) all.add(shapeBox(s));
  if (all.empty()) all = Box{0, 0, 1, 1};
  View v;
  const double w = std::max(all.maxX - all.minX, 1e-9), h = std::max(all.maxY - all.minY, 1e-9);
  v.scale = std::min((width - 2 * v.margin) / w, (height - 2 * v.margin) / h);
  v.minX = all.minX;
  v.maxY = all.maxY;
  const int outW = static_cast<int>(std::ceil(w * v.scale + 2 * v.margin));
  // A legend gets a band of its own above the drawing, so that it never hides a room.
  const int legendLine = 22;
  const int band = legend.empty() ? 0 : static_cast<int>(legend.size()) * legendLine + 20;
  const int outH = static_cast<int>(std::ceil(h * v.scale + 2 * v.margin)) + band;

  std::ostringstream o;
  o << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << outW << "\" height=\"" << outH
    << "\" viewBox=\"0 0 " << outW << ' ' << outH << "\">\n"
    << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
    << "<g fill=\"none\" stroke=\"black\" stroke-width=\"1\"";
  if (band > 0) o << " transform=\"translate(0 " << band << ")\"";
  o << ">\n";
  for (const Shape& s : shapes) {
    switch (s.kind) {
      case Shape::Polyline: {
        if (s.points.empty()) break;
        o << "<path d=\"M " << num(v.x(s.points[0].x)) << ' ' << num(v.y(s.points[0].y));
        const size_t n = s.points.size();
        const size_t segments = s.closed ? n : n - 1;
        for (size_t i = 0; i < segments; ++i) {
          const Pt& a = s.points[i];
          const Pt& b = s.points[(i + 1) % n];
          const double bulge = i < s.bulges.size() ? s.bulges[i] : 0;
          if (std::fabs(bulge) < 1e-12) {
            o << " L " << num(v.x(b.x)) << ' ' << num(v.y(b.y));
          } else {
            Pt c;
            double r, sa, ea;
            bulgeArc(a, b, bulge, c, r, sa, ea);
            const int large = std::fabs(4 * std::atan(bulge)) > 3.14159265358979323846 ? 1 : 0;
            // Counter-clockwise in the world is clockwise on screen (y flipped): sweep flag 0.
            const int sweep = bulge > 0 ? 0 : 1;
            o << " A " << num(r * v.scale) << ' ' << num(r * v.scale) << " 0 " << large << ' ' << sweep << ' '
              << num(v.x(b.x)) << ' ' << num(v.y(b.y));
          }
        }
        if (s.closed) o << " Z";
        o << "\"" << strokeOf(s) << "/>\n";
        break;
      }
      case Shape::Line:
        if (s.points.size() == 2)
          o << "<line x1=\"" << num(v.x(s.points[0].x)) << "\" y1=\"" << num(v.y(s.points[0].y)) << "\" x2=\""
            << num(v.x(s.points[1].x)) << "\" y2=\"" << num(v.y(s.points[1].y)) << "\"" << strokeOf(s) << "/>\n";
        break;
      case Shape::Circle:
        o << "<circle cx=\"" << num(v.x(s.center.x)) << "\" cy=\"" << num(v.y(s.center.y)) << "\" r=\""
          << num(s.radius * v.scale) << "\"" << strokeOf(s) << "/>\n";
        break;
      case Shape::Text: {
        const double size = std::max(s.radius * v.scale, 1.0);
        o << "<text x=\"" << num(v.x(s.center.x)) << "\" y=\"" << num(v.y(s.center.y)) << "\" font-size=\""
          << num(size) << "\" font-family=\"sans-serif\" fill=\"black\" stroke=\"none\"";
        if (std::fabs(s.rotation) > 1e-12)
          o << " transform=\"rotate(" << num(-s.rotation * 180 / 3.14159265358979323846) << ' '
            << num(v.x(s.center.x)) << ' ' << num(v.y(s.center.y)) << ")\"";
        o << '>' << escapeXml(s.text) << "</text>\n";
        break;
      }
    }
  }
  o << "</g>\n";
  // The legend: a swatch and a label per entry, in the band above the drawing.
  if (!legend.empty()) {
    const int line = legendLine;
    o << "<g font-family=\"sans-serif\" font-size=\"16\">\n"
      << "<rect x=\"4\" y=\"4\" width=\"220\" height=\"" << legend.size() * line + 12
      << "\" fill=\"white\" stroke=\"black\" stroke-width=\"1\" opacity=\"0.9\"/>\n";
    for (size_t i = 0; i < legend.size(); ++i) {
      const int y = 12 + static_cast<int>(i) * line;
      o << "<rect x=\"12\" y=\"" << y << "\" width=\"28\" height=\"14\" fill=\"" << escapeXml(legend[i].colour)
        << "\"/>\n<text x=\"48\" y=\"" << y + 13 << "\">" << escapeXml(legend[i].label) << "</text>\n";
    }
    o << "</g>\n";
  }
  o << "</svg>\n";
  return o.str();
}

bool writeSvg(const std::vector<Shape>& shapes, const std::vector<LegendEntry>& legend, const std::string& path,
              std::string& error) {
  return writeFileAtomically(path, svgText(shapes, legend), error);
}

bool writeSvg(const std::vector<Shape>& shapes, const std::string& path, std::string& error, int width,
              int height) {
  return writeFileAtomically(path, svgText(shapes, width, height), error);
}

}  // namespace cadhost
