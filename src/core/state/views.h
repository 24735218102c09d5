#pragma once
// The small interfaces through which the core reaches the screen. The GUI implements
// them with widgets; tests implement them with recording fakes. Every call is made on
// the main thread.

#include <cstdint>
#include <string>

namespace zav {

struct TColor {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const TColor&, const TColor&) = default;
};

inline constexpr TColor clRed{255, 0, 0};

// The operation log (MemoLog). A colour set applies to the next line only; the lines
// after it are in the log's own text colour, so that an error stands out from the
// lines around it.
class IOperationLog {
public:
    virtual ~IOperationLog() = default;
    virtual void SetTextColor(TColor color) = 0;
    virtual void AddLine(const std::string& line) = 0;
};

// Modal message boxes; ShowMessage returns when the operator has closed the box.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

// The main window's display of the shared state (coordinate panel, check boxes,
// indicators, scale and rounding labels, program buttons).
class ICommonDatasView {
public:
    virtual ~ICommonDatasView() = default;
    virtual void SetCoordinatesCaption(const std::string& caption) = 0;
    // A check box whose state changes fires its click handler, as the window's does.
    virtual void SetCoordCheckBox(int n, bool checked) = 0;
    virtual void SetIndicatorColor(int n, TColor color) = 0;
    virtual void SetRoundingCaption(const std::string& caption) = 0;
    // lblScale and EditStepsToUnits show scaleText; GrBoxStepsToUnits and Label3 get
    // their composed captions.
    virtual void ShowScale(const std::string& scaleText, const std::string& groupCaption,
                           const std::string& label3Caption) = 0;
    virtual void EnableProgramButtons(bool writeAndStart, bool stop, bool write, bool start) = 0;
    // Item index of the control-mode radio group: 0 simple, 1 extended.
    virtual int ControlMode() const = 0;
};

// The main-window control that the catalogue reads: the units radio group.
class IMainWindowHooks {
public:
    virtual ~IMainWindowHooks() = default;
    virtual int UnitsIndex() const = 0;
};

} // namespace zav
