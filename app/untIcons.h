// The pictures of the main window's image list and the program icon, painted at run time
// so the program carries no image files of its own.
#pragma once

#include <QIcon>
#include <QPixmap>

// Image indices of imglstMain.
enum : int {
  iiFileNew = 0, iiFileOpen = 1, iiFileSave = 2, iiCut = 3, iiCopy = 4, iiPaste = 5,
  iiUndo = 6, iiRedo = 7, iiPrint = 8, iiUnused = 9, iiOptions = 10, iiSearch = 11,
  iiReplace = 12, iiSearchAgain = 13
};
constexpr int MainImageCount = 14;

// One picture, square, size × size pixels; an index outside the list gives a transparent picture.
QPixmap PaintMainImage(int index, int size);
// The picture at 16 and 32 pixels.
QIcon MainImage(int index);
QIcon ProgramIcon();
