#include "main-window/tool_panel.h"

#include "common/text_icon.h"

namespace zav {

namespace {
// One item of a tool row: a button (icon text and hint) or the value field after it.
struct TToolItem {
    const char* name;
    const char* icon; // button: the letters of its icon; field: nullptr
    const char* text; // button: its hint; field: its default text
    int width = 0;    // field width
};

constexpr int ButtonWidth = 23;
constexpr int ButtonHeight = 20;

// clang-format off
const std::initializer_list<TToolItem> ToolRowsTable[TToolPanel::ToolRows] = {
    {{"btnBG", "BG", "Begin program"}, {"btnDL", "DL", "Motion forward"},
     {"btnDR", "DR", "Motion backward"}, {"btnRS", "RS", "Reverse motion"}},
    {{"btnDS", "DS", "Prohibit motion"}, {"btnEN", "EN", "Allow motion"},
     {"btnAL", "AL", "Acceleration/deceleration"}, {"EditAL", nullptr, "0", 56}},
    {{"btnSD", "SD", "Maximum speed"}, {"EditSD", nullptr, "200", 48},
     {"btnSS", "SS", "Start speed"}, {"EditSS", nullptr, "1", 48}},
    {{"btnMVn", "MVn", "Move step number"}, {"EditMVn", nullptr, "10000000", 96},
     {"btnMV", "MV", "permanent motion"}},
    {{"btnSP", "SP", "Pause, ms"}, {"EditSP", nullptr, "10000000", 96},
     {"bthHM", "HM", "Move to zero switch"}},
    {{"btnML", "ML", "Move until signal to input 1"}, {"EditML", nullptr, "1", 48},
     {"btnMH", "MH", "Move until signal to input 2"}, {"EditMh", nullptr, "1", 48}},
    {{"btnSF", "SF", "Set signal (close relay)"}, {"EditSF", nullptr, "1", 48},
     {"btnCF", "CF", "Clear signal (open relay)"}, {"EditCF", nullptr, "1", 48}},
    {{"btnWL", "WL", "Wait until signal to input 1"}, {"EditWL", nullptr, "1", 48},
     {"btnWH", "WH", "Wait until signal to input 2"}, {"EditWH", nullptr, "1", 48}},
    {{"btnLL", "LL", "Set cycle label"}, {"btnLP", "LP", "Repeat from label"},
     {"EditJP", nullptr, "255", 72}},
    {{"btnLB", "LB", "Load command into buffer"},
     {"btnSB", "SB", "Start commands from buffer  in cycle"}, {"EditSB", nullptr, "250", 72}},
};
// clang-format on
} // namespace

TToolPanel::TToolPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("ToolPanel");
    pnlTools = new QFrame(this);
    pnlTools->setObjectName("pnlTools");
    pnlTools->setGeometry(0, 0, 154, ToolRows * RowHeight + 2);
    for (int row = 0; row < ToolRows; ++row) {
        int x = 1;
        const int y = 1 + row * RowHeight;
        for (const TToolItem& item : ToolRowsTable[row]) {
            if (item.icon) {
                auto* button = new QToolButton(pnlTools);
                button->setObjectName(item.name);
                button->setIcon(TextIcon(item.icon));
                button->setToolTip(item.text);
                button->setGeometry(x, y, ButtonWidth, ButtonHeight);
                x += ButtonWidth + 1;
            } else {
                auto* edit = new QLineEdit(item.text, pnlTools);
                edit->setObjectName(item.name);
                edit->setGeometry(x, y, item.width, ButtonHeight);
                x += item.width + 2;
            }
        }
    }
    auto button = [this](const char* name) { return pnlTools->findChild<QToolButton*>(name); };
    auto edit = [this](const char* name) { return pnlTools->findChild<QLineEdit*>(name); };
    btnBG = button("btnBG"), btnDL = button("btnDL"), btnDR = button("btnDR");
    btnRS = button("btnRS"), btnDS = button("btnDS"), btnEN = button("btnEN");
    btnAL = button("btnAL"), btnSD = button("btnSD"), btnSS = button("btnSS");
    btnMVn = button("btnMVn"), btnMV = button("btnMV"), btnSP = button("btnSP");
    bthHM = button("bthHM"), btnML = button("btnML"), btnMH = button("btnMH");
    btnSF = button("btnSF"), btnCF = button("btnCF"), btnWL = button("btnWL");
    btnWH = button("btnWH"), btnLL = button("btnLL"), btnLP = button("btnLP");
    btnLB = button("btnLB"), btnSB = button("btnSB");
    EditAL = edit("EditAL"), EditSD = edit("EditSD"), EditSS = edit("EditSS");
    EditMVn = edit("EditMVn"), EditSP = edit("EditSP"), EditML = edit("EditML");
    EditMh = edit("EditMh"), EditSF = edit("EditSF"), EditCF = edit("EditCF");
    EditWL = edit("EditWL"), EditWH = edit("EditWH"), EditJP = edit("EditJP");
    EditSB = edit("EditSB");

    pnlMainTools = new QFrame(this);
    pnlMainTools->setObjectName("pnlMainTools");
    pnlMainTools->setGeometry(0, ToolRows * RowHeight + 4, 154, ButtonHeight + 2);
    const TToolItem programButtons[] = {{"btnLD1", "LD1", "Load program to coordinate 1"},
                                        {"btnED", "ED", "End programmig"},
                                        {"btnST", "ST", "Start/Stop"},
                                        {"btnPS1", "PS1", nullptr}};
    QToolButton** fields[] = {&btnLD1, &btnED, &btnST, &btnPS1};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(pnlMainTools);
        b->setObjectName(programButtons[i].name);
        b->setIcon(TextIcon(programButtons[i].icon, QColor(128, 0, 0)));
        if (programButtons[i].text)
            b->setToolTip(programButtons[i].text);
        b->setGeometry(1 + i * (ButtonWidth + 1), 1, ButtonWidth, ButtonHeight);
        *fields[i] = b;
    }
}

} // namespace zav
