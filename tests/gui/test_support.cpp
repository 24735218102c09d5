#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "settings/error_settings_file.h"
#include "settings/program_settings_file.h"
#include "state/paths.h"
#include "state/text_file.h"

namespace zav::test {

namespace {
void CopyTree(const QString& from, const QString& to) {
    QDir source(from);
    QDir().mkpath(to);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + "/" + entry.fileName();
        if (entry.isDir())
            CopyTree(entry.filePath(), target);
        else
            QFile::copy(entry.filePath(), target);
    }
}
} // namespace

TAppDir::TAppDir() {
    QDir root(dir_.path());
    root.mkpath("Data");
    root.mkpath("ports");
    root.mkpath("Log");
    CopyTree(QStringLiteral(ZAV_SOURCE_DIR) + "/lang", dir_.path() + "/lang");
    SetAppDir(dir_.path().toStdString());
    // The settings files as installed.
    SaveLines(TProgramSettingsFile::FileName(), TProgramSettingsFile::Lines({}), true);
    SaveLines(TErrorSettingsFile::FileName(), TErrorSettingsFile::Lines({}), true);
}

TAppDir::~TAppDir() {
    SetAppDir(QCoreApplication::applicationDirPath().toStdString());
}

void TAppDir::WritePortSettings(const std::vector<std::string>& lines) {
    SaveLines(dir_.path().toStdString() + "/Data/portp.dat", lines, true);
}

void TAppDir::RemovePortSettings() {
    QFile::remove(dir_.path() + "/Data/portp.dat");
}

std::vector<std::string> TAppDir::ReadPortSettings() const {
    return LoadLines(dir_.path().toStdString() + "/Data/portp.dat", true);
}

TMessageBoxCatcher::TMessageBoxCatcher() {
    qApp->installEventFilter(this);
}

TMessageBoxCatcher::~TMessageBoxCatcher() {
    qApp->removeEventFilter(this);
}

bool TMessageBoxCatcher::Saw(const QString& part) const {
    for (const QString& text : Texts)
        if (text.contains(part))
            return true;
    return false;
}

bool TMessageBoxCatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            Texts << box->text();
            QMetaObject::invokeMethod(box, "accept", Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

TShowWatcher::TShowWatcher(std::function<bool(QObject*)> handler) : handler_(std::move(handler)) {
    qApp->installEventFilter(this);
}

TShowWatcher::~TShowWatcher() {
    qApp->removeEventFilter(this);
}

bool TShowWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (handler_ && event->type() == QEvent::Show && handler_(watched))
        handler_ = nullptr;
    return QObject::eventFilter(watched, event);
}

TPseudoTerminal::TPseudoTerminal(const TAppDir& dir, int portNumber) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
        return;
    }
    const QString link = dir.Path() + "/ports/COM" + QString::number(portNumber);
    QFile::remove(link);
    if (!QFile::link(QString::fromLocal8Bit(ptsname(master_)), link)) {
        ::close(master_);
        master_ = -1;
    }
}

TPseudoTerminal::~TPseudoTerminal() {
    if (master_ >= 0)
        ::close(master_);
}

} // namespace zav::test
