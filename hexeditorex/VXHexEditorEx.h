// The extended editor control used in every editor window.
#pragma once

#include "hexeditor/VXHexEditor.h"

class TVXHexEditorEx : public TCustomVXHexEditor {
  Q_OBJECT
public:
  explicit TVXHexEditorEx(QWidget* parent = nullptr);

  // Saves the document over its own file.
  void Save() { SaveToFile(FileName(), true); }
};
