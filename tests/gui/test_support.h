#pragma once
// What the window tests share: a throw-away program folder, a catcher for modal message
// boxes, and pseudo-terminals that stand in for serial ports.

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>

namespace zav::test {

// A program folder with Data/, lang/ (copied from the source tree when it has one) and
// ports/; the program's files are looked up there while it exists.
class TAppDir {
public:
    TAppDir();
    ~TAppDir();
    QString Path() const { return dir_.path(); }
    // Data/portp.dat holding these lines, written as the program writes it.
    void WritePortSettings(const std::vector<std::string>& lines);
    void RemovePortSettings();
    std::vector<std::string> ReadPortSettings() const;

private:
    QTemporaryDir dir_;
};

// Accepts every modal message box as soon as it is shown and keeps its text.
class TMessageBoxCatcher : public QObject {
    Q_OBJECT
public:
    TMessageBoxCatcher();
    ~TMessageBoxCatcher() override;
    QStringList Texts;
    bool Saw(const QString& part) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A pseudo-terminal whose far end is linked as ports/COM<n> of the program folder, so
// that the program can open COM n.
class TPseudoTerminal {
public:
    TPseudoTerminal(const TAppDir& dir, int portNumber);
    ~TPseudoTerminal();
    bool Ok() const { return master_ >= 0; }

private:
    int master_ = -1;
};

} // namespace zav::test
