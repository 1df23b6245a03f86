#pragma once

#include <QString>
#include <history/secondarywindow.h>
#include <memory>
#include <search/searchengine.h>
#include <search/wordlists.h>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace torvane::history {
class RowListModel;
}

namespace torvane::search {

// The full-text search window: finds the course pages that hold one word, or two words together, and
// opens one of them in the main window.
class frmSearch final : public history::SecondaryWindow {
    Q_OBJECT
public:
    explicit frmSearch(history::SecondaryHost& host, QWidget* parent = nullptr);
    ~frmSearch() override;

    // Loads the word lists if this run has not loaded them yet, then shows the window. The navigation
    // handler calls it on the first opening of "search.trv".
    void LoaderUp();
    // Loads "files.trv" and then "words.trv" from the program's folder, once per run: the index window
    // calls it before searching for a word, which may come before the search window's first opening.
    void ensureLoaded();
    bool loaded() const { return loaded_; }

    // Searches for the text of txtInput (the Search button; Enter in the text box; the index window).
    void cmdFTS_Click();
    // Opens the selected result in the main window and hides this window; nothing without a selection.
    void lbResults_DblClick() override;

    QLineEdit* txtInput = nullptr;
    QPushButton* cmdFTS = nullptr;
    QLabel* lblSearch = nullptr;
    QLabel* lblFound = nullptr;

    // The page file name behind each result row (FoundPage; row r in slot r).
    const std::vector<QString>& FoundPage() const { return foundPage_; }
    const SearchTables& tables() const { return *tables_; }

protected:
    QWidget* firstFocus() const override;
    void resizeControls(int width, int height) override;
    bool controlKeyDown(QObject* control, int& keyCode, int shift) override;

private:
    std::unique_ptr<SearchTables> tables_;
    SearchIndex index_;
    bool loaded_ = false;
    history::RowListModel* model_ = nullptr;
    std::vector<QString> foundPage_;
};

} // namespace torvane::search
