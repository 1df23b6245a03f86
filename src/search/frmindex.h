#pragma once

#include <QString>
#include <search/indexfilter.h>
#include <secondary/secondarywindow.h>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;

namespace torvane::search {

class frmSearch;

// The word index window: lists the course's words, narrowed as the learner types; choosing a word
// searches for it and shows the search window with the result.
class frmIndex final : public secondary::SecondaryWindow {
    Q_OBJECT
public:
    explicit frmIndex(secondary::SecondaryHost& host, QWidget* parent = nullptr);
    ~frmIndex() override;

    // Loads the words of "words.trv" (the first opening of "index.trv" in a run), then shows the window.
    void LoadWords();
    void open(bool firstTime) override;

    // Narrows the list to the words that begin with the text of txtInput; runs on every change of it.
    void txtInput_Change();
    // Searches for the selected word in the search window (the one handed in by setPeers) and shows it;
    // nothing without a selection.
    void lbResults_DblClick() override;

    QLineEdit* txtInput = nullptr;
    QLabel* lblIndex = nullptr;
    QLabel* lblFound = nullptr;

    const std::vector<QString>& IndexWord() const { return words_; }
    const IndexModel& model() const { return *model_; }

protected:
    QWidget* firstFocus() const override;
    void resizeControls(int width, int height) override;

private:
    std::vector<QString> words_;
    IndexFilter filter_;
    IndexModel* model_ = nullptr;
};

} // namespace torvane::search
