#pragma once

#include <QString>
#include <courselists/liststore.h>
#include <courselists/wordlists.h>
#include <memory>
#include <search/searchengine.h>
#include <secondary/secondarywindow.h>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

class QStringListModel;

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
    // Loads "files.trv" and then "words.trv" from the program's folder, once per run: the index window
    // calls it before searching for a word, which may come before the search window's first opening.
    void ensureLoaded();
    bool loaded() const { return loaded_; }
    void open(bool firstTime) override;
    // Searches for `word` as if the learner had typed it and pressed Search, loading the lists first if
    // this run has not (the index window's double-click).
    void searchFor(const QString& word);

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
    // The course's tables; only once the lists are loaded.
    const courselists::SearchTables& tables() const { return *tables_; }

protected:
    QWidget* firstFocus() const override;
    void resizeControls(int width, int height) override;
    bool controlKeyDown(QObject* control, int& keyCode, int shift) override;

private:
    const courselists::SearchTables* tables_ = nullptr; // the course's, once loaded
    SearchIndex index_;
    bool loaded_ = false;
    QStringList foundFor_; // the words of the search the rows were found for
    QStringListModel* model_ = nullptr;
    std::vector<QString> foundPage_;
};

} // namespace torvane::search
