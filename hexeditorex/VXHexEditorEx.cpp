#include "hexeditorex/VXHexEditorEx.h"

TVXHexEditorEx::TVXHexEditorEx(QWidget* parent) : TCustomVXHexEditor(parent) {}
