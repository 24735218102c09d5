#include "main-window/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

#include "common/mnemonics.h"
#include "common/qt_message_box.h"
#include "controller/program_info.h"
#include "journal/form_journal.h"
#include "localisation/form_lang.h"
#include "main-window/form1.h"
#include "main-window/form_byte_len.h"
#include "main-window/form_color_indicators.h"
#include "main-window/form_coord.h"
#include "main-window/form_port_name.h"
#include "main-window/form_resume.h"
#include "program-editing/form_chan_read.h"
#include "program-editing/form_preview.h"
#include "program-editing/read_program.h"
#include "settings/form_err_nastr.h"
#include "settings/form_errores.h"
#include "settings/form_prog_prop.h"

namespace zav {

namespace {
class TMessageBoxAnswerer : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                std::fprintf(stderr, "message box: %s\n", qPrintable(box->text()));
                QMetaObject::invokeMethod(box, "accept", Qt::QueuedConnection);
            }
        return QObject::eventFilter(watched, event);
    }
};

bool Save(QWidget& window, const QString& dir, const QString& name) {
    window.show();
    QApplication::processEvents();
    return window.grab().save(QDir(dir).filePath(name + ".png"));
}

// The main window with its File menu open, as Alt+F shows it: the menu is a window of
// its own, so the screen is grabbed where both are.
bool SaveFileMenu(TForm1& form, const QString& dir, const QString& name) {
    form.show();
    form.menuBar()->setActiveAction(form.mmFile->menuAction());
    QApplication::processEvents();
    QRect area = form.frameGeometry().united(form.mmFile->geometry());
    if (form.mmFileRecent->isEnabled()) {
        QMenu& recent = *form.mmFileRecent;
        form.mmFile->setActiveAction(recent.menuAction());
        recent.popup(
            form.mmFile->mapToGlobal(form.mmFile->actionGeometry(recent.menuAction()).topRight()));
        QApplication::processEvents();
        area = area.united(recent.geometry());
    }
    QScreen* screen = form.screen();
    const bool saved = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                           .save(QDir(dir).filePath(name + ".png"));
    form.mmFileRecent->close();
    form.mmFile->close();
    return saved;
}

// The send list's context menu, open over its third row.
bool SaveGridMenu(TForm1& form, const QString& dir, const QString& name) {
    TCommandGrid& grid = *form.PanelMultC->StringGridSend;
    grid.SetCurrentGridRow(3);
    QMenu menu;
    menu.addActions(grid.actions());
    const QRect row = grid.visualRect(grid.model()->index(2, 2));
    menu.popup(grid.viewport()->mapToGlobal(row.center()));
    QApplication::processEvents();
    const QRect area = form.frameGeometry().united(menu.geometry());
    const bool saved = form.screen()
                           ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                           .save(QDir(dir).filePath(name + ".png"));
    menu.close();
    return saved;
}

template <class TDialog> bool SaveDialog(TForm1& form, const QString& dir, const QString& name) {
    auto* dialog = new TDialog(form.Controller(), &form);
    const bool saved = Save(*dialog, dir, name);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    delete dialog;
    return saved;
}
} // namespace

void AnswerMessageBoxes() {
    qApp->installEventFilter(new TMessageBoxAnswerer);
}

namespace {
bool SaveWindows(TForm1& form, const QString& dir, const QString& suffix) {
    bool ok = true;
    TCommonDatas& datas = form.Controller().CommonDatas();
    // A short program in the list, as an operator composes one.
    auto compose = [&form] {
        TCommandEditor& editor = form.Controller().Editor();
        editor.btnLD1Click();
        editor.AddToolCommand(ciSD, "300");
        editor.AddToolCommand(ciAL, "15");
        editor.AddToolCommand(ciMV, "2000");
        editor.btnEDClick();
        editor.btnSTClick();
    };
    form.rgrSingl_Mult->SetItemIndex(0);
    ok &= Save(form, dir, "main-simple" + suffix);
    datas.ShowLoadLog = false;
    datas.ShowPortLog = false;
    form.rgrSingl_Mult->SetItemIndex(1);
    compose();
    ok &= Save(form, dir, "main-extended" + suffix);
    ok &= SaveFileMenu(form, dir, "main-file-menu" + suffix);
    ok &= SaveGridMenu(form, dir, "main-grid-menu" + suffix);
    datas.ShowLoadLog = true;
    datas.ShowPortLog = true;
    form.rgrSingl_MultClick();
    compose();
    ok &= Save(form, dir, "main-extended-lists" + suffix);
    // The program check's marks: a move before any speed, a wait, and a direct move.
    {
        TCommandEditor& editor = form.Controller().Editor();
        editor.btnAllClearClick();
        editor.btnLD1Click();
        editor.AddToolCommand(ciMV, "2000");
        editor.AddToolCommand(ciSD, "300");
        editor.AddToolCommand(ciWL, "1");
        editor.btnEDClick();
        editor.AddToolCommand(ciHM, "no");
        ok &= Save(form, dir, "main-extended-warnings" + suffix);
        editor.btnAllClearClick();
        compose();
    }
    const QSize built = form.size();
    form.resize(built.width() + 300, built.height() + 200);
    ok &= Save(form, dir, "main-extended-larger" + suffix);
    form.resize(built);
    // The preview of a list of two coordinates, with a ramp, a pause, a loop and a wait.
    form.Controller().MemoSend().SetLines(
        {"LD1", "SD300", "AL+2", "MV2000", "SP500", "DR",    "LL",     "MV400", "SP200", "JP2",
         "WL1", "ED",    "LD2",  "SD150",  "DR",    "MV600", "SP1000", "DL",    "MV900", "ED"});
    form.mmPreviewClick();
    if (form.FormPreview) {
        ok &= Save(*form.FormPreview, dir, "preview" + suffix);
        form.FormPreview->close();
    }
    form.rgrSingl_Mult->SetItemIndex(0);
    ok &= SaveDialog<TFormPortName>(form, dir, "port-number" + suffix);
    ok &= SaveDialog<TFormByteLen>(form, dir, "port-properties" + suffix);
    ok &= SaveDialog<TFormCoord>(form, dir, "coordinate-selection" + suffix);
    ok &= SaveDialog<TFormColorIndicators>(form, dir, "coordinate-states" + suffix);
    ok &= SaveDialog<TFormErrNastr>(form, dir, "error-handling" + suffix);
    ok &= SaveDialog<TFormErrores>(form, dir, "error-recovery" + suffix);
    {
        TFormProgProp dialog(form.Controller(), {}, &form);
        ok &= Save(dialog, dir, "program-settings" + suffix);
    }
    TController& c = form.Controller();
    TReadProgramParser::Parse({"RD1*SD200*MV1000*AL32868*XY*ED*"}, c.Commands(), c.CommonDatas(),
                              c.ChanRead().StringGridRead);
    ok &= SaveDialog<TFormChanRead>(form, dir, "read-back" + suffix);
    ok &= SaveDialog<TFormLang>(form, dir, "language" + suffix);
    {
        // A send cut inside its second recording, as a journal gives it back.
        TJournal journal;
        journal.StartedMs = 1765300000000;
        journal.ListFile = "Users/Zav-Prog-1.zav";
        journal.End = TJournalEnd::DeviceLost;
        journal.Lines = {"LD1", "SD300", "MV2000", "ED", "LD2", "SD200", "MV1000", "ED", "ST"};
        for (std::size_t line = 0; line < 6; ++line)
            journal.Entries.push_back({0, line, journal.Lines[line], "", "E10*", "accepted", 5});
        TFormResume dialog(form.Controller(), journal, {}, &form);
        ok &= Save(dialog, dir, "resume" + suffix);
    }
    ok &= SaveDialog<TFormJournal>(form, dir, "send-journal" + suffix);
    // The information box as the menu shows it, but without its own event loop.
    QMessageBox about(QMessageBox::Information, StripMnemonic(form.mmVers->text()),
                      QString::fromStdString(ProgramInformation(form.Controller(), qVersion())),
                      QMessageBox::Ok, &form);
    TranslateButtons(about, form.Controller().Lang());
    ok &= Save(about, dir, "program-information" + suffix);
    return ok;
}
} // namespace

bool SaveScreenshots(TForm1& form, const QString& dir) {
    QDir().mkpath(dir);
    bool ok = SaveWindows(form, dir, "");
    // Then every window again in Russian, whose texts run longest.
    form.Controller().LanguageSwitch().SetLanguage("ru");
    ok &= SaveWindows(form, dir, "-ru");
    form.Controller().LanguageSwitch().SetLanguage("en");
    return ok;
}

} // namespace zav
