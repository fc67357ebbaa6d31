#include "app/untGoto.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/untFindDialog.h"

TfrmGoto::TfrmGoto(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmGoto"));
  setWindowTitle(QStringLiteral("Gehe zu..."));
  SetDialogFont(*this);

  Label1 = new QLabel(QStringLiteral("Position in Byte angeben:"), this);
  edtGoto = new QLineEdit(this);
  edtGoto->setObjectName(QStringLiteral("edtGoto"));
  Label1->setBuddy(edtGoto);
  lblGoto = new QLabel(this);
  lblGoto->setObjectName(QStringLiteral("lblGoto"));
  btnOk = new QPushButton(QStringLiteral("Ok"), this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnOk->setDefault(true);
  btnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOk);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(edtGoto);
  layout->addWidget(lblGoto);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  FormCreate();
  edtGoto->setFocus();
}

void TfrmGoto::FormCreate() {
  // One line each; a label breaks lines at the line feed alone.
  lblGoto->setText(QStringLiteral("+ von aktueller Position vorwärts (z.B. +10)\n"
                                  "- von aktueller Position rückwärts (z.B. -10)\n"
                                  "! vom Ende rückwärts (z.B. !10)\n"
                                  "keine Angabe - von Beginn (z.B. 10)"));
}

void TfrmGoto::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Escape: reject(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: accept(); return;
    default: QDialog::keyPressEvent(e);
  }
}
