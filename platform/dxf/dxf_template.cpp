// dxf_template.cpp - the standard parts of a new R2000 drawing (see dxf_template.h). The
// records follow what the R2000 release itself writes for an empty drawing.
#include "dxf/dxf_template.h"

#include <algorithm>

namespace pf {
namespace dxf {

NewDrawingParts::NewDrawingParts(std::uint64_t modelSpace, std::uint64_t paperSpace, std::uint64_t root)
    : ms_(modelSpace), ps_(paperSpace), root_(root) {}

std::uint64_t NewDrawingParts::allocate(std::uint64_t next) {
  for (std::uint64_t* h : {&vportTable_, &vport_, &ltypeTable_, &byBlock_, &byLayer_, &continuous_, &layerTable_,
                           &layer0_, &styleTable_, &standard_, &viewTable_, &ucsTable_, &appidTable_, &acad_,
                           &dimstyleTable_, &dimstyle_, &groups_, &plotStyles_, &normal_, &mlineStyles_,
                           &mlineStandard_, &plotSettings_, &layouts_, &modelLayout_, &paperLayout_})
    *h = next++;
  return next;
}

void NewDrawingParts::header(TagWriter& w, std::uint64_t handSeed) const {
  auto var = [&](const char* name) { w.string(9, name); };
  var("$ACADVER");
  w.string(1, "AC1015");
  var("$ACADMAINTVER");
  w.integer(70, 6);
  var("$DWGCODEPAGE");
  w.string(3, "ANSI_1252");
  var("$INSBASE");
  w.point(10, 0, 0, 0);
  var("$EXTMIN");
  w.point(10, 1e20, 1e20, 1e20);
  var("$EXTMAX");
  w.point(10, -1e20, -1e20, -1e20);
  var("$LIMMIN");
  w.real(10, 0);
  w.real(20, 0);
  var("$LIMMAX");
  w.real(10, 420);
  w.real(20, 297);
  var("$LTSCALE");
  w.real(40, 1);
  var("$TEXTSTYLE");
  w.string(7, "Standard");
  var("$CLAYER");
  w.string(8, "0");
  var("$CELTYPE");
  w.string(6, "ByLayer");
  var("$CECOLOR");
  w.integer(62, 256);
  var("$DIMSTYLE");
  w.string(2, "Standard");
  var("$LUNITS");
  w.integer(70, 2);
  var("$INSUNITS");
  w.integer(70, 6);
  var("$MEASUREMENT");
  w.integer(70, 1);
  var("$HANDSEED");
  w.handle(5, handSeed);
}

void NewDrawingParts::classes(TagWriter& w) const {
  struct C {
    const char* dxf;
    const char* cpp;
  };
  for (const C& c : {C{"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault"}, C{"ACDBPLACEHOLDER", "AcDbPlaceHolder"},
                     C{"LAYOUT", "AcDbLayout"}}) {
    w.string(0, "CLASS");
    w.string(1, c.dxf);
    w.string(2, c.cpp);
    w.string(3, "ObjectDBX Classes");
    w.integer(90, 0);
    w.integer(280, 0);
    w.integer(281, 0);
  }
}

namespace {

void tableHead(TagWriter& w, const char* name, std::uint64_t h, int count) {
  w.string(0, "TABLE");
  w.string(2, name);
  w.handle(5, h);
  w.handle(330, 0);
  w.string(100, "AcDbSymbolTable");
  w.integer(70, count);
}

void recordHead(TagWriter& w, const char* type, const char* subclass, std::uint64_t h, std::uint64_t table,
                const std::string& name, int handleCode = 5) {
  w.string(0, type);
  w.handle(handleCode, h);
  w.handle(330, table);
  w.string(100, "AcDbSymbolTableRecord");
  w.string(100, subclass);
  w.string(2, name);
  w.integer(70, 0);
}

void layer(TagWriter& w, std::uint64_t h, std::uint64_t table, const std::string& name, std::uint64_t plotStyle) {
  recordHead(w, "LAYER", "AcDbLayerTableRecord", h, table, name);
  w.integer(62, 7);
  w.string(6, "Continuous");
  w.integer(370, -3);
  w.handle(390, plotStyle);
}

void reactorsOf(TagWriter& w, std::uint64_t owner) {
  w.string(102, "{ACAD_REACTORS");
  w.handle(330, owner);
  w.string(102, "}");
  w.handle(330, owner);
}

void dictionary(TagWriter& w, std::uint64_t h, std::uint64_t owner,
                const std::vector<std::pair<std::string, std::uint64_t>>& entries) {
  w.string(0, "DICTIONARY");
  w.handle(5, h);
  reactorsOf(w, owner);
  w.string(100, "AcDbDictionary");
  w.integer(281, 1);
  for (const auto& e : entries) {
    w.string(3, e.first);
    w.handle(350, e.second);
  }
}

void layout(TagWriter& w, std::uint64_t h, std::uint64_t owner, const char* name, int tabOrder, std::uint64_t block,
            bool model) {
  w.string(0, "LAYOUT");
  w.handle(5, h);
  reactorsOf(w, owner);
  w.string(100, "AcDbPlotSettings");
  w.string(1, "");
  w.string(2, "none_device");
  w.string(4, "");
  w.string(6, "");
  for (int c = 40; c <= 49; ++c) w.real(c, 0);
  w.real(140, 0);
  w.real(141, 0);
  w.real(142, 1);
  w.real(143, 1);
  w.integer(70, model ? 1712 : 688);
  w.integer(72, 0);
  w.integer(73, 0);
  w.integer(74, model ? 0 : 5);
  w.string(7, "");
  w.integer(75, model ? 0 : 16);
  w.real(147, 1);
  w.real(148, 0);
  w.real(149, 0);
  w.string(100, "AcDbLayout");
  w.string(1, name);
  w.integer(70, 1);
  w.integer(71, tabOrder);
  w.real(10, 0);
  w.real(20, 0);
  w.real(11, 420);
  w.real(21, 297);
  w.point(12, 0, 0, 0);
  w.point(14, 1e20, 1e20, 1e20);
  w.point(15, -1e20, -1e20, -1e20);
  w.real(146, 0);
  w.point(13, 0, 0, 0);
  w.point(16, 1, 0, 0);
  w.point(17, 0, 1, 0);
  w.integer(76, 0);
  w.handle(330, block);
}

}  // namespace

void NewDrawingParts::tables(TagWriter& w, const std::vector<std::string>& extraLayers, std::uint64_t firstExtra) const {
  tableHead(w, "VPORT", vportTable_, 1);
  recordHead(w, "VPORT", "AcDbViewportTableRecord", vport_, vportTable_, "*Active");
  w.real(10, 0);
  w.real(20, 0);
  w.real(11, 1);
  w.real(21, 1);
  w.real(12, 210);
  w.real(22, 148.5);
  w.real(13, 0);
  w.real(23, 0);
  w.real(14, 10);
  w.real(24, 10);
  w.real(15, 10);
  w.real(25, 10);
  w.point(16, 0, 0, 1);
  w.point(17, 0, 0, 0);
  w.real(40, 297);
  w.real(41, 1.414);
  w.real(42, 50);
  w.real(43, 0);
  w.real(44, 0);
  w.real(50, 0);
  w.real(51, 0);
  w.integer(71, 0);
  w.integer(72, 1000);
  w.integer(73, 1);
  w.integer(74, 3);
  w.integer(75, 0);
  w.integer(76, 0);
  w.integer(77, 0);
  w.integer(78, 0);
  w.integer(281, 0);
  w.integer(65, 1);
  w.point(110, 0, 0, 0);
  w.point(111, 1, 0, 0);
  w.point(112, 0, 1, 0);
  w.integer(79, 0);
  w.real(146, 0);
  w.string(0, "ENDTAB");

  tableHead(w, "LTYPE", ltypeTable_, 3);
  struct L {
    std::uint64_t h;
    const char* name;
    const char* text;
  };
  for (const L& l : {L{byBlock_, "ByBlock", ""}, L{byLayer_, "ByLayer", ""}, L{continuous_, "Continuous", "Solid line"}}) {
    recordHead(w, "LTYPE", "AcDbLinetypeTableRecord", l.h, ltypeTable_, l.name);
    w.string(3, l.text);
    w.integer(72, 65);
    w.integer(73, 0);
    w.real(40, 0);
  }
  w.string(0, "ENDTAB");

  tableHead(w, "LAYER", layerTable_, static_cast<int>(1 + extraLayers.size()));
  layer(w, layer0_, layerTable_, "0", normal_);
  for (std::size_t i = 0; i < extraLayers.size(); ++i) layer(w, firstExtra + i, layerTable_, extraLayers[i], normal_);
  w.string(0, "ENDTAB");

  tableHead(w, "STYLE", styleTable_, 1);
  recordHead(w, "STYLE", "AcDbTextStyleTableRecord", standard_, styleTable_, "Standard");
  w.real(40, 0);
  w.real(41, 1);
  w.real(50, 0);
  w.integer(71, 0);
  w.real(42, 2.5);
  w.string(3, "txt");
  w.string(4, "");
  w.string(0, "ENDTAB");

  tableHead(w, "VIEW", viewTable_, 0);
  w.string(0, "ENDTAB");
  tableHead(w, "UCS", ucsTable_, 0);
  w.string(0, "ENDTAB");

  tableHead(w, "APPID", appidTable_, 1);
  recordHead(w, "APPID", "AcDbRegAppTableRecord", acad_, appidTable_, "ACAD");
  w.string(0, "ENDTAB");

  tableHead(w, "DIMSTYLE", dimstyleTable_, 1);
  w.string(100, "AcDbDimStyleTable");
  w.integer(71, 1);
  w.handle(340, dimstyle_);
  recordHead(w, "DIMSTYLE", "AcDbDimStyleTableRecord", dimstyle_, dimstyleTable_, "Standard", 105);
  w.handle(340, standard_);
  w.string(0, "ENDTAB");
}

std::vector<std::pair<std::string, std::uint64_t>> NewDrawingParts::rootEntries(
    const std::vector<std::string>& present) const {
  std::vector<std::pair<std::string, std::uint64_t>> all = {{"ACAD_GROUP", groups_},
                                                            {"ACAD_LAYOUT", layouts_},
                                                            {"ACAD_MLINESTYLE", mlineStyles_},
                                                            {"ACAD_PLOTSETTINGS", plotSettings_},
                                                            {"ACAD_PLOTSTYLENAME", plotStyles_}};
  std::vector<std::pair<std::string, std::uint64_t>> out;
  for (const auto& e : all)
    if (std::find(present.begin(), present.end(), e.first) == present.end()) out.push_back(e);
  return out;
}

void NewDrawingParts::objects(TagWriter& w, const std::vector<std::string>& present) const {
  for (const auto& e : rootEntries(present)) {
    if (e.first == "ACAD_GROUP") {
      dictionary(w, groups_, root_, {});
    } else if (e.first == "ACAD_LAYOUT") {
      dictionary(w, layouts_, root_, {{"Layout1", paperLayout_}, {"Model", modelLayout_}});
      layout(w, modelLayout_, layouts_, "Model", 0, ms_, true);
      layout(w, paperLayout_, layouts_, "Layout1", 1, ps_, false);
    } else if (e.first == "ACAD_MLINESTYLE") {
      dictionary(w, mlineStyles_, root_, {{"Standard", mlineStandard_}});
      w.string(0, "MLINESTYLE");
      w.handle(5, mlineStandard_);
      reactorsOf(w, mlineStyles_);
      w.string(100, "AcDbMlineStyle");
      w.string(2, "Standard");
      w.integer(70, 0);
      w.string(3, "");
      w.integer(62, 256);
      w.real(51, 90);
      w.real(52, 90);
      w.integer(71, 2);
      w.real(49, 0.5);
      w.integer(62, 256);
      w.string(6, "BYLAYER");
      w.real(49, -0.5);
      w.integer(62, 256);
      w.string(6, "BYLAYER");
    } else if (e.first == "ACAD_PLOTSETTINGS") {
      dictionary(w, plotSettings_, root_, {});
    } else if (e.first == "ACAD_PLOTSTYLENAME") {
      w.string(0, "ACDBDICTIONARYWDFLT");
      w.handle(5, plotStyles_);
      reactorsOf(w, root_);
      w.string(100, "AcDbDictionary");
      w.integer(281, 1);
      w.string(3, "Normal");
      w.handle(350, normal_);
      w.string(100, "AcDbDictionaryWithDefault");
      w.handle(340, normal_);
      w.string(0, "ACDBPLACEHOLDER");
      w.handle(5, normal_);
      reactorsOf(w, plotStyles_);
    }
  }
}

std::uint64_t NewDrawingParts::layoutOf(std::uint64_t block) const {
  if (block == ms_) return modelLayout_;
  if (block == ps_) return paperLayout_;
  return 0;
}

}  // namespace dxf
}  // namespace pf
