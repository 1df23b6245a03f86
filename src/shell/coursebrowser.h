#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <router/documentsnapshot.h>
#include <shell/rendererrecovery.h>
#include <shell/searchhits.h>

class QPrinter;
class QRect;
class QVariant;
class QWebEngineView;
class QWidget;

namespace torvane::router {
class PageStyle;
}

namespace torvane::shell {

class RendererWatch;

// The course browser `Web1` of the main window, and what keeps it usable: the pages it loads are course
// pages, which are not trusted. It loads pages and steps back for the window, watches a renderer stuck
// in a page's script and ends it, loads a page again whose renderer died (a bounded number of times),
// tells the learner about an https server whose certificate is not trusted, and reports every document
// it completes as a snapshot (its address and its links, read in the viewer's own script world).
class CourseBrowser final : public QObject {
    Q_OBJECT
public:
    // The browser is a child widget of `window`.
    explicit CourseBrowser(QWidget& window);
    ~CourseBrowser() override;
    Q_DISABLE_COPY_MOVE(CourseBrowser)

    // Serves the bundled course from `root` on disk.
    void installCourse(const QString& root);

    // Loads `url`, as the viewer's own navigation (toolbar, keys, a secondary window, a resize).
    void load(const QUrl& url);
    // Steps back one entry in the browser's own history; nothing when there is none.
    void stepBack();
    // The address shown (after a failed load, the address that failed).
    QUrl url() const;
    // The page last asked for, until a load finishes: a resize does not ask for it again.
    const QUrl& pageOnItsWay() const { return onItsWay_; }

    // Runs `script` in the page's own world, as the page's own script would; `done` gets its result.
    void runInPage(const QString& script, const std::function<void(const QVariant&)>& done = {});
    // Runs `script` in the viewer's own script world, which the page's scripts cannot reach; `done` gets
    // its result (not called when the browser is gone by then).
    void runInViewerWorld(const QString& script, const std::function<void(const QVariant&)>& done = {});

    // A search result is opened for `words`: the page it leads to shows them marked.
    void armSearchHits(const QStringList& words);
    // A document at `address` has been handled; `placeholder` when the viewer replaces it at once. The
    // words of the search that opened it are marked in it, when it is theirs.
    void markSearchHits(const QString& address, bool placeholder);

    // Prints the page through `printer`, which must live until printFinished.
    void print(QPrinter& printer);

    // The zoom of every page shown, per cent.
    void setTextSize(int percent);
    // Finds `text` in the page, every match marked and the current one distinct: the next match, or the
    // one before with `backward`; an empty text removes the marks. `done` gets the current match (1-based,
    // 0 for none) and the number of matches.
    void find(const QString& text, bool backward, const std::function<void(int current, int count)>& done);
    // The dark reading mode of every page shown.
    void setDark(bool dark);

    // The keyboard in the page, or whether it is there.
    void focusPage();
    bool pageHasFocus() const;

    void setGeometry(const QRect& area);
    QWidget& widget();

signals:
    // A document has completed in the main frame (once per navigation, also for a step back).
    void documentCompleted(const torvane::router::DocumentSnapshot& snapshot);
    void printFinished(bool printed);

private:
    void onLoadFinished(bool ok);
    void watchRenderer();
    void rendererHung(const std::function<void()>& navigation);
    void rendererEnded();
    void watchCertificates();
    bool showUntrustedServer();

    QWebEngineView* Web1 = nullptr;
    RendererWatch* watch_ = nullptr;     // owned by Web1's page
    router::PageStyle* style_ = nullptr; // owned by Web1's page
    int textSize_ = 100;
    RendererRecovery recovery_;
    std::function<void()> afterHungRenderer_; // the navigation to carry out once it has ended
    QUrl onItsWay_;
    SearchHits searchHits_;
    struct UntrustedServer final {
        QUrl url;
        QString reason;
    };
    std::optional<UntrustedServer> untrusted_; // the last certificate refused, until its load ends
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true); // for answers that arrive late
};

} // namespace torvane::shell
