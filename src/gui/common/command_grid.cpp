#include "common/command_grid.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyle>
#include <algorithm>

#include "command-language/zav_commands.h"
#include "localisation/lang.h"

namespace zav {

namespace {
bool RowIsWrong(const std::string& command) {
    return TZavCommands::FindCommand(command) == ciUnknown || TZavCommands::OutOfRange(command);
}

const QString RowMimeType = QStringLiteral("application/x-zav-command-row");
constexpr int NumberColumn = 0;
constexpr int CommandColumn = 2;
} // namespace

TCommandGridModel::TCommandGridModel(TCommandList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {
    list_.SetObserver(this);
}

TCommandGridModel::~TCommandGridModel() {
    list_.SetObserver(nullptr);
}

void TCommandGridModel::SetHeaderTexts(const QString& number, const QString& command) {
    numberHeader_ = number;
    commandHeader_ = command;
    emit headerDataChanged(Qt::Horizontal, 0, 2);
}

void TCommandGridModel::RenumberCommandRows(int first) {
    const int last = static_cast<int>(list_.Count()) - 1;
    if (first <= last)
        emit dataChanged(index(first, NumberColumn), index(last, NumberColumn));
}

int TCommandGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.Count()) + 1;
}

int TCommandGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

void TCommandGridModel::EnableCheck(const TLang& lang, TCheckScope scope) {
    lang_ = &lang;
    scope_ = scope;
    warningIcon_ = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    RunCheck();
}

void TCommandGridModel::ScheduleCheck() {
    // Lists are built a row at a time (a read-back taken over, a tool button held down):
    // one check after the burst keeps the cost linear in the list's length.
    if (!lang_ || checkPending_)
        return;
    checkPending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { RunCheck(); }, Qt::QueuedConnection);
}

void TCommandGridModel::RunCheck() {
    checkPending_ = false;
    if (!lang_)
        return;
    std::vector<TProgramWarning> warnings = CheckProgram(list_.Lines(), scope_);
    const bool changed = warnings != warnings_;
    warnings_ = std::move(warnings);
    if (!changed)
        return;
    RefreshWarningTexts();
    emit WarningsChanged(WarningCount());
}

void TCommandGridModel::RefreshWarningTexts() {
    if (rowCount() > 0)
        emit dataChanged(index(0, NumberColumn), index(rowCount() - 1, CommandColumn),
                         {Qt::DecorationRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

QString TCommandGridModel::RowWarnings(int row) const {
    if (!lang_ || row < 0)
        return {};
    const auto [first, last] = std::equal_range(
        warnings_.begin(), warnings_.end(), TProgramWarning{static_cast<std::size_t>(row)},
        [](const TProgramWarning& a, const TProgramWarning& b) { return a.Line < b.Line; });
    QStringList texts;
    for (auto it = first; it != last; ++it)
        texts << QString::fromStdString(WarningText(*lang_, it->Kind));
    return texts.join('\n');
}

QVariant TCommandGridModel::data(const QModelIndex& index, int role) const {
    if (index.isValid() && !warnings_.empty() &&
        (role == Qt::DecorationRole || role == Qt::ToolTipRole ||
         role == Qt::AccessibleDescriptionRole)) {
        const QString warnings = RowWarnings(index.row());
        if (!warnings.isEmpty()) {
            if (role == Qt::DecorationRole)
                return index.column() == NumberColumn ? QVariant(warningIcon_) : QVariant();
            if (role == Qt::AccessibleDescriptionRole || index.column() == NumberColumn)
                return warnings;
            return data(index, Qt::DisplayRole).toString() + '\n' + warnings;
        }
    }
    // A description cut by a narrow column is read whole in its tool-tip.
    if (role == Qt::ToolTipRole && index.column() == CommandColumn)
        role = Qt::DisplayRole;
    if (index.isValid() && index.row() == markedRow_) {
        if (role == Qt::BackgroundRole)
            return QBrush(QColor(255, 236, 140)); // the line being sent, as a highlighter would
        if (role == Qt::ForegroundRole)
            return QBrush(Qt::black);
        if (role == Qt::FontRole) {
            QFont font;
            font.setBold(true);
            return font;
        }
    }
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= list_.Count())
        return {};
    // A command the controller would not take is marked until it is corrected.
    if (role == Qt::ForegroundRole &&
        RowIsWrong(list_.Row(static_cast<std::size_t>(index.row())).Command))
        return QBrush(Qt::red);
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == NumberColumn)
        return QString::number(index.row() + 1);
    if (index.column() == CommandColumn)
        return QString::fromStdString(list_.Row(static_cast<std::size_t>(index.row())).Description);
    return {};
}

void TCommandGridModel::SetMarkedRow(int row) {
    if (row == markedRow_)
        return;
    const int old = markedRow_;
    markedRow_ = row;
    for (const int r : {old, row})
        if (r >= 0 && r < rowCount())
            emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

QVariant TCommandGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == NumberColumn    ? numberHeader_
           : section == CommandColumn ? commandHeader_
                                      : QString();
}

Qt::ItemFlags TCommandGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    // The trailing empty row stays where it is.
    if (static_cast<std::size_t>(index.row()) < list_.Count())
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

Qt::DropActions TCommandGridModel::supportedDropActions() const {
    return Qt::MoveAction;
}

Qt::DropActions TCommandGridModel::supportedDragActions() const {
    return Qt::MoveAction;
}

QStringList TCommandGridModel::mimeTypes() const {
    return {RowMimeType};
}

// The row travels with its list's identity: a row dragged from another list, or from
// another running program, is no row of this one.
QByteArray TCommandGridModel::Identity() const {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(&list_)) + ':';
}

QMimeData* TCommandGridModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(RowMimeType, Identity() + QByteArray::number(indexes.first().row()));
    return data;
}

int TCommandGridModel::DraggedRow(const QMimeData* data) const {
    if (!data || !data->hasFormat(RowMimeType))
        return -1;
    const QByteArray bytes = data->data(RowMimeType);
    const QByteArray identity = Identity();
    if (!bytes.startsWith(identity))
        return -1;
    bool ok = false;
    const int row = bytes.mid(identity.size()).toInt(&ok);
    return ok && row >= 0 && row < static_cast<int>(list_.Count()) ? row : -1;
}

int TCommandGridModel::DropTarget(const QMimeData* data, int row, const QModelIndex& parent) const {
    if (!data || !data->hasFormat(RowMimeType))
        return -1;
    // A drop lands on a row; the space below the trailing row takes nothing.
    const int target = parent.isValid() ? parent.row() : row;
    return target >= 0 && target <= static_cast<int>(list_.Count()) ? target : -1;
}

bool TCommandGridModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int row, int,
                                        const QModelIndex& parent) const {
    return DropTarget(data, row, parent) >= 0;
}

bool TCommandGridModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                     const QModelIndex& parent) {
    const int target = DropTarget(data, row, parent);
    const int from = DraggedRow(data);
    if (action != Qt::MoveAction || target < 0 || from < 0)
        return false;
    if (from != target && OnRowMoved)
        OnRowMoved(from + 1, target + 1);
    return true;
}

void TCommandGridModel::BeginInsert(std::size_t first, std::size_t count) {
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(first + count) - 1);
}

void TCommandGridModel::EndInsert() {
    endInsertRows();
    ScheduleCheck();
}

void TCommandGridModel::BeginRemove(std::size_t first, std::size_t count) {
    renumberFrom_ = static_cast<int>(first);
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(first + count) - 1);
}

void TCommandGridModel::EndRemove() {
    endRemoveRows();
    RenumberCommandRows(renumberFrom_);
    ScheduleCheck();
}

void TCommandGridModel::BeginMove(std::size_t from, std::size_t to) {
    renumberFrom_ = static_cast<int>(std::min(from, to));
    // Qt names the row before which the moved row goes, counted before the move.
    const int destination = static_cast<int>(to > from ? to + 1 : to);
    beginMoveRows({}, static_cast<int>(from), static_cast<int>(from), {}, destination);
}

void TCommandGridModel::EndMove() {
    endMoveRows();
    RenumberCommandRows(renumberFrom_);
    ScheduleCheck();
}

void TCommandGridModel::BeginReset() {
    beginResetModel();
}

void TCommandGridModel::EndReset() {
    endResetModel();
    ScheduleCheck();
}

void TCommandGridModel::RowChanged(std::size_t row) {
    const int r = static_cast<int>(row);
    emit dataChanged(index(r, 0), index(r, 2));
    ScheduleCheck();
}

TCommandGrid::TCommandGrid(TCommandList& list, const QString& objectName, QWidget* parent)
    : QTableView(parent), model_(new TCommandGridModel(list, this)) {
    setObjectName(objectName);
    setModel(model_);
    verticalHeader()->hide();
    const int rowHeight = std::max(17, fontMetrics().height() + 4);
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    horizontalHeader()->setMinimumSectionSize(20);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsClickable(false);
    setColumnWidth(0, 20);
    setColumnWidth(1, 20);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setWordWrap(false);
    // Tab leaves the grid: its cells are not edited, and the buttons must be reachable.
    setTabKeyNavigation(false);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    // Not InternalMove, which takes only drops of a drag this view started itself: a
    // drop is judged by the identity its row carries instead.
    setDragDropMode(DragDrop);
    setDragDropOverwriteMode(true);
    setDefaultDropAction(Qt::MoveAction);
    // Wide numbers widen their column instead of being cut.
    // A whole list taken at once (a file, SetLines) comes as a reset.
    // A warning's icon stands beside the number, never over it.
    const int iconSide = std::max(10, fontMetrics().height() - 2);
    setIconSize(QSize(iconSide, iconSide));
    const auto widen = [this, iconSide] {
        const int icon = model_->WarningCount() > 0 ? iconSide + 4 : 0;
        const int needed =
            fontMetrics().horizontalAdvance(QString::number(model_->rowCount())) + 8 + icon;
        if (columnWidth(0) < needed)
            setColumnWidth(0, needed);
    };
    connect(model_, &QAbstractItemModel::rowsInserted, this, widen);
    connect(model_, &QAbstractItemModel::modelReset, this, widen);
    connect(model_, &TCommandGridModel::WarningsChanged, this, widen);
}

int TCommandGrid::CurrentGridRow() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() + 1 : 0;
}

void TCommandGrid::SetCurrentGridRow(int row) {
    if (row >= 1 && row <= model_->rowCount())
        setCurrentIndex(model_->index(row - 1, 2));
}

void TCommandGrid::keyPressEvent(QKeyEvent* event) {
    const int row = CurrentGridRow();
    const int commands = model_->rowCount() - 1;
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        if (OnDeleteRow)
            OnDeleteRow(row);
        return;
    }
    // The keyboard's way of dragging a row; the trailing row is never a target here.
    if (event->modifiers() == Qt::ControlModifier &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        const int to = event->key() == Qt::Key_Up ? row - 1 : row + 1;
        if (row >= 1 && row <= commands && to >= 1 && to <= commands && model_->OnRowMoved) {
            model_->OnRowMoved(row, to);
            SetCurrentGridRow(to);
        }
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace zav
