#pragma once
// Views that show nothing, for benchmarks and fuzzing.

#include "controller/controller.h"
#include "state/views.h"

namespace zav::test {

class TNullLog : public IOperationLog {
public:
    void SetTextColor(TColor) override {}
    void AddLine(const std::string&) override {}
};

class TNullMessageBox : public IMessageBox {
public:
    void ShowMessage(const std::string&) override {}
};

// The log and the message box a controller needs, kept alive as long as it.
struct TNullViews {
    TNullLog Log;
    TNullMessageBox MessageBox;

    TControllerViews Views() {
        TControllerViews views;
        views.Log = &Log;
        views.MessageBox = &MessageBox;
        return views;
    }
};

} // namespace zav::test
