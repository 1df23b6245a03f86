#include <router/pagenames.h>
#include <shell/toolbartargets.h>

namespace torvane::shell {

QString contentsTarget(const QString& fileLocn, const QString& curPage, int screenSize) {
    const auto size = static_cast<router::ScreenSize>(screenSize);
    const QString contents = router::contentsPage(size);
    return fileLocn + (curPage == contents ? router::secondContentsPage(size) : contents);
}

} // namespace torvane::shell
