#include "win32/grid.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/controls.h"
#include "win32/fonts.h"
#include "win32/wide.h"

namespace velmora::win32ui {

using win32::Wide;

void Grid::Create(HWND parent, int id, const RECT& r, const std::array<int, 2>& widths) {
  id_ = id;
  hwnd_ = MakeControl(parent, WC_LISTVIEWW, u"",
                      LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER |
                          LVS_SINGLESEL | WS_BORDER,
                      r, id);
  if (hwnd_ == nullptr) return;
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = widths[static_cast<std::size_t>(c)];
    column.iSubItem = c;
    SendMessageW(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c),
                 reinterpret_cast<LPARAM>(&column));
  }
  for (std::size_t row = 0; row < cells_.size(); ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void Grid::SetColumnWidths(const std::array<int, 2>& widths) {
  for (int c = 0; c < 2; ++c) {
    const int want = widths[static_cast<std::size_t>(c)];
    if (SendMessageW(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0) != want)
      SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(want, 0));
  }
}

void Grid::SetCell(int row, int column, const GridCell& cell) {
  GridCell& shown = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  if (shown.text == cell.text && shown.align == cell.align && shown.bold == cell.bold) return;
  shown = cell;
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(Wide(shown.text));
  SendMessageW(hwnd_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  RECT r;
  if (ListView_GetItemRect(hwnd_, row, &r, LVIR_BOUNDS)) InvalidateRect(hwnd_, &r, FALSE);
}

bool Grid::Measure(MEASUREITEMSTRUCT& m) const {
  if (m.CtlType != ODT_LISTVIEW || static_cast<int>(m.CtlID) != id_) return false;
  m.itemHeight = static_cast<UINT>(std::max(1, row_height_));
  return true;
}

bool Grid::Draw(const DRAWITEMSTRUCT& d) const {
  if (d.CtlType != ODT_LISTVIEW || d.hwndItem != hwnd_) return false;
  const auto row = static_cast<std::size_t>(d.itemID);
  if (row >= cells_.size()) return true;
  HDC dc = d.hDC;
  int left = d.rcItem.left;
  SetBkMode(dc, TRANSPARENT);
  HPEN line = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ old_pen = SelectObject(dc, line);
  for (std::size_t c = 0; c < 2; ++c) {
    const int width =
        static_cast<int>(SendMessageW(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
    RECT cell{left, d.rcItem.top, left + width, d.rcItem.bottom};
    // The first row and the first column are fixed, drawn as headings.
    const bool heading = row == 0 || c == 0;
    FillRect(dc, &cell, GetSysColorBrush(heading ? COLOR_BTNFACE : COLOR_WINDOW));
    MoveToEx(dc, cell.right - 1, cell.top, nullptr);
    LineTo(dc, cell.right - 1, cell.bottom - 1);
    LineTo(dc, cell.left - 1, cell.bottom - 1);
    const GridCell& g = cells_[row][c];
    HGDIOBJ old_font = SelectObject(dc, g.bold ? BoldFont() : LabelFont());
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    format |= g.align == CellAlign::kRight    ? DT_RIGHT
              : g.align == CellAlign::kCenter ? DT_CENTER
                                              : DT_LEFT;
    RECT text = cell;
    InflateRect(&text, -3, 0);
    DrawTextW(dc, Wide(g.text), static_cast<int>(g.text.size()), &text, format);
    SelectObject(dc, old_font);
    left += width;
  }
  SelectObject(dc, old_pen);
  DeleteObject(line);
  return true;
}

}  // namespace velmora::win32ui
