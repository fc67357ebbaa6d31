// Progress of loading and saving large files, with a button that cancels.
#pragma once

#include <cstdint>

class TCustomVXHexEditor;

// Files at or above this size show the progress dialog; smaller ones finish too fast to need it.
inline constexpr int64_t kProgressDialogThreshold = int64_t(4) << 20;

// Shows a modal progress dialog naming the file while the editor loads or saves a file
// of at least `threshold` bytes; "Abbrechen" cancels the operation.
void AttachProgress(TCustomVXHexEditor& editor, int64_t threshold = kProgressDialogThreshold);

// Closes a progress dialog left open by a load or save that ended in an error.
class TProgressScope {
public:
  explicit TProgressScope(TCustomVXHexEditor& editor) : FEditor(editor) {}
  ~TProgressScope();
  TProgressScope(const TProgressScope&) = delete;
  TProgressScope& operator=(const TProgressScope&) = delete;
private:
  TCustomVXHexEditor& FEditor;
};
