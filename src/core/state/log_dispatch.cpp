#include "state/log_dispatch.h"

namespace zav {

TLogDispatch::TLogDispatch(TPost post, IOperationLog* log, IMessageBox* messageBox)
    : post_(std::move(post)), log_(log), messageBox_(messageBox) {}

void TLogDispatch::OnMain(std::function<void()> fn) {
    if (OnMainThread())
        fn();
    else
        Post(std::move(fn));
}

void TLogDispatch::Post(std::function<void()> fn) {
    post_([alive = std::weak_ptr<int>(alive_), fn = std::move(fn)] {
        if (!alive.expired())
            fn();
    });
}

void TLogDispatch::Log(const std::string& line, bool red) {
    if (!log_)
        return;
    OnMain([this, line, red] {
        if (red)
            log_->SetTextColor(clRed);
        log_->AddLine(line);
    });
}

void TLogDispatch::ShowMessage(const std::string& text) {
    if (messageBox_)
        OnMain([this, text] { messageBox_->ShowMessage(text); });
}

} // namespace zav
