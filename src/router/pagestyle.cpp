#include <QColor>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <router/pagestyle.h>

namespace torvane::router {

namespace {

const QString kScriptName = QStringLiteral("torvane-page-style");
const QString kStyleId = QStringLiteral("torvane-page-style");

// Links and controls reached with Tab show where the keyboard is, even on pages that hide outlines.
const char kFocusRing[] = "a:focus-visible, area:focus-visible, button:focus-visible, input:focus-visible, "
                          "select:focus-visible, textarea:focus-visible, [tabindex]:focus-visible "
                          "{ outline: 3px solid #1a73e8 !important; outline-offset: 2px !important; }\n";

// The page turned to light text on a dark ground (the page inverted to 88 %, its hues turned back). Its
// pictures get the inverse, so that they keep their own colours; only their extremes are held in from
// pure white and black, which lowers the glare of a white picture on the dark page.
const char kDark[] = "html { background-color: #fff !important; "
                     "filter: invert(0.88) hue-rotate(180deg) !important; }\n"
                     "img, video, picture, canvas, object, embed, iframe, svg image, "
                     "[style*=\"background-image\"] "
                     "{ filter: invert(1) contrast(1.3158) hue-rotate(180deg) !important; }\n";

// The script that puts the style sheet in the page, replacing the one put there before.
QString styleScript(const QString& sheet) {
    const QByteArray json = QJsonDocument(QJsonArray{sheet, kStyleId}).toJson(QJsonDocument::Compact);
    return QStringLiteral(R"((function (args) {
  const [sheet, id] = args;
  const put = () => {
    let style = document.getElementById(id);
    if (!sheet) { if (style) style.remove(); return; }
    if (!style) {
      style = document.createElement('style');
      style.id = id;
      (document.head || document.documentElement).appendChild(style);
    }
    style.textContent = sheet;
  };
  // As the document is made it has no root element yet: the sheet goes in as soon as it has one, before
  // anything is drawn.
  if (document.documentElement) { put(); return; }
  new MutationObserver((changes, watch) => {
    if (document.documentElement) { watch.disconnect(); put(); }
  }).observe(document, {childList: true});
})(%1))")
        .arg(QString::fromUtf8(json));
}

} // namespace

QString pageStyleSheet(bool focusRing, bool dark) {
    QString sheet;
    if (focusRing) {
        sheet += QString::fromLatin1(kFocusRing);
    }
    if (dark) {
        sheet += QString::fromLatin1(kDark);
    }
    return sheet;
}

PageStyle::PageStyle(QWebEnginePage& page, bool focusRing)
    : QObject(&page), page_(page), focusRing_(focusRing) {
    install();
}

PageStyle::~PageStyle() = default;

void PageStyle::setDark(bool dark) {
    if (dark == dark_) {
        return;
    }
    dark_ = dark;
    install();
    // The page shown now changes at once.
    page_.runJavaScript(styleScript(pageStyleSheet(focusRing_, dark_)), QWebEngineScript::ApplicationWorld);
}

void PageStyle::install() {
    // Between pages the browser shows its own ground: dark too, so that no white flashes up.
    page_.setBackgroundColor(dark_ ? QColor(0x1f, 0x1f, 0x1f) : QColor(Qt::white));
    QWebEngineScriptCollection& scripts = page_.scripts();
    for (const QWebEngineScript& old : scripts.find(kScriptName)) {
        scripts.remove(old);
    }
    const QString sheet = pageStyleSheet(focusRing_, dark_);
    if (sheet.isEmpty()) {
        return;
    }
    QWebEngineScript script;
    script.setName(kScriptName);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(styleScript(sheet));
    scripts.insert(script);
}

} // namespace torvane::router
