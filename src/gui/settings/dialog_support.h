#pragma once
// What the settings dialogs share.

#include <QPushButton>
#include <QWidget>

namespace zav {

// Every button, check box and radio button of the window that has a caption and no
// accessible name yet is named by its caption (called again after a translation).
void NameControlsByCaption(QWidget* window);

// The OK button with its glyph; the default button of its dialog.
QPushButton* NewOkButton(const char* objectName, QWidget* parent);

} // namespace zav
