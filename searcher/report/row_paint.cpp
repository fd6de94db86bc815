#include "searcher/report/row_paint.h"

namespace lorvane {

bool IsRowHighlighted(const RowState& state, const ListPaintState& list) {
  return state.dropHighlighted || (state.selected && (list.listHasFocus || list.alwaysShowSelection));
}

PaintSpan HighlightSpan(HighlightMode mode) {
  switch (mode) {
    case HighlightMode::kColumn0Label:
      return PaintSpan::kColumn0Label;
    case HighlightMode::kRow:
      return PaintSpan::kRowBounds;
    case HighlightMode::kRowToEdge:
      break;
  }
  return PaintSpan::kRowToClientEdge;
}

RowPaint PlanRowPaint(int row, const RowState& state, const ListPaintState& list) {
  RowPaint paint;
  paint.highlighted = IsRowHighlighted(state, list);
  if (paint.highlighted) {
    paint.background = SystemColour::kHighlight;
    paint.backgroundSpan = HighlightSpan(list.mode);
    paint.text = SystemColour::kHighlightText;
    return paint;
  }
  paint.text = SystemColour::kWindowText;
  if (list.alternateShading) {
    paint.background = row % 2 != 0 ? Colour(SystemColour::kMenu) : Colour(kEvenRowShade);
    paint.backgroundSpan = PaintSpan::kRowToClientEdge;
  } else {
    paint.background = SystemColour::kWindow;
    paint.backgroundSpan = HighlightSpan(list.mode);
  }
  return paint;
}

}  // namespace lorvane
