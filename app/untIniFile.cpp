#include "app/untIniFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <type_traits>
#include <vector>

#include <unistd.h>

#include "platform/IniFiles.h"
#include "platform/SysUtils.h"

TZQDavAruOptions DavAruOptions;

namespace {

const QString kSection = QStringLiteral("EDITOR");

// The keys of the section "EDITOR" in the order they are written, each with its
// field. Reading goes through the same table; the defaults are those of a fresh record.
enum class TKind { Integer, Boolean, Character, String, Colour };

struct TKey {
  const char* Name;
  TKind Kind;
  int TZQDavAruOptions::* Int = nullptr;
  bool TZQDavAruOptions::* Bool = nullptr;
  uint8_t TZQDavAruOptions::* Char = nullptr;
  QString TZQDavAruOptions::* Str = nullptr;
};

TKey IntKey(const char* n, int TZQDavAruOptions::* f) { return {n, TKind::Integer, f}; }
TKey ColKey(const char* n, TColor TZQDavAruOptions::* f) { return {n, TKind::Colour, f}; }
TKey BoolKey(const char* n, bool TZQDavAruOptions::* f) { return {n, TKind::Boolean, nullptr, f}; }
TKey CharKey(const char* n, uint8_t TZQDavAruOptions::* f) {
  return {n, TKind::Character, nullptr, nullptr, f};
}
TKey StrKey(const char* n, QString TZQDavAruOptions::* f) {
  return {n, TKind::String, nullptr, nullptr, nullptr, f};
}

const std::vector<TKey>& Keys() {
  using O = TZQDavAruOptions;
  static const std::vector<TKey> keys = {
      IntKey("BytesPerRow", &O::BytesPerRow),
      IntKey("BytesPerColumn", &O::BytesPerColumn),
      BoolKey("CreateBackup", &O::CreateBackup),
      BoolKey("DrawGridLines", &O::DrawGridLines),
      BoolKey("Draw3DGutter", &O::Draw3DGutter),
      BoolKey("HexLowerCase", &O::HexLowerCase),
      CharKey("MaskChar", &O::MaskChar),
      StrKey("BackupExt", &O::BackupExt),
      BoolKey("OpenReadOnly", &O::OpenReadOnly),
      BoolKey("ShowRuler", &O::ShowRuler),
      IntKey("HEFontHeight", &O::HEFontHeight),
      StrKey("HEFontName", &O::HEFontName),
      IntKey("HEFontPitch", &O::HEFontPitch),
      IntKey("HEFontSize", &O::HEFontSize),
      BoolKey("HEFontStyleBold", &O::HEFontStyleBold),
      BoolKey("HEFontStyleItalic", &O::HEFontStyleItalic),
      BoolKey("HEFontStyleUnderline", &O::HEFontStyleUnderline),
      BoolKey("HEFontStyleStrikeout", &O::HEFontStyleStrikeout),
      StrKey("OffsetFormat", &O::OffsetFormat),
      ColKey("ColorOffset", &O::ColorOffset),
      ColKey("ColorActOffset", &O::ColorActOffset),
      ColKey("ColorChar", &O::ColorChar),
      ColKey("ColorEvenColumn", &O::ColorEvenColumn),
      ColKey("ColorOddColumn", &O::ColorOddColumn),
      ColKey("ColorChangedData", &O::ColorChangedData),
      ColKey("ColorGatter", &O::ColorGatter),
      ColKey("BGColorOffset", &O::BGColorOffset),
      ColKey("BGColorActOffset", &O::BGColorActOffset),
      ColKey("BGColorChar", &O::BGColorChar),
      ColKey("BGColorChangedData", &O::BGColorChangedData),
  };
  return keys;
}

static_assert(std::is_same_v<TColor, int>, "colours are stored as 32-bit integers");

bool CanWrite(const QString& path, int mode) {
  return ::access(QFile::encodeName(path).constData(), mode) == 0;
}

}  // namespace

void SetDefaultSettings() {
  const bool shell = DavAruOptions.UseShellExtension;
  DavAruOptions = TZQDavAruOptions();
  DavAruOptions.UseShellExtension = shell;
}

void ReadSettings(const QString& path) {
  if (!FileExists(path)) {
    SetDefaultSettings();
    WriteSettings(path);
    return;
  }
  const TIniFile ini(path);
  const TZQDavAruOptions defaults;
  TZQDavAruOptions& o = DavAruOptions;
  for (const TKey& k : Keys()) {
    const QString name = QString::fromLatin1(k.Name);
    switch (k.Kind) {
      case TKind::Integer:
      case TKind::Colour: o.*k.Int = ini.ReadInteger(kSection, name, defaults.*k.Int); break;
      case TKind::Boolean: o.*k.Bool = ini.ReadBool(kSection, name, defaults.*k.Bool); break;
      case TKind::Character:
        o.*k.Char = static_cast<uint8_t>(ini.ReadInteger(kSection, name, defaults.*k.Char) & 0xFF);
        break;
      case TKind::String: o.*k.Str = ini.ReadString(kSection, name, defaults.*k.Str); break;
    }
  }
}

void WriteSettings(const QString& path) {
  TIniFile ini(path);
  const TZQDavAruOptions& o = DavAruOptions;
  for (const TKey& k : Keys()) {
    const QString name = QString::fromLatin1(k.Name);
    switch (k.Kind) {
      case TKind::Integer:
      case TKind::Colour: ini.WriteInteger(kSection, name, o.*k.Int); break;
      case TKind::Boolean: ini.WriteBool(kSection, name, o.*k.Bool); break;
      case TKind::Character: ini.WriteInteger(kSection, name, o.*k.Char); break;
      case TKind::String: ini.WriteString(kSection, name, o.*k.Str); break;
    }
  }
}

QString SettingsFilePath(const QString& executablePath) {
  const QString beside = ChangeFileExt(executablePath, QStringLiteral(".ini"));
  QString folder = ExtractFileDir(beside);
  if (folder.isEmpty()) folder = QStringLiteral(".");
  if ((DirectoryExists(folder) && CanWrite(folder, W_OK | X_OK)) ||
      (FileExists(beside) && CanWrite(beside, W_OK)))
    return beside;
  QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (dir.isEmpty()) return beside;
  QDir().mkpath(dir);
  return QDir(dir).filePath(ExtractFileName(beside));
}
