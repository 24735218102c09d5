#include "common/qt_file_dialogs.h"

#include <memory>

namespace zav {

namespace {
QFileDialog* MakeDialog(QWidget* parent, const char* name, const QString& folder,
                        const QString& fileName) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(name);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setDirectory(folder);
    dialog->setDefaultSuffix("zav");
    dialog->selectFile(fileName);
    dialog->setSizeGripEnabled(true);
    return dialog;
}

std::optional<std::string> Run(QFileDialog* dialog) {
    std::unique_ptr<QFileDialog> owner(dialog);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().first().toStdString();
}
} // namespace

QFileDialog* TQtFileDialogs::MakeOpenDialogZav(QWidget* parent, const QString& folder,
                                               const QString& name) {
    QFileDialog* dialog = MakeDialog(parent, "OpenDialogZav", folder, name);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return dialog;
}

QFileDialog* TQtFileDialogs::MakeSaveDialogZav(QWidget* parent, const QString& folder,
                                               const QString& name) {
    QFileDialog* dialog = MakeDialog(parent, "SaveDialogZav", folder, name);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    return dialog; // asks before overwriting: the save mode's default
}

std::optional<std::string> TQtFileDialogs::ChooseOpenFile(const std::string& folder,
                                                          const std::string& initialName) {
    return Run(MakeOpenDialogZav(parent_, QString::fromStdString(folder),
                                 QString::fromStdString(initialName)));
}

std::optional<std::string> TQtFileDialogs::ChooseSaveFile(const std::string& folder,
                                                          const std::string& initialName) {
    return Run(MakeSaveDialogZav(parent_, QString::fromStdString(folder),
                                 QString::fromStdString(initialName)));
}

} // namespace zav
