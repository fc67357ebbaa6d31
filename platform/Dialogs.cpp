#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
TWidgetPromptService gWidgetPrompts;
TPromptService* gPrompts = nullptr;

QWidget* dialogParent() { return QApplication::activeWindow(); }
QString appTitle() { return QApplication::applicationDisplayName(); }
}  // namespace

TPromptService& Prompts() { return gPrompts ? *gPrompts : gWidgetPrompts; }
void SetPrompts(TPromptService* service) { gPrompts = service; }

void TWidgetPromptService::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, appTitle(), text, QMessageBox::Ok, dialogParent());
  box.exec();
}

void TWidgetPromptService::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, appTitle(), text, QMessageBox::Ok, dialogParent());
  box.exec();
}

TModalResult TWidgetPromptService::ConfirmYesNoCancel(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, dialogParent());
  QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes) return mrYes;
  if (box.clickedButton() == no) return mrNo;
  return mrCancel;
}

QString ConvertFilter(const QString& windowsFilter) {
  const QStringList parts = windowsFilter.split(u'|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    if (patterns.trimmed() == QStringLiteral("*.*")) patterns = QStringLiteral("*");
    QString label = parts[i];
    const qsizetype paren = label.indexOf(u'(');
    if (paren >= 0) label = label.left(paren).trimmed();
    out << QStringLiteral("%1 (%2)").arg(label, patterns);
  }
  return out.join(QStringLiteral(";;"));
}

namespace {
bool runFileDialog(const TFileDialogRequest& req, QString& fileName, bool save) {
  QFileDialog dlg(dialogParent(), req.Title, req.InitialDir, ConvertFilter(req.Filter));
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!req.OverwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!req.FileName.isEmpty()) dlg.selectFile(req.FileName);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
  fileName = dlg.selectedFiles().first();
  return true;
}
}  // namespace

bool TWidgetPromptService::OpenFileDialog(const TFileDialogRequest& req, QString& fileName) {
  return runFileDialog(req, fileName, false);
}

bool TWidgetPromptService::SaveFileDialog(const TFileDialogRequest& req, QString& fileName) {
  return runFileDialog(req, fileName, true);
}

void HandleException(const std::exception& e) {
  if (const auto* ex = dynamic_cast<const Exception*>(&e)) {
    Prompts().ShowError(ex->Message());
  } else if (dynamic_cast<const std::bad_alloc*>(&e)) {
    Prompts().ShowError(QStringLiteral("Zu wenig Arbeitsspeicher"));
  } else {
    Prompts().ShowError(QString::fromLocal8Bit(e.what()));
  }
}

void HandleUnknownException() { Prompts().ShowError(QStringLiteral("Unbekannter Fehler")); }
