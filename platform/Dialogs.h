// Message boxes and common dialogs behind one replaceable service, so that tests
// can script the answers and never block on a modal window.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                          mrIgnore = 5, mrYes = 6, mrNo = 7 };

struct TFileDialogRequest {
  QString Title;
  QString Filter;        // Windows form: "Alle Dateien (*.*)|*.*"
  QString InitialDir;
  QString FileName;
  bool OverwritePrompt = false;
  bool MustExist = false;
};

class TPromptService {
public:
  virtual ~TPromptService() = default;
  virtual void ShowMessage(const QString& text) = 0;   // plain box, OK
  virtual void ShowError(const QString& text) = 0;     // error icon, OK
  // Title and question; buttons "&Ja", "&Nein", "Abbrechen". Closing the box gives mrCancel.
  virtual TModalResult ConfirmYesNoCancel(const QString& title, const QString& text) = 0;
  // true with the chosen name, false when cancelled.
  virtual bool OpenFileDialog(const TFileDialogRequest& req, QString& fileName) = 0;
  virtual bool SaveFileDialog(const TFileDialogRequest& req, QString& fileName) = 0;
};

// The interactive implementation over QMessageBox and QFileDialog.
class TWidgetPromptService : public TPromptService {
public:
  void ShowMessage(const QString& text) override;
  void ShowError(const QString& text) override;
  TModalResult ConfirmYesNoCancel(const QString& title, const QString& text) override;
  bool OpenFileDialog(const TFileDialogRequest& req, QString& fileName) override;
  bool SaveFileDialog(const TFileDialogRequest& req, QString& fileName) override;
};

TPromptService& Prompts();
// Installs a service (not owned); nullptr restores the interactive one.
void SetPrompts(TPromptService* service);

// Converts "Text (*.a)|*.a|..." to Qt's ";;" filter form.
QString ConvertFilter(const QString& windowsFilter);

// The one place where an error that ended a command is shown to the user.
void HandleException(const std::exception& e);
void HandleUnknownException();

// Runs fn; any error it raises is shown in the error box and swallowed.
template <typename F>
void Guarded(F&& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    HandleException(e);
  } catch (...) {
    HandleUnknownException();
  }
}
