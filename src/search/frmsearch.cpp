#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <base/keycodes.h>
#include <base/messageboxcodes.h>
#include <cmath>
#include <courselists/liststore.h>
#include <router/navigation.h>
#include <search/frmsearch.h>
#include <secondary/rowlistmodel.h>
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

    model_ = new secondary::RowListModel(this);
    makeResultList(model_, QRect(360, 1680, 10215, 2400));
    // Told by screen readers: the box by what it is for, the list by the label above it.
    txtInput->setAccessibleName(QStringLiteral("Search for"));
    lblSearch->setBuddy(resultList());
    resultList()->setAccessibleName(QStringLiteral("Search results"));

    finishControls({txtInput, cmdFTS, resultList()});
}

frmSearch::~frmSearch() = default;

void frmSearch::ensureLoaded() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    secondary::SecondaryHost& h = host();
    courselists::ListStore& lists = h.courseLists();
    const auto exists = [&h](const QString& path) { return h.fileThere(path); };
    // A missing or unreadable list is passed over silently; a bad "files.trv" record ends that list
    // only, and the words are read all the same.
    if (lists.loadPages(exists).overflow) {
        h.messageBox(QStringLiteral("Too many files!"), base::mb::OKOnly);
    }
    if (lists.loadWords(exists).overflow) {
        h.messageBox(QStringLiteral("Too many words!"), base::mb::OKOnly);
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
    std::vector<secondary::ListRow> rows;
    rows.reserve(found.size());
    for (const int r : found) {
        const courselists::PageEntry& page = tables_->pages.at(r);
        rows.push_back({page.title + QLatin1Char(' '), page.file});
    }
    model_->setRows(std::move(rows));
    lblFound->setText(foundPagesLine(found.size()));
}

void frmSearch::lbResults_DblClick() {
    const int row = ListIndex();
    if (row < 0 || row >= static_cast<int>(model_->rows().size())) {
        return;
    }
    // A page no address can be made of leaves the window where it is.
    const QString address =
        router::coursePageAddress(host().fileLocn(), model_->rows()[static_cast<std::size_t>(row)].page);
    if (address.isEmpty()) {
        return;
    }
    HandOver(host().mainWindow(), [this, address, words = foundFor_] {
        host().openFoundPage(address, words);
        hide();
    });
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
    if (control == resultList() || control == resultList()->viewport()) {
        lbResults_DblClick();
        return true;
    }
    return false;
}

QWidget* frmSearch::firstFocus() const {
    return txtInput;
}

void frmSearch::viewOwnControls(secondary::SecondaryView& view) const {
    view.input = controlView(txtInput);
    view.button = controlView(cmdFTS);
    view.heading = controlView(lblSearch);
    view.found = controlView(lblFound);
}

void frmSearch::resizeControls(int width, int height) {
    if (resultList() == nullptr) {
        return;
    }
    const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
    resultList()->resize(std::max(0, px(0.95 * width)), std::max(0, px(0.8 * height)));
    txtInput->resize(std::max(0, px(0.95 * width - cmdFTS->width() - 20)), txtInput->height());
    cmdFTS->move(px(0.88 * width), cmdFTS->y());
}

} // namespace torvane::search
