// The application's editor settings and the settings file that holds them.
#pragma once

#include <QString>
#include <cstdint>

#include "platform/Graphics.h"

struct TZQDavAruOptions {
  bool UseShellExtension = false;
  int BytesPerRow = 16;
  int BytesPerColumn = 2;
  bool CreateBackup = true;
  bool DrawGridLines = true;
  bool Draw3DGutter = true;
  bool HexLowerCase = false;
  uint8_t MaskChar = '.';
  QString BackupExt = QStringLiteral(".bak");
  int HEFontHeight = -15;
  QString HEFontName = QStringLiteral("Courier New");
  int HEFontPitch = 0;
  int HEFontSize = 11;
  bool HEFontStyleBold = false;
  bool HEFontStyleItalic = false;
  bool HEFontStyleUnderline = false;
  bool HEFontStyleStrikeout = false;
  bool ShowRuler = true;
  bool OpenReadOnly = true;
  QString OffsetFormat = QStringLiteral("-!10:0x|");
  TColor ColorOffset = clBlack;
  TColor ColorActOffset = clWhite;
  TColor ColorChar = clBlack;
  TColor ColorEvenColumn = clNavy;
  TColor ColorOddColumn = clBlue;
  TColor ColorChangedData = clMaroon;
  TColor ColorGatter = clSilver;
  TColor BGColorOffset = clBtnFace;
  TColor BGColorActOffset = clGray;
  TColor BGColorChar = clWhite;
  TColor BGColorChangedData = 0x00A8FFFF;
};

extern TZQDavAruOptions DavAruOptions;

// Fills DavAruOptions from the file (never fails; missing keys and bad values give the
// defaults). A missing file gets the defaults, written at once (which may raise
// EIniFileException like WriteSettings).
void ReadSettings(const QString& path);
// Writes the thirty keys of the section "EDITOR"; raises EIniFileException
// "nach %s kann nicht geschrieben werden" when the file cannot be written.
void WriteSettings(const QString& path);
void SetDefaultSettings();

// Where the settings file lives: the executable's path with its extension replaced by ".ini"
// (".ini" appended when it has none) when that folder is writable or the file exists and is
// writable; otherwise the same file name in the user's configuration folder (created when
// missing). A program folder under /usr is not writable for a user.
QString SettingsFilePath(const QString& executablePath);
