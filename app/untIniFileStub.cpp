// TEMPORARY stand-ins for the settings file until the real unit is merged; delete then.
#include <QFile>

#include "app/untIniFile.h"
#include "platform/SysUtils.h"

void SetDefaultSettings() { DavAruOptions = TZQDavAruOptions(); }

void WriteSettings(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write("[EDITOR]\n") < 0)
    throw EIniFileException(Format(QStringLiteral("nach %s kann nicht geschrieben werden"), {path}));
}

void ReadSettings(const QString& path) {
  if (!FileExists(path)) {
    SetDefaultSettings();
    WriteSettings(path);
  }
}

QString SettingsFilePath(const QString& executablePath) { return ChangeFileExt(executablePath, QStringLiteral(".ini")); }
