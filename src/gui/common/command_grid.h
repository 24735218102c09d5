#pragma once
// The grid view of a command list: a header ("№", "", "Command"), one row per command
// (its number and description) and always one trailing empty row. Rows are dragged with
// the mouse or moved with Ctrl+Up/Ctrl+Down; Delete asks to remove the current row.
// Edits go to the owner through the callbacks, which change the core's list; the grid
// follows the list change by change, so a list of any length stays quick.

#include <QAbstractTableModel>
#include <QIcon>
#include <QTableView>
#include <functional>

#include "program-check/program_check.h"
#include "program-editing/command_list.h"

namespace zav {

class TLang;

class TCommandGridModel : public QAbstractTableModel, private TCommandList::IObserver {
    Q_OBJECT
public:
    TCommandGridModel(TCommandList& list, QObject* parent);
    ~TCommandGridModel() override;

    // Grid rows count from 1 (row 0 is the header): the view's row r is grid row r + 1.
    std::function<void(int from, int to)> OnRowMoved;

    void SetHeaderTexts(const QString& number, const QString& command);
    // Column 0 of the rows from first on shows their numbers again.
    void RenumberCommandRows(int first = 0);
    // The view row being sent is shown marked; -1 marks none.
    void SetMarkedRow(int row);
    int MarkedRow() const { return markedRow_; }

    // Checks the list from now on, once for each burst of changes (one turn of the event
    // loop), and marks the warned rows: an icon by the number, the warnings in the
    // tool-tip and the accessible description, in the language of lang.
    void EnableCheck(const TLang& lang, TCheckScope scope);
    int WarningCount() const { return static_cast<int>(warnings_.size()); }
    // The warnings of view row row, one a line; empty when it has none.
    QString RowWarnings(int row) const;
    // The texts of the warnings again, after a change of language.
    void RefreshWarningTexts();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

private:
    void BeginInsert(std::size_t first, std::size_t count) override;
    void EndInsert() override;
    void BeginRemove(std::size_t first, std::size_t count) override;
    void EndRemove() override;
    void BeginMove(std::size_t from, std::size_t to) override;
    void EndMove() override;
    void BeginReset() override;
    void EndReset() override;
    void RowChanged(std::size_t index) override;
    QByteArray Identity() const;
    void ScheduleCheck();
    void RunCheck();
    // The row of this list that data carries, or -1.
    int DraggedRow(const QMimeData* data) const;
    // The view row a drop lands on, or -1.
    int DropTarget(const QMimeData* data, int row, const QModelIndex& parent) const;

    TCommandList& list_;
    QString numberHeader_ = QStringLiteral("№");
    QString commandHeader_ = QStringLiteral("Command");
    int renumberFrom_ = -1; // the first row whose number changes with the pending edit
    int markedRow_ = -1;
    const TLang* lang_ = nullptr; // the check's texts; null: the list is not checked
    TCheckScope scope_ = TCheckScope::WholeList;
    std::vector<TProgramWarning> warnings_; // of the list as it was last checked, by line
    bool checkPending_ = false;
    QIcon warningIcon_;

signals:
    void WarningsChanged(int count);
};

class TCommandGrid : public QTableView {
    Q_OBJECT
public:
    TCommandGrid(TCommandList& list, const QString& objectName, QWidget* parent);

    TCommandGridModel* GridModel() const { return model_; }
    // Grid row (from 1) of the current row, 0 if none.
    int CurrentGridRow() const;
    void SetCurrentGridRow(int row);

    std::function<void(int row)> OnDeleteRow;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TCommandGridModel* model_;
};

} // namespace zav
