#pragma once

#include <QString>
#include <QStringList>
#include <search/searchengine.h>
#include <secondary/secondarywindow.h>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace torvane::courselists {
struct SearchTables;
}

namespace torvane::secondary {
class RowListModel;
}

namespace torvane::search {

// The full-text search window: finds the course pages that hold one word, or two words together, and
// opens one of them in the main window.
class frmSearch final : public secondary::SecondaryWindow {
    Q_OBJECT
public:
    explicit frmSearch(secondary::SecondaryHost& host, QWidget* parent = nullptr);
    ~frmSearch() override;

    // Loads the word lists if this run has not loaded them yet, then shows the window. The navigation
    // handler calls it on the first opening of "search.trv".
    void LoaderUp();
    void open(bool firstTime) override;
    // Searches for `word` as if the learner had typed it and pressed Search, loading the lists first if
    // this run has not (the index window's double-click, which may come before this window's first
    // opening).
    void searchFor(const QString& word);
    // True once this run has loaded the lists.
    bool loaded() const { return loaded_; }

    // Searches for the text of txtInput (the Search button; Enter in the text box; the index window).
    void cmdFTS_Click();
    // Opens the selected result in the main window and hides this window; nothing without a selection.
    void lbResults_DblClick() override;

    // The page file name behind each result row (FoundPage; row r in slot r).
    std::vector<QString> FoundPage() const { return rowPages(); }

protected:
    QWidget* firstFocus() const override;
    void resizeControls(int width, int height) override;
    void viewOwnControls(secondary::SecondaryView& view) const override;
    bool controlKeyDown(QObject* control, int& keyCode, int shift) override;

private:
    // Loads "files.trv" and then "words.trv" from the program's folder, once per run.
    void ensureLoaded();

    QLineEdit* txtInput = nullptr;
    QPushButton* cmdFTS = nullptr;
    QLabel* lblSearch = nullptr;
    QLabel* lblFound = nullptr;

    const courselists::SearchTables* tables_ = nullptr; // the course's, once loaded
    SearchIndex index_;
    bool loaded_ = false;
    QStringList foundFor_; // the words of the search the rows were found for
    secondary::RowListModel* model_ = nullptr;
};

} // namespace torvane::search
