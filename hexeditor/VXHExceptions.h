#pragma once
#include "platform/SysUtils.h"

// The control's own error; its messages are the texts of VXHexEditorStrings.h.
ZQ_DECLARE_EXCEPTION(EVXHexEditor, Exception)
