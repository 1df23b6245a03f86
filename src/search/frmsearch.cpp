#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <base/keycodes.h>
#include <base/messageboxcodes.h>
#include <cmath>
#include <router/navigation.h>
#include <search/frmsearch.h>
#include <secondary/secondaryhost.h>
#include <secondary/secondarylayout.h>

namespace torvane::search {

using secondary::twipsRect;

frmSearch::frmSearch(secondary::SecondaryHost& host, QWidget* parent)
    : SecondaryWindow(host, Kind::Search, parent) {
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Torvane - Search"));

    txtInput = new QLineEdit(this);
    txtInput->setObjectName(QStringLiteral("txtInput"));
    txtInput->setGeometry(twipsRect(360, 600, 8535, 360));

    cmdFTS = new QPushButton(QStringLiteral("&Search"), this);
    cmdFTS->setObjectName(QStringLiteral("cmdFTS"));
    cmdFTS->setGeometry(twipsRect(9240, 600, 1335, 375));
    connect(cmdFTS, &QPushButton::clicked, this, &frmSearch::cmdFTS_Click);

    lblSearch = new QLabel(QStringLiteral("Search Results:"), this);
    lblSearch->setObjectName(QStringLiteral("lblSearch"));
    lblSearch->setGeometry(twipsRect(360, 1320, 2055, 255));

    lblFound = new QLabel(QStringLiteral("Found:"), this);
    lblFound->setObjectName(QStringLiteral("lblFound"));
    lblFound->setGeometry(twipsRect(7680, 1320, 2175, 375));

    model_ = new QStringListModel(this);
    makeResultList(model_, QRect(360, 1680, 10215, 2400));
    // Told by screen readers: the box by what it is for, the list by the label above it.
    txtInput->setAccessibleName(QStringLiteral("Search for"));
    lblSearch->setBuddy(lbResults);
    lbResults->setAccessibleName(QStringLiteral("Search results"));

    orderTabs({txtInput, cmdFTS, lbResults});
    picHelp->raise();
    watchKeys();
    resizeControls(width(), height());
}

frmSearch::~frmSearch() = default;

void frmSearch::ensureLoaded() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    secondary::SecondaryHost& h = host();
    courselists::ListStore& lists = h.courseLists();
    // A missing list is passed over silently; a bad "files.trv" record ends that list only, and the
    // words are read all the same.
    if (h.fileThere(lists.pageListPath())) {
        const auto& read = lists.readPages();
        if (read && read->overflow) {
            h.messageBox(QStringLiteral("Too many files!"), base::mb::OKOnly);
        }
    }
    if (h.fileThere(lists.wordListPath())) {
        const auto& read = lists.readWords();
        if (read && read->overflow) {
            h.messageBox(QStringLiteral("Too many words!"), base::mb::OKOnly);
        }
    }
    tables_ = &lists.tables();
    index_ = SearchIndex(*tables_);
}

void frmSearch::LoaderUp() {
    ensureLoaded();
    showWindow();
}

void frmSearch::open(bool firstTime) {
    if (firstTime) {
        LoaderUp();
    } else {
        showWindow();
    }
}

void frmSearch::searchFor(const QString& word) {
    ensureLoaded();
    txtInput->setText(word);
    cmdFTS_Click();
}

void frmSearch::cmdFTS_Click() {
    const SearchQuery query = parseQuery(txtInput->text());
    if (query.wordCount == 0) {
        return; // the list and the count line keep what they show
    }
    const std::vector<int> found = tables_ != nullptr ? index_.search(query) : std::vector<int>{};
    foundFor_ = query.wordCount == 2 ? QStringList{query.first, query.second} : QStringList{query.first};
    std::vector<QString> rows;
    rows.reserve(found.size());
    foundPage_.clear();
    foundPage_.reserve(found.size());
    for (const int r : found) {
        rows.push_back(tables_->pages.title[static_cast<std::size_t>(r)] + QLatin1Char(' '));
        foundPage_.push_back(tables_->pages.file[static_cast<std::size_t>(r)]);
    }
    model_->setStringList(QStringList(rows.begin(), rows.end()));
    lblFound->setText(foundPagesLine(found.size()));
}

void frmSearch::lbResults_DblClick() {
    const int row = ListIndex();
    if (row < 0 || row >= static_cast<int>(foundPage_.size())) {
        return;
    }
    // A page no address can be made of leaves the window where it is.
    const QString address =
        router::coursePageAddress(host().fileLocn(), foundPage_[static_cast<std::size_t>(row)]);
    if (address.isEmpty()) {
        return;
    }
    HandOver(host().mainWindow());
    host().openFoundPage(address, foundFor_);
    hide();
}

bool frmSearch::controlKeyDown(QObject* control, int& keyCode, int) {
    if (keyCode != base::vk::Enter) {
        return false;
    }
    if (control == txtInput) {
        // Enter searches; swallowing it keeps the text box from sounding.
        cmdFTS_Click();
        return true;
    }
    if (control == lbResults || control == lbResults->viewport()) {
        lbResults_DblClick();
        return true;
    }
    return false;
}

QWidget* frmSearch::firstFocus() const {
    return txtInput;
}

void frmSearch::resizeControls(int width, int height) {
    if (lbResults == nullptr) {
        return;
    }
    const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
    lbResults->resize(std::max(0, px(0.95 * width)), std::max(0, px(0.8 * height)));
    txtInput->resize(std::max(0, px(0.95 * width - cmdFTS->width() - 20)), txtInput->height());
    cmdFTS->move(px(0.88 * width), cmdFTS->y());
}

} // namespace torvane::search
