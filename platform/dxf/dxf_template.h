// dxf_template.h - the parts of a complete R2000 (AC1015) drawing that a database built in
// memory does not hold: header variables, the classes of the standard objects, the VPORT,
// LTYPE, LAYER, STYLE, VIEW, UCS, APPID and DIMSTYLE tables, and the standard objects of the
// root dictionary (groups, plot style names, multiline styles, plot settings, layouts). They are
// written around the database's own objects when such a drawing is saved, with handles above the
// database's, so that other CAD programs accept the file as a whole drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dxf/dxf_writer.h"

namespace pf {
namespace dxf {

class NewDrawingParts {
 public:
  // Handles come from `next` (advanced by the number of records made up); `w` may be null in
  // the planning pass, which only counts them.
  NewDrawingParts(std::uint64_t modelSpace, std::uint64_t paperSpace, std::uint64_t root);

  // Makes up every handle, in a fixed order, starting at `next`; answers the next free one.
  std::uint64_t allocate(std::uint64_t next);

  void header(TagWriter& w, std::uint64_t handSeed) const;
  void classes(TagWriter& w) const;
  // The tables before BLOCK_RECORD; `extraLayers` are further layer names the entities use,
  // given the handles from `firstExtra` on.
  void tables(TagWriter& w, const std::vector<std::string>& extraLayers, std::uint64_t firstExtra) const;
  std::uint64_t layerTableHandle() const { return layerTable_; }
  // Entries to add to the root dictionary's record (key, handle), the root's own entries being
  // listed in `present`.
  std::vector<std::pair<std::string, std::uint64_t>> rootEntries(const std::vector<std::string>& present) const;
  // The standard objects, written after the root dictionary.
  void objects(TagWriter& w, const std::vector<std::string>& present) const;
  std::uint64_t layoutOf(std::uint64_t block) const;

 private:
  std::uint64_t ms_, ps_, root_;
  std::uint64_t vportTable_ = 0, vport_ = 0, ltypeTable_ = 0, byBlock_ = 0, byLayer_ = 0, continuous_ = 0;
  std::uint64_t layerTable_ = 0, layer0_ = 0, styleTable_ = 0, standard_ = 0, viewTable_ = 0, ucsTable_ = 0;
  std::uint64_t appidTable_ = 0, acad_ = 0, dimstyleTable_ = 0, dimstyle_ = 0;
  std::uint64_t groups_ = 0, plotStyles_ = 0, normal_ = 0, mlineStyles_ = 0, mlineStandard_ = 0;
  std::uint64_t plotSettings_ = 0, layouts_ = 0, modelLayout_ = 0, paperLayout_ = 0;
};

}  // namespace dxf
}  // namespace pf
