#pragma once
// Views that show nothing, for benchmarks and fuzzing.

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

} // namespace zav::test
