// Grid base of the editor control: cells in columns and rows, fixed rows and columns
// that do not scroll, a current cell and scrolling counted in rows and columns.
// Only rows with an explicit height are stored, so geometry stays cheap however
// many rows there are.
#pragma once

#include <QAbstractScrollArea>
#include <QRect>
#include <map>
#include <vector>

#include "platform/Graphics.h"

struct TGridCoord { int X = -1; int Y = -1; };

class TCustomGrid : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit TCustomGrid(QWidget* parent = nullptr);
  ~TCustomGrid() override;

  int ColCount() const { return FColCount; }
  void SetColCount(int n);
  int RowCount() const { return FRowCount; }
  void SetRowCount(int n);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int n);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int n);

  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int h);
  int RowHeight(int row) const;
  void SetRowHeight(int row, int height);

  int Col() const { return FCol; }
  int Row() const { return FRow; }
  int TopRow() const { return FTopRow; }    // first visible scrolling row
  int LeftCol() const { return FLeftCol; }  // first visible scrolling column
  void SetTopRow(int row);
  void SetLeftCol(int col);
  int VisibleRowCount() const;  // fully visible scrolling rows
  int VisibleColCount() const;

  // Moves the current cell after asking SelectCell; with show, scrolls it into view.
  void MoveCurrentCell(int col, int row, bool show);
  QRect CellRect(int col, int row) const;  // empty when not visible
  TGridCoord MouseCoord(int x, int y) const;  // -1 outside

  void InvalidateCell(int col, int row);
  void InvalidateRow(int row);
  void InvalidateGrid();

protected:
  virtual bool SelectCell(int col, int row) { return true; }
  virtual void DrawCell(QPainter& p, int col, int row, const QRect& rect) {}
  virtual void TopLeftChanged() {}

  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void UpdateScrollBars();

private:
  int ColumnLeft(int col) const;    // x of a column (scrolled), -1 when hidden left
  int RowTop(int row) const;        // y of a row (scrolled), -1 when hidden above
  int FixedRowsHeight() const;
  int FixedColsWidth() const;
  void ScrollIntoView(int col, int row);

  int FColCount = 5, FRowCount = 5, FFixedCols = 1, FFixedRows = 1;
  std::vector<int> FColWidths;
  int FDefaultColWidth = 64;
  int FDefaultRowHeight = 24;
  std::map<int, int> FRowHeights;  // only explicitly set rows
  int FCol = 1, FRow = 1, FTopRow = 1, FLeftCol = 1;
  bool FUpdatingScroll = false;
};
