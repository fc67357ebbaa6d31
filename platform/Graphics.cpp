#include "platform/Graphics.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include <cmath>

QColor ColorToQColor(TColor c) {
  const uint32_t v = static_cast<uint32_t>(c);
  if ((v & 0xFF000000u) == 0x80000000u) {
    const QPalette pal = QGuiApplication::palette();
    switch (v & 0xFF) {
      case 0: return pal.color(QPalette::Button);                       // scroll bar
      case 1: return pal.color(QPalette::Dark);                         // desktop
      case 2: return pal.color(QPalette::Active, QPalette::Highlight);  // captions
      case 3: return pal.color(QPalette::Inactive, QPalette::Highlight);
      case 4: return pal.color(QPalette::Window);                       // menu
      case 5: return pal.color(QPalette::Base);                         // window
      case 6: return pal.color(QPalette::Shadow);
      case 7: return pal.color(QPalette::WindowText);
      case 8: return pal.color(QPalette::Text);
      case 9: return pal.color(QPalette::Active, QPalette::HighlightedText);
      case 10:
      case 11: return pal.color(QPalette::Button);
      case 12: return pal.color(QPalette::Dark);                        // application work space
      case 13: return pal.color(QPalette::Highlight);
      case 14: return pal.color(QPalette::HighlightedText);
      case 15: return pal.color(QPalette::Button);                      // button face
      case 16: return pal.color(QPalette::Mid);                         // button shadow
      case 17: return pal.color(QPalette::Disabled, QPalette::Text);
      case 18: return pal.color(QPalette::ButtonText);
      case 19: return pal.color(QPalette::Inactive, QPalette::HighlightedText);
      case 20: return pal.color(QPalette::Light);                       // button highlight
      case 21: return pal.color(QPalette::Shadow);
      case 22: return pal.color(QPalette::Midlight);
      case 23: return pal.color(QPalette::ToolTipText);
      case 24: return pal.color(QPalette::ToolTipBase);
      default: return pal.color(QPalette::Window);
    }
  }
  return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

TColor QColorToColor(const QColor& c) { return RGBToColor(c.red(), c.green(), c.blue()); }

int ScreenPixelsPerInch() {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* s = app->primaryScreen()) return qRound(s->logicalDotsPerInchY());
  return 96;
}

TFont::TFont() : FPixelsPerInch(ScreenPixelsPerInch()) {}

int TFont::Size() const {
  // Delphi rounds half away from zero: Size = -MulDiv(Height, 72, ppi).
  const double s = -static_cast<double>(FHeight) * 72.0 / FPixelsPerInch;
  return static_cast<int>(std::lround(s));
}

void TFont::SetSize(int points) {
  const double h = -static_cast<double>(points) * FPixelsPerInch / 72.0;
  FHeight = static_cast<int>(std::lround(h));
}

QFont TFont::ToQFont() const {
  QFont f(FName);
  if (FHeight < 0) f.setPixelSize(-FHeight);
  else if (FHeight > 0) f.setPixelSize(FHeight);  // cell height: close enough
  f.setBold(FStyle.Contains(fsBold));
  f.setItalic(FStyle.Contains(fsItalic));
  f.setUnderline(FStyle.Contains(fsUnderline));
  f.setStrikeOut(FStyle.Contains(fsStrikeOut));
  if (FPitch == fpFixed) f.setFixedPitch(true);
  f.setStyleHint(FPitch == fpFixed ? QFont::TypeWriter : QFont::AnyStyle);
  return f;
}

Qt::CursorShape CursorToShape(TCursor c) {
  switch (c) {
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}
