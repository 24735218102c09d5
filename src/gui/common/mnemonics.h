#pragma once
// Keyboard mnemonics (Alt+letter) for menus whose captions come from language files.
// The files hold plain texts, older ones included, so the letters are chosen here: for
// each caption in turn the first letter that starts a word, else any letter, that no
// caption before it on the same menu level has taken.

#include <QList>
#include <QString>

class QAction;
class QMenuBar;

namespace zav {

// The caption as shown, without its mnemonic ("&&" stands for "&").
QString StripMnemonic(const QString& text);
// Gives each action (a menu level) its own mnemonic; digits already chosen by a caller
// ("&1 file.zav") are kept and count as taken.
void AssignMnemonics(const QList<QAction*>& actions);
// The same for the menu bar and, level by level, every menu under it.
void AssignMenuMnemonics(QMenuBar& bar);

} // namespace zav
