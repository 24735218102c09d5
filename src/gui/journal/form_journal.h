#pragma once
// "Send journal": shows the journal of the last send, line by line with the times to the
// millisecond, as the reader reads it back from Log/. Non-modal; at most one exists, and
// it frees itself when closed.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>

#include "controller/controller.h"

namespace zav {

class TFormJournal : public QDialog {
    Q_OBJECT
public:
    TFormJournal(TController& controller, QWidget* parent);

    QLabel* lbJournalSummary;
    QTableWidget* JournalGrid;
    QPushButton* btnJournalRefresh;
    QPushButton* btnJournalClose;

    // Reads the newest journal again and shows it.
    void btnJournalRefreshClick();

private:
    void ApplyLanguage();
    QString Text(int n) const;

    TController& controller_;
};

} // namespace zav
