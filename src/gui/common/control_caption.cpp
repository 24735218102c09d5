#include "common/control_caption.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>

#include "common/caption_panel.h"
#include "common/command_grid.h"
#include "common/mnemonics.h"
#include "common/radio_group.h"

namespace zav {

namespace {
// A text from a file is shown as it stands, never as a keyboard mnemonic.
QString Plain(const QString& text) {
    return QString(text).replace('&', "&&");
}
QString Unplain(const QString& text) {
    return StripMnemonic(text);
}

QObject* Find(const QWidget& window, const QString& name) {
    if (window.objectName() == name)
        return const_cast<QWidget*>(&window);
    return window.findChild<QObject*>(name);
}
} // namespace

bool SetControlCaption(QWidget& window, const QString& name, int item, const QString& text) {
    QObject* o = Find(window, name);
    if (o == &window && item < 0) {
        window.setWindowTitle(text);
        return true;
    }
    if (auto* g = qobject_cast<TRadioGroup*>(o)) {
        if (item < 0)
            g->setTitle(Plain(text));
        else if (item < g->Count())
            g->SetItemCaption(item, Plain(text));
        else
            return false;
    } else if (auto* grid = qobject_cast<TCommandGrid*>(o)) {
        TCommandGridModel* model = grid->GridModel();
        if (item != 2)
            return false;
        model->SetHeaderTexts(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                              text);
    } else if (auto* t = qobject_cast<QTableWidget*>(o)) {
        if (item < 0 || item >= t->columnCount())
            return false;
        if (!t->horizontalHeaderItem(item))
            t->setHorizontalHeaderItem(item, new QTableWidgetItem);
        t->horizontalHeaderItem(item)->setText(text);
    } else if (auto* gb = qobject_cast<QGroupBox*>(o)) {
        gb->setTitle(Plain(text));
    } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        b->setText(Plain(text));
    } else if (auto* l = qobject_cast<QLabel*>(o)) {
        l->setText(text);
    } else if (auto* p = qobject_cast<TCaptionPanel*>(o)) {
        p->SetCaption(text);
    } else if (auto* m = qobject_cast<QMenu*>(o)) {
        m->setTitle(Plain(text));
    } else if (auto* a = qobject_cast<QAction*>(o)) {
        a->setText(Plain(text));
    } else {
        return false;
    }
    return true;
}

QString ControlCaption(const QWidget& window, const QString& name, int item) {
    QObject* o = Find(window, name);
    if (o == &window && item < 0)
        return window.windowTitle();
    if (auto* g = qobject_cast<TRadioGroup*>(o))
        return item < 0            ? Unplain(g->title())
               : item < g->Count() ? Unplain(g->Button(item)->text())
                                   : QString();
    if (auto* v = qobject_cast<QTableView*>(o))
        return item >= 0 ? v->model()->headerData(item, Qt::Horizontal, Qt::DisplayRole).toString()
                         : QString();
    if (auto* gb = qobject_cast<QGroupBox*>(o))
        return Unplain(gb->title());
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return Unplain(b->text());
    if (auto* l = qobject_cast<QLabel*>(o))
        return l->text();
    if (auto* p = qobject_cast<TCaptionPanel*>(o))
        return p->Caption();
    if (auto* m = qobject_cast<QMenu*>(o))
        return Unplain(m->title());
    if (auto* a = qobject_cast<QAction*>(o))
        return Unplain(a->text());
    return QString();
}

} // namespace zav
