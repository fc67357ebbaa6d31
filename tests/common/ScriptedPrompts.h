// A prompt service for tests: answers come from a script, and every prompt is recorded.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>

#include "platform/Dialogs.h"

class ScriptedPrompts : public TPromptService {
public:
  ScriptedPrompts() { SetPrompts(this); }
  ~ScriptedPrompts() override { SetPrompts(nullptr); }

  // Queued answers; an empty queue answers mrCancel / cancels the dialog.
  std::deque<TModalResult> Confirmations;
  std::deque<QString> OpenNames;   // empty string = cancel
  std::deque<QString> SaveNames;   // empty string = cancel

  // What was shown, in order: "message: ...", "error: ...", "confirm: title|text",
  // "open: title", "save: title".
  QStringList Log;
  QStringList Messages() const { return Log.filter(QStringLiteral("message: ")); }
  QStringList Errors() const { return Log.filter(QStringLiteral("error: ")); }
  TFileDialogRequest LastFileRequest;

  void ShowMessage(const QString& text) override { Log << QStringLiteral("message: ") + text; }
  void ShowError(const QString& text) override { Log << QStringLiteral("error: ") + text; }
  TModalResult ConfirmYesNoCancel(const QString& title, const QString& text) override;
  bool OpenFileDialog(const TFileDialogRequest& req, QString& fileName) override;
  bool SaveFileDialog(const TFileDialogRequest& req, QString& fileName) override;
};
