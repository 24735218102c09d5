#pragma once
// A debugging aid: saves pictures of the main window in both control modes and of each
// dialog into a folder, for checking the layout without a screen.

#include <QString>

namespace zav {

class TForm1;

// Message boxes are answered at once, their texts going to standard error, so that an
// unattended run does not stop at one.
void AnswerMessageBoxes();

// Writes <dir>/<window>.png for each window; returns false if a file could not be written.
bool SaveScreenshots(TForm1& form, const QString& dir);

} // namespace zav
