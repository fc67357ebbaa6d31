// The editor's colour set and the small types its painting is configured with.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <functional>

#include "platform/Graphics.h"

class QObject;
class QPainter;
class TCustomVXHexEditor;

enum TVXHCaretKind : uint8_t { ckFull, ckLeft, ckBottom, ckAuto };

// Called for every cell before the editor draws it. The handler may change the text,
// draw by itself and clear ADefaultDraw to keep the editor from drawing the cell.
using TVXHDrawCellEvent = std::function<void(QObject* Sender, QPainter& ACanvas, int ACol, int ARow,
                                             QString& AWideText, const QRect& ARect, bool& ADefaultDraw)>;

// Twelve colours of one editor. The owner (may be none) is repainted on every change;
// it is the identity of the set, not part of its value: a copy has no owner, and
// assigning copies the colours only.
class TVXHColors {
public:
  explicit TVXHColors(TCustomVXHexEditor* AOwner = nullptr);
  TVXHColors(const TVXHColors& Source);
  TVXHColors& operator=(const TVXHColors& Source);

  // Copies through the setters, Background first, so an owner follows each value.
  void Assign(const TVXHColors& Source);
  bool operator==(const TVXHColors& o) const;

  TCustomVXHexEditor* Owner() const { return FOwner; }

  TColor Offset() const { return FOffset; }
  void SetOffset(TColor value);
  TColor OddColumn() const { return FOddColumn; }
  void SetOddColumn(TColor value);
  TColor EvenColumn() const { return FEvenColumn; }
  void SetEvenColumn(TColor value);
  TColor CursorFrame() const { return FCursorFrame; }
  void SetCursorFrame(TColor value);
  TColor NonFocusCursorFrame() const { return FNonFocusCursorFrame; }
  void SetNonFocusCursorFrame(TColor value);
  TColor Background() const { return FBackground; }
  void SetBackground(TColor value);
  TColor ChangedText() const { return FChangedText; }
  void SetChangedText(TColor value);
  TColor ChangedBackground() const { return FChangedBackground; }
  void SetChangedBackground(TColor value);
  TColor CurrentOffsetBackground() const { return FCurrentOffsetBackground; }
  void SetCurrentOffsetBackground(TColor value);
  TColor OffsetBackGround() const { return FOffsetBackGround; }
  void SetOffsetBackGround(TColor value);
  TColor CurrentOffset() const { return FCurrentOffset; }
  void SetCurrentOffset(TColor value);
  TColor Grid() const { return FGrid; }
  void SetGrid(TColor value);

private:
  void Store(TColor& field, TColor value);

  TCustomVXHexEditor* FOwner = nullptr;
  TColor FOffset = clBlack;
  TColor FOddColumn = clBlue;
  TColor FEvenColumn = clNavy;
  TColor FCursorFrame = clNavy;
  TColor FNonFocusCursorFrame = clAqua;
  TColor FBackground = clWindow;
  TColor FChangedText = clMaroon;
  TColor FChangedBackground = 11075583;  // pale yellow, $A8FFFF
  TColor FCurrentOffsetBackground = clBtnShadow;
  TColor FOffsetBackGround = clBtnFace;
  TColor FCurrentOffset = clBtnHighlight;
  TColor FGrid = clBtnFace;
};

// RGB of the colour with every channel inverted; system colours are resolved first.
TColor InvertColor(TColor c);
// The grey of the same brightness: v = (74 R + 146 G + 36 B) div 256 in all channels.
TColor GrayColor(TColor c);
