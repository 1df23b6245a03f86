#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QStringListModel>
#include <base/messageboxcodes.h>
#include <cmath>
#include <courselists/ansitext.h>
#include <courselists/liststore.h>
#include <history/frmhist.h>
#include <history/historyfile.h>
#include <platform/ownfiles.h>
#include <router/navigation.h>
#include <secondary/secondaryhost.h>
#include <secondary/secondarylayout.h>

namespace torvane::history {

frmHist::frmHist(secondary::SecondaryHost& host, QWidget* parent)
    : secondary::SecondaryWindow(host, Kind::History, parent) {
    setObjectName(QStringLiteral("frmHist"));
    setWindowTitle(QStringLiteral("Torvane - History"));

    model_ = new QStringListModel(this);
    makeResultList(model_, QRect(360, 480, 10215, 3570));
    lbResults->setAccessibleName(QStringLiteral("Pages visited"));
    orderTabs({lbResults});
    picHelp->raise();

    watchKeys();
    resizeControls(width(), height());
}

frmHist::~frmHist() = default;

void frmHist::LoadHist() {
    secondary::SecondaryHost& h = host();

    // Phase 1: the history records. They are shown as they stand until the page list has given them
    // their titles, so the list starts afresh each time rather than piling up the records of every
    // opening.
    std::vector<QString> records;
    const QString billDir = h.billDir();
    const QString historyPath = billDir + QString::fromLatin1(kHistoryFileName);
    // Only the learner's own history file is listed: a link in its place (or a file that is not theirs)
    // is read as no history, as it is never written.
    if (!billDir.isEmpty() && h.fileThere(historyPath) && platform::isOwnFile(historyPath)) {
        if (const std::optional<QByteArray> bytes = courselists::readWholeFile(historyPath)) {
            HistoryEntries entries = splitHistory(courselists::fromAnsi(*bytes));
            records = std::move(entries.records);
            if (entries.overflow) {
                h.messageBox(QStringLiteral("Too many History entries!"), base::mb::OKOnly);
            }
        }
    }
    showRows(provisionalRows(records));

    // Phase 2: the page list. Any trouble with it leaves the provisional rows up.
    courselists::ListStore& lists = h.courseLists();
    if (h.fileThere(lists.pageListPath())) {
        // The page list as it is on disk now: each opening lists the history against the file as it stands.
        if (const auto& read = lists.readPagesAsOnDisk()) {
            if (read->overflow) {
                h.messageBox(QStringLiteral("Too many files!"), base::mb::OKOnly);
            } else if (!read->failed) {
                // Phase 3: the titles.
                showRows(matchHistory(records, lists.pagesAsOnDisk()));
            }
        }
    }
    showWindow();
}

void frmHist::showRows(std::vector<HistRow> rows) {
    std::vector<QString> texts;
    texts.reserve(rows.size());
    rowPage_.clear();
    rowPage_.reserve(rows.size());
    for (HistRow& row : rows) {
        texts.push_back(std::move(row.text));
        rowPage_.push_back(std::move(row.page));
    }
    model_->setStringList(QStringList(texts.begin(), texts.end()));
}

void frmHist::lbResults_DblClick() {
    const int row = ListIndex();
    if (row < 0 || row >= static_cast<int>(rowPage_.size())) {
        return;
    }
    const QString page = courselists::trimSpaces(rowPage_[static_cast<std::size_t>(row)]).toString();
    // A page no address can be made of leaves the window where it is.
    const QString address = router::coursePageAddress(host().fileLocn(), page);
    if (page.isEmpty() || address.isEmpty()) {
        return;
    }
    HandOver(host().mainWindow());
    host().navigate(address);
    hide();
}

QWidget* frmHist::firstFocus() const {
    return lbResults;
}

void frmHist::resizeControls(int width, int height) {
    // In every state, the list follows the window; its left and top stay where they were drawn.
    if (lbResults == nullptr) {
        return;
    }
    lbResults->resize(std::max(0, static_cast<int>(std::lround(0.95 * width))),
                      std::max(0, static_cast<int>(std::lround(0.8 * height))));
}

} // namespace torvane::history
