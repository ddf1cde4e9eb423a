// The grids of the library's windows.
#pragma once

#include <array>
#include <vector>

#include "velmora/sysinfo_windows.h"
#include "win32/win_api.h"

namespace velmora::win32ui {

// The windows' grids: an owner-drawn list-view in report mode without headings, its first row
// and column drawn as headings, each cell with the alignment and weight its model gives.
class Grid {
 public:
  Grid(int rows, int row_height)
      : cells_(static_cast<std::size_t>(rows)), row_height_(row_height) {}
  void Create(HWND parent, int id, const RECT& r, const std::array<int, 2>& widths);
  void SetColumnWidths(const std::array<int, 2>& widths);
  // Copies a cell of the model; the list-view holds its text too.
  void SetCell(int row, int column, const GridCell& cell);
  // WM_MEASUREITEM and WM_DRAWITEM of this grid's list-view; false for another control's.
  bool Measure(MEASUREITEMSTRUCT& m) const;
  bool Draw(const DRAWITEMSTRUCT& d) const;
  HWND hwnd() const { return hwnd_; }

 private:
  std::vector<std::array<GridCell, 2>> cells_;
  int row_height_;
  int id_ = 0;
  HWND hwnd_ = nullptr;
};

}  // namespace velmora::win32ui
