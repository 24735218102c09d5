#pragma once
// The command buttons of the extended mode: ten rows of icon buttons with their value
// fields (pnlTools), and the program buttons below them (pnlMainTools).

#include <QFrame>
#include <QLineEdit>
#include <QToolButton>
#include <vector>

namespace zav {

class TLang;

class TToolPanel : public QFrame {
    Q_OBJECT
public:
    explicit TToolPanel(QWidget* parent);
    // The buttons' hints and the accessible names, in the language in use.
    void ApplyTexts(const TLang& lang);

    QFrame* pnlTools;
    QToolButton *btnBG, *btnDL, *btnDR, *btnRS, *btnDS, *btnEN, *btnAL, *btnSD, *btnSS, *btnMVn,
        *btnMV, *btnSP, *bthHM, *btnML, *btnMH, *btnSF, *btnCF, *btnWL, *btnWH, *btnLL, *btnLP,
        *btnLB, *btnSB;
    QLineEdit *EditAL, *EditSD, *EditSS, *EditMVn, *EditSP, *EditML, *EditMh, *EditSF, *EditCF,
        *EditWL, *EditWH, *EditJP, *EditSB;

    QFrame* pnlMainTools;
    QToolButton *btnLD1, *btnED, *btnST, *btnPS1;

    // A tool-panel button with the catalogue row it builds and its value field, if any.
    struct TToolCommand {
        QToolButton* Button;
        int CatalogueIndex;
        QLineEdit* Edit;
    };
    const std::vector<TToolCommand>& ToolCommands() const { return toolCommands_; }

    // The panel's controls in their Tab order.
    const std::vector<QWidget*>& TabChain() const { return tabChain_; }

    static constexpr int ToolRows = 10;

private:
    std::vector<TToolCommand> toolCommands_;
    std::vector<QWidget*> tabChain_;
};

} // namespace zav
