#pragma once

#include <QString>
#include <search/indexfilter.h>
#include <secondary/secondarywindow.h>

class QLabel;
class QLineEdit;

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

protected:
    QWidget* firstFocus() const override;
    void resizeControls(int width, int height) override;
    void viewOwnControls(secondary::SecondaryView& view) const override;

private:
    QLineEdit* txtInput = nullptr;
    QLabel* lblIndex = nullptr;
    QLabel* lblFound = nullptr;

    IndexFilter filter_; // over the course's words once this window has loaded them
    IndexModel* model_ = nullptr;
};

} // namespace torvane::search
