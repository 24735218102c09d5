#include "journal/form_journal.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHeaderView>
#include <QShortcut>

#include "journal/journal.h"

namespace zav {

namespace {
constexpr QSize StartSize(760, 420);

QString Shown(const std::string& text) {
    // Control bytes and bytes that are not UTF-8 show as their escapes, as in the file.
    return QString::fromStdString(EscapeJournalText(text));
}
} // namespace

TFormJournal::TFormJournal(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormJournal");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    lbJournalSummary = new QLabel(this);
    lbJournalSummary->setObjectName("lbJournalSummary");
    lbJournalSummary->setTextFormat(Qt::PlainText);
    lbJournalSummary->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                              Qt::TextSelectableByKeyboard);
    lbJournalSummary->setFocusPolicy(Qt::StrongFocus);
    lbJournalSummary->setWordWrap(true);
    JournalGrid = new QTableWidget(0, 7, this);
    JournalGrid->setObjectName("JournalGrid");
    JournalGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    JournalGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    JournalGrid->setTabKeyNavigation(false); // Tab leaves the table for the buttons
    JournalGrid->verticalHeader()->setVisible(false);
    // The request takes the room the window has beyond the other columns.
    JournalGrid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    btnJournalRefresh = new QPushButton(this);
    btnJournalRefresh->setObjectName("btnJournalRefresh");
    btnJournalRefresh->setShortcut(QKeySequence::Refresh);
    btnJournalClose = new QPushButton(this);
    btnJournalClose->setObjectName("btnJournalClose");

    auto* grid = new QGridLayout(this);
    grid->addWidget(lbJournalSummary, 0, 0, 1, 3);
    grid->addWidget(JournalGrid, 1, 0, 1, 3);
    grid->addWidget(btnJournalRefresh, 2, 1);
    grid->addWidget(btnJournalClose, 2, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    resize(StartSize);

    connect(btnJournalRefresh, &QPushButton::clicked, this, [this] { btnJournalRefreshClick(); });
    connect(btnJournalClose, &QPushButton::clicked, this, &QDialog::close);
    ApplyLanguage();
    btnJournalRefreshClick();
    JournalGrid->setFocus();
}

QString TFormJournal::Text(int n) const {
    return QString::fromStdString(controller_.Lang().Message(n));
}

void TFormJournal::ApplyLanguage() {
    setWindowTitle(Text(msgJournalTitle));
    JournalGrid->setHorizontalHeaderLabels({Text(msgJournalColTime), Text(msgJournalColLine),
                                            Text(msgJournalColRequest), Text(msgJournalColEcho),
                                            Text(msgJournalColReply), Text(msgJournalColOutcome),
                                            Text(msgJournalColLatency)});
    JournalGrid->setAccessibleName(Text(msgJournalTableName));
    lbJournalSummary->setAccessibleName(Text(msgJournalSummaryName));
    btnJournalRefresh->setText(Text(msgJournalRefresh));
    btnJournalRefresh->setAccessibleName(Text(msgJournalRefresh));
    btnJournalClose->setText(Text(msgJournalClose));
    btnJournalClose->setAccessibleName(Text(msgJournalClose));
}

void TFormJournal::btnJournalRefreshClick() {
    JournalGrid->setRowCount(0);
    const std::filesystem::path path = LastJournal(controller_.SendJournal().Folder());
    if (path.empty()) {
        lbJournalSummary->setText(Text(msgJournalNone));
        return;
    }
    const QString file = Text(msgJournalFile) + QString::fromStdString(path.string());
    TJournalProblem problem;
    const std::optional<TJournal> journal = ReadJournal(path, problem);
    if (!journal) {
        QString why = Text(problem.Message);
        if (problem.Message == msgJournalDamagedLine)
            why += QString::number(problem.FileLine);
        lbJournalSummary->setText(file + "\n" + Text(msgJournalProblem) + why);
        return;
    }
    const auto time = [](std::int64_t ms) {
        return QDateTime::fromMSecsSinceEpoch(ms).toString("yyyy-MM-dd hh:mm:ss.zzz");
    };
    int end = msgJournalEndOpen;
    switch (journal->End) {
    case TJournalEnd::Open:
        end = msgJournalEndOpen;
        break;
    case TJournalEnd::Completed:
        end = msgJournalEndCompleted;
        break;
    case TJournalEnd::Stopped:
        end = msgJournalEndStopped;
        break;
    case TJournalEnd::DeviceLost:
        end = msgJournalEndDeviceLost;
        break;
    }
    QStringList summary{file};
    if (!journal->ListFile.empty())
        summary << Text(msgJournalList) + QString::fromStdString(journal->ListFile);
    summary << Text(msgJournalStarted) + time(journal->StartedMs) + "    " +
                   Text(msgJournalEndLabel) + Text(end);
    lbJournalSummary->setText(summary.join('\n'));

    const auto outcome = [this](const std::string& word) {
        if (word == "accepted")
            return Text(msgJournalAccepted);
        if (word == "command-error")
            return Text(msgJournalCommandError);
        if (word == "data-error")
            return Text(msgJournalDataError);
        if (word == "no-answer")
            return Text(msgJournalNoAnswer);
        if (word == "echo-mismatch")
            return Text(msgJournalEchoMismatch);
        return Text(msgJournalLineStopped);
    };
    JournalGrid->setRowCount(static_cast<int>(journal->Entries.size()));
    int row = 0;
    for (const TJournalEntry& entry : journal->Entries) {
        const QString cells[] = {time(entry.TimeMs),
                                 QString::number(entry.Line + 1), // as the list numbers it
                                 Shown(entry.Request),
                                 Shown(entry.Echo),
                                 Shown(entry.Reply),
                                 outcome(entry.Outcome),
                                 QString::number(entry.LatencyMs)};
        for (int column = 0; column < 7; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == 1 || column == 6) // numbers
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            JournalGrid->setItem(row, column, item);
        }
        ++row;
    }
    JournalGrid->resizeColumnsToContents();
    if (row > 0)
        JournalGrid->setCurrentCell(row - 1, 0); // the last line sent
}

} // namespace zav
