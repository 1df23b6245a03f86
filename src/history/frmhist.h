#pragma once

#include <QString>
#include <history/histlist.h>
#include <secondary/secondarywindow.h>
#include <vector>

namespace torvane::secondary {
class RowListModel;
}

namespace torvane::history {

// The history window: lists the titles of the pages the learner has reached, oldest first, and reopens
// the chosen one in the main window.
class frmHist final : public secondary::SecondaryWindow {
    Q_OBJECT
public:
    explicit frmHist(secondary::SecondaryHost& host, QWidget* parent = nullptr);
    ~frmHist() override;

    // Rebuilds the list from the history file (in the data folder) and the page list "files.trv" (in the
    // program's folder), then shows the window. Called each time the placeholder "hist.trv" completes.
    // Without a usable page list the rows are the history records themselves.
    void LoadHist();
    // The history is read again at every opening.
    void open(bool) override { LoadHist(); }

    // Opens the selected row's page in the main window and hides this window; nothing without a
    // selected row or for a row that names no page.
    void lbResults_DblClick() override;

    // For each row of the list, the page it opens (HistRowPage, row r in slot r).
    std::vector<QString> HistRowPage() const { return rowPages(); }

protected:
    QWidget* firstFocus() const override;
    void resizeControls(int width, int height) override;

private:
    void showRows(std::vector<HistRow> rows);

    secondary::RowListModel* model_ = nullptr;
};

} // namespace torvane::history
