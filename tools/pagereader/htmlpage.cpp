#include "htmlpage.h"

#include <QStringDecoder>
#include <algorithm>
#include <courselists/ansitext.h>
#include <cstring>
#include <libxml/HTMLparser.h>
#include <libxml/encoding.h>
#include <libxml/tree.h>
#include <memory>
#include <mutex>

namespace torvane::tools {

namespace {

// Elements whose content is never shown as text.
constexpr const char* kHiddenElements[] = {"head", "script", "style", "title", "template", "noscript"};
// Page furniture: the same on every page, so it would make every page a result for its words.
constexpr const char* kFurnitureElements[] = {"nav", "header", "footer"};
// Elements that sit inside a word without breaking it ("volt<b>age</b>").
constexpr const char* kInlineElements[] = {"a",      "abbr", "b",    "bdi",  "bdo", "cite", "code",  "em",
                                           "i",      "kbd",  "mark", "q",    "s",   "samp", "small", "span",
                                           "strong", "sub",  "sup",  "time", "u",   "var",  "wbr"};

// The labels the browser reads as UTF-8 and as Windows-1252 (the Encoding Standard's lists).
constexpr const char* kUtf8Labels[] = {"unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "utf-8", "utf8",
                                       "x-unicode20utf8"};
constexpr const char* kWindows1252Labels[] = {
    "ansi_x3.4-1968", "ascii",        "cp1252",   "cp819",      "csisolatin1",     "ibm819", "iso-8859-1",
    "iso-ir-100",     "iso8859-1",    "iso88591", "iso_8859-1", "iso_8859-1:1987", "l1",     "latin1",
    "us-ascii",       "windows-1252", "x-cp1252"};
// UTF-16 cannot be declared by text that reads as ASCII: the browser takes such a page for UTF-8.
constexpr const char* kUtf16Labels[] = {"csunicode", "iso-10646-ucs-2", "ucs-2",
                                        "unicode",   "unicodefeff",     "utf-16",
                                        "utf-16le",  "utf-16be",        "unicodefffe"};

template <std::size_t N> bool isOneOf(const char* name, const char* const (&list)[N]) {
    return std::any_of(std::begin(list), std::end(list),
                       [&](const char* n) { return std::strcmp(name, n) == 0; });
}

template <std::size_t N> bool isOneOf(const QByteArray& name, const char* const (&list)[N]) {
    return isOneOf(name.constData(), list);
}

void initialiseLibxml() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

constexpr int kParseOptions =
    HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC | HTML_PARSE_COMPACT;

bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// The charset of a Content-Type value ("text/html; charset=windows-1252"), as the browser extracts it.
QByteArray charsetOfContentType(const QByteArray& content) {
    const QByteArray lower = content.toLower();
    qsizetype at = 0;
    while ((at = lower.indexOf("charset", at)) >= 0) {
        qsizetype i = at + 7;
        while (i < lower.size() && isAsciiSpace(lower[i])) {
            ++i;
        }
        if (i >= lower.size() || lower[i] != '=') {
            at = i;
            continue;
        }
        ++i;
        while (i < lower.size() && isAsciiSpace(lower[i])) {
            ++i;
        }
        if (i < lower.size() && (lower[i] == '"' || lower[i] == '\'')) {
            const char quote = lower[i];
            const qsizetype end = lower.indexOf(quote, i + 1);
            return end < 0 ? QByteArray() : lower.mid(i + 1, end - i - 1).trimmed();
        }
        qsizetype end = i;
        while (end < lower.size() && !isAsciiSpace(lower[end]) && lower[end] != ';') {
            ++end;
        }
        return lower.mid(i, end - i);
    }
    return {};
}

// Reads the head only, with bytes taken one for one as characters (every ASCII-compatible charset
// reads its markup alike), and stops at the first <meta> that declares a charset or where the body
// begins.
struct Prescan {
    htmlParserCtxtPtr context = nullptr;
    QByteArray charset;
};

QByteArray attribute(const xmlChar** attributes, const char* name) {
    for (const xmlChar** a = attributes; a != nullptr && a[0] != nullptr; a += 2) {
        if (xmlStrcasecmp(a[0], reinterpret_cast<const xmlChar*>(name)) == 0) {
            return a[1] == nullptr ? QByteArray("") : QByteArray(reinterpret_cast<const char*>(a[1]));
        }
    }
    return {};
}

void prescanElement(void* user, const xmlChar* name, const xmlChar** attributes) {
    Prescan& scan = *static_cast<Prescan*>(user);
    const char* element = reinterpret_cast<const char*>(name);
    if (std::strcmp(element, "body") == 0) {
        xmlStopParser(scan.context);
        return;
    }
    if (std::strcmp(element, "meta") != 0) {
        return;
    }
    QByteArray charset = attribute(attributes, "charset").trimmed().toLower();
    if (charset.isEmpty() && attribute(attributes, "http-equiv").trimmed().toLower() == "content-type") {
        charset = charsetOfContentType(attribute(attributes, "content"));
    }
    if (!charset.isEmpty()) {
        scan.charset = charset;
        xmlStopParser(scan.context);
    }
}

QByteArray utf8Undeclared(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return bytes;
    }
    return courselists::fromAnsi(bytes).toUtf8();
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiLetterOrDigit(char c) {
    return isAsciiLetter(c) || (c >= '0' && c <= '9');
}

// Escapes the '&' of every named entity whose character does not fit, so that the parser reads it as
// the text "&name;". The markup is ASCII in every charset this is used with.
QByteArray keepEntitiesThatDoNotFit(const QByteArray& bytes, CharacterTest fits) {
    QByteArray out;
    qsizetype copied = 0;
    for (qsizetype amp = bytes.indexOf('&'); amp >= 0; amp = bytes.indexOf('&', amp + 1)) {
        qsizetype end = amp + 1;
        if (end >= bytes.size() || !isAsciiLetter(bytes[end])) {
            continue;
        }
        while (end < bytes.size() && isAsciiLetterOrDigit(bytes[end])) {
            ++end;
        }
        if (end >= bytes.size() || bytes[end] != ';') {
            continue;
        }
        const QByteArray name = bytes.mid(amp + 1, end - amp - 1);
        const htmlEntityDesc* entity = htmlEntityLookup(reinterpret_cast<const xmlChar*>(name.constData()));
        if (entity == nullptr || fits(entity->value)) {
            continue;
        }
        out += QByteArrayView(bytes).sliced(copied, amp - copied);
        out += "&amp;";
        copied = amp + 1;
    }
    if (copied == 0) {
        return bytes;
    }
    out += QByteArrayView(bytes).sliced(copied);
    return out;
}

using DocPtr = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

struct Parser {
    CharacterTest entityFits = nullptr;

    DocPtr parse(const QByteArray& bytes, const char* encoding) const {
        initialiseLibxml();
        const QByteArray markup = entityFits == nullptr ? bytes : keepEntitiesThatDoNotFit(bytes, entityFits);
        return DocPtr(htmlReadMemory(markup.constData(), static_cast<int>(markup.size()), nullptr, encoding,
                                     kParseOptions),
                      &xmlFreeDoc);
    }

    // The document with its characters read as the page says (see readHtmlPage).
    DocPtr parsePage(const QByteArray& bytes) const;
};

DocPtr Parser::parsePage(const QByteArray& bytes) const {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return parse(QString::fromUtf8(bytes.mid(3)).toUtf8(), "UTF-8");
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE);
        return parse(QString(utf16.decode(QByteArrayView(bytes).sliced(2))).toUtf8(), "UTF-8");
    }
    const QByteArray charset = declaredCharset(bytes);
    if (isOneOf(charset, kUtf8Labels) || isOneOf(charset, kUtf16Labels)) {
        return parse(QString::fromUtf8(bytes).toUtf8(), "UTF-8");
    }
    if (isOneOf(charset, kWindows1252Labels)) {
        return parse(courselists::fromAnsi(bytes).toUtf8(), "UTF-8");
    }
    if (!charset.isEmpty()) {
        if (xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(charset.constData())) {
            xmlCharEncCloseFunc(handler);
            return parse(bytes, charset.constData());
        }
    }
    return parse(utf8Undeclared(bytes), "UTF-8");
}

bool named(const xmlNode* node, const char* name) {
    return std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

template <std::size_t N> bool namedOneOf(const xmlNode* node, const char* const (&list)[N]) {
    return isOneOf(reinterpret_cast<const char*>(node->name), list);
}

QString nodeText(const xmlNode* node) {
    xmlChar* content = xmlNodeGetContent(node);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return text;
}

QString collapseSpaces(QStringView text) {
    QString out;
    out.reserve(text.size());
    bool pendingSpace = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (pendingSpace) {
            out += QLatin1Char(' ');
            pendingSpace = false;
        }
        out += c;
    }
    return out;
}

struct Walk {
    QString title;
    bool titleSeen = false;
    QString body;
    QStringList hrefs;
    QString baseHref;
    bool baseSeen = false;

    void visit(const xmlNode* node, bool visible) {
        for (; node != nullptr; node = node->next) {
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                if (visible && node->content != nullptr) {
                    body += QString::fromUtf8(reinterpret_cast<const char*>(node->content));
                }
                continue;
            }
            if (node->type != XML_ELEMENT_NODE) {
                continue;
            }
            element(node);
            const bool hidden = namedOneOf(node, kHiddenElements) || namedOneOf(node, kFurnitureElements);
            const bool splits = visible && !namedOneOf(node, kInlineElements);
            if (splits) {
                body += QLatin1Char(' ');
            }
            visit(node->children, visible && !hidden);
            if (splits) {
                body += QLatin1Char(' ');
            }
        }
    }

    void element(const xmlNode* node) {
        if (!titleSeen && named(node, "title")) {
            titleSeen = true;
            title = collapseSpaces(nodeText(node));
        }
        const bool link = named(node, "a") || named(node, "area");
        if (!link && (baseSeen || !named(node, "base"))) {
            return;
        }
        xmlChar* href = xmlGetProp(node, reinterpret_cast<const xmlChar*>("href"));
        if (href == nullptr) {
            return;
        }
        const QString value = QString::fromUtf8(reinterpret_cast<const char*>(href));
        xmlFree(href);
        if (link) {
            hrefs << value;
        } else {
            baseSeen = true;
            baseHref = value;
        }
    }
};

// An href as the browser's URL parser takes it: without leading and trailing spaces and control
// characters, and without tabs and line breaks anywhere.
QString cleanHref(const QString& href) {
    QString out;
    out.reserve(href.size());
    for (const QChar c : href) {
        if (c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r')) {
            out += c;
        }
    }
    qsizetype begin = 0;
    qsizetype end = out.size();
    while (begin < end && out[begin].unicode() <= 0x20) {
        ++begin;
    }
    while (end > begin && out[end - 1].unicode() <= 0x20) {
        --end;
    }
    return out.mid(begin, end - begin);
}

QString resolve(const QUrl& base, const QString& href) {
    const QString clean = cleanHref(href);
    if (!base.isValid() || base.isEmpty()) {
        return clean;
    }
    return base.resolved(QUrl(clean)).toString(QUrl::FullyEncoded);
}

} // namespace

QByteArray declaredCharset(const QByteArray& bytes) {
    initialiseLibxml();
    Prescan scan;
    htmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.startElement = prescanElement;
    scan.context = htmlCreatePushParserCtxt(&sax, &scan, nullptr, 0, nullptr, XML_CHAR_ENCODING_8859_1);
    if (scan.context == nullptr) {
        return {};
    }
    htmlCtxtUseOptions(scan.context, kParseOptions);
    htmlParseChunk(scan.context, bytes.constData(), static_cast<int>(bytes.size()), 1);
    htmlFreeParserCtxt(scan.context);
    return scan.charset;
}

HtmlPage readHtmlPage(const QByteArray& bytes, const QUrl& address, CharacterTest entityFits) {
    HtmlPage page;
    const DocPtr doc = Parser{entityFits}.parsePage(bytes);
    if (!doc) {
        return page;
    }
    Walk walk;
    walk.visit(doc->children, true);
    page.title = walk.title;
    page.body = collapseSpaces(walk.body);
    const QUrl base = walk.baseSeen && address.isValid() && !address.isEmpty()
                          ? address.resolved(QUrl(cleanHref(walk.baseHref)))
                          : address;
    page.links.reserve(walk.hrefs.size());
    for (const QString& href : walk.hrefs) {
        page.links << resolve(base, href);
    }
    return page;
}

} // namespace torvane::tools
