#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "app/untIniFile.h"
#include "common/TempDir.h"
#include "platform/IniFiles.h"

namespace {

// The section as a program writes it from scratch, in the written key order.
const char* const kDefaultLines[] = {
    "BytesPerRow=16",
    "BytesPerColumn=2",
    "CreateBackup=1",
    "DrawGridLines=1",
    "Draw3DGutter=1",
    "HexLowerCase=0",
    "MaskChar=46",
    "BackupExt=.bak",
    "OpenReadOnly=1",
    "ShowRuler=1",
    "HEFontHeight=-15",
    "HEFontName=Courier New",
    "HEFontPitch=0",
    "HEFontSize=11",
    "HEFontStyleBold=0",
    "HEFontStyleItalic=0",
    "HEFontStyleUnderline=0",
    "HEFontStyleStrikeout=0",
    "OffsetFormat=-!10:0x|",
    "ColorOffset=0",
    "ColorActOffset=16777215",
    "ColorChar=0",
    "ColorEvenColumn=8388608",
    "ColorOddColumn=16711680",
    "ColorChangedData=128",
    "ColorGatter=12632256",
    "BGColorOffset=-2147483633",
    "BGColorActOffset=8421504",
    "BGColorChar=16777215",
    "BGColorChangedData=11075583",
};

QByteArray DefaultFile() {
  QByteArray s = "[EDITOR]\n";
  for (const char* l : kDefaultLines) s += QByteArray(l) + '\n';
  return s;
}

// Sets every stored field to something other than its default.
void Scramble(TZQDavAruOptions& o) {
  o.BytesPerRow = 7;
  o.BytesPerColumn = 3;
  o.CreateBackup = false;
  o.DrawGridLines = false;
  o.Draw3DGutter = false;
  o.HexLowerCase = true;
  o.MaskChar = 'x';
  o.BackupExt = QStringLiteral(".old");
  o.HEFontHeight = -20;
  o.HEFontName = QString::fromUtf8("Liberation Möno");
  o.HEFontPitch = 2;
  o.HEFontSize = 14;
  o.HEFontStyleBold = true;
  o.HEFontStyleItalic = true;
  o.HEFontStyleUnderline = true;
  o.HEFontStyleStrikeout = true;
  o.ShowRuler = false;
  o.OpenReadOnly = false;
  o.OffsetFormat = QStringLiteral("r16:|");
  o.ColorOffset = 1;
  o.ColorActOffset = 2;
  o.ColorChar = 3;
  o.ColorEvenColumn = 4;
  o.ColorOddColumn = 5;
  o.ColorChangedData = 6;
  o.ColorGatter = clWindowText;
  o.BGColorOffset = clMenu;
  o.BGColorActOffset = 9;
  o.BGColorChar = 10;
  o.BGColorChangedData = 11;
}

void ExpectDefaults(const TZQDavAruOptions& o, const char* exceptKey = "") {
  const TZQDavAruOptions d;
  const std::string except = exceptKey;
#define ZQ_EXPECT_DEFAULT(f) \
  if (except != #f) {                    \
    EXPECT_EQ(o.f, d.f) << #f;           \
  }
  ZQ_EXPECT_DEFAULT(BytesPerRow);
  ZQ_EXPECT_DEFAULT(BytesPerColumn);
  ZQ_EXPECT_DEFAULT(CreateBackup);
  ZQ_EXPECT_DEFAULT(DrawGridLines);
  ZQ_EXPECT_DEFAULT(Draw3DGutter);
  ZQ_EXPECT_DEFAULT(HexLowerCase);
  ZQ_EXPECT_DEFAULT(MaskChar);
  ZQ_EXPECT_DEFAULT(BackupExt);
  ZQ_EXPECT_DEFAULT(HEFontHeight);
  ZQ_EXPECT_DEFAULT(HEFontName);
  ZQ_EXPECT_DEFAULT(HEFontPitch);
  ZQ_EXPECT_DEFAULT(HEFontSize);
  ZQ_EXPECT_DEFAULT(HEFontStyleBold);
  ZQ_EXPECT_DEFAULT(HEFontStyleItalic);
  ZQ_EXPECT_DEFAULT(HEFontStyleUnderline);
  ZQ_EXPECT_DEFAULT(HEFontStyleStrikeout);
  ZQ_EXPECT_DEFAULT(ShowRuler);
  ZQ_EXPECT_DEFAULT(OpenReadOnly);
  ZQ_EXPECT_DEFAULT(OffsetFormat);
  ZQ_EXPECT_DEFAULT(ColorOffset);
  ZQ_EXPECT_DEFAULT(ColorActOffset);
  ZQ_EXPECT_DEFAULT(ColorChar);
  ZQ_EXPECT_DEFAULT(ColorEvenColumn);
  ZQ_EXPECT_DEFAULT(ColorOddColumn);
  ZQ_EXPECT_DEFAULT(ColorChangedData);
  ZQ_EXPECT_DEFAULT(ColorGatter);
  ZQ_EXPECT_DEFAULT(BGColorOffset);
  ZQ_EXPECT_DEFAULT(BGColorActOffset);
  ZQ_EXPECT_DEFAULT(BGColorChar);
  ZQ_EXPECT_DEFAULT(BGColorChangedData);
#undef ZQ_EXPECT_DEFAULT
}

class Settings : public ::testing::Test {
protected:
  void SetUp() override { DavAruOptions = TZQDavAruOptions(); }
  void TearDown() override { DavAruOptions = TZQDavAruOptions(); }
  TempDir FDir;
};

}  // namespace

TEST_F(Settings, RecordDefaultsMatchTheTable) {
  const TZQDavAruOptions d;
  EXPECT_EQ(d.MaskChar, 46);
  EXPECT_EQ(d.BGColorOffset, static_cast<TColor>(0x8000000Fu));
  EXPECT_EQ(d.BGColorChangedData, 0x00A8FFFF);
  EXPECT_EQ(d.ColorGatter, 0x00C0C0C0);
}

TEST_F(Settings, SetDefaultSettingsLeavesUseShellExtension) {
  Scramble(DavAruOptions);
  DavAruOptions.UseShellExtension = true;
  SetDefaultSettings();
  ExpectDefaults(DavAruOptions);
  EXPECT_TRUE(DavAruOptions.UseShellExtension);
  DavAruOptions.UseShellExtension = false;
  SetDefaultSettings();
  EXPECT_FALSE(DavAruOptions.UseShellExtension);
}

TEST_F(Settings, MissingFileGetsTheDefaultsWrittenAtOnce) {
  const QString p = FDir.Path("ZQHEXeditor.ini");
  Scramble(DavAruOptions);
  ReadSettings(p);
  ExpectDefaults(DavAruOptions);
  EXPECT_EQ(TempDir::Read(p), DefaultFile());
}

TEST_F(Settings, FreshWriteHasTheSectionLineThenThirtyKeysInOrder) {
  const QString p = FDir.Path("s.ini");
  WriteSettings(p);
  const QByteArray text = TempDir::Read(p);
  EXPECT_EQ(text, DefaultFile());
  EXPECT_EQ(text.count('\n'), 31);
  EXPECT_LT(text.indexOf("OpenReadOnly="), text.indexOf("ShowRuler="));
  EXPECT_TRUE(text.contains("\nBGColorOffset=-2147483633\n"));
  EXPECT_TRUE(text.contains("\nOffsetFormat=-!10:0x|\n"));
}

TEST_F(Settings, ExistingFileIsReadNotRewritten) {
  const QByteArray content = "[EDITOR]\r\nBytesPerRow=8\r\n";
  const QString p = FDir.Write("s.ini", content);
  ReadSettings(p);
  EXPECT_EQ(DavAruOptions.BytesPerRow, 8);
  EXPECT_EQ(TempDir::Read(p), content);
}

struct TValueCase {
  const char* Line;
  std::function<bool(const TZQDavAruOptions&)> Check;
  const char* What;
};

TEST_F(Settings, ValueForms) {
  const TValueCase cases[] = {
      {"BytesPerRow=0x20", [](auto& o) { return o.BytesPerRow == 32; }, "0x20 is 32"},
      {"BytesPerRow=$20", [](auto& o) { return o.BytesPerRow == 32; }, "$20 is 32"},
      {"BytesPerRow=x20", [](auto& o) { return o.BytesPerRow == 32; }, "x20 is 32"},
      {"BytesPerRow=abc", [](auto& o) { return o.BytesPerRow == 16; }, "abc gives the default"},
      {"BytesPerRow=99999999999", [](auto& o) { return o.BytesPerRow == 16; }, "too big"},
      {"BytesPerRow=", [](auto& o) { return o.BytesPerRow == 16; }, "empty"},
      {"BytesPerRow=0", [](auto& o) { return o.BytesPerRow == 0; }, "not validated"},
      {"HEFontHeight=-20", [](auto& o) { return o.HEFontHeight == -20; }, "negative"},
      {"HEFontPitch=7", [](auto& o) { return o.HEFontPitch == 7; }, "unknown pitch kept"},
      {"CreateBackup=7", [](auto& o) { return o.CreateBackup; }, "7 is true"},
      {"CreateBackup=ja", [](auto& o) { return o.CreateBackup; }, "ja gives the default"},
      {"CreateBackup=0", [](auto& o) { return !o.CreateBackup; }, "0 is false"},
      {"HexLowerCase=ja", [](auto& o) { return !o.HexLowerCase; }, "ja gives the default false"},
      {"HexLowerCase=-1", [](auto& o) { return o.HexLowerCase; }, "-1 is true"},
      {"MaskChar=302", [](auto& o) { return o.MaskChar == 46; }, "302 gives code 46"},
      {"MaskChar=65", [](auto& o) { return o.MaskChar == 'A'; }, "65 is A"},
      {"MaskChar=-1", [](auto& o) { return o.MaskChar == 255; }, "low eight bits of -1"},
      {"MaskChar=$1FF", [](auto& o) { return o.MaskChar == 255; }, "low eight bits of $1FF"},
      {"MaskChar=.", [](auto& o) { return o.MaskChar == 46; }, "not a number"},
      {"BGColorOffset=-2147483633", [](auto& o) { return o.BGColorOffset == clBtnFace; }, "clBtnFace"},
      {"BGColorOffset=$8000000F", [](auto& o) { return o.BGColorOffset == clBtnFace; }, "hex clBtnFace"},
      {"ColorChar=0x00FF00", [](auto& o) { return o.ColorChar == 0x00FF00; }, "hex colour"},
      {"OffsetFormat=", [](auto& o) { return o.OffsetFormat.isEmpty(); }, "empty format kept"},
      {"OffsetFormat=  r16:|  ", [](auto& o) { return o.OffsetFormat == "r16:|"; }, "trimmed"},
      {"HEFontName=Liberation Mono", [](auto& o) { return o.HEFontName == "Liberation Mono"; }, "string"},
      {"backupext=.sik", [](auto& o) { return o.BackupExt == ".sik"; }, "key letter case ignored"},
  };
  for (const TValueCase& c : cases) {
    const QString p = FDir.Write("v.ini", QByteArray("[editor]\n") + c.Line + "\n");
    Scramble(DavAruOptions);
    ReadSettings(p);
    EXPECT_TRUE(c.Check(DavAruOptions)) << c.Line << ": " << c.What;
  }
}

TEST_F(Settings, ColourRoundTripKeepsTheText) {
  const QString p = FDir.Write("s.ini", "[EDITOR]\nBGColorOffset=-2147483633\n");
  ReadSettings(p);
  EXPECT_EQ(DavAruOptions.BGColorOffset, clBtnFace);
  WriteSettings(p);
  EXPECT_EQ(TIniFile(p).ReadString("EDITOR", "BGColorOffset", ""), "-2147483633");
  const QString hex = FDir.Write("h.ini", "[EDITOR]\nBGColorOffset=$8000000F\n");
  ReadSettings(hex);
  WriteSettings(hex);
  EXPECT_TRUE(TempDir::Read(hex).startsWith("[EDITOR]\nBGColorOffset=-2147483633\n"));
}

TEST_F(Settings, OnlyShowRulerGivenEverythingElseDefault) {
  const QString p = FDir.Write("s.ini", "[EDITOR]\nShowRuler=0\n");
  Scramble(DavAruOptions);
  DavAruOptions.ShowRuler = true;
  ReadSettings(p);
  EXPECT_FALSE(DavAruOptions.ShowRuler);
  ExpectDefaults(DavAruOptions, "ShowRuler");

  WriteSettings(p);
  // "ShowRuler" keeps its place (first); the other 29 keys follow in the written order.
  QByteArray expected = "[EDITOR]\nShowRuler=0\n";
  for (const char* l : kDefaultLines)
    if (!QByteArray(l).startsWith("ShowRuler=")) expected += QByteArray(l) + '\n';
  EXPECT_EQ(TempDir::Read(p), expected);
  QStringList keys;
  TIniFile(p).ReadSection("EDITOR", keys);
  EXPECT_EQ(keys.size(), 30);
  EXPECT_EQ(keys.first(), "ShowRuler");
}

TEST_F(Settings, WriteKeepsUnknownKeysAndOtherSections) {
  const QByteArray before =
      "; hand-written\n"
      "[Letzte Dateien]\n"
      "DATEI_0=/home/jürgen/a.bin\n"
      "[editor]\n"
      "Future=42\n"
      "bytesperrow=8\n"
      "\n"
      "[Letzte Ordner]\n"
      "ORDNER_0=/home/jürgen\n";
  const QString p = FDir.Write("s.ini", before);
  ReadSettings(p);
  EXPECT_EQ(DavAruOptions.BytesPerRow, 8);
  DavAruOptions.BytesPerRow = 32;
  WriteSettings(p);
  QByteArray expected =
      "; hand-written\n"
      "[Letzte Dateien]\n"
      "DATEI_0=/home/jürgen/a.bin\n"
      "[editor]\n"
      "Future=42\n"
      "bytesperrow=32\n";
  for (const char* l : kDefaultLines)
    if (!QByteArray(l).startsWith("BytesPerRow=")) expected += QByteArray(l) + '\n';
  expected += "\n[Letzte Ordner]\nORDNER_0=/home/jürgen\n";
  EXPECT_EQ(TempDir::Read(p), expected);
}

TEST_F(Settings, EveryFieldSurvivesAWriteAndARead) {
  const QString p = FDir.Path("s.ini");
  Scramble(DavAruOptions);
  WriteSettings(p);
  const QByteArray first = TempDir::Read(p);
  DavAruOptions = TZQDavAruOptions();
  ReadSettings(p);
  EXPECT_EQ(DavAruOptions.MaskChar, 'x');
  EXPECT_EQ(DavAruOptions.HEFontName, QString::fromUtf8("Liberation Möno"));
  EXPECT_EQ(DavAruOptions.BGColorOffset, clMenu);
  EXPECT_FALSE(DavAruOptions.OpenReadOnly);
  EXPECT_TRUE(DavAruOptions.HEFontStyleStrikeout);
  const QString p2 = FDir.Path("s2.ini");
  WriteSettings(p2);
  EXPECT_EQ(TempDir::Read(p2), first);
  EXPECT_NE(first, DefaultFile());
}

TEST_F(Settings, BrokenFileNeverFailsToRead) {
  QByteArray junk = TempDir::Pattern(4096, 7);
  junk.replace('[', 'x');  // no section at all
  const QString p = FDir.Write("s.ini", junk);
  Scramble(DavAruOptions);
  EXPECT_NO_THROW(ReadSettings(p));
  ExpectDefaults(DavAruOptions);
  QByteArray m = "[EDITOR]\n\xFF\xFE";
  m += '\0';
  m += "garbage\nBytesPerRow=\xE4\nMaskChar=42\n";
  const QString mixed = FDir.Write("m.ini", m);
  EXPECT_NO_THROW(ReadSettings(mixed));
  EXPECT_EQ(DavAruOptions.BytesPerRow, 16);
  EXPECT_EQ(DavAruOptions.MaskChar, 42);
}

TEST_F(Settings, WriteFailureRaisesTheGermanMessage) {
  const QString file = FDir.Write("plain", "not a folder");
  const QString p = file + "/ZQHEXeditor.ini";
  QString message;
  try {
    WriteSettings(p);
  } catch (const EIniFileException& e) {
    message = e.Message();
  }
  EXPECT_EQ(message, "nach " + p + " kann nicht geschrieben werden");
  EXPECT_EQ(TempDir::Read(file), "not a folder");

  // A missing file that cannot be created: the defaults are set, the write error goes to
  // the caller.
  Scramble(DavAruOptions);
  const QString missing = FDir.Path("no folder/ZQHEXeditor.ini");
  EXPECT_THROW(ReadSettings(missing), EIniFileException);
  ExpectDefaults(DavAruOptions);
}

// ---------------------------------------------------------------------------- SettingsFilePath

TEST(SettingsFilePath, BesideTheExecutableWhenItsFolderIsWritable) {
  TempDir d;
  EXPECT_EQ(SettingsFilePath(d.Path("ZQHEXeditor")), d.Path("ZQHEXeditor.ini"));
  EXPECT_EQ(SettingsFilePath(d.Path("ZQHEXeditor.exe")), d.Path("ZQHEXeditor.ini"));
  EXPECT_EQ(SettingsFilePath(d.Path("zq.hex.editor")), d.Path("zq.hex.ini"));
}

TEST(SettingsFilePath, ConfigurationFolderOtherwise) {
  QStandardPaths::setTestModeEnabled(true);
  TempDir d;
  const QString exe = d.Path("missing folder/ZQHEXeditor");
  const QString path = SettingsFilePath(exe);
  QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  EXPECT_EQ(path, QDir(dir).filePath("ZQHEXeditor.ini"));
  EXPECT_TRUE(QFileInfo(dir).isDir());
  QStandardPaths::setTestModeEnabled(false);
}

TEST(SettingsFilePath, WritableFileInAReadOnlyFolderIsUsed) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempDir d;
  const QString folder = d.Path("prog");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString ini = folder + "/ZQHEXeditor.ini";
  { QFile f(ini); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); }
  ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
  EXPECT_EQ(SettingsFilePath(folder + "/ZQHEXeditor"), ini);
  // The temporary file cannot go there, so the file is written in place.
  WriteSettings(ini);
  EXPECT_EQ(TempDir::Read(ini), DefaultFile());
  ::chmod(QFile::encodeName(folder).constData(), 0755);
  DavAruOptions = TZQDavAruOptions();
}
