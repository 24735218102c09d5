#include "main-window/tool_panel.h"

#include "command-language/zav_commands.h"
#include "common/text_icon.h"
#include "localisation/lang.h"

namespace zav {

namespace {
// One item of a tool row: a button (its icon letters, hint and catalogue row) or the
// value field after it (its default text, width and the name of the value it holds).
// Hints and value names are messages of the language catalogue.
struct TToolItem {
    const char* name;
    const char* icon;           // button: the letters of its icon; field: nullptr
    int hint = 0;               // button: the message of its hint
    int index = 0;              // button: catalogue row
    const char* text = nullptr; // field: its default text
    int width = 0;              // field width
    int valueName = 0;          // field: the message naming its value
};

constexpr int ButtonWidth = 23;
constexpr int ButtonHeight = 20;

constexpr TToolItem Field(const char* name, const char* text, int width, int valueName) {
    return {name, nullptr, 0, 0, text, width, valueName};
}

// clang-format off
const std::initializer_list<TToolItem> ToolRowsTable[TToolPanel::ToolRows] = {
    {{"btnBG", "BG", msgToolBG, ciBG}, {"btnDL", "DL", msgToolDL, ciDL},
     {"btnDR", "DR", msgToolDR, ciDR}, {"btnRS", "RS", msgToolRS, ciRS}},
    {{"btnDS", "DS", msgToolDS, ciDS}, {"btnEN", "EN", msgToolEN, ciEN},
     {"btnAL", "AL", msgAccelerationHint, ciAL}, Field("EditAL", "0", 56, msgValueAcceleration)},
    {{"btnSD", "SD", msgMaximumSpeed, ciSD}, Field("EditSD", "200", 48, msgValueMaxSpeed),
     {"btnSS", "SS", msgStartSpeed, ciSS}, Field("EditSS", "1", 48, msgValueStartSpeed)},
    {{"btnMVn", "MVn", msgToolMVn, ciMV}, Field("EditMVn", "10000000", 96, msgValueSteps),
     {"btnMV", "MV", msgToolMV, ciMV}},
    {{"btnSP", "SP", msgToolSP, ciSP}, Field("EditSP", "10000000", 96, msgValuePause),
     {"bthHM", "HM", msgToolHM, ciHM}},
    {{"btnML", "ML", msgToolML, ciML}, Field("EditML", "1", 48, msgValueInput),
     {"btnMH", "MH", msgToolMH, ciMH}, Field("EditMh", "1", 48, msgValueInput)},
    {{"btnSF", "SF", msgToolSF, ciSF}, Field("EditSF", "1", 48, msgValueOutput),
     {"btnCF", "CF", msgToolCF, ciCF}, Field("EditCF", "1", 48, msgValueOutput)},
    {{"btnWL", "WL", msgToolWL, ciWL}, Field("EditWL", "1", 48, msgValueInput),
     {"btnWH", "WH", msgToolWH, ciWH}, Field("EditWH", "1", 48, msgValueInput)},
    {{"btnLL", "LL", msgToolLL, ciLL}, {"btnLP", "LP", msgToolLP, ciJP},
     Field("EditJP", "255", 72, msgValueRepeats)},
    {{"btnLB", "LB", msgToolLB, ciLB}, {"btnSB", "SB", msgToolSB, ciSB},
     Field("EditSB", "250", 72, msgValueRepeats)},
};
// The program buttons under the rows.
const TToolItem ProgramButtons[] = {{"btnLD1", "LD1", msgToolLD1}, {"btnED", "ED", msgToolED},
                                    {"btnST", "ST", msgToolST}, {"btnPS1", "PS1", msgToolPS1}};
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
                edit->setGeometry(x, y, item.width, ButtonHeight);
                x += item.width + 2;
                chain(edit);
                if (pendingButton) {
                    TToolCommand& command = toolCommands_.back();
                    command.Edit = edit;
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
    QToolButton** fields[] = {&btnLD1, &btnED, &btnST, &btnPS1};
    for (int i = 0; i < 4; ++i) {
        auto* b = MakeButton(pnlMainTools, ProgramButtons[i], QColor(128, 0, 0));
        b->setGeometry(1 + i * (ButtonWidth + 1), 1, ButtonWidth, ButtonHeight);
        chain(b);
        *fields[i] = b;
    }
}

void TToolPanel::ApplyTexts(const TLang& lang) {
    auto text = [&lang](int n) { return QString::fromStdString(lang.Message(n)); };
    auto nameButton = [&](const TToolItem& item) {
        auto* button = findChild<QToolButton*>(item.name);
        button->setAccessibleName(QString("%1 %2").arg(item.icon, text(item.hint)));
        // The pause button's name says what it does; its icon needs no hint.
        button->setToolTip(std::string_view(item.name) == "btnPS1" ? QString() : text(item.hint));
    };
    for (const auto& row : ToolRowsTable) {
        const TToolItem* button = nullptr;
        for (const TToolItem& item : row) {
            if (item.icon) {
                nameButton(item);
                button = &item;
                continue;
            }
            // A field is named after its command: "SD maximum speed value".
            auto* edit = findChild<QLineEdit*>(item.name);
            const QString name = QString("%1 %2").arg(button->icon, text(item.valueName));
            edit->setAccessibleName(name);
            edit->setToolTip(name + text(msgEnterAddsCommand));
        }
    }
    for (const TToolItem& item : ProgramButtons)
        nameButton(item);
}

} // namespace zav
