#include "platform/SysUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Exception::Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}

QString Format(const QString& fmt, std::initializer_list<TFormatArg> args) {
  QString out;
  out.reserve(fmt.size() + 16);
  auto it = args.begin();
  auto next = [&]() -> const TFormatArg* { return it == args.end() ? nullptr : &*it++; };
  for (qsizetype i = 0; i < fmt.size(); ++i) {
    const QChar c = fmt[i];
    if (c != u'%' || i + 1 >= fmt.size()) { out += c; continue; }
    const QChar k = fmt[++i];
    if (k == u'%') { out += u'%'; continue; }
    const TFormatArg* a = next();
    if (!a) continue;
    if (const QString* s = std::get_if<QString>(a)) {
      out += *s;
      continue;
    }
    const qint64 v = std::get<qint64>(*a);
    switch (k.unicode()) {
      case u'x':
      case u'X': out += QString::number(static_cast<quint64>(static_cast<quint32>(v)), 16).toUpper(); break;
      case u'u': out += QString::number(static_cast<quint32>(v)); break;
      default: out += QString::number(v); break;
    }
  }
  return out;
}

bool TryStrToInt(const QString& s, int& value) {
  bool ok = false;
  const qlonglong v = s.trimmed().toLongLong(&ok, 10);
  if (!ok || v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(const QString& s) {
  int v = 0;
  if (!TryStrToInt(s, v))
    throw EConvertError(Format(QStringLiteral("'%s' ist kein gültiger Integerwert"), {s}));
  return v;
}

namespace {
thread_local int gLastError = 0;
QByteArray native(const QString& name) { return QFile::encodeName(name); }
}  // namespace

int GetLastError() { return gLastError; }
void SetLastError(int code) { gLastError = code; }

QString SysErrorMessage(int code) {
  switch (code) {
    case 0: return QStringLiteral("Der Vorgang wurde erfolgreich beendet");
    case ENOENT: return QStringLiteral("Das System kann die angegebene Datei nicht finden");
    case EACCES:
    case EPERM: return QStringLiteral("Zugriff verweigert");
    case EISDIR: return QStringLiteral("Der angegebene Pfad ist ein Ordner");
    case ENOSPC: return QStringLiteral("Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden");
    case EROFS: return QStringLiteral("Der Datenträger ist schreibgeschützt");
    case ENAMETOOLONG: return QStringLiteral("Der Dateiname ist zu lang");
    case ENOMEM: return QStringLiteral("Nicht genügend Speicher verfügbar");
    case EFBIG: return QStringLiteral("Die Datei ist zu groß");
    case EIO: return QStringLiteral("Ein-/Ausgabefehler");
    default: return QString::fromLocal8Bit(std::strerror(code));
  }
}

uint32_t GetTickCount() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool FileExists(const QString& name) {
  struct stat st {};
  if (name.isEmpty() || ::stat(native(name).constData(), &st) != 0) { gLastError = errno; return false; }
  return S_ISREG(st.st_mode);
}

bool DirectoryExists(const QString& name) {
  struct stat st {};
  if (name.isEmpty() || ::stat(native(name).constData(), &st) != 0) return false;
  return S_ISDIR(st.st_mode);
}

bool FileOrDirectoryExists(const QString& name) {
  struct stat st {};
  return !name.isEmpty() && ::stat(native(name).constData(), &st) == 0;
}

bool DeleteFile(const QString& name) {
  if (::unlink(native(name).constData()) == 0) return true;
  gLastError = errno;
  return false;
}

bool RenameFile(const QString& oldName, const QString& newName) {
  if (::rename(native(oldName).constData(), native(newName).constData()) == 0) return true;
  gLastError = errno;
  return false;
}

QString GetTempDirectory() {
  QString dir = QDir::tempPath().left(260).trimmed();
  if (!dir.endsWith(u'/')) dir += u'/';
  return dir;
}

QString ExtractFileName(const QString& path) {
  const qsizetype p = path.lastIndexOf(u'/');
  return p < 0 ? path : path.mid(p + 1);
}

QString ExtractFilePath(const QString& path) {
  const qsizetype p = path.lastIndexOf(u'/');
  return p < 0 ? QString() : path.left(p + 1);
}

QString ExtractFileDir(const QString& path) {
  const qsizetype p = path.lastIndexOf(u'/');
  if (p < 0) return QString();
  return p == 0 ? QStringLiteral("/") : path.left(p);
}

QString ChangeFileExt(const QString& path, const QString& ext) {
  const qsizetype slash = path.lastIndexOf(u'/');
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot > slash) return path.left(dot) + ext;
  return path + ext;
}

QString ExpandFileName(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

bool CanOpenForRead(const QString& name) {
  const int fd = ::open(native(name).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) { gLastError = errno; return false; }
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  ::close(fd);
  if (!regular) gLastError = EISDIR;
  return regular;
}

bool CanOpenForReadWrite(const QString& name) {
  const int fd = ::open(native(name).constData(), O_RDWR | O_CLOEXEC);
  if (fd < 0) { gLastError = errno; return false; }
  ::close(fd);
  return true;
}
