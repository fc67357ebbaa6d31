#include "platform/Grids.h"
#include "platform/CodePages.h"
#include "platform/Forms.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>

namespace {
std::function<QPoint()> gCursorPosSource;
}

QPoint QueryCursorPos() { return gCursorPosSource ? gCursorPosSource() : QCursor::pos(); }
void SetCursorPosSource(std::function<QPoint()> source) { gCursorPosSource = std::move(source); }

TShiftState ShiftStateFromModifiers(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
  TShiftState s;
  if (m & Qt::ShiftModifier) s.Include(ssShift);
  if (m & Qt::ControlModifier) s.Include(ssCtrl);
  if (m & Qt::AltModifier) s.Include(ssAlt);
  if (b & Qt::LeftButton) s.Include(ssLeft);
  if (b & Qt::RightButton) s.Include(ssRight);
  if (b & Qt::MiddleButton) s.Include(ssMiddle);
  return s;
}

int VirtualKeyFromEvent(const QKeyEvent& e) {
  // X11/evdev scan codes of the main block: digits and letters by position.
  static const char kEvdev[] = {
      0,   0,   '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0,   0,   0,   0,
      'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 0,   0,   0,   0,   'A', 'S',
      'D', 'F', 'G', 'H', 'J', 'K', 'L', 0,   0,   0,   0,   0,   'Z', 'X', 'C', 'V',
      'B', 'N', 'M'};
  const quint32 sc = e.nativeScanCode();
  if (sc >= 8 && sc - 8 < sizeof(kEvdev) && kEvdev[sc - 8] != 0 && !(e.modifiers() & Qt::KeypadModifier))
    return kEvdev[sc - 8];

  const int k = e.key();
  if (e.modifiers() & Qt::KeypadModifier) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return VK_NUMPAD0 + (k - Qt::Key_0);
    if (k == Qt::Key_Plus) return VK_ADD;
    if (k == Qt::Key_Minus) return VK_SUBTRACT;
  }
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return VK_F1 + (k - Qt::Key_F1);
  // Shifted digits arrive as their symbols when no scan code is known (US layout).
  static const struct { int QtKey; int Vk; } kShifted[] = {
      {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
      {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
      {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
      {Qt::Key_QuoteDbl, '2'}, {Qt::Key_section, '3'}, {Qt::Key_Slash, '7'}};
  if (e.modifiers() & Qt::ShiftModifier)
    for (const auto& s : kShifted)
      if (s.QtKey == k) return s.Vk;
  switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Period: return 0xBE;
    default: return 0;
  }
}

// ------------------------------------------------------------------ geometry

TCustomGrid::TCustomGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setAutoFillBackground(false);
  viewport()->setMouseTracking(true);  // pointer shapes follow the pointer with no button held
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int) { ScrollMessage(); });
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, [this](int) { ScrollMessage(); });
  RebuildColumnEdges();
  UpdateScrollBars();
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::RebuildColumnEdges() {
  FColLeft.resize(FColWidths.size() + 1);
  FColLeft[0] = 0;
  for (size_t i = 0; i < FColWidths.size(); ++i) FColLeft[i + 1] = FColLeft[i] + FColWidths[i];
}

void TCustomGrid::SetColCount(int n) {
  n = std::max(n, 1);
  if (n == ColCount()) return;
  FColWidths.resize(n, FDefaultColWidth);
  RebuildColumnEdges();
  FFixedCols = std::min(FFixedCols, n - 1);
  FCol = std::clamp(FCol, FFixedCols, n - 1);
  FLeftCol = std::clamp(FLeftCol, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetRowCount(int n) {
  n = std::max(n, 1);
  if (n == FRowCount) return;
  FRowCount = n;
  FRowHeights.erase(FRowHeights.lower_bound(n), FRowHeights.end());
  FFixedRows = std::min(FFixedRows, n - 1);
  FRow = std::clamp(FRow, FFixedRows, n - 1);
  FTopRow = std::clamp(FTopRow, FFixedRows, std::max(FFixedRows, MaxTopRow()));
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetFixedCols(int n) {
  n = std::clamp(n, 0, ColCount() - 1);
  if (n == FFixedCols) return;
  FFixedCols = n;
  FCol = std::max(FCol, n);
  FLeftCol = std::max(FLeftCol, n);
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetFixedRows(int n) {
  n = std::clamp(n, 0, FRowCount - 1);
  if (n == FFixedRows) return;
  FFixedRows = n;
  FRow = std::max(FRow, n);
  FTopRow = std::max(FTopRow, n);
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetDefaultColWidth(int w) {
  FDefaultColWidth = std::max(w, 0);
  std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
  RebuildColumnEdges();
  UpdateScrollBars();
  viewport()->update();
}

int TCustomGrid::ColWidths(int col) const {
  return col >= 0 && col < ColCount() ? FColWidths[col] : FDefaultColWidth;
}

void TCustomGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= ColCount() || FColWidths[col] == width) return;
  FColWidths[col] = std::max(width, 0);
  RebuildColumnEdges();
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetAllColWidths(const std::vector<int>& widths) {
  const size_t n = std::min(widths.size(), FColWidths.size());
  bool changed = false;
  for (size_t i = 0; i < n; ++i) {
    const int w = std::max(widths[i], 0);
    changed |= FColWidths[i] != w;
    FColWidths[i] = w;
  }
  if (!changed) return;
  RebuildColumnEdges();
  FLeftCol = std::clamp(FLeftCol, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
  UpdateScrollBars();
  viewport()->update();
}

void TCustomGrid::SetDefaultRowHeight(int h) {
  h = std::max(h, 0);
  if (h == FDefaultRowHeight) return;
  FDefaultRowHeight = h;
  // Rows that were set explicitly keep their height; those now equal to the default need no entry.
  for (auto it = FRowHeights.begin(); it != FRowHeights.end();)
    it = it->second == h ? FRowHeights.erase(it) : std::next(it);
  UpdateScrollBars();
  viewport()->update();
}

int TCustomGrid::RowHeights(int row) const {
  const auto it = FRowHeights.find(row);
  return it == FRowHeights.end() ? FDefaultRowHeight : it->second;
}

void TCustomGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= FRowCount) return;
  height = std::max(height, 0);
  if (RowHeights(row) == height) return;
  if (height == FDefaultRowHeight) FRowHeights.erase(row);
  else FRowHeights[row] = height;
  UpdateScrollBars();
  viewport()->update();
}

int TCustomGrid::FixedRowsHeight() const {
  int h = 0;
  for (int r = 0; r < FFixedRows; ++r) h += RowHeights(r);
  return h;
}

// Sum of the heights of rows [TopRow, row): the default height times the count,
// corrected by the few explicit rows in between.
int TCustomGrid::ScrollRowTop(int row) const {
  int64_t y = FixedRowsHeight() + int64_t(row - FTopRow) * FDefaultRowHeight;
  for (auto it = FRowHeights.lower_bound(FTopRow); it != FRowHeights.end() && it->first < row; ++it)
    y += it->second - FDefaultRowHeight;
  return static_cast<int>(std::min<int64_t>(y, INT32_MAX));
}

int TCustomGrid::ColumnX(int col) const {
  if (col < FFixedCols) return FColLeft[col];
  if (col < FLeftCol) return -1;
  return FixedColsWidth() + FColLeft[col] - FColLeft[FLeftCol];
}

int TCustomGrid::RowY(int row) const {
  if (row < FFixedRows) {
    int y = 0;
    for (int r = 0; r < row; ++r) y += RowHeights(r);
    return y;
  }
  if (row < FTopRow) return -1;
  return ScrollRowTop(row);
}

int TCustomGrid::VisibleRowCount() const {
  const int avail = viewport()->height() - FixedRowsHeight();
  if (avail <= 0) return 0;
  if (FRowHeights.lower_bound(FTopRow) == FRowHeights.end()) {
    if (FDefaultRowHeight <= 0) return FRowCount - FTopRow;
    return std::min(avail / FDefaultRowHeight, FRowCount - FTopRow);
  }
  int used = 0, n = 0;
  for (int r = FTopRow; r < FRowCount; ++r, ++n) {
    used += RowHeights(r);
    if (used > avail) break;
  }
  return n;
}

int TCustomGrid::VisibleColCount() const {
  const int avail = viewport()->width() - FixedColsWidth();
  int n = 0;
  for (int c = FLeftCol; c < ColCount() && FColLeft[c + 1] - FColLeft[FLeftCol] <= avail; ++c) ++n;
  return n;
}

int TCustomGrid::MaxTopRow() const {
  // Scrolled fully down, the last row sits at the bottom of the view.
  const int avail = viewport()->height() - FixedRowsHeight();
  const bool uniform = FRowHeights.lower_bound(FFixedRows) == FRowHeights.end();
  if (uniform) {
    if (FDefaultRowHeight <= 0) return FFixedRows;
    const int fit = std::max(avail / FDefaultRowHeight, 1);
    return std::max(FFixedRows, FRowCount - fit);
  }
  int used = 0, top = FRowCount;
  while (top > FFixedRows) {
    const int h = RowHeights(top - 1);
    if (used + h > avail && top < FRowCount) break;
    used += h;
    --top;
  }
  return std::max(FFixedRows, std::min(top, FRowCount - 1));
}

int TCustomGrid::MaxLeftCol() const {
  const int avail = viewport()->width() - FixedColsWidth();
  int left = ColCount();
  while (left > FFixedCols && FColLeft[ColCount()] - FColLeft[left - 1] <= avail) --left;
  return std::max(FFixedCols, std::min(left, ColCount() - 1));
}

QRect TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0 || row >= FRowCount) return {};
  const int x = ColumnX(col), y = RowY(row);
  if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height()) return {};
  return QRect(x, y, FColWidths[col], RowHeights(row));
}

QRect TCustomGrid::BoxRect(int left, int top, int right, int bottom) const {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, ColCount() - 1);
  bottom = std::min(bottom, FRowCount - 1);
  // Clip the range to what can be on screen.
  if (top >= FFixedRows && top < FTopRow) top = FTopRow;
  if (left >= FFixedCols && left < FLeftCol) left = FLeftCol;
  if (bottom >= FFixedRows) bottom = std::min(bottom, FTopRow + VisibleRowCount());
  if (right >= FFixedCols) right = std::min(right, FLeftCol + VisibleColCount());
  QRect r;
  for (int row : {top, bottom})
    for (int col : {left, right}) r |= CellRect(col, row);
  return r;
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  TGridCoord c;
  if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height()) return c;
  // Column: fixed ones first, then the scrolled ones.
  if (x < FixedColsWidth()) {
    c.X = static_cast<int>(std::upper_bound(FColLeft.begin(), FColLeft.begin() + FFixedCols + 1, x) -
                           FColLeft.begin()) - 1;
  } else {
    const int target = x - FixedColsWidth() + FColLeft[FLeftCol];
    const auto it = std::upper_bound(FColLeft.begin() + FLeftCol, FColLeft.end(), target);
    const int col = static_cast<int>(it - FColLeft.begin()) - 1;
    if (col < ColCount()) c.X = col;
  }
  // Row.
  const int fixedH = FixedRowsHeight();
  if (y < fixedH) {
    int top = 0;
    for (int r = 0; r < FFixedRows; ++r) {
      top += RowHeights(r);
      if (y < top) { c.Y = r; break; }
    }
  } else if (FRowHeights.lower_bound(FTopRow) == FRowHeights.end()) {
    if (FDefaultRowHeight > 0) {
      const int row = FTopRow + (y - fixedH) / FDefaultRowHeight;
      if (row < FRowCount) c.Y = row;
    }
  } else {
    int top = fixedH;
    for (int r = FTopRow; r < FRowCount && top <= y; ++r) {
      top += RowHeights(r);
      if (y < top) { c.Y = r; break; }
    }
  }
  if (c.X < 0 || c.Y < 0) return {};
  return c;
}

// ------------------------------------------------------------------ current cell and scrolling

void TCustomGrid::SetTopLeft(int col, int row) {
  col = std::clamp(col, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
  row = std::clamp(row, FFixedRows, std::max(FFixedRows, MaxTopRow()));
  if (col == FLeftCol && row == FTopRow) return;
  FLeftCol = col;
  FTopRow = row;
  UpdateScrollBars();
  viewport()->update();
  TopLeftChanged();
}

void TCustomGrid::SetTopRow(int row) { SetTopLeft(FLeftCol, row); }
void TCustomGrid::SetLeftCol(int col) { SetTopLeft(col, FTopRow); }

void TCustomGrid::ScrollIntoView(int col, int row) {
  int top = FTopRow, left = FLeftCol;
  if (row >= FFixedRows) {
    const int vis = std::max(1, VisibleRowCount());
    if (row < top) top = row;
    else if (row >= top + vis) top = row - vis + 1;
  }
  if (col >= FFixedCols) {
    if (col < left) {
      left = col;
    } else {
      const int avail = viewport()->width() - FixedColsWidth();
      while (left < col && FColLeft[col + 1] - FColLeft[left] > avail) ++left;
    }
  }
  SetTopLeft(left, top);
}

void TCustomGrid::MoveCurrentCell(int col, int row, bool show) {
  col = std::clamp(col, 0, ColCount() - 1);
  row = std::clamp(row, 0, FRowCount - 1);
  if (!SelectCell(col, row)) return;
  if (col != FCol || row != FRow) {
    InvalidateCell(FCol, FRow);
    FCol = col;
    FRow = row;
    InvalidateCell(FCol, FRow);
  }
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

void TCustomGrid::InvalidateRect(const TGridRect& cells) {
  const QRect r = BoxRect(cells.Left, cells.Top, cells.Right, cells.Bottom);
  if (!r.isEmpty()) viewport()->update(r);
}

void TCustomGrid::InvalidateGrid() { viewport()->update(); }

void TCustomGrid::SetThumbTracking(bool on) {
  FThumbTracking = on;
  verticalScrollBar()->setTracking(on);
  horizontalScrollBar()->setTracking(on);
}

void TCustomGrid::UpdateScrollBars() {
  FUpdatingScrollBars = true;
  QScrollBar* v = verticalScrollBar();
  v->setRange(FFixedRows, std::max(FFixedRows, MaxTopRow()));
  v->setPageStep(std::max(1, VisibleRowCount()));
  v->setSingleStep(1);
  v->setValue(FTopRow);
  QScrollBar* h = horizontalScrollBar();
  h->setRange(FFixedCols, std::max(FFixedCols, MaxLeftCol()));
  h->setPageStep(std::max(1, VisibleColCount()));
  h->setSingleStep(1);
  h->setValue(FLeftCol);
  FUpdatingScrollBars = false;
}

void TCustomGrid::scrollContentsBy(int, int) {
  if (FUpdatingScrollBars) return;
  const int row = verticalScrollBar()->value();
  const int col = horizontalScrollBar()->value();
  if (row == FTopRow && col == FLeftCol) return;
  FTopRow = row;
  FLeftCol = col;
  viewport()->update();
  TopLeftChanged();
}

// ------------------------------------------------------------------ painting and events

void TCustomGrid::Paint(QPainter& p, const QRect& clip) {
  const int w = viewport()->width(), h = viewport()->height();
  auto paintRows = [&](int first, int last, int y) {
    for (int row = first; row <= last && row < FRowCount && y < h; ++row) {
      const int rh = RowHeights(row);
      // Rows of no height to the end: nothing more to draw.
      if (rh == 0 && FDefaultRowHeight == 0 && FRowHeights.upper_bound(row) == FRowHeights.end()) break;
      if (rh > 0 && y + rh > clip.top() && y <= clip.bottom()) {
        auto paintCol = [&](int col) {
          const QRect r(ColumnX(col), y, FColWidths[col], rh);
          if (r.width() > 0 && r.intersects(clip)) DrawCell(p, col, row, r);
        };
        for (int col = 0; col < FFixedCols; ++col) paintCol(col);
        for (int col = FLeftCol; col < ColCount() && ColumnX(col) < w; ++col) paintCol(col);
      }
      y += rh;
    }
    return y;
  };
  const int y = paintRows(0, FFixedRows - 1, 0);
  paintRows(FTopRow, FRowCount - 1, y);
}

void TCustomGrid::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  Paint(p, e->rect());
}

void TCustomGrid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  FTopRow = std::clamp(FTopRow, FFixedRows, std::max(FFixedRows, MaxTopRow()));
  FLeftCol = std::clamp(FLeftCol, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
  UpdateScrollBars();
  Resize();
}

void TCustomGrid::KeyDown(int& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TCustomGrid::KeyPress(uint8_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TCustomGrid::keyPressEvent(QKeyEvent* e) {
  int key = VirtualKeyFromEvent(*e);
  const TShiftState shift = ShiftStateFromModifiers(e->modifiers());
  if (key == VK_TAB && !WantsTabKey()) {
    QAbstractScrollArea::keyPressEvent(e);
    return;
  }
  if (key != 0) KeyDown(key, shift);
  // Characters follow their key, as the character message follows the key message. With
  // Ctrl (and not AltGr, which arrives as Ctrl+Alt) letters give their control codes and
  // other keys no character at all, whatever the platform put into the text.
  const bool ctrlOnly = (e->modifiers() & Qt::ControlModifier) && !(e->modifiers() & Qt::AltModifier);
  const QString text = e->text();
  for (QChar ch : text) {
    uint8_t c = 0;
    if (!UnicodeToAnsi(ch.unicode(), c)) continue;
    if (ctrlOnly && c >= 0x20) {
      if ((c >= 'a' && c <= 'z') || (c >= '@' && c <= '_')) c &= 0x1F;
      else continue;
    }
    if (c == 0) continue;
    KeyPress(c);
  }
  e->accept();
}

bool TCustomGrid::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (WantsShortcutKey(VirtualKeyFromEvent(*k), ShiftStateFromModifiers(k->modifiers()))) {
      e->accept();
      return true;
    }
  }
  // Tab and Backtab reach the control instead of moving the focus while it wants them.
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && WantsTabKey()) {
      keyPressEvent(k);
      return true;
    }
  }
  return QAbstractScrollArea::event(e);
}

bool TCustomGrid::focusNextPrevChild(bool next) {
  if (WantsTabKey()) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}

namespace {
bool buttonOf(Qt::MouseButton b, TMouseButton& out) {
  switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
  }
}
}  // namespace

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    const TGridCoord c = MouseCoord(X, Y);
    if (c.X >= FFixedCols && c.Y >= FFixedRows) {
      MoveCurrentCell(c.X, c.Y, true);
      FGridState = gsSelecting;
      FTimer.start(AutoScrollInterval, this);
    }
  }
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  if (FGridState == gsSelecting) {
    const TGridCoord c = MouseCoord(X, Y);
    if (c.X >= FFixedCols && c.Y >= FFixedRows && (c.X != FCol || c.Y != FRow))
      MoveCurrentCell(c.X, c.Y, true);
  }
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FGridState == gsSelecting) {
    MouseMove(Shift, X, Y);
    StopSelecting();
  }
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TCustomGrid::StopSelecting() {
  FTimer.stop();
  FGridState = gsNormal;
}

void TCustomGrid::TimerTick() {
  if (FGridState != gsSelecting) return;
  const QPoint pt = viewport()->mapFromGlobal(QueryCursorPos());
  int dx = 0, dy = 0;
  const int fixedW = FixedColsWidth(), fixedH = FixedRowsHeight();
  const int visRows = VisibleRowCount(), visCols = VisibleColCount();
  const int bottom = visRows > 0 ? ScrollRowTop(FTopRow + visRows) : fixedH;
  const int right = visCols > 0 ? ColumnX(FLeftCol + visCols - 1) + FColWidths[FLeftCol + visCols - 1] : fixedW;
  if (pt.y() < fixedH) dy = -1;
  else if (pt.y() >= bottom) dy = 1;
  if (pt.x() < fixedW) dx = -1;
  else if (pt.x() >= right) dx = 1;
  if (dx == 0 && dy == 0) return;
  const int col = std::clamp(FCol + dx, FFixedCols, ColCount() - 1);
  const int row = std::clamp(FRow + dy, FFixedRows, FRowCount - 1);
  MoveCurrentCell(col, row, true);
}

void TCustomGrid::timerEvent(QTimerEvent* e) {
  if (e->timerId() == FTimer.timerId()) TimerTick();
  else QAbstractScrollArea::timerEvent(e);
}

void TCustomGrid::mousePressEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!buttonOf(e->button(), b)) return;
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  const QPoint p = e->position().toPoint();
  MouseDown(b, ShiftStateFromModifiers(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  MouseMove(ShiftStateFromModifiers(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!buttonOf(e->button(), b)) return;
  const QPoint p = e->position().toPoint();
  MouseUp(b, ShiftStateFromModifiers(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!buttonOf(e->button(), b)) return;
  if (b == mbLeft) DblClick();
  const QPoint p = e->position().toPoint();
  TShiftState s = ShiftStateFromModifiers(e->modifiers(), e->buttons());
  s.Include(ssDouble);
  MouseDown(b, s, p.x(), p.y());
}

void TCustomGrid::wheelEvent(QWheelEvent* e) {
  const int delta = e->angleDelta().y();
  if (delta == 0) return;
  const TShiftState s = ShiftStateFromModifiers(e->modifiers(), e->buttons());
  if (DoMouseWheel(s, delta, e->position().toPoint())) return;
  // A notch scrolls three rows, like most views.
  SetTopRow(FTopRow - delta / 40);
  ScrollMessage();
}

void TCustomGrid::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  DoEnter();
}

void TCustomGrid::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  DoExit();
}
