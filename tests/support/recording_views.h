#pragma once
// Recording fakes of the core's view interfaces, shared by the core tests.

#include <string>
#include <vector>

#include "controller/controller.h"
#include "state/views.h"

namespace zav::testing {

struct TLogLine {
    std::string Text;
    bool Red;
};

class TRecordingLog : public IOperationLog {
public:
    void SetTextColor(TColor color) override { red_ = color == clRed; }
    void AddLine(const std::string& line) override { Lines.push_back({line, red_}); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& l : Lines)
            texts.push_back(l.Text);
        return texts;
    }
    std::vector<TLogLine> Lines;

private:
    bool red_ = false;
};

class TRecordingMessageBox : public IMessageBox {
public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    std::vector<std::string> Messages;
};

class TRecordingCommonDatasView : public ICommonDatasView {
public:
    void SetCoordinatesCaption(const std::string& caption) override { Caption = caption; }
    void SetCoordCheckBox(int n, bool checked) override { Boxes[n - 1] = checked; }
    void SetIndicatorColor(int n, TColor color) override { Colors[n - 1] = color; }
    void SetRoundingCaption(const std::string& caption) override { Rounding = caption; }
    void ShowScale(const std::string& scaleText, const std::string& groupCaption,
                   const std::string& label3Caption) override {
        ScaleText = scaleText;
        GroupCaption = groupCaption;
        Label3 = label3Caption;
    }
    void EnableProgramButtons(bool a, bool b, bool c, bool d) override {
        ButtonsEnabled = a && b && c && d;
    }
    int ControlMode() const override { return Mode; }

    std::string Caption, Rounding, ScaleText, GroupCaption, Label3;
    bool Boxes[3] = {};
    TColor Colors[3] = {};
    bool ButtonsEnabled = true;
    int Mode = 0;
};

struct TRecordingViews {
    TRecordingLog Log;
    TRecordingMessageBox MessageBox;
    TRecordingCommonDatasView CommonDatasView;
    TControllerViews Views() {
        TControllerViews v;
        v.Log = &Log;
        v.MessageBox = &MessageBox;
        v.CommonDatasView = &CommonDatasView;
        return v;
    }
};

} // namespace zav::testing
