#include "main-window/tool_panel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "command-language/zav_commands.h"
#include "common/at_least.h"
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
    int width = 0;              // field: its built width
    int valueName = 0;          // field: the message naming its value
};

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

// A button as small as its icon allows, so that ten rows fit beside the grid.
class TIconButton : public QToolButton {
public:
    using QToolButton::QToolButton;
    QSize sizeHint() const override { return iconSize() + QSize(3, 0); }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

QToolButton* MakeButton(QWidget* parent, const TToolItem& item, QColor color = {0, 0, 128}) {
    auto* button = new TIconButton(parent);
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
    auto chain = [this](QWidget* w) { tabChain_.push_back(w); };
    // Each row left-aligned: a button, its field after it, the next button.
    auto* rows = new QVBoxLayout(pnlTools);
    rows->setContentsMargins(1, 1, 1, 1);
    rows->setSpacing(1);
    for (int r = 0; r < ToolRows; ++r) {
        auto* row = new QHBoxLayout;
        row->setSpacing(1);
        rows->addLayout(row);
        const TToolItem* pendingButton = nullptr;
        for (const TToolItem& item : ToolRowsTable[r]) {
            if (item.icon) {
                auto* button = MakeButton(pnlTools, item);
                row->addWidget(button);
                chain(button);
                toolCommands_.push_back({button, item.index, nullptr});
                pendingButton = TakesValue(item) ? &item : nullptr;
            } else {
                QLineEdit* edit = ValueField(item.text, item.width, pnlTools);
                edit->setObjectName(item.name);
                row->addWidget(edit);
                row->addSpacing(1);
                chain(edit);
                if (pendingButton) {
                    TToolCommand& command = toolCommands_.back();
                    command.Edit = edit;
                    // Enter in a field presses its button.
                    connect(edit, &QLineEdit::returnPressed, command.Button, &QToolButton::click);
                }
            }
        }
        row->addStretch();
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
    auto* programRow = new QHBoxLayout(pnlMainTools);
    programRow->setContentsMargins(1, 1, 1, 1);
    programRow->setSpacing(1);
    QToolButton** fields[] = {&btnLD1, &btnED, &btnST, &btnPS1};
    for (int i = 0; i < 4; ++i) {
        auto* b = MakeButton(pnlMainTools, ProgramButtons[i], QColor(128, 0, 0));
        programRow->addWidget(b);
        chain(b);
        *fields[i] = b;
    }
    programRow->addStretch();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(pnlTools);
    column->addWidget(pnlMainTools);
    column->addStretch();
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
