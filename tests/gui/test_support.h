#pragma once
// What the window tests share: a throw-away program folder, a catcher for modal message
// boxes, and pseudo-terminals that stand in for serial ports.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <utility>

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

namespace zav::test {

// Watches for the first window for which handler returns true when it is shown.
class TShowWatcher : public QObject {
public:
    explicit TShowWatcher(std::function<bool(QObject*)> handler);
    ~TShowWatcher() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(QObject*)> handler_;
};

// Answers every message box when it is shown with answer's button (or accepts a box
// without one), after running Inside once; keeps the texts.
class TBoxAnswerer {
public:
    explicit TBoxAnswerer(QMessageBox::StandardButton answer)
        : watcher_([this, answer](QObject* watched) {
              if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                  Texts << box->text();
                  QTimer::singleShot(0, box, [this, box = QPointer<QMessageBox>(box), answer] {
                      if (auto inside = std::exchange(Inside, nullptr))
                          inside();
                      if (box && box->button(answer))
                          box->button(answer)->click();
                      else if (box)
                          box->accept();
                  });
              }
              return false; // keeps watching
          }) {}
    QStringList Texts;
    std::function<void()> Inside;

private:
    TShowWatcher watcher_;
};

// Runs action on the next T that is shown, from the event loop that shows it (a modal
// dialog's own loop): the way to drive a modal dialog from a test.
template <class T> std::unique_ptr<TShowWatcher> OnShown(std::function<void(T*)> action) {
    return std::make_unique<TShowWatcher>([action](QObject* watched) {
        auto* window = qobject_cast<T*>(watched);
        if (!window)
            return false;
        QPointer<T> guard(window);
        QTimer::singleShot(0, window, [guard, action] {
            if (guard)
                action(guard);
        });
        return true;
    });
}

// A control of the window by its name; null if there is none.
template <class T> T* Find(const QObject& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

} // namespace zav::test
