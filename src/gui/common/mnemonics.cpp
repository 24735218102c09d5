#include "common/mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

namespace zav {

namespace {
// The index in text (plain) of the character marked by a single '&', or -1.
int MnemonicIndex(const QString& text) {
    int plain = 0;
    for (int i = 0; i < text.size(); ++i, ++plain) {
        if (text[i] != '&' || i + 1 >= text.size())
            continue;
        if (text[i + 1] != '&')
            return plain;
        ++i;
    }
    return -1;
}

QString WithMnemonic(const QString& plain, int index) {
    QString text;
    for (int i = 0; i < plain.size(); ++i) {
        if (i == index)
            text += '&';
        text += plain[i];
        if (plain[i] == '&')
            text += '&';
    }
    return text;
}

int ChooseLetter(const QString& plain, const QSet<QChar>& taken) {
    auto freeLetter = [&](int i) {
        return plain[i].isLetter() && !taken.contains(plain[i].toLower());
    };
    for (int i = 0; i < plain.size(); ++i)
        if ((i == 0 || !plain[i - 1].isLetterOrNumber()) && freeLetter(i))
            return i;
    for (int i = 0; i < plain.size(); ++i)
        if (freeLetter(i))
            return i;
    return -1;
}
} // namespace

QString StripMnemonic(const QString& text) {
    QString plain;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

void AssignMnemonics(const QList<QAction*>& actions) {
    QSet<QChar> taken;
    QList<QAction*> toAssign;
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        const int index = MnemonicIndex(action->text());
        const QString plain = StripMnemonic(action->text());
        if (index >= 0 && plain[index].isDigit())
            taken.insert(plain[index]);
        else
            toAssign << action;
    }
    for (QAction* action : toAssign) {
        const QString plain = StripMnemonic(action->text());
        const int index = ChooseLetter(plain, taken);
        if (index >= 0)
            taken.insert(plain[index].toLower());
        action->setText(WithMnemonic(plain, index));
    }
}

void AssignMenuMnemonics(QMenuBar& bar) {
    AssignMnemonics(bar.actions());
    QList<QMenu*> menus;
    for (QAction* action : bar.actions())
        if (action->menu())
            menus << action->menu();
    while (!menus.isEmpty()) {
        QMenu* menu = menus.takeFirst();
        AssignMnemonics(menu->actions());
        for (QAction* action : menu->actions())
            if (action->menu())
                menus << action->menu();
    }
}

} // namespace zav
