// Colour, font, shift-state and cursor value types in the form the editor expects.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>

// $00BBGGRR; a high byte of $80 names a system colour by its index in the low byte.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1,
                 clActiveCaption = clSystemColor | 2, clInactiveCaption = clSystemColor | 3,
                 clMenu = clSystemColor | 4, clWindow = clSystemColor | 5, clWindowFrame = clSystemColor | 6,
                 clMenuText = clSystemColor | 7, clWindowText = clSystemColor | 8,
                 clCaptionText = clSystemColor | 9, clActiveBorder = clSystemColor | 10,
                 clInactiveBorder = clSystemColor | 11, clAppWorkSpace = clSystemColor | 12,
                 clHighlight = clSystemColor | 13, clHighlightText = clSystemColor | 14,
                 clBtnFace = clSystemColor | 15, clBtnShadow = clSystemColor | 16,
                 clGrayText = clSystemColor | 17, clBtnText = clSystemColor | 18,
                 clInactiveCaptionText = clSystemColor | 19, clBtnHighlight = clSystemColor | 20,
                 cl3DDkShadow = clSystemColor | 21, cl3DLight = clSystemColor | 22,
                 clInfoText = clSystemColor | 23, clInfoBk = clSystemColor | 24;

// Resolves system colours through the application palette.
QColor ColorToQColor(TColor c);
TColor QColorToColor(const QColor& c);
inline TColor RGBToColor(int r, int g, int b) { return (b << 16) | (g << 8) | r; }

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A small typed set over an enumeration with at most 32 values.
template <typename E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) { for (E e : items) FBits |= bit(e); }
  constexpr bool Contains(E e) const { return (FBits & bit(e)) != 0; }
  constexpr TSet& Include(E e) { FBits |= bit(e); return *this; }
  constexpr TSet& Exclude(E e) { FBits &= ~bit(e); return *this; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool operator==(const TSet&) const = default;
  constexpr TSet operator+(const TSet& o) const { TSet r; r.FBits = FBits | o.FBits; return r; }
  constexpr TSet operator-(const TSet& o) const { TSet r; r.FBits = FBits & ~o.FBits; return r; }
  constexpr TSet operator*(const TSet& o) const { TSet r; r.FBits = FBits & o.FBits; return r; }
private:
  static constexpr uint32_t bit(E e) { return 1u << static_cast<unsigned>(e); }
  uint32_t FBits = 0;
};

using TFontStyles = TSet<TFontStyle>;

enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

// Screen resolution used to convert between point sizes and pixel heights.
int ScreenPixelsPerInch();

// Font as the editor sees it: Height < 0 is the character height in pixels,
// Size the height in points; setting either recomputes the other.
class TFont {
public:
  TFont();
  QString Name() const { return FName; }
  void SetName(const QString& n) { FName = n; }
  int Height() const { return FHeight; }
  void SetHeight(int h) { FHeight = h; }
  int Size() const;
  void SetSize(int points);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch p) { FPitch = p; }
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles s) { FStyle = s; }
  TColor Color() const { return FColor; }
  void SetColor(TColor c) { FColor = c; }
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int ppi) { FPixelsPerInch = ppi > 0 ? ppi : 96; }

  QFont ToQFont() const;
  bool operator==(const TFont&) const = default;

private:
  QString FName = QStringLiteral("MS Sans Serif");
  int FHeight = -11;
  TFontPitch FPitch = fpDefault;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  int FPixelsPerInch = 96;
};

enum TCursor : int16_t {
  crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
  crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
  crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19,
  crHelp = -20, crHandPoint = -21, crSizeAll = -22
};
Qt::CursorShape CursorToShape(TCursor c);
