#include <QListView>
#include <base/logging.h>
#include <base/messageboxcodes.h>
#include <cmath>
#include <courselists/ansitext.h>
#include <courselists/liststore.h>
#include <history/frmhist.h>
#include <history/historyfile.h>
#include <platform/ownfiles.h>
#include <router/navigation.h>
#include <secondary/rowlistmodel.h>
#include <secondary/secondaryhost.h>
#include <secondary/secondarylayout.h>

namespace torvane::history {

frmHist::frmHist(secondary::SecondaryHost& host, QWidget* parent)
    : secondary::SecondaryWindow(host, Kind::History, parent) {
    setObjectName(QStringLiteral("frmHist"));
    setWindowTitle(QStringLiteral("Torvane - History"));

    model_ = new secondary::RowListModel(this);
    makeResultList(model_, QRect(360, 480, 10215, 3570));
    resultList()->setAccessibleName(QStringLiteral("Pages visited"));
    finishControls({resultList()});
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
    if (!billDir.isEmpty() && h.fileThere(historyPath)) {
        const std::optional<QByteArray> bytes =
            platform::isOwnFile(historyPath) ? courselists::readWholeFile(historyPath) : std::nullopt;
        if (bytes) {
            HistoryEntries entries = splitHistory(courselists::fromAnsi(*bytes));
            records = std::move(entries.records);
            if (entries.overflow) {
                h.messageBox(QStringLiteral("Too many History entries!"), base::mb::OKOnly);
            }
        } else {
            qCWarning(base::lcHistory)
                << historyPath << "is not listed: not the learner's own plain file, or unreadable";
        }
    }
    showRows(provisionalRows(records));

    // Phase 2: the page list, as it is on disk now: each opening lists the history against the file as
    // it stands. Any trouble with it leaves the provisional rows up; only too many records is said.
    courselists::ListStore& lists = h.courseLists();
    const courselists::ListReport pages =
        lists.loadPagesAsOnDisk([&h](const QString& path) { return h.fileThere(path); });
    if (pages.read()) {
        if (pages.overflow) {
            h.messageBox(QStringLiteral("Too many files!"), base::mb::OKOnly);
        } else if (!pages.failed) {
            // Phase 3: the titles.
            showRows(matchHistory(records, lists.pagesAsOnDisk()));
        }
    }
    showWindow();
}

void frmHist::showRows(std::vector<HistRow> rows) {
    std::vector<secondary::ListRow> listRows;
    listRows.reserve(rows.size());
    for (HistRow& row : rows) {
        listRows.push_back({std::move(row.text), std::move(row.page)});
    }
    model_->setRows(std::move(listRows));
}

void frmHist::lbResults_DblClick() {
    const int row = ListIndex();
    if (row < 0 || row >= static_cast<int>(model_->rows().size())) {
        return;
    }
    const QString page =
        courselists::trimSpaces(model_->rows()[static_cast<std::size_t>(row)].page).toString();
    // A page no address can be made of leaves the window where it is.
    const QString address = router::coursePageAddress(host().fileLocn(), page);
    if (page.isEmpty() || address.isEmpty()) {
        return;
    }
    HandOver(host().mainWindow(), [this, address] {
        host().navigate(address);
        hide();
    });
}

QWidget* frmHist::firstFocus() const {
    return resultList();
}

void frmHist::resizeControls(int width, int height) {
    // In every state, the list follows the window; its left and top stay where they were drawn.
    if (resultList() == nullptr) {
        return;
    }
    resultList()->resize(std::max(0, static_cast<int>(std::lround(0.95 * width))),
                         std::max(0, static_cast<int>(std::lround(0.8 * height))));
}

} // namespace torvane::history
