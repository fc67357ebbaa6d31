// Painting: the corner, ruler, gutter and data areas, the colours of changed and
// selected bytes, the caret's position frames, bookmark icons, the drop marker, and the
// caret the control draws by itself.
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHexEditorStrings.h"
#include "platform/CodePages.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleHints>
#include <QTimer>

#include <algorithm>
#include <array>
#include <unordered_map>

namespace {

enum TArea { arCorner, arRuler, arGutter, arData };

QRgb Rgb(TColor c) { return ColorToQColor(c).rgb() | 0xFF000000u; }
QRgb InvertRgb(QRgb c) { return c ^ 0x00FFFFFFu; }
QRgb GrayRgb(QRgb c) {
  const int v = (74 * qRed(c) + 146 * qGreen(c) + 36 * qBlue(c)) / 256;
  return qRgb(v, v, v);
}

// The built-in icon strip: for each digit a black-framed box with rounded corners on a
// magenta key colour; the box is yellow left and light grey right for the hex field,
// the other way round for the character field.
QImage MakeBuiltInBookmarkBitmap() {
  static const char* const kDigits[10][5] = {
      {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
      {"###", "..#", "###", "#..", "###"}, {"###", "..#", "###", "..#", "###"},
      {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
      {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."},
      {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"}};
  const QRgb key = qRgb(255, 0, 255), black = qRgb(0, 0, 0);
  const QRgb yellow = qRgb(255, 255, 0), grey = qRgb(192, 192, 192);
  QImage img(200, 10, QImage::Format_RGB32);
  img.fill(key);
  for (int icon = 0; icon < 20; ++icon) {
    const int x0 = icon * 10;
    const bool charField = icon >= 10;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool edgeX = x == 0 || x == 9, edgeY = y == 0 || y == 9;
        if (edgeX && edgeY) continue;  // rounded corner
        QRgb c = (x < 5) != charField ? yellow : grey;
        if (edgeX || edgeY) c = black;
        img.setPixel(x0 + x, y, c);
      }
    const auto& glyph = kDigits[icon % 10];
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 3; ++x)
        if (glyph[y][x] == '#') img.setPixel(x0 + 3 + x, 3 + y, black);
  }
  return img;
}

const QImage& BuiltInBookmarkBitmap() {
  static const QImage img = MakeBuiltInBookmarkBitmap();
  return img;
}

}  // namespace

// ------------------------------------------------------------------ caches

// What survives between frames: the editor font's glyphs pre-rendered as opaque
// CharWidth x LineHeight tiles per colour pair (a cell then costs one image blit instead
// of a text layout), the bookmark icons and the caret's blink timer.
struct TCustomVXHexEditor::TPaintCache {
  struct TGlyphSet {
    QRgb Fg = 0, Bg = 0;
    std::array<QImage, 256> Latin;
    std::unordered_map<char16_t, QImage> Other;
  };

  QFont Font;
  int CharWidth = -1, Height = -1;
  qreal Dpr = 0;
  int Ascent = 0;
  QFontMetrics Metrics{QFont()};
  std::vector<std::unique_ptr<TGlyphSet>> Sets;
  TGlyphSet* Last = nullptr;

  bool IconsValid = false;
  std::array<QImage, 20> Icons;

  QTimer CaretTimer;
  QSize CaretMetrics;  // CharWidth and LineHeight the caret shape was made for

  // Drops the glyphs when the font, the cell size or the device's pixel ratio changed.
  void Prepare(const QFont& font, int cw, int h, qreal dpr) {
    if (cw == CharWidth && h == Height && dpr == Dpr && font == Font) return;
    Font = font;
    CharWidth = cw;
    Height = h;
    Dpr = dpr;
    Metrics = QFontMetrics(font);
    Ascent = Metrics.ascent();
    Sets.clear();
    Last = nullptr;
  }

  TGlyphSet& Set(QRgb fg, QRgb bg) {
    if (Last && Last->Fg == fg && Last->Bg == bg) return *Last;
    for (auto& s : Sets)
      if (s->Fg == fg && s->Bg == bg) return *(Last = s.get());
    // Colour changes leave stale sets behind; keep their number bounded.
    if (Sets.size() >= 32) Sets.erase(Sets.begin(), Sets.begin() + 16);
    Sets.push_back(std::make_unique<TGlyphSet>());
    Last = Sets.back().get();
    Last->Fg = fg;
    Last->Bg = bg;
    return *Last;
  }

  const QImage& Glyph(char16_t ch, QRgb fg, QRgb bg) {
    TGlyphSet& s = Set(fg, bg);
    QImage* tile;
    if (ch < 256) {
      tile = &s.Latin[ch];
    } else {
      // 16-bit text can reach any of 65536 characters; keep the memory bounded.
      if (s.Other.size() >= 4096 && !s.Other.count(ch)) s.Other.clear();
      tile = &s.Other[ch];
    }
    if (tile->isNull()) *tile = Render(ch, fg, bg);
    return *tile;
  }

  QImage Render(char16_t ch, QRgb fg, QRgb bg) const {
    QImage img(qMax(1, qRound(CharWidth * Dpr)), qMax(1, qRound(Height * Dpr)), QImage::Format_RGB32);
    img.setDevicePixelRatio(Dpr);
    img.fill(bg);
    QPainter p(&img);
    p.setFont(Font);
    p.setPen(QColor::fromRgb(fg));
    p.drawText(QPoint(0, Ascent), QString(QChar(ch)));
    return img;
  }
};

// State of one paint: resolved colours and the caret's cells.
struct TCustomVXHexEditor::TPaintContext {
  QPainter& P;
  TPaintCache& Cache;
  QRegion Region;
  QRect Bounds;
  bool Focused = false;
  bool Handler = false;
  int Size = 0;
  const uint8_t* Data = nullptr;
  int Cw = 0;
  int CaretCol = -1, CaretRow = -1, CounterCol = -1;
  bool HasSelection = false;
  QRgb Erase, Background, ChangedText, ChangedBackground, Offset, OffsetBackGround, CurrentOffset,
      CurrentOffsetBackground, OddColumn, EvenColumn, FontColor, Grid, CursorFrame, NonFocusCursorFrame;

  TPaintContext(QPainter& p, TPaintCache& cache) : P(p), Cache(cache) {}

  // The character a data cell shows for the byte at Position (< size).
  static char16_t DataChar(const TCustomVXHexEditor& ed, const uint8_t* data, int size, int ACol, int Position,
                           bool InCharField) {
    const uint8_t b = data[Position];
    if (!InCharField) {
      const bool high = (ACol - 2) % 2 == ed.FSwapNibbles;
      return static_cast<char16_t>(ed.HexDigit(high ? b >> 4 : b & 15).unicode());
    }
    if (ed.FUnicodeChars) {
      const uint8_t b1 = Position + 1 < size ? data[Position + 1] : 0;
      uint16_t w = static_cast<uint16_t>(b | (b1 << 8));
      if (ed.FUnicodeBigEndian) w = static_cast<uint16_t>((w >> 8) | (w << 8));
      return w < 32 ? AnsiToUnicode(ed.FMaskChar) : static_cast<char16_t>(w);
    }
    return AnsiToUnicode(ed.DataByteToChar(b));
  }

  // The text of the ruler cell above a column.
  static QString RulerText(const TCustomVXHexEditor& ed, int ACol) {
    const int h = ed.HexColumnCount();
    if (ACol == h + 2) return QStringLiteral("  ");
    if (ACol > h + 2) {
      const int c = ACol - h - 3;
      const int eru = ed.FEffectiveRulerUnit;
      if (ed.FUnicodeChars) {
        // One 16-bit character per column; a ruler unit of one byte counts every column.
        const int per = std::max(1, eru / 2);
        return QString(ed.HexDigit((c / per) % 16));
      }
      if (c % eru == eru - 1) return QString(ed.HexDigit((c / eru) % 16));
      return QStringLiteral(" ");
    }
    const int k = ACol - 2;
    if (k >= 0 && k < ed.FRulerText.size()) return QString(ed.FRulerText[k]);
    return QString();
  }
};

// One cell on its way to the canvas.
struct TCustomVXHexEditor::TCellRecord {
  int Col = 0, Row = 0;
  QRect Rect;
  bool Single = false;  // the text is the one character Ch (the common case, no QString built)
  char16_t Ch = 0;
  QString Text;
  bool Gutter = false;
  QRgb Brush = 0, TextColor = 0, TextBackground = 0;
  int Position = -1;
  bool Changed = false, OddGroup = false;
};

TCustomVXHexEditor::TPaintCache& TCustomVXHexEditor::PaintCache() {
  if (!FPaintCache) {
    FPaintCache = std::make_shared<TPaintCache>();
    FPaintCache->CaretTimer.setTimerType(Qt::CoarseTimer);
    QObject::connect(&FPaintCache->CaretTimer, &QTimer::timeout, this, [this] { CaretBlinkTick(); });
  }
  return *FPaintCache;
}

// ------------------------------------------------------------------ properties

void TCustomVXHexEditor::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  InvalidateGrid();
}

void TCustomVXHexEditor::SetDrawGridLines(bool value) {
  if (value == FDrawGridLines) return;
  FDrawGridLines = value;
  InvalidateGrid();
}

void TCustomVXHexEditor::SetFocusFrame(bool value) {
  if (value == FFocusFrame) return;
  FFocusFrame = value;
  InvalidateGrid();
}

void TCustomVXHexEditor::SetHideSelection(bool value) {
  if (value == FHideSelection) return;
  FHideSelection = value;
  if (!IsFocused() && FSelLow >= 0) InvalidateGrid();
}

void TCustomVXHexEditor::SetGraySelectionIfNotFocused(bool value) {
  if (value == FGraySelectionIfNotFocused) return;
  FGraySelectionIfNotFocused = value;
  if (!IsFocused() && FSelLow >= 0 && !FHideSelection) InvalidateGrid();
}

void TCustomVXHexEditor::SetShowPositionIfNotFocused(bool value) {
  if (value == FShowPositionIfNotFocused) return;
  FShowPositionIfNotFocused = value;
  InvalidateGrid();
}

void TCustomVXHexEditor::SetSwapNibbles(bool value) {
  const int v = value ? 1 : 0;
  if (v == FSwapNibbles) return;
  FSwapNibbles = v;
  InvalidateGrid();
}

void TCustomVXHexEditor::SetCaretKind(TVXHCaretKind value) {
  if (value == FCaretKind) return;
  FCaretKind = value;
  if (IsFocused()) {
    CreateCaretShape();
    SetCaretPos(QPoint(-50, -50));  // the next paint puts it on the caret cell
    InvalidateGrid();
  }
}

const QImage& TCustomVXHexEditor::BookmarkBitmap() const {
  return FBookmarkBitmap.isNull() ? BuiltInBookmarkBitmap() : FBookmarkBitmap;
}

void TCustomVXHexEditor::SetBookmarkBitmap(const QImage& value) {
  if (!value.isNull() && (value.width() != 200 || value.height() != 10))
    throw EVXHexEditor(VXHStrings::InvalidBookmarkBitmap);
  const QImage copy = value.isNull() ? QImage() : value.convertToFormat(QImage::Format_RGB32);
  if (copy.isNull() ? FBookmarkBitmap.isNull() : copy == FBookmarkBitmap) return;
  FBookmarkBitmap = copy;
  PaintCache().IconsValid = false;
  InvalidateRect({0, TopRow(), 0, TopRow() + VisibleRowCount()});
}

QString TCustomVXHexEditor::CellText(int ACol, int ARow) {
  if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) return QString();
  if (ARow == 0) return ACol < 2 ? QString() : TPaintContext::RulerText(*this, ACol);
  if (ARow == 1) return QString();
  if (ACol == 0) return GetOffsetText(static_cast<uint32_t>(ARow - 2) * static_cast<uint32_t>(FBytesPerRow));
  const int h = HexColumnCount();
  if (ACol == 1 || ACol == h + 2) return QString();
  const bool saved = FLastFieldIsChar;
  const int pos = CellToPosition(ACol, ARow);
  FLastFieldIsChar = saved;
  if (pos >= DataSize()) return QString();
  return QString(QChar(TPaintContext::DataChar(*this, DataPointer(), DataSize(), ACol, pos, ACol > h + 2)));
}

// ------------------------------------------------------------------ caret

void TCustomVXHexEditor::CreateCaretShape() {
  const QRect old = CaretRect();
  if (!old.isEmpty()) viewport()->update(old);
  const int cw = std::max(FCharWidth, 1);
  const int h = std::max(FLineHeight - 2, 1);
  TVXHCaretKind kind = FCaretKind;
  if (kind == ckAuto) kind = FInsertMode ? ckLeft : ckFull;
  switch (kind) {
    case ckLeft: FCaretShape = QRect(0, 0, std::min(2, cw), h); break;
    case ckBottom: FCaretShape = QRect(0, std::max(h - 2, 0), cw, std::min(2, h)); break;
    default: FCaretShape = QRect(0, 0, cw, h); break;
  }
  FCaretCreated = true;
  FCaretBlinkOn = true;
  TPaintCache& cache = PaintCache();
  cache.CaretMetrics = QSize(FCharWidth, FLineHeight);
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  // The flash time is a whole on-off cycle; no time means a steady caret.
  if (flash > 0) cache.CaretTimer.start(std::max(flash / 2, 50));
  else cache.CaretTimer.stop();
  const QRect now = CaretRect();
  if (!now.isEmpty()) viewport()->update(now);
}

void TCustomVXHexEditor::DestroyCaret() {
  const QRect old = CaretRect();
  if (!old.isEmpty()) viewport()->update(old);
  FCaretCreated = false;
  FCaretBlinkOn = false;
  if (FPaintCache) FPaintCache->CaretTimer.stop();
}

QRect TCustomVXHexEditor::CaretRect() const {
  if (!FCaretCreated || FCaretPos == QPoint(-50, -50)) return {};
  return FCaretShape.translated(FCaretPos);
}

void TCustomVXHexEditor::SetCaretPos(QPoint pos) {
  if (pos == FCaretPos) return;
  const QRect old = CaretRect();
  if (!old.isEmpty()) viewport()->update(old);
  FCaretPos = pos;
  if (!FCaretCreated) return;
  // A moved caret shows at once and starts a fresh blink cycle.
  FCaretBlinkOn = true;
  if (FPaintCache && FPaintCache->CaretTimer.isActive()) FPaintCache->CaretTimer.start();
  const QRect now = CaretRect();
  if (!now.isEmpty()) viewport()->update(now);
}

void TCustomVXHexEditor::PlaceCaret() {
  const QRect r = CellRect(Col(), Row());
  SetCaretPos(r.isEmpty() ? QPoint(-50, -50) : r.topLeft());
}

void TCustomVXHexEditor::CaretBlinkTick() {
  if (!FCaretCreated) return;
  if (!IsFocused()) {
    // Nothing to blink for; focus handling creates the caret again.
    FPaintCache->CaretTimer.stop();
    FCaretBlinkOn = true;
  } else {
    FCaretBlinkOn = !FCaretBlinkOn;
  }
  const QRect r = CaretRect();
  if (!r.isEmpty()) viewport()->update(r);
}

// ------------------------------------------------------------------ painting

void TCustomVXHexEditor::paintEvent(QPaintEvent* e) {
  // The exact region, not only its bounding box: a caret move repaints two small cells
  // that may lie far apart.
  FPaintRegion = e->region();
  TCustomGrid::paintEvent(e);
  FPaintRegion = QRegion();
}

void TCustomVXHexEditor::Paint(QPainter& p, const QRect& clip) {
  // CellToPosition records the last field for the editing rules; painting must not.
  struct FieldGuard {
    bool& Field;
    bool Saved;
    ~FieldGuard() { Field = Saved; }
  } guard{FLastFieldIsChar, FLastFieldIsChar};

  TPaintCache& cache = PaintCache();
  cache.Prepare(FFont.ToQFont(), std::max(FCharWidth, 1), std::max(FLineHeight, 1), p.device()->devicePixelRatioF());
  if (!cache.IconsValid) {
    const QImage& strip = BookmarkBitmap();
    const QRgb key = strip.pixel(0, 0) & 0x00FFFFFFu;
    for (int i = 0; i < 20; ++i) {
      QImage icon = strip.copy(i * 10, 0, 10, 10).convertToFormat(QImage::Format_ARGB32);
      for (int y = 0; y < 10; ++y) {
        auto* line = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < 10; ++x)
          if ((line[x] & 0x00FFFFFFu) == key) line[x] = 0;
      }
      cache.Icons[i] = icon.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    cache.IconsValid = true;
  }

  TPaintContext ctx(p, cache);
  ctx.Region = FPaintRegion.isEmpty() ? QRegion(clip) : FPaintRegion;
  ctx.Bounds = ctx.Region.boundingRect();
  ctx.Focused = IsFocused();
  ctx.Handler = static_cast<bool>(OnDrawCell);
  ctx.Size = DataSize();
  ctx.Data = DataPointer();
  ctx.Cw = std::max(FCharWidth, 1);
  ctx.CaretCol = Col();
  ctx.CaretRow = Row();
  ctx.CounterCol = OtherFieldColumn(Col());
  ctx.HasSelection = FSelLow >= 0 && FSelHigh >= 0;
  const TVXHColors& c = FColors;
  ctx.Erase = Rgb(FColor);
  ctx.Background = Rgb(c.Background());
  ctx.ChangedText = Rgb(c.ChangedText());
  ctx.ChangedBackground = Rgb(c.ChangedBackground());
  ctx.Offset = Rgb(c.Offset());
  ctx.OffsetBackGround = Rgb(c.OffsetBackGround());
  ctx.CurrentOffset = Rgb(c.CurrentOffset());
  ctx.CurrentOffsetBackground = Rgb(c.CurrentOffsetBackground());
  ctx.OddColumn = Rgb(c.OddColumn());
  ctx.EvenColumn = Rgb(c.EvenColumn());
  ctx.FontColor = Rgb(FFont.Color());
  ctx.Grid = Rgb(c.Grid());
  ctx.CursorFrame = Rgb(c.CursorFrame());
  ctx.NonFocusCursorFrame = Rgb(c.NonFocusCursorFrame());

  // The erased background, as a double-buffered window starts its paint.
  for (const QRect& r : ctx.Region) p.fillRect(r, QColor::fromRgb(ctx.Erase));

  const int w = viewport()->width(), h = viewport()->height();
  const int w0 = ColWidths(0);
  const int fixedX = w0 + ColWidths(1);
  const int fixedY = RowHeights(0) + RowHeights(1);

  if (FShowRuler) {
    DrawCells(ctx, arCorner, 0, 0, 0, 0, fixedX, fixedY);
    DrawCells(ctx, arRuler, LeftCol(), 0, fixedX, 0, w, fixedY);
  }
  DrawCells(ctx, arGutter, 0, TopRow(), 0, fixedY, fixedX, h);
  DrawCells(ctx, arData, LeftCol(), TopRow(), fixedX, fixedY, w, h);

  // Where the grid ends.
  int gridRight = fixedX;
  for (int col = LeftCol(); col < ColCount() && gridRight < w; ++col) gridRight += ColWidths(col);
  int gridBottom = fixedY;
  if (DefaultRowHeight() > 0)
    for (int row = TopRow(); row < RowCount() && gridBottom < h; ++row) gridBottom += RowHeights(row);

  auto fill = [&p](int x, int y, int cx, int cy, QRgb color) {
    if (cx > 0 && cy > 0) p.fillRect(QRect(x, y, cx, cy), QColor::fromRgb(color));
  };
  if (gridRight < w) {
    fill(gridRight, 0, w - gridRight, gridBottom, ctx.Erase);
    fill(gridRight, 0, w - gridRight, fixedY, ctx.OffsetBackGround);  // the ruler band runs on
  }
  if (gridBottom < h) {
    fill(w0 + 1, gridBottom, w - w0 - 1, h - gridBottom, ctx.Erase);
    fill(0, gridBottom, w0, h - gridBottom, ctx.OffsetBackGround);  // the gutter band runs on
  }
  if (w0 > 0) {
    if (FDrawGutter3D) {
      fill(w0, fixedY, 1, h - fixedY, Rgb(clBtnShadow));
      fill(w0 - 1, fixedY, 1, h - fixedY, Rgb(clBtnHighlight));
    } else if (FDrawGridLines) {
      fill(w0 - 1, fixedY, 1, h - fixedY, ctx.Grid);
    }
  }
  if (FShowRuler) {
    const int x = std::max(w0 - 1, 0);
    if (FDrawGutter3D) {
      fill(x, fixedY - 1, w - x, 1, Rgb(clBtnShadow));
      fill(x, fixedY - 2, w - x, 1, Rgb(clBtnHighlight));
    } else if (FDrawGridLines) {
      fill(x, fixedY - 1, w - x, 1, ctx.Grid);
    }
  }

  // The caret inverts what lies below it; only inside the repainted region, where the
  // pixels below are fresh (elsewhere they still carry the last inversion).
  // A new font (zooming, for one) needs a caret of the new cell size.
  if (FCaretCreated && cache.CaretMetrics != QSize(FCharWidth, FLineHeight)) CreateCaretShape();
  if (FCaretCreated && FCaretBlinkOn && ctx.Focused) {
    const QRect cr = CaretRect();
    if (!cr.isEmpty() && ctx.Region.intersects(cr)) {
      p.save();
      p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      for (const QRect& r : ctx.Region.intersected(cr)) p.fillRect(r, Qt::white);
      p.restore();
    }
  }
}

void TCustomVXHexEditor::DrawCells(TPaintContext& ctx, int area, int firstCol, int firstRow, int left, int top,
                                   int right, int bottom) {
  const int rowCount = RowCount(), colCount = ColCount();
  const int h = HexColumnCount();
  int y = top;
  for (int row = firstRow; y < bottom && row < rowCount; ++row) {
    const int rh = RowHeights(row);
    if (rh == 0 && row >= 2 && DefaultRowHeight() <= 0) break;  // not laid out yet
    if (rh > 0 && y <= ctx.Bounds.bottom() && y + rh > ctx.Bounds.top()) {
      int x = left;
      for (int col = firstCol; x < right && col < colCount; ++col) {
        const int cw = ColWidths(col);
        if (x > ctx.Bounds.right()) break;
        const QRect r(x, y, cw, rh);
        x += cw;
        if (cw <= 0 || r.right() < ctx.Bounds.left() || !ctx.Region.intersects(r)) continue;
        switch (area) {
          case arCorner:
            ctx.P.fillRect(r, QColor::fromRgb(ctx.OffsetBackGround));
            break;
          case arRuler:
            if (row == 0) DrawRulerCell(ctx, col, r);
            break;
          case arGutter:
            if (col == 0) DrawGutterCell(ctx, row, r);
            else if (FDrawGridLines) ctx.P.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor::fromRgb(ctx.Grid));
            break;
          default:
            if (col < h + 2) {
              DrawDataCell(ctx, col, row, r, false);
            } else if (col > h + 2) {
              DrawDataCell(ctx, col, row, r, true);
            } else if (FDrawGridLines) {
              ctx.P.fillRect(QRect(r.left(), r.top(), 1, rh - 1), QColor::fromRgb(ctx.Grid));
            }
            if (FDrawGridLines) ctx.P.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor::fromRgb(ctx.Grid));
            break;
        }
      }
    }
    y += rh;
  }
}

void TCustomVXHexEditor::DrawDataCell(TPaintContext& ctx, int ACol, int ARow, const QRect& ARect,
                                      bool InCharField) {
  const bool caretCell = ACol == ctx.CaretCol && ARow == ctx.CaretRow;
  if (caretCell && ctx.Focused) SetCaretPos(ARect.topLeft());

  TCellRecord cell;
  cell.Col = ACol;
  cell.Row = ARow;
  cell.Rect = ARect;
  cell.Brush = ctx.Background;
  const int pos = CellToPosition(ACol, ARow);
  cell.Position = pos;
  if (pos < ctx.Size) {
    cell.Single = true;
    cell.Ch = TPaintContext::DataChar(*this, ctx.Data, ctx.Size, ACol, pos, InCharField);
    cell.Changed = HasChanged(pos) || (InCharField && FUnicodeChars && HasChanged(pos + 1));
    cell.OddGroup = ((ACol - 2) / (2 * FBytesPerColumn)) % 2 == 0;
    if (cell.Changed) {
      cell.TextColor = ctx.ChangedText;
      cell.TextBackground = ctx.ChangedBackground;
    } else {
      cell.TextBackground = ctx.Background;
      cell.TextColor = InCharField ? ctx.FontColor : cell.OddGroup ? ctx.OddColumn : ctx.EvenColumn;
    }
    if (ctx.HasSelection && pos >= FSelLow && pos <= FSelHigh && (!FHideSelection || ctx.Focused)) {
      cell.TextBackground = InvertRgb(cell.TextBackground);
      cell.TextColor = InvertRgb(cell.TextColor);
      // The gap after a selected byte belongs to the selection up to its last byte only.
      const bool lastByte = pos == FSelHigh || (InCharField && FUnicodeChars && pos + 1 == FSelHigh);
      if (ACol != ColCount() - 1 && ACol != HexColumnCount() + 1 && !lastByte) cell.Brush = InvertRgb(cell.Brush);
      if (!ctx.Focused && FGraySelectionIfNotFocused) {
        cell.TextBackground = GrayRgb(cell.TextBackground);
        cell.TextColor = GrayRgb(cell.TextColor);
      }
    }
    DrawCellText(ctx, cell);
  }

  if (ctx.Focused && ARow == ctx.CaretRow && ACol == ctx.CounterCol)
    DrawFrame(ctx, ARect, FFocusFrame ? -1 : FColors.CursorFrame());
  if (FShowPositionIfNotFocused && !ctx.Focused && caretCell)
    DrawFrame(ctx, ARect, FFocusFrame ? -1 : FColors.NonFocusCursorFrame());
  if (FDrawGridLines && ACol == ColCount() - 1)
    ctx.P.fillRect(QRect(ARect.right(), ARect.top(), 1, ARect.height() - 1), QColor::fromRgb(ctx.Grid));
}

void TCustomVXHexEditor::DrawGutterCell(TPaintContext& ctx, int ARow, const QRect& ARect) {
  TCellRecord cell;
  cell.Col = 0;
  cell.Row = ARow;
  cell.Rect = ARect;
  cell.Gutter = true;
  const bool caretRow = ARow == ctx.CaretRow;
  cell.Brush = cell.TextBackground = caretRow ? ctx.CurrentOffsetBackground : ctx.OffsetBackGround;
  cell.TextColor = caretRow ? ctx.CurrentOffset : ctx.Offset;
  cell.Text = GetOffsetText(static_cast<uint32_t>(ARow - 2) * static_cast<uint32_t>(FBytesPerRow));
  DrawCellText(ctx, cell);
  // In index order, so a later bookmark in the same row lies on top.
  for (int i = 0; i < 10; ++i) {
    const TVXHBookmarkEntry& b = FBookmarks[i];
    if (b.Position < 0 || b.Position / FBytesPerRow + 2 != ARow) continue;
    ctx.P.drawImage(QPoint(ARect.left() + 3, ARect.top() + (ARect.height() - 10) / 2),
                    ctx.Cache.Icons[i + (b.InCharField ? 10 : 0)]);
  }
}

void TCustomVXHexEditor::DrawRulerCell(TPaintContext& ctx, int ACol, const QRect& ARect) {
  TCellRecord cell;
  cell.Col = ACol;
  cell.Row = 0;
  cell.Rect = ARect;
  cell.Text = TPaintContext::RulerText(*this, ACol);
  if (cell.Text.size() == 1) {
    cell.Single = true;
    cell.Ch = cell.Text[0].unicode();
  }
  cell.Brush = ctx.OffsetBackGround;
  const bool caretCol = ACol == ctx.CaretCol;
  cell.TextBackground = caretCol ? ctx.CurrentOffsetBackground : ctx.OffsetBackGround;
  cell.TextColor = caretCol ? ctx.CurrentOffset : ctx.Offset;
  DrawCellText(ctx, cell);
}

void TCustomVXHexEditor::DrawCellText(TPaintContext& ctx, TCellRecord& cell) {
  QPainter& p = ctx.P;
  const QRect& r = cell.Rect;
  const QRect textRect = cell.Gutter ? r : QRect(r.left(), r.top(), ctx.Cw, r.height());
  bool defaultDraw = true;
  if (ctx.Handler) {
    QString text = cell.Single ? QString(QChar(cell.Ch)) : cell.Text;
    const QString before = text;
    p.save();
    p.setBrush(QColor::fromRgb(cell.Brush));
    p.setPen(QColor::fromRgb(cell.TextColor));
    p.setBackground(QColor::fromRgb(cell.TextBackground));
    p.setFont(ctx.Cache.Font);
    {
      struct Restore {
        QPainter& P;
        ~Restore() { P.restore(); }
      } restore{p};
      OnDrawCell(this, p, cell.Col, cell.Row, text, textRect, defaultDraw);
    }
    if (text != before) {
      cell.Single = text.size() == 1 && !cell.Gutter;
      cell.Ch = cell.Single ? text[0].unicode() : 0;
      cell.Text = text;
    }
  }

  if (defaultDraw) {
    // Without a handler the erased background already is the data cells' usual brush.
    if (ctx.Handler || cell.Brush != ctx.Erase) p.fillRect(r, QColor::fromRgb(cell.Brush));
    if (cell.Single) {
      const QImage& tile = ctx.Cache.Glyph(cell.Ch, cell.TextColor, cell.TextBackground);
      const int th = ctx.Cache.Height;
      if (th <= textRect.height()) {
        p.drawImage(textRect.topLeft(), tile);
        if (th < textRect.height())
          p.fillRect(QRect(textRect.left(), textRect.top() + th, textRect.width(), textRect.height() - th),
                     QColor::fromRgb(cell.TextBackground));
      } else {
        const qreal dpr = tile.devicePixelRatio();
        p.drawImage(QRectF(textRect), tile, QRectF(0, 0, textRect.width() * dpr, textRect.height() * dpr));
      }
    } else {
      p.fillRect(textRect, QColor::fromRgb(cell.TextBackground));
      if (!cell.Text.trimmed().isEmpty()) {
        const QFontMetrics& fm = ctx.Cache.Metrics;
        const int x = cell.Gutter ? r.right() + 1 - fm.horizontalAdvance(cell.Text) - 4 : textRect.left();
        const bool fits = x >= textRect.left() && ctx.Cache.Height <= textRect.height() &&
                          (cell.Gutter || fm.horizontalAdvance(cell.Text) <= textRect.width());
        p.save();
        if (!fits) p.setClipRect(textRect, Qt::IntersectClip);
        p.setFont(ctx.Cache.Font);
        p.setPen(QColor::fromRgb(cell.TextColor));
        p.drawText(QPoint(x, textRect.top() + ctx.Cache.Ascent), cell.Text);
        p.restore();
      }
    }
  }

  if (FDropVisible && cell.Col == FDropCol && cell.Row == FDropRow)
    p.fillRect(QRect(r.left(), r.top() + 1, 2, std::max(r.height() - 2, 0)), QColor::fromRgb(cell.TextColor));
}

// The frame over the first character of a cell: a dotted inverting focus rectangle, or
// a one-pixel outline in OutlineColor (-1 asks for the focus rectangle).
void TCustomVXHexEditor::DrawFrame(TPaintContext& ctx, const QRect& ARect, TColor OutlineColor) {
  const QRect f(ARect.left(), ARect.top(), ctx.Cw, ARect.height() - 1);
  if (f.width() <= 0 || f.height() <= 0) return;
  QPainter& p = ctx.P;
  if (OutlineColor != -1) {
    const QColor c = QColor::fromRgb(Rgb(OutlineColor));
    p.fillRect(QRect(f.left(), f.top(), f.width(), 1), c);
    p.fillRect(QRect(f.left(), f.bottom(), f.width(), 1), c);
    p.fillRect(QRect(f.left(), f.top(), 1, f.height()), c);
    p.fillRect(QRect(f.right(), f.top(), 1, f.height()), c);
    return;
  }
  p.save();
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  auto dot = [&](int x, int y) {
    if (((x - f.left()) + (y - f.top())) % 2 == 0) p.fillRect(QRect(x, y, 1, 1), Qt::white);
  };
  // Each border pixel once: a pixel inverted twice would vanish.
  for (int x = f.left(); x <= f.right(); ++x) {
    dot(x, f.top());
    if (f.bottom() != f.top()) dot(x, f.bottom());
  }
  for (int y = f.top() + 1; y < f.bottom(); ++y) {
    dot(f.left(), y);
    if (f.right() != f.left()) dot(f.right(), y);
  }
  p.restore();
}
