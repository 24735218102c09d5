#include "program-editing/form_preview.h"

#include <QAbstractItemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>
#include <algorithm>

#include "common/dialog_guard.h"
#include "motion/plot_axes.h"
#include "motion/preview_svg.h"

namespace zav {

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
} // namespace

TFormPreview::TFormPreview(TController& controller, QAbstractItemModel* list, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormPreview");
    new TDialogGuard(*this, true);
    setModal(false);

    PlotMotion = new TMotionPlot(this);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName("lblSummary");
    lblSummary->setTextFormat(Qt::RichText);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblNote = new QLabel(this);
    lblNote->setObjectName("lblNote");
    lblNote->setWordWrap(true);
    lblAccelUnit = new QLabel(this);
    lblAccelUnit->setObjectName("lblAccelUnit");
    EditAccelUnit = new QDoubleSpinBox(this);
    EditAccelUnit->setObjectName("EditAccelUnit");
    EditAccelUnit->setRange(0.001, 1e6);
    EditAccelUnit->setDecimals(3);
    EditAccelUnit->setValue(TMotionSettings{}.AccelerationUnit);
    lblAccelUnit->setBuddy(EditAccelUnit);
    btnClose = new QPushButton(this);
    btnClose->setObjectName("btnClose");
    btnClose->setAutoDefault(false);

    // The plot takes the room; under it the figures, the notes, then the setting and Close.
    auto* grid = new QGridLayout(this);
    grid->addWidget(PlotMotion, 0, 0, 1, 3);
    grid->addWidget(lblSummary, 1, 0, 1, 3);
    grid->addWidget(lblNote, 2, 0, 1, 3);
    grid->addWidget(lblAccelUnit, 3, 0);
    grid->addWidget(EditAccelUnit, 3, 1);
    grid->addWidget(btnClose, 3, 2, Qt::AlignRight);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(2, 1);
    resize(720, 520);

    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(EditAccelUnit, &QDoubleSpinBox::valueChanged, this, [this] { ScheduleRefresh(); });
    PlotMotion->OnLineChosen = [this](std::size_t line) {
        if (OnSelectLine)
            OnSelectLine(line);
    };
    if (list) {
        // Any edit of the list: redrawn once, after the edits of one action.
        const auto refresh = [this] { ScheduleRefresh(); };
        connect(list, &QAbstractItemModel::rowsInserted, this, refresh);
        connect(list, &QAbstractItemModel::rowsRemoved, this, refresh);
        connect(list, &QAbstractItemModel::rowsMoved, this, refresh);
        connect(list, &QAbstractItemModel::modelReset, this, refresh);
        // The row in flight of a send is marked by a change of its data: only a changed
        // command is worth a new estimate.
        connect(list, &QAbstractItemModel::dataChanged, this, [this] {
            if (controller_.MemoSend().Lines() != shownLines_)
                ScheduleRefresh();
        });
    }
    ApplyLanguage();
}

void TFormPreview::ScheduleRefresh() {
    if (refreshPending_)
        return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        Refresh();
    });
}

void TFormPreview::ApplyLanguage() {
    const TLang& lang = controller_.Lang();
    auto text = [&lang](int n) { return Q(lang.Message(n)); };
    setWindowTitle(text(msgPreview));
    PlotMotion->setAccessibleName(text(msgPreviewPlot));
    PlotMotion->setToolTip(text(msgPreviewPlotHint));
    PlotMotion->setAccessibleDescription(text(msgPreviewPlotHint));
    lblSummary->setAccessibleName(text(msgPreviewSummary));
    lblAccelUnit->setText(text(msgPreviewAccelUnit));
    EditAccelUnit->setAccessibleName(text(msgPreviewAccelUnit));
    EditAccelUnit->setToolTip(text(msgPreviewAccelUnitHint));
    btnClose->setText(text(msgPreviewClose));
    btnClose->setAccessibleName(text(msgPreviewClose));
    Refresh();
}

void TFormPreview::Refresh() {
    const TLang& lang = controller_.Lang();
    auto text = [&lang](int n) { return lang.Message(n); };
    TMotionSettings settings;
    settings.AccelerationUnit = EditAccelUnit->value();
    shownLines_ = controller_.MemoSend().Lines();
    TMotionPreview preview = BuildMotionPreview(shownLines_, settings);

    const bool units = UserUnits && UserUnits();
    const TCommonDatas& datas = controller_.CommonDatas();
    const double scale = units ? datas.Scale : 1;
    const std::string unitsName = units ? datas.UnitsName : text(msgPreviewSteps);
    TPreviewSvgOptions texts = PreviewTexts(lang);
    texts.Scale = scale;
    texts.Units = unitsName;
    QStringList summary;
    for (const TCoordinateMotion& c : preview.Coordinates)
        summary << QString("<span style=\"color:%1\">%2</span>")
                       .arg(CoordinateColour(c.Coordinate))
                       .arg(Q(CoordinateSummary(c, texts)).toHtmlEscaped());
    if (preview.Coordinates.empty())
        summary << Q(texts.Nothing).toHtmlEscaped();
    else
        summary << Q(ListSummary(preview, texts)).toHtmlEscaped();
    lblSummary->setText(summary.join("<br>"));

    QStringList notes;
    if (preview.Cut)
        notes << Q(text(msgPreviewCut) + std::to_string(preview.CutAtLine + 1));
    const bool waits = std::any_of(
        preview.Coordinates.begin(), preview.Coordinates.end(), [](const TCoordinateMotion& c) {
            return std::any_of(c.Marks.begin(), c.Marks.end(),
                               [](const TMotionMark& m) { return m.Kind != TMarkKind::Pause; });
        });
    if (waits)
        notes << Q(text(msgPreviewLowerBound));
    lblNote->setText(notes.join('\n'));
    PlotMotion->SetPreview(std::move(preview), scale, Q(unitsName), Q(text(msgPreviewTimeAxis)));
}

} // namespace zav
