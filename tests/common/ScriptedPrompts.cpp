#include "common/ScriptedPrompts.h"

TModalResult ScriptedPrompts::ConfirmYesNoCancel(const QString& title, const QString& text) {
  Log << QStringLiteral("confirm: ") + title + u'|' + text;
  if (Confirmations.empty()) return mrCancel;
  const TModalResult r = Confirmations.front();
  Confirmations.pop_front();
  return r;
}

namespace {
bool take(std::deque<QString>& q, QString& out) {
  if (q.empty()) return false;
  out = q.front();
  q.pop_front();
  return !out.isEmpty();
}
}  // namespace

bool ScriptedPrompts::OpenFileDialog(const TFileDialogRequest& req, QString& fileName) {
  Log << QStringLiteral("open: ") + req.Title;
  LastFileRequest = req;
  return take(OpenNames, fileName);
}

bool ScriptedPrompts::SaveFileDialog(const TFileDialogRequest& req, QString& fileName) {
  Log << QStringLiteral("save: ") + req.Title;
  LastFileRequest = req;
  return take(SaveNames, fileName);
}
