// gridindex.cpp - the uniform grid of plane boxes.
#include "toolkit/gridindex.h"

#include <algorithm>
#include <cmath>

namespace toolkit {
namespace {

// A box that covers more cells than this goes to the list every lookup reads.
const int64_t kMaxCellsPerBox = 256;

}  // namespace

GridIndex::GridIndex(const std::vector<Box>& boxes) : m_boxes(boxes) {
  if (boxes.empty()) return;
  double sum = 0.0;
  m_originX = boxes.front().minX;
  m_originY = boxes.front().minY;
  for (const Box& box : boxes) {
    sum += std::max(box.maxX - box.minX, box.maxY - box.minY);
    m_originX = std::min(m_originX, box.minX);
    m_originY = std::min(m_originY, box.minY);
  }
  // Rooms of the mean size cover about four cells each.
  m_cellSize = sum / static_cast<double>(boxes.size());
  if (!(m_cellSize > 0.0) || !std::isfinite(m_cellSize)) m_cellSize = 1.0;
  m_cells.reserve(boxes.size() * 4);
  for (size_t i = 0; i < boxes.size(); ++i) {
    const Box& box = boxes[i];
    const int64_t x0 = cellOf(box.minX, m_originX), x1 = cellOf(box.maxX, m_originX);
    const int64_t y0 = cellOf(box.minY, m_originY), y1 = cellOf(box.maxY, m_originY);
    // In floating point: a box far outside the plan spans more cells than an integer holds.
    if ((static_cast<double>(x1) - x0 + 1) * (static_cast<double>(y1) - y0 + 1) > kMaxCellsPerBox) {
      m_large.push_back(static_cast<int>(i));
      continue;
    }
    for (int64_t ix = x0; ix <= x1; ++ix)
      for (int64_t iy = y0; iy <= y1; ++iy) m_cells[cellKey(ix, iy)].push_back(static_cast<int>(i));
  }
}

int64_t GridIndex::cellOf(double value, double origin) const {
  const double cell = std::floor((value - origin) / m_cellSize);
  // Far outside the plan (or not a number): one cell at the edge holds it.
  if (!(cell > -1e15)) return -1000000000000000LL;
  if (cell > 1e15) return 1000000000000000LL;
  return static_cast<int64_t>(cell);
}

void GridIndex::candidates(double x, double y, std::vector<int>& out) const {
  out.clear();
  auto it = m_cells.find(cellKey(cellOf(x, m_originX), cellOf(y, m_originY)));
  if (it != m_cells.end())
    for (int i : it->second)
      if (m_boxes[i].contains(x, y)) out.push_back(i);
  for (int i : m_large)
    if (m_boxes[i].contains(x, y)) out.push_back(i);
  std::sort(out.begin(), out.end());
}

}  // namespace toolkit
