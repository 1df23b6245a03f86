#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <base/messageboxcodes.h>
#include <cmath>
#include <courselists/liststore.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>
#include <secondary/secondaryhost.h>
#include <secondary/secondarylayout.h>

namespace torvane::search {

using secondary::twipsRect;

frmIndex::frmIndex(secondary::SecondaryHost& host, QWidget* parent)
    : SecondaryWindow(host, Kind::Index, parent) {
    setObjectName(QStringLiteral("frmIndex"));
    setWindowTitle(QStringLiteral("Torvane - Index"));

    txtInput = new QLineEdit(this);
    txtInput->setObjectName(QStringLiteral("txtInput"));
    txtInput->setGeometry(twipsRect(360, 600, 8535, 360));
    connect(txtInput, &QLineEdit::textChanged, this, &frmIndex::txtInput_Change);

    lblIndex = new QLabel(QStringLiteral("Index Results:"), this);
    lblIndex->setObjectName(QStringLiteral("lblIndex"));
    lblIndex->setGeometry(twipsRect(360, 1320, 2055, 255));

    lblFound = new QLabel(QStringLiteral("Found:"), this);
    lblFound->setObjectName(QStringLiteral("lblFound"));
    lblFound->setGeometry(twipsRect(7680, 1320, 2175, 375));

    model_ = new IndexModel(this);
    makeResultList(model_, QRect(360, 1680, 10215, 2400));
    // Told by screen readers: the box by what it is for, the list by the label above it.
    txtInput->setAccessibleName(QStringLiteral("Word beginning"));
    lblIndex->setBuddy(resultList());
    resultList()->setAccessibleName(QStringLiteral("Index results"));

    finishControls({txtInput, resultList()});
}

frmIndex::~frmIndex() = default;

void frmIndex::LoadWords() {
    secondary::SecondaryHost& h = host();
    courselists::ListStore& lists = h.courseLists();
    const courselists::ListReport words =
        lists.loadWords([&h](const QString& path) { return h.fileThere(path); });
    if (words.outcome == courselists::ListReport::Outcome::Unreadable) {
        // The window still opens, without words; the learner learns why the index is empty.
        h.messageBox(
            QStringLiteral("The word list could not be read:\n%1").arg(QDir::toNativeSeparators(words.path)),
            base::mb::OKOnly + base::mb::Exclamation);
    } else if (words.read()) {
        if (words.overflow) {
            h.messageBox(QStringLiteral("Too many words!"), base::mb::OKOnly);
        }
        model_->setWords(&lists.tables().words);
        filter_ = IndexFilter(lists.tables().words);
    }
    showWindow();
}

void frmIndex::open(bool firstTime) {
    if (firstTime) {
        LoadWords();
    } else {
        showWindow();
    }
}

void frmIndex::txtInput_Change() {
    std::vector<int> rows = filter_.narrow(txtInput->text());
    const std::size_t count = rows.size();
    model_->setRows(std::move(rows));
    lblFound->setText(foundWordsLine(count));
}

void frmIndex::lbResults_DblClick() {
    const int row = ListIndex();
    if (row < 0) {
        return;
    }
    const QString word = model_->rowText(row);
    auto* search = qobject_cast<frmSearch*>(searchPeer());
    HandOver(host().mainWindow(), [this, search, word] {
        HandOver(search, [this, search, word] {
            if (search != nullptr) {
                // The search window may never have been opened in this run: its lists are loaded now, and
                // its own first opening will not load them again.
                search->searchFor(word);
            }
            host().navigate(host().fileLocn() + QStringLiteral("search.trv"));
            hide();
        });
    });
}

QWidget* frmIndex::firstFocus() const {
    return txtInput;
}

void frmIndex::viewOwnControls(secondary::SecondaryView& view) const {
    view.input = controlView(txtInput);
    view.heading = controlView(lblIndex);
    view.found = controlView(lblFound);
}

void frmIndex::resizeControls(int width, int height) {
    if (resultList() == nullptr) {
        return;
    }
    const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
    resultList()->resize(std::max(0, px(0.95 * width)), std::max(0, px(0.8 * height)));
    txtInput->resize(std::max(0, px(0.8 * width)), txtInput->height());
}

} // namespace torvane::search
