// Exceptions, formatting and file services that the rest of the program uses in
// place of the Windows run-time library.
#pragma once

#include <QString>
#include <QByteArray>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <variant>

// Base of every error the program raises; the message is what the user sees.
class Exception : public std::exception {
public:
  explicit Exception(QString message);
  const QString& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FUtf8.constData(); }
private:
  QString FMessage;
  QByteArray FUtf8;
};

#define ZQ_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base { public: using Base::Base; };

ZQ_DECLARE_EXCEPTION(EConvertError, Exception)
ZQ_DECLARE_EXCEPTION(EStreamError, Exception)
ZQ_DECLARE_EXCEPTION(EFOpenError, EStreamError)
ZQ_DECLARE_EXCEPTION(EFCreateError, EStreamError)
ZQ_DECLARE_EXCEPTION(EReadError, EStreamError)
ZQ_DECLARE_EXCEPTION(EWriteError, EStreamError)
ZQ_DECLARE_EXCEPTION(EOutOfMemory, Exception)
ZQ_DECLARE_EXCEPTION(EIniFileException, Exception)

// Delphi-style formatting: %s, %d, %u, %x (upper-case hex digits, as %X) and %%,
// consumed left to right. Missing arguments format as empty text.
using TFormatArg = std::variant<qint64, QString>;
QString Format(const QString& fmt, std::initializer_list<TFormatArg> args);

// Decimal string to integer with an optional sign, blanks around it allowed;
// raises EConvertError "'%s' ist kein gültiger Integerwert".
int StrToInt(const QString& s);
bool TryStrToInt(const QString& s, int& value);

// File services.
bool FileExists(const QString& name);        // an existing file (not a folder)
bool DirectoryExists(const QString& name);
bool FileOrDirectoryExists(const QString& name);
bool DeleteFile(const QString& name);
bool RenameFile(const QString& oldName, const QString& newName);
QString GetTempDirectory();                  // with a trailing separator
QString ExtractFileName(const QString& path);
QString ExtractFilePath(const QString& path); // with trailing separator
QString ExtractFileDir(const QString& path);  // without trailing separator
QString ChangeFileExt(const QString& path, const QString& ext);
QString ExpandFileName(const QString& path);

int GetLastError();                     // errno of the last failed file service
void SetLastError(int code);
QString SysErrorMessage(int code);      // German where we know the text
uint32_t GetTickCount();                // milliseconds since an arbitrary start

// Access tests used before loading: can the file be opened for reading with
// sharing, and for reading and writing?
bool CanOpenForRead(const QString& name);
bool CanOpenForReadWrite(const QString& name);
