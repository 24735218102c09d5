#pragma once
// The main window's part of a running send: a progress bar with "line n of m", the time
// taken and the time left at the right of the bottom line, the row being sent marked in
// the grid, the "Stop sending" button and Esc enabled, and F5 for Send.

#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <functional>

#include "common/caption_panel.h"
#include "controller/send_progress.h"

namespace zav {

class TController;
class TCommandGrid;

class TSendProgressBar : public QObject, public ISendProgressView {
    Q_OBJECT
public:
    // The bar goes into statusLine; send is the Send button, stop the stop button beside
    // it. grid may be made later: it is asked for on each update.
    TSendProgressBar(TController& controller, QWidget& window, TCaptionPanel& statusLine,
                     QPushButton& send, QPushButton& stop, std::function<TCommandGrid*()> grid);

    // The captions and tool-tips in the operator's language.
    void ApplyTexts();
    QProgressBar* Bar() const { return bar_; }
    // Told true when a send begins and false when it has ended.
    std::function<void(bool sending)> OnSending;

    // ISendProgressView
    void SendStarted() override;
    void SendEnded() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update();
    void Place();
    void Mark(int row);

    TController& controller_;
    TCaptionPanel& statusLine_;
    QPushButton& send_;
    QPushButton& stop_;
    std::function<TCommandGrid*()> grid_;
    QProgressBar* bar_;
    QShortcut* esc_;
    QTimer timer_;
};

} // namespace zav
