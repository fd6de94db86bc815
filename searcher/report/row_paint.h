// How the report list paints a row: colours and spans decided here, so the
// window only draws.
#pragma once

#include "common/rgb.h"

#include <cstdint>
#include <variant>

#include "searcher/report/report_row.h"

namespace lorvane {

using Rgb = suite::Rgb;

// Colours the window takes from the desktop's palette.
enum class SystemColour { kHighlight, kHighlightText, kMenu, kWindow, kWindowText };

using Colour = std::variant<SystemColour, Rgb>;

// Unselected even rows (counted from 0) when rows are shaded; odd rows get the
// menu colour.
inline constexpr Rgb kEvenRowShade{225, 225, 225};

// How far a highlight reaches (the highlight modes 0, 1 and 2).
enum class HighlightMode { kColumn0Label = 0, kRow = 1, kRowToEdge = 2 };

// Horizontal extent of a background fill.
enum class PaintSpan {
  kColumn0Label,   // the label area of column 0
  kRowBounds,      // the row across all columns
  kRowToClientEdge  // from the row's left edge to the right edge of the list
};

struct ListPaintState {
  HighlightMode mode = HighlightMode::kRow;
  bool alternateShading = true;
  bool listHasFocus = false;
  bool alwaysShowSelection = false;
};

struct RowPaint {
  bool highlighted = false;
  Colour background;
  PaintSpan backgroundSpan = PaintSpan::kRowBounds;
  Colour text;
};

// A row is highlighted while drop-highlighted, or while selected if the list
// has the focus or always shows its selection.
bool IsRowHighlighted(const RowState& state, const ListPaintState& list);

PaintSpan HighlightSpan(HighlightMode mode);

// A highlighted row: the highlight colour over the highlight span, texts in
// the highlight-text colour, the small image blended with the highlight.
// Otherwise, with shading, the grey or menu colour out to the list's right
// edge; without, the window colour over the highlight span.
RowPaint PlanRowPaint(int row, const RowState& state, const ListPaintState& list);

struct TextSpan {
  int left = 0, right = 0;
  friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// The room between texts and cell borders: two blanks of the list's font.
constexpr int CellMargin(int blankWidth) { return 2 * blankWidth; }
// Column 0's text within its label area.
constexpr TextSpan Column0TextSpan(TextSpan label, int margin) {
  return TextSpan{label.left + margin / 2, label.right - margin};
}
// A further column's text within its cell.
constexpr TextSpan CellTextSpan(TextSpan cell, int margin) { return TextSpan{cell.left + margin, cell.right - margin}; }

}  // namespace lorvane
