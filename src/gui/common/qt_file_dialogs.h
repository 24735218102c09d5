#pragma once
// The command-list file dialogs: Qt's own file dialogs, without a type filter, with
// ".zav" as default extension.

#include <QFileDialog>

#include "program-editing/command_files.h"

namespace zav {

class TQtFileDialogs : public IFileDialogs {
public:
    explicit TQtFileDialogs(QWidget* parent) : parent_(parent) {}

    // Configured but not shown (tests look at them).
    static QFileDialog* MakeOpenDialogZav(QWidget* parent, const QString& folder,
                                          const QString& name);
    static QFileDialog* MakeSaveDialogZav(QWidget* parent, const QString& folder,
                                          const QString& name);

    std::optional<std::string> ChooseOpenFile(const std::string& folder,
                                              const std::string& initialName) override;
    std::optional<std::string> ChooseSaveFile(const std::string& folder,
                                              const std::string& initialName) override;

private:
    QWidget* parent_;
};

} // namespace zav
