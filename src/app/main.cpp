// zav: the control program. Its files live beside the executable, or in the user's
// data folder when the program is installed (its shipped files then in ../share/zav).

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "common/signal_close.h"
#include "localisation/form_lang.h"
#include "main-window/form1.h"
#include "main-window/screenshots.h"
#include "state/paths.h"

int main(int argc, char* argv[]) {
    QElapsedTimer started;
    started.start();
    QApplication app(argc, argv);
    app.setApplicationName("zav");
    app.setApplicationDisplayName("Zav_Program");
    app.setDesktopFileName("zav");
    QIcon icon;
    for (const char* size : {"32", "64", "256"})
        icon.addFile(QString(":/icons/zav-%1.png").arg(size));
    app.setWindowIcon(icon);
    const std::string exeDir = QCoreApplication::applicationDirPath().toStdString();
    zav::SetAppDir(zav::ProgramDirOf(exeDir));
    const std::string dataDir = zav::PrepareDataDirOf(
        exeDir, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
    if (!dataDir.empty())
        zav::SetDataDir(dataDir);

    // Debugging aids, not used in normal runs: ZAV_SCREENSHOT_DIR saves pictures of the
    // windows there and quits; ZAV_QUIT_WHEN_SHOWN prints the time to the first shown
    // window and quits. Both answer message boxes by themselves.
    const QString screenshots = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    const bool quitWhenShown = qEnvironmentVariableIsSet("ZAV_QUIT_WHEN_SHOWN");
    if (!screenshots.isEmpty() || quitWhenShown)
        zav::AnswerMessageBoxes();

    // A signal closes the dialogs and message boxes first, so that their own loops end,
    // then the main window without asking (a send is stopped as on closing); one that
    // comes during start-up closes it once it is made.
    zav::TForm1* mainForm = nullptr;
    bool closeWhenMade = false;
    zav::TSignalCloser signalCloser([&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != mainForm && window->isVisible())
                window->close();
        if (mainForm)
            mainForm->CloseWithoutAsking();
        else
            closeWhenMade = true;
    });
    zav::TForm1 form;
    mainForm = &form;
    // Created once, hidden, so that a missing language list or a damaged dialog file is
    // reported at start-up.
    new zav::TFormLang(form.Controller(), &form);
    form.show();
    if (closeWhenMade)
        QTimer::singleShot(0, &form, [&form] { form.CloseWithoutAsking(); });

    if (!screenshots.isEmpty()) {
        QTimer::singleShot(0, &form, [&] {
            const bool saved = zav::SaveScreenshots(form, screenshots);
            form.close();
            app.exit(saved ? 0 : 1);
        });
    } else if (quitWhenShown) {
        QTimer::singleShot(0, &form, [&] {
            std::fprintf(stderr, "shown after %lld ms\n",
                         static_cast<long long>(started.elapsed()));
            form.close();
        });
    }
    return app.exec();
}
