// Grid base of the editor control: cells in columns and rows, fixed rows and columns
// that do not scroll, a current cell, scrolling counted in rows and columns, and the
// mouse-selecting state with its auto-scroll timer.
//
// Only rows with an explicit height are stored, and every geometry query walks at most
// the visible rows, so a grid of 134 million rows costs what a grid of 100 does.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QRect>
#include <functional>
#include <map>
#include <vector>

#include "platform/Graphics.h"

struct TGridCoord {
  int X = -1;
  int Y = -1;
  bool operator==(const TGridCoord&) const = default;
};

struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
enum TGridState : uint8_t { gsNormal, gsSelecting };

class TCustomGrid : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit TCustomGrid(QWidget* parent = nullptr);
  ~TCustomGrid() override;

  int ColCount() const { return static_cast<int>(FColWidths.size()); }
  void SetColCount(int n);
  int RowCount() const { return FRowCount; }
  void SetRowCount(int n);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int n);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int n);

  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int w);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  // All widths at once (one relayout instead of one per column).
  void SetAllColWidths(const std::vector<int>& widths);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int h);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);

  // The current cell.
  int Col() const { return FCol; }
  int Row() const { return FRow; }
  // First visible scrolling row and column.
  int TopRow() const { return FTopRow; }
  int LeftCol() const { return FLeftCol; }
  void SetTopRow(int row);
  void SetLeftCol(int col);
  // Fully visible scrolling rows and columns.
  int VisibleRowCount() const;
  int VisibleColCount() const;

  // Asks SelectCell, then moves the current cell; with Show scrolls it into view.
  void MoveCurrentCell(int col, int row, bool show);

  // Pixel rectangles in viewport coordinates; empty when not visible.
  QRect CellRect(int col, int row) const;
  QRect BoxRect(int left, int top, int right, int bottom) const;
  // The cell under a viewport point, (-1, -1) outside the cells.
  TGridCoord MouseCoord(int x, int y) const;

  void InvalidateCell(int col, int row);
  void InvalidateRow(int row);
  void InvalidateRect(const TGridRect& cells);
  void InvalidateGrid();

  TGridState GridState() const { return FGridState; }
  bool ThumbTracking() const { return FThumbTracking; }
  void SetThumbTracking(bool on);

  // Platform mouse and key events, fired by the base handlers.
  std::function<void(QObject*, TMouseButton, TShiftState, int, int)> OnMouseDown;
  std::function<void(QObject*, TMouseButton, TShiftState, int, int)> OnMouseUp;
  std::function<void(QObject*, TShiftState, int, int)> OnMouseMove;
  std::function<void(QObject*, int&, TShiftState)> OnKeyDown;
  std::function<void(QObject*, uint8_t&)> OnKeyPress;

  static constexpr int AutoScrollInterval = 60;  // milliseconds

protected:
  // Hooks in the order the platform calls them.
  virtual bool SelectCell(int col, int row) { return true; }
  virtual void TopLeftChanged() {}
  virtual void Paint(QPainter& p, const QRect& clip);
  virtual void DrawCell(QPainter& p, int col, int row, const QRect& rect) {}
  virtual void KeyDown(int& Key, TShiftState Shift);
  virtual void KeyPress(uint8_t& Key);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void DblClick() {}
  // Return true when the wheel turn was used; otherwise the view scrolls.
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, QPoint MousePos) { return false; }
  virtual void TimerTick();       // auto-scroll while selecting
  virtual void Resize() {}
  virtual void ScrollMessage() {}  // after a scroll-bar action moved the view
  virtual void DoEnter() {}
  virtual void DoExit() {}
  // Whether Tab is a key for the control (true) or moves the focus (false).
  virtual bool WantsTabKey() const { return true; }
  // Keys the control handles itself even where a menu command has the same shortcut.
  virtual bool WantsShortcutKey(int Key, TShiftState Shift) const { return false; }

  void StopSelecting();

  // Qt plumbing.
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void timerEvent(QTimerEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  bool focusNextPrevChild(bool next) override;
  bool event(QEvent* e) override;

private:
  int FixedRowsHeight() const;
  int FixedColsWidth() const { return FColLeft[FFixedCols]; }
  int ScrollRowTop(int row) const;    // y of a scrolling row at or below TopRow
  int ColumnX(int col) const;         // x of a column, -1 when scrolled out to the left
  int RowY(int row) const;            // y of a row, -1 when scrolled out above
  int MaxTopRow() const;
  int MaxLeftCol() const;
  void RebuildColumnEdges();
  void ScrollIntoView(int col, int row);
  void UpdateScrollBars();
  void SetTopLeft(int col, int row);

  std::vector<int> FColWidths{64, 64, 64, 64, 64};
  std::vector<int> FColLeft;          // prefix sums of FColWidths, size ColCount + 1
  int FRowCount = 5, FFixedCols = 1, FFixedRows = 1;
  int FDefaultColWidth = 64;
  int FDefaultRowHeight = 24;
  std::map<int, int> FRowHeights;     // rows of non-default height
  int FCol = 1, FRow = 1, FTopRow = 1, FLeftCol = 1;
  TGridState FGridState = gsNormal;
  QBasicTimer FTimer;
  bool FThumbTracking = true;
  bool FUpdatingScrollBars = false;
};

// Windows virtual-key code of a key event, from the physical key where the platform
// tells it, so that Ctrl+Shift+3 is the digit 3 on every keyboard layout.
int VirtualKeyFromEvent(const QKeyEvent& e);
TShiftState ShiftStateFromModifiers(Qt::KeyboardModifiers m, Qt::MouseButtons b = Qt::NoButton);

// Pointer position in global coordinates right now; replaceable in tests.
QPoint QueryCursorPos();
void SetCursorPosSource(std::function<QPoint()> source);
