#include "common/qt_dispatcher.h"

#include <QThread>
#include <memory>

namespace zav {

TQtDispatcher::TQtDispatcher() : context_(new QObject) {}

TQtDispatcher::~TQtDispatcher() {
    Stop();
    delete context_; // discards what is still queued
}

void TQtDispatcher::RunAndWait(std::function<void()> fn) {
    if (stopped_)
        return;
    if (QThread::currentThread() == context_->thread()) {
        fn();
        return;
    }
    auto done = std::make_shared<bool>(false); // guarded by mutex_
    QMetaObject::invokeMethod(
        context_,
        [this, done, fn = std::move(fn)] {
            if (!stopped_)
                fn();
            {
                std::lock_guard lock(mutex_);
                *done = true;
            }
            finished_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return *done || stopped_; });
}

void TQtDispatcher::Post(std::function<void()> fn) {
    if (stopped_)
        return;
    QMetaObject::invokeMethod(
        context_,
        [this, fn = std::move(fn)] {
            if (!stopped_)
                fn();
        },
        Qt::QueuedConnection);
}

void TQtDispatcher::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    finished_.notify_all();
}

} // namespace zav
