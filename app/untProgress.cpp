#include "app/untProgress.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>

#include <memory>

#include "hexeditor/VXHexEditor.h"
#include "platform/SysUtils.h"

namespace {

const QString kDialogName = QStringLiteral("LoadSaveProgress");

struct TProgressState {
  QPointer<QProgressDialog> Dialog;
};

QString caption(TVXHProgressKind kind, const QString& name) {
  return Format(kind == pkLoad ? QStringLiteral("Lade %s ...") : QStringLiteral("Speichere %s ..."),
                {ExtractFileName(name)});
}

}  // namespace

void AttachProgress(TCustomVXHexEditor& editor, int64_t threshold) {
  auto state = std::make_shared<TProgressState>();
  TCustomVXHexEditor* ed = &editor;
  editor.OnLoadSaveProgress = [state, ed, threshold](QObject*, TVXHProgressKind kind, const QString& name,
                                                     uint8_t percent, bool& cancel) {
    if (state->Dialog && !state->Dialog->isVisible()) state->Dialog.clear();  // closed after a failure
    if (!state->Dialog) {
      if (percent >= 100) return;  // one chunk: nothing to wait for
      const int64_t size = kind == pkLoad ? QFileInfo(name).size() : ed->DataSize();
      if (size < threshold) return;
      auto* dlg = new QProgressDialog(caption(kind, name), QStringLiteral("Abbrechen"), 0, 100, ed);
      dlg->setObjectName(kDialogName);
      dlg->setWindowTitle(QApplication::applicationDisplayName());
      dlg->setWindowModality(Qt::ApplicationModal);
      dlg->setMinimumDuration(0);
      dlg->setAutoClose(false);
      dlg->setAutoReset(false);
      dlg->setAttribute(Qt::WA_DeleteOnClose);
      state->Dialog = dlg;
      dlg->show();
    }
    QProgressDialog* dlg = state->Dialog;
    dlg->setValue(percent);
    // The dialog has to see its button while the copy runs.
    QCoreApplication::processEvents();
    if (state->Dialog && state->Dialog->wasCanceled()) cancel = true;
    if (cancel || percent >= 100) {
      if (state->Dialog) state->Dialog->close();
      state->Dialog.clear();
    }
  };
}

TProgressScope::~TProgressScope() {
  for (QProgressDialog* dlg : FEditor.findChildren<QProgressDialog*>(kDialogName, Qt::FindDirectChildrenOnly))
    dlg->close();
}
