#include "platform/Grids.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

TCustomGrid::TCustomGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  FColWidths.assign(FColCount, FDefaultColWidth);
  setFocusPolicy(Qt::StrongFocus);
  UpdateScrollBars();
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::SetColCount(int n) {
  n = std::max(n, 1);
  if (n == FColCount) return;
  FColCount = n;
  FColWidths.resize(n, FDefaultColWidth);
  FFixedCols = std::min(FFixedCols, n - 1 < 0 ? 0 : n - 1);
  FCol = std::clamp(FCol, FFixedCols, n - 1);
  FLeftCol = std::clamp(FLeftCol, FFixedCols, n - 1);
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetRowCount(int n) {
  n = std::max(n, 1);
  if (n == FRowCount) return;
  FRowCount = n;
  FRowHeights.erase(FRowHeights.lower_bound(n), FRowHeights.end());
  FRow = std::clamp(FRow, std::min(FFixedRows, n - 1), n - 1);
  FTopRow = std::clamp(FTopRow, std::min(FFixedRows, n - 1), n - 1);
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetFixedCols(int n) {
  FFixedCols = std::clamp(n, 0, FColCount - 1);
  FCol = std::max(FCol, FFixedCols);
  FLeftCol = std::max(FLeftCol, FFixedCols);
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetFixedRows(int n) {
  FFixedRows = std::clamp(n, 0, FRowCount - 1);
  FRow = std::max(FRow, FFixedRows);
  FTopRow = std::max(FTopRow, FFixedRows);
  UpdateScrollBars();
  viewport()->update();
}

int TCustomGrid::ColWidth(int col) const {
  return col >= 0 && col < FColCount ? FColWidths[col] : 0;
}

void TCustomGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= FColCount) return;
  FColWidths[col] = width;
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetDefaultRowHeight(int h) {
  FDefaultRowHeight = std::max(h, 1);
  UpdateScrollBars();
  viewport()->update();
}

int TCustomGrid::RowHeight(int row) const {
  const auto it = FRowHeights.find(row);
  return it == FRowHeights.end() ? FDefaultRowHeight : it->second;
}

void TCustomGrid::SetRowHeight(int row, int height) {
  if (row < 0 || row >= FRowCount) return;
  if (height == FDefaultRowHeight) FRowHeights.erase(row);
  else FRowHeights[row] = height;
  UpdateScrollBars();
  viewport()->update();
}

int TCustomGrid::FixedRowsHeight() const {
  int h = 0;
  for (int r = 0; r < FFixedRows; ++r) h += RowHeight(r);
  return h;
}

int TCustomGrid::FixedColsWidth() const {
  int w = 0;
  for (int c = 0; c < FFixedCols; ++c) w += FColWidths[c];
  return w;
}

int TCustomGrid::VisibleRowCount() const {
  int avail = viewport()->height() - FixedRowsHeight();
  int n = 0;
  for (int r = FTopRow; r < FRowCount && avail >= RowHeight(r); ++r, ++n) avail -= RowHeight(r);
  return n;
}

int TCustomGrid::VisibleColCount() const {
  int avail = viewport()->width() - FixedColsWidth();
  int n = 0;
  for (int c = FLeftCol; c < FColCount && avail >= FColWidths[c]; ++c, ++n) avail -= FColWidths[c];
  return n;
}

int TCustomGrid::ColumnLeft(int col) const {
  if (col < FFixedCols) {
    int x = 0;
    for (int c = 0; c < col; ++c) x += FColWidths[c];
    return x;
  }
  if (col < FLeftCol) return -1;
  int x = FixedColsWidth();
  for (int c = FLeftCol; c < col; ++c) x += FColWidths[c];
  return x;
}

int TCustomGrid::RowTop(int row) const {
  if (row < FFixedRows) {
    int y = 0;
    for (int r = 0; r < row; ++r) y += RowHeight(r);
    return y;
  }
  if (row < FTopRow) return -1;
  const int h = viewport()->height();
  int y = FixedRowsHeight();
  for (int r = FTopRow; r < row; ++r) {
    y += RowHeight(r);
    if (y > h) return -1;
  }
  return y;
}

QRect TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount) return {};
  const int x = ColumnLeft(col), y = RowTop(row);
  if (x < 0 || y < 0) return {};
  return QRect(x, y, FColWidths[col], RowHeight(row));
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  TGridCoord c;
  for (int col = 0; col < FColCount; ++col) {
    const int left = ColumnLeft(col);
    if (left >= 0 && x >= left && x < left + FColWidths[col]) { c.X = col; break; }
    if (col + 1 == FFixedCols) col = FLeftCol - 1;
  }
  const int h = viewport()->height();
  int top = 0;
  for (int row = 0; row < FRowCount && top < h; ++row) {
    if (row == FFixedRows) row = FTopRow;
    if (row >= FRowCount) break;
    const int rh = RowHeight(row);
    if (y >= top && y < top + rh) { c.Y = row; break; }
    top += rh;
  }
  if (c.X < 0 || c.Y < 0) return {};
  return c;
}

void TCustomGrid::SetTopRow(int row) {
  row = std::clamp(row, FFixedRows, std::max(FFixedRows, FRowCount - 1));
  if (row == FTopRow) return;
  FTopRow = row;
  UpdateScrollBars();
  viewport()->update();
  TopLeftChanged();
}

void TCustomGrid::SetLeftCol(int col) {
  col = std::clamp(col, FFixedCols, std::max(FFixedCols, FColCount - 1));
  if (col == FLeftCol) return;
  FLeftCol = col;
  UpdateScrollBars();
  viewport()->update();
  TopLeftChanged();
}

void TCustomGrid::ScrollIntoView(int col, int row) {
  if (row >= FFixedRows) {
    if (row < FTopRow) SetTopRow(row);
    else {
      const int vis = std::max(1, VisibleRowCount());
      if (row >= FTopRow + vis) SetTopRow(row - vis + 1);
    }
  }
  if (col >= FFixedCols) {
    if (col < FLeftCol) SetLeftCol(col);
    else {
      const int vis = std::max(1, VisibleColCount());
      if (col >= FLeftCol + vis) SetLeftCol(col - vis + 1);
    }
  }
}

void TCustomGrid::MoveCurrentCell(int col, int row, bool show) {
  col = std::clamp(col, 0, FColCount - 1);
  row = std::clamp(row, 0, FRowCount - 1);
  if (!SelectCell(col, row)) return;
  InvalidateCell(FCol, FRow);
  FCol = col;
  FRow = row;
  InvalidateCell(FCol, FRow);
  if (show) ScrollIntoView(col, row);
}

void TCustomGrid::InvalidateCell(int col, int row) {
  const QRect r = CellRect(col, row);
  if (!r.isEmpty()) viewport()->update(r);
}

void TCustomGrid::InvalidateRow(int row) {
  const QRect r = CellRect(0, row);
  if (!r.isEmpty()) viewport()->update(QRect(0, r.top(), viewport()->width(), r.height()));
}

void TCustomGrid::InvalidateGrid() { viewport()->update(); }

void TCustomGrid::UpdateScrollBars() {
  FUpdatingScroll = true;
  const int vis = std::max(1, VisibleRowCount());
  verticalScrollBar()->setRange(FFixedRows, std::max(FFixedRows, FRowCount - vis));
  verticalScrollBar()->setPageStep(vis);
  verticalScrollBar()->setValue(FTopRow);
  const int cvis = std::max(1, VisibleColCount());
  horizontalScrollBar()->setRange(FFixedCols, std::max(FFixedCols, FColCount - cvis));
  horizontalScrollBar()->setPageStep(cvis);
  horizontalScrollBar()->setValue(FLeftCol);
  FUpdatingScroll = false;
}

void TCustomGrid::scrollContentsBy(int, int) {
  if (FUpdatingScroll) return;
  const int row = verticalScrollBar()->value();
  const int col = horizontalScrollBar()->value();
  if (row != FTopRow || col != FLeftCol) {
    FTopRow = row;
    FLeftCol = col;
    viewport()->update();
    TopLeftChanged();
  }
}

void TCustomGrid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScrollBars();
}

void TCustomGrid::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  const QRect clip = e->rect();
  const int h = viewport()->height(), w = viewport()->width();
  int y = 0;
  for (int row = 0; row < FRowCount && y < h; ++row) {
    if (row == FFixedRows) row = FTopRow;
    if (row >= FRowCount) break;
    const int rh = RowHeight(row);
    int x = 0;
    for (int col = 0; col < FColCount && x < w; ++col) {
      if (col == FFixedCols) col = FLeftCol;
      if (col >= FColCount) break;
      const QRect r(x, y, FColWidths[col], rh);
      if (r.intersects(clip)) DrawCell(p, col, row, r);
      x += FColWidths[col];
    }
    y += rh;
  }
}
