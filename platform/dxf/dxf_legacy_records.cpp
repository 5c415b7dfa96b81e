// dxf_legacy_records.cpp - the R2000 layout of R12 records, and 2D polylines made lightweight
// (see dxf_legacy.h).
#include <cmath>

#include "dxf/dxf_legacy_internal.h"
#include "dxf/dxf_tag.h"

namespace pf {
namespace dxf {
namespace legacy {

namespace {

// Polyline flags (group 70 of POLYLINE).
constexpr long kClosed = 1, kCurveFit = 2, kSplineFit = 4, k3dPolyline = 8, kMesh = 16, kPolyface = 64,
               kLinetypeGen = 128;
// Vertex flags (group 70 of VERTEX).
constexpr long kExtraVertex = 1, kSplineVertex = 8, kFrameVertex = 16, kMeshVertex = 64, kPolyfaceVertex = 128;

// The codes of a point (x, y, z) and of the normal.
std::vector<int> with(std::vector<int> codes, std::initializer_list<int> points) {
  for (int p : points) {
    codes.push_back(p);
    codes.push_back(p + 10);
    codes.push_back(p + 20);
  }
  return codes;
}

const std::vector<int>& textCodes() {
  static const std::vector<int> codes = with({39, 40, 1, 50, 41, 51, 7, 71, 72}, {10, 11, 210});
  return codes;
}

// The subclass of a dimension's own groups, by its type (the low bits of group 70).
std::vector<Subclass> dimensionLayout(long flags) {
  std::vector<Subclass> out;
  out.push_back({"AcDbDimension", with({2, 3, 70, 71, 72, 41, 42, 1, 52, 53, 51}, {10, 11, 12, 210})});
  switch (flags & 7) {
    case 0:
      out.push_back({"AcDbAlignedDimension", with({50}, {13, 14})});
      out.push_back({"AcDbRotatedDimension", {}});
      break;
    case 1: out.push_back({"AcDbAlignedDimension", with({50}, {13, 14})}); break;
    case 2: out.push_back({"AcDb2LineAngularDimension", with({}, {13, 14, 15, 16})}); break;
    case 3: out.push_back({"AcDbDiametricDimension", with({40}, {15})}); break;
    case 4: out.push_back({"AcDbRadialDimension", with({40}, {15})}); break;
    case 5: out.push_back({"AcDb3PointAngularDimension", with({}, {13, 14, 15, 16})}); break;
    default: out.push_back({"AcDbOrdinateDimension", with({}, {13, 14})}); break;
  }
  return out;
}

const char* polylineMarker(long flags) {
  if (flags & k3dPolyline) return "AcDb3dPolyline";
  if (flags & kMesh) return "AcDbPolygonMesh";
  if (flags & kPolyface) return "AcDbPolyFaceMesh";
  return "AcDb2dPolyline";
}

// A vertex's subclass follows the polyline it belongs to; a polyface mesh holds both vertices
// and face records.
const char* vertexMarker(long polylineFlags, long vertexFlags) {
  if (polylineFlags & k3dPolyline) return "AcDb3dPolylineVertex";
  if (polylineFlags & kMesh) return "AcDbPolygonMeshVertex";
  if (polylineFlags & kPolyface)
    return (vertexFlags & kMeshVertex) || !(vertexFlags & kPolyfaceVertex) ? "AcDbPolyFaceMeshVertex" : "AcDbFaceRecord";
  return "AcDb2dVertex";
}

}  // namespace

bool isCommonEntityCode(int code) { return code == 8 || code == 6 || code == 62 || code == 67 || code == 48 || code == 60; }

std::vector<Subclass> entityLayout(const Record& r, long polylineFlags) {
  const std::string& type = r.type();
  if (type == "LINE") return {{"AcDbLine", with({39}, {10, 11, 210})}};
  if (type == "POINT") return {{"AcDbPoint", with({39, 50}, {10, 210})}};
  if (type == "CIRCLE") return {{"AcDbCircle", with({39, 40}, {10, 210})}};
  if (type == "ARC") return {{"AcDbCircle", with({39, 40}, {10, 210})}, {"AcDbArc", {50, 51}}};
  if (type == "TRACE" || type == "SOLID") return {{"AcDbTrace", with({39}, {10, 11, 12, 13, 210})}};
  if (type == "3DFACE") return {{"AcDbFace", with({70}, {10, 11, 12, 13})}};
  if (type == "SHAPE") return {{"AcDbShape", with({39, 40, 2, 50, 41, 51}, {10, 210})}};
  if (type == "TEXT") return {{"AcDbText", textCodes()}, {"AcDbText", {73}}};
  if (type == "ATTDEF") return {{"AcDbText", textCodes()}, {"AcDbAttributeDefinition", {3, 2, 70, 73, 74}}};
  if (type == "ATTRIB") return {{"AcDbText", textCodes()}, {"AcDbAttribute", {2, 70, 73, 74}}};
  if (type == "INSERT") {
    const bool array = r.integer(70, 1) > 1 || r.integer(71, 1) > 1;
    return {{array ? "AcDbMInsertBlock" : "AcDbBlockReference", with({66, 2, 41, 42, 43, 50, 70, 71, 44, 45}, {10, 210})}};
  }
  if (type == "POLYLINE")
    return {{polylineMarker(r.integer(70)), with({66, 39, 70, 40, 41, 71, 72, 73, 74, 75}, {10, 210})}};
  if (type == "VERTEX") {
    const long flags = r.integer(70);
    const char* marker = vertexMarker(polylineFlags < 0 ? 0 : polylineFlags, flags);
    return {{"AcDbVertex", {}}, {marker, with({40, 41, 42, 70, 50, 71, 72, 73, 74}, {10})}};
  }
  if (type == "VIEWPORT") return {{"AcDbViewport", with({40, 41, 68, 69}, {10})}};
  if (type == "DIMENSION") return dimensionLayout(r.integer(70));
  return {};  // SEQEND, and types this layout does not know: their groups follow AcDbEntity
}

const char* tableRecordMarker(const std::string& type) {
  if (type == "VPORT") return "AcDbViewportTableRecord";
  if (type == "LTYPE") return "AcDbLinetypeTableRecord";
  if (type == "LAYER") return "AcDbLayerTableRecord";
  if (type == "STYLE") return "AcDbTextStyleTableRecord";
  if (type == "VIEW") return "AcDbViewTableRecord";
  if (type == "UCS") return "AcDbUCSTableRecord";
  if (type == "APPID") return "AcDbRegAppTableRecord";
  if (type == "DIMSTYLE") return "AcDbDimStyleTableRecord";
  return nullptr;
}

bool convertsToLightweight(const Record& polyline, const std::vector<const Record*>& vertices) {
  const long flags = polyline.integer(70);
  if (flags & (kCurveFit | kSplineFit | k3dPolyline | kMesh | kPolyface)) return false;
  if (vertices.empty()) return false;
  for (const Record* v : vertices) {
    if (v->integer(70) & (kExtraVertex | kSplineVertex | kFrameVertex)) return false;
    if (v->extendedDataStart() != v->groups.size()) return false;
  }
  return true;
}

void writeLightweight(Output& out, const Record& polyline, const std::vector<const Record*>& vertices,
                      std::uint64_t h, std::uint64_t owner, bool modern) {
  const long flags = polyline.integer(70);
  const double startDefault = polyline.real(40), endDefault = polyline.real(41);
  const Group* elevation = polyline.find(30);
  const Group* thickness = polyline.find(39);
  const std::size_t xdata = polyline.extendedDataStart();

  out.group(0, "LWPOLYLINE", polyline.line());
  out.handle(5, h, polyline.handleLine);
  // The head: {...} groups of an R13/R14 record, then the owner.
  std::size_t i = 1;
  if (modern) {
    bool inBraces = false;
    for (; i < xdata && polyline.groups[i].code != 100; ++i) {
      const Group& g = polyline.groups[i];
      if (g.code == 102) inBraces = !g.value.empty() && g.value[0] == '{';
      if (g.code == 5 || (g.code == 330 && !inBraces)) continue;
      out.group(g);
    }
  }
  out.handle(330, owner);
  out.group(100, "AcDbEntity");
  if (modern) {
    // Everything under AcDbEntity as read (layer, colour, linetype, lineweight, ...).
    if (i < xdata && polyline.groups[i].value == "AcDbEntity") ++i;
    for (; i < xdata && polyline.groups[i].code != 100; ++i) out.group(polyline.groups[i]);
  } else {
    for (int code : {67, 8, 6, 62, 48, 60})
      for (std::size_t k = 1; k < xdata; ++k)
        if (polyline.groups[k].code == code) out.group(polyline.groups[k]);
    if (!polyline.find(8)) out.group(8, "0");
  }
  out.group(100, "AcDbPolyline");
  out.integer(90, static_cast<long>(vertices.size()));
  out.integer(70, flags & (kClosed | kLinetypeGen));

  struct V {
    const Group *x, *y;
    double start, end, bulge;
    std::uint32_t line;
  };
  std::vector<V> vs;
  vs.reserve(vertices.size());
  bool constant = true;
  for (const Record* v : vertices) {
    V item{v->find(10), v->find(20), v->real(40, startDefault), v->real(41, endDefault), v->real(42), v->line()};
    if (item.start != item.end || item.start != (vs.empty() ? item.start : vs.front().start)) constant = false;
    vs.push_back(item);
  }
  if (constant && !vs.empty() && vs.front().start != 0.0) out.real(43, vs.front().start);
  if (elevation) {
    double z = 0;
    parseDouble(elevation->value, z);
    if (z != 0.0) out.group(38, elevation->value, elevation->line);
  }
  if (thickness) out.group(*thickness);
  for (const V& v : vs) {
    out.group(10, v.x ? v.x->value : "0.0", v.x ? v.x->line : v.line);
    out.group(20, v.y ? v.y->value : "0.0", v.y ? v.y->line : v.line);
    if (!constant) {
      out.real(40, v.start);
      out.real(41, v.end);
    }
    if (v.bulge != 0.0) out.real(42, v.bulge);
  }
  for (int code : {210, 220, 230})
    if (const Group* g = polyline.find(code)) out.group(*g);
  for (std::size_t k = xdata; k < polyline.groups.size(); ++k) out.group(polyline.groups[k]);
}

}  // namespace legacy
}  // namespace dxf
}  // namespace pf
