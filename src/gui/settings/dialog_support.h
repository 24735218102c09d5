#pragma once
// What the settings dialogs share.

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QWidget>

#include "localisation/lang.h"

namespace zav {

// Every button, check box and radio button of the window that has a caption and no
// accessible name yet is named by its caption (called again after a translation).
void NameControlsByCaption(QWidget* window);

// The OK button with its glyph; the default button of its dialog.
QPushButton* NewOkButton(const char* objectName, const TLang& lang, QWidget* parent);
// The Cancel button: closes the dialog without saving, as Esc does.
QPushButton* NewCancelButton(const TLang& lang, QDialog* dialog);
// OK and Cancel side by side at the right.
QHBoxLayout* OkCancelRow(QPushButton* ok, QPushButton* cancel);

} // namespace zav
