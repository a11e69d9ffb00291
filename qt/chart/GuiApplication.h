#pragma once
// Drawing with Qt Gui (a font, a picture, a PDF) needs a GUI application. A program without one
// (the console) gets one on the offscreen platform the first time it draws.
namespace qx::ui {

// Makes the offscreen GUI application unless there is one; fails when the program already has a
// non-GUI application, which cannot be turned into one.
void ensureGuiApplication();

}  // namespace qx::ui
