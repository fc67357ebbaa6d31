#include "app/untReplace.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/CodePages.h"

namespace {
QCheckBox* triState(const QString& caption, const char* name, QWidget* parent) {
  auto* cb = new QCheckBox(caption, parent);
  cb->setObjectName(QString::fromLatin1(name));
  cb->setTristate(true);
  cb->setCheckState(Qt::PartiallyChecked);
  return cb;
}

// Checked or unchecked from the record; grayed again makes the program decide.
void resolve(const QCheckBox* cb, const QString& text, bool& asText) {
  asText = cb->checkState() == Qt::Checked;
  if (cb->checkState() == Qt::PartiallyChecked) asText = !IsHexString(text);
}
}  // namespace

TfrmReplace::TfrmReplace(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmReplace"));
  setWindowTitle(QStringLiteral("Suchen und Ersetzen ..."));
  SetDialogFont(*this);

  Label1 = new QLabel(QStringLiteral("Geben Sie einen Text oder Hex-Daten ein:"), this);
  edtSearchString = new QLineEdit(this);
  edtSearchString->setObjectName(QStringLiteral("edtSearchString"));
  Label1->setBuddy(edtSearchString);
  cbSearchText = triState(QStringLiteral("Suchtext"), "cbSearchText", this);
  cbIgnoreCase = new QCheckBox(QStringLiteral("Ignoriere Groß/Kleinschreibung"), this);
  cbIgnoreCase->setObjectName(QStringLiteral("cbIgnoreCase"));
  Label2 = new QLabel(QStringLiteral("Ersetzungstext oder Hex-Daten:"), this);
  edtReplaceString = new QLineEdit(this);
  edtReplaceString->setObjectName(QStringLiteral("edtReplaceString"));
  Label2->setBuddy(edtReplaceString);
  cbReplaceText = triState(QStringLiteral("Textsuche ?"), "cbReplaceText", this);
  btnReplace = new QPushButton(QStringLiteral("Ersetze"), this);
  btnReplace->setObjectName(QStringLiteral("btnReplace"));
  btnReplace->setDefault(true);
  btnReplace->setEnabled(false);
  btnReplaceAll = new QPushButton(QStringLiteral("Ersetze alle"), this);
  btnReplaceAll->setObjectName(QStringLiteral("btnReplaceAll"));
  btnReplaceAll->setAutoDefault(false);
  btnReplaceAll->setEnabled(false);
  btnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setAutoDefault(false);

  auto* boxes = new QHBoxLayout;
  boxes->addWidget(cbSearchText);
  boxes->addWidget(cbIgnoreCase);
  boxes->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnReplace);
  buttons->addWidget(btnReplaceAll);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(edtSearchString);
  layout->addLayout(boxes);
  layout->addWidget(Label2);
  layout->addWidget(edtReplaceString);
  layout->addWidget(cbReplaceText);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(edtSearchString, &QLineEdit::textChanged, this, [this] { edtSearchStringChange(); });
  connect(edtReplaceString, &QLineEdit::textChanged, this, [this] { edtSearchStringChange(); });
  connect(btnReplace, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnReplaceAll, &QPushButton::clicked, this, [this] { btnReplaceAllClick(); });
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  edtSearchString->setFocus();
}

void TfrmReplace::edtSearchStringChange() {
  const bool any = !edtSearchString->text().isEmpty();
  btnReplace->setEnabled(any);
  btnReplaceAll->setEnabled(any);
}

void TfrmReplace::btnReplaceAllClick() {
  FReplaceAll = true;
  accept();
}

bool ShowReplaceDialog(TReplaceRec& Rec, const TModalRunner& Runner, QWidget* Parent) {
  TfrmReplace dlg(Parent);
  dlg.edtSearchString->setText(Rec.SearchText);
  dlg.edtReplaceString->setText(Rec.ReplaceText);
  if (!Rec.SearchText.isEmpty()) dlg.cbSearchText->setCheckState(Rec.SearchAsText ? Qt::Checked : Qt::Unchecked);
  if (!Rec.ReplaceText.isEmpty())
    dlg.cbReplaceText->setCheckState(Rec.ReplaceAsText ? Qt::Checked : Qt::Unchecked);
  dlg.cbIgnoreCase->setChecked(Rec.IgnoreCase);
  if (RunModal(dlg, Runner) != QDialog::Accepted) return false;
  Rec.SearchText = dlg.edtSearchString->text();
  Rec.ReplaceText = dlg.edtReplaceString->text();
  resolve(dlg.cbSearchText, Rec.SearchText, Rec.SearchAsText);
  resolve(dlg.cbReplaceText, Rec.ReplaceText, Rec.ReplaceAsText);
  Rec.SearchData = StringToAnsiBytes(Rec.SearchText);
  Rec.ReplaceData = StringToAnsiBytes(Rec.ReplaceText);
  Rec.IgnoreCase = dlg.cbIgnoreCase->isChecked();
  Rec.ReplaceAll = dlg.ReplaceAllChosen();
  return true;
}
