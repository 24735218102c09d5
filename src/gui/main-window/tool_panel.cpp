#include "main-window/tool_panel.h"

#include "command-language/zav_commands.h"
#include "common/text_icon.h"

namespace zav {

namespace {
// One item of a tool row: a button (its icon letters, hint and catalogue row) or the
// value field after it (its default text, width and the name of the value it holds).
struct TToolItem {
    const char* name;
    const char* icon; // button: the letters of its icon; field: nullptr
    const char* text; // button: its hint; field: its default text
    int index = 0;    // button: catalogue row
    int width = 0;    // field width
    const char* valueName = nullptr;
};

constexpr int ButtonWidth = 23;
constexpr int ButtonHeight = 20;

// clang-format off
const std::initializer_list<TToolItem> ToolRowsTable[TToolPanel::ToolRows] = {
    {{"btnBG", "BG", "Begin program", ciBG}, {"btnDL", "DL", "Motion forward", ciDL},
     {"btnDR", "DR", "Motion backward", ciDR}, {"btnRS", "RS", "Reverse motion", ciRS}},
    {{"btnDS", "DS", "Prohibit motion", ciDS}, {"btnEN", "EN", "Allow motion", ciEN},
     {"btnAL", "AL", "Acceleration/deceleration", ciAL},
     {"EditAL", nullptr, "0", 0, 56, "AL acceleration value"}},
    {{"btnSD", "SD", "Maximum speed", ciSD}, {"EditSD", nullptr, "200", 0, 48, "SD maximum speed value"},
     {"btnSS", "SS", "Start speed", ciSS}, {"EditSS", nullptr, "1", 0, 48, "SS start speed value"}},
    {{"btnMVn", "MVn", "Move step number", ciMV},
     {"EditMVn", nullptr, "10000000", 0, 96, "MV step number"},
     {"btnMV", "MV", "permanent motion", ciMV}},
    {{"btnSP", "SP", "Pause, ms", ciSP}, {"EditSP", nullptr, "10000000", 0, 96, "SP pause in ms"},
     {"bthHM", "HM", "Move to zero switch", ciHM}},
    {{"btnML", "ML", "Move until signal to input 1", ciML},
     {"EditML", nullptr, "1", 0, 48, "ML input number"},
     {"btnMH", "MH", "Move until signal to input 2", ciMH},
     {"EditMh", nullptr, "1", 0, 48, "MH input number"}},
    {{"btnSF", "SF", "Set signal (close relay)", ciSF},
     {"EditSF", nullptr, "1", 0, 48, "SF output number"},
     {"btnCF", "CF", "Clear signal (open relay)", ciCF},
     {"EditCF", nullptr, "1", 0, 48, "CF output number"}},
    {{"btnWL", "WL", "Wait until signal to input 1", ciWL},
     {"EditWL", nullptr, "1", 0, 48, "WL input number"},
     {"btnWH", "WH", "Wait until signal to input 2", ciWH},
     {"EditWH", nullptr, "1", 0, 48, "WH input number"}},
    {{"btnLL", "LL", "Set cycle label", ciLL}, {"btnLP", "LP", "Repeat from label", ciJP},
     {"EditJP", nullptr, "255", 0, 72, "LP repeat count"}},
    {{"btnLB", "LB", "Load command into buffer", ciLB},
     {"btnSB", "SB", "Start commands from buffer  in cycle", ciSB},
     {"EditSB", nullptr, "250", 0, 72, "SB repeat count"}},
};
// clang-format on

// The permanent motion button builds MV without a value, however it is named.
bool TakesValue(const TToolItem& button) {
    return std::string_view(button.name) != "btnMV";
}

QToolButton* MakeButton(QWidget* parent, const TToolItem& item, QColor color = {0, 0, 128}) {
    auto* button = new QToolButton(parent);
    button->setObjectName(item.name);
    button->setIcon(TextIcon(item.icon, color));
    button->setIconSize(QSize(20, 20));
    if (item.text) {
        button->setToolTip(item.text);
        button->setAccessibleName(QString("%1 %2").arg(item.icon, item.text));
    } else {
        button->setAccessibleName(item.icon);
    }
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}
} // namespace

TToolPanel::TToolPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("ToolPanel");
    pnlTools = new QFrame(this);
    pnlTools->setObjectName("pnlTools");
    pnlTools->setGeometry(0, 0, 154, ToolRows * RowHeight + 2);
    auto chain = [this](QWidget* w) { tabChain_.push_back(w); };
    for (int row = 0; row < ToolRows; ++row) {
        int x = 1;
        const int y = 1 + row * RowHeight;
        const TToolItem* pendingButton = nullptr;
        for (const TToolItem& item : ToolRowsTable[row]) {
            if (item.icon) {
                auto* button = MakeButton(pnlTools, item);
                button->setGeometry(x, y, ButtonWidth, ButtonHeight);
                x += ButtonWidth + 1;
                chain(button);
                toolCommands_.push_back({button, item.index, nullptr});
                pendingButton = TakesValue(item) ? &item : nullptr;
            } else {
                auto* edit = new QLineEdit(item.text, pnlTools);
                edit->setObjectName(item.name);
                edit->setAccessibleName(item.valueName);
                edit->setGeometry(x, y, item.width, ButtonHeight);
                x += item.width + 2;
                chain(edit);
                if (pendingButton) {
                    TToolCommand& command = toolCommands_.back();
                    command.Edit = edit;
                    edit->setToolTip(QString("%1 (Enter adds the command)").arg(item.valueName));
                    // Enter in a field presses its button.
                    connect(edit, &QLineEdit::returnPressed, command.Button, &QToolButton::click);
                }
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
        auto* b = MakeButton(pnlMainTools, programButtons[i], QColor(128, 0, 0));
        b->setGeometry(1 + i * (ButtonWidth + 1), 1, ButtonWidth, ButtonHeight);
        chain(b);
        *fields[i] = b;
    }
    // The pause button has no hint of its own; its accessible name says what it does.
    btnPS1->setAccessibleName("PS1 Pause or resume coordinate 1");
}

} // namespace zav
