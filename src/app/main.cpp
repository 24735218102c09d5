// zav: the control program. Everything lives beside the executable.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "localisation/form_lang.h"
#include "main-window/form1.h"
#include "main-window/screenshots.h"
#include "state/paths.h"

int main(int argc, char* argv[]) {
    QElapsedTimer started;
    started.start();
    QApplication app(argc, argv);
    app.setApplicationDisplayName("Zav_Program");
    zav::SetAppDir(QCoreApplication::applicationDirPath().toStdString());

    // Debugging aids, not used in normal runs: ZAV_SCREENSHOT_DIR saves pictures of the
    // windows there and quits; ZAV_QUIT_WHEN_SHOWN prints the time to the first shown
    // window and quits. Both answer message boxes by themselves.
    const QString screenshots = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    const bool quitWhenShown = qEnvironmentVariableIsSet("ZAV_QUIT_WHEN_SHOWN");
    if (!screenshots.isEmpty() || quitWhenShown)
        zav::AnswerMessageBoxes();

    zav::TForm1 form;
    // Created once, hidden, so that a missing language list or a damaged dialog file is
    // reported at start-up.
    new zav::TFormLang(form.Controller(), &form);
    form.show();

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
