// gridindex.h - a uniform grid over plane boxes, to find the boxes that may hold a point.
//
// Each box is filed in every cell it covers, so a lookup reads one cell: the cost of pairing n
// tags with m rooms grows with n + m, not n x m. A box that would cover very many cells (a zone
// drawn around a whole floor) is kept in a short list that every lookup reads instead.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "toolkit/outline.h"

namespace toolkit {

class GridIndex {
public:
  // Files boxes[i] under the number i; the cell size follows the boxes' mean size.
  explicit GridIndex(const std::vector<Box>& boxes);

  // The numbers of the boxes that contain the point, in increasing order.
  void candidates(double x, double y, std::vector<int>& out) const;

private:
  // Two cells may share a key; the lookup tests the boxes themselves, so that costs nothing.
  static uint64_t cellKey(int64_t ix, int64_t iy) {
    return static_cast<uint64_t>(ix) * 0x9E3779B97F4A7C15ULL ^ static_cast<uint64_t>(iy);
  }
  int64_t cellOf(double value, double origin) const;

  std::vector<Box> m_boxes;
  std::unordered_map<uint64_t, std::vector<int>> m_cells;
  std::vector<int> m_large;
  double m_originX = 0.0, m_originY = 0.0;
  double m_cellSize = 1.0;
};

}  // namespace toolkit
