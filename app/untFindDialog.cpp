#include "app/untFindDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/CodePages.h"

int RunModal(QDialog& Dialog, const TModalRunner& Runner) { return Runner ? Runner(Dialog) : Dialog.exec(); }

bool IsHexString(const QString& Text) {
  qsizetype first = 0, last = Text.size();
  auto blankOrControl = [](QChar c) { return c.unicode() <= u' '; };
  while (first < last && blankOrControl(Text[first])) ++first;
  while (last > first && blankOrControl(Text[last - 1])) --last;
  if (first == last) return false;
  for (QChar c : Text) {
    const char16_t u = c.unicode();
    if (!(u == u' ' || (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f')))
      return false;
  }
  return true;
}

void SetDialogFont(QDialog& Dialog) {
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPointSize(8);
  Dialog.setFont(f);
  Dialog.setSizeGripEnabled(false);
}

TfrmSearch::TfrmSearch(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmSearch"));
  setWindowTitle(QStringLiteral("Suchen ..."));
  SetDialogFont(*this);

  Label1 = new QLabel(QStringLiteral("Geben Sie den Suchbegriff / Hex-Zeichen ein:"), this);
  edtSearchString = new QLineEdit(this);
  edtSearchString->setObjectName(QStringLiteral("edtSearchString"));
  Label1->setBuddy(edtSearchString);
  cbSearchText = new QCheckBox(QStringLiteral("Nach Text suchen"), this);
  cbSearchText->setObjectName(QStringLiteral("cbSearchText"));
  cbSearchText->setTristate(true);
  cbSearchText->setCheckState(Qt::PartiallyChecked);
  cbIgnoreCase = new QCheckBox(QStringLiteral("Groß/Kleinschreibung beachten"), this);
  cbIgnoreCase->setObjectName(QStringLiteral("cbIgnoreCase"));
  btnSearch = new QPushButton(QStringLiteral("Suche"), this);
  btnSearch->setObjectName(QStringLiteral("btnSearch"));
  btnSearch->setDefault(true);
  btnSearch->setEnabled(false);
  btnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSearch);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(edtSearchString);
  layout->addWidget(cbSearchText);
  layout->addWidget(cbIgnoreCase);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(edtSearchString, &QLineEdit::textChanged, this, [this] { edtSearchStringChange(); });
  connect(btnSearch, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  edtSearchString->setFocus();
}

void TfrmSearch::edtSearchStringChange() { btnSearch->setEnabled(!edtSearchString->text().isEmpty()); }

bool ShowSearchDialog(TFindRec& Rec, const TModalRunner& Runner, QWidget* Parent) {
  TfrmSearch dlg(Parent);
  dlg.edtSearchString->setText(Rec.SearchText);
  if (!Rec.SearchText.isEmpty()) dlg.cbSearchText->setCheckState(Rec.SearchAsText ? Qt::Checked : Qt::Unchecked);
  // The box asks for an exact search; the record keeps whether case is ignored.
  dlg.cbIgnoreCase->setChecked(!Rec.IgnoreCase);
  if (RunModal(dlg, Runner) != QDialog::Accepted) return false;
  Rec.SearchText = dlg.edtSearchString->text();
  Rec.SearchAsText = dlg.cbSearchText->checkState() == Qt::Checked;
  if (dlg.cbSearchText->checkState() == Qt::PartiallyChecked) Rec.SearchAsText = !IsHexString(Rec.SearchText);
  Rec.SearchData = StringToAnsiBytes(Rec.SearchText);
  Rec.IgnoreCase = !dlg.cbIgnoreCase->isChecked();
  return true;
}
