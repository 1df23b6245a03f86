#include "pagetext.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <platform/ansitext.h>

namespace torvane::tools {

namespace {

struct Entity {
    const char* name;
    char16_t code;
};

// The HTML 4 character entities (Latin-1, symbols the course texts use, typographic marks). Greek and
// mathematical letters are left out on purpose: Windows-1252 cannot hold them, so no word keeps them.
constexpr Entity kEntities[] = {
    {"quot", 34},     {"amp", 38},      {"apos", 39},    {"lt", 60},       {"gt", 62},       {"nbsp", 160},
    {"iexcl", 161},   {"cent", 162},    {"pound", 163},  {"curren", 164},  {"yen", 165},     {"brvbar", 166},
    {"sect", 167},    {"uml", 168},     {"copy", 169},   {"ordf", 170},    {"laquo", 171},   {"not", 172},
    {"shy", 173},     {"reg", 174},     {"macr", 175},   {"deg", 176},     {"plusmn", 177},  {"sup2", 178},
    {"sup3", 179},    {"acute", 180},   {"micro", 181},  {"para", 182},    {"middot", 183},  {"cedil", 184},
    {"sup1", 185},    {"ordm", 186},    {"raquo", 187},  {"frac14", 188},  {"frac12", 189},  {"frac34", 190},
    {"iquest", 191},  {"Agrave", 192},  {"Aacute", 193}, {"Acirc", 194},   {"Atilde", 195},  {"Auml", 196},
    {"Aring", 197},   {"AElig", 198},   {"Ccedil", 199}, {"Egrave", 200},  {"Eacute", 201},  {"Ecirc", 202},
    {"Euml", 203},    {"Igrave", 204},  {"Iacute", 205}, {"Icirc", 206},   {"Iuml", 207},    {"ETH", 208},
    {"Ntilde", 209},  {"Ograve", 210},  {"Oacute", 211}, {"Ocirc", 212},   {"Otilde", 213},  {"Ouml", 214},
    {"times", 215},   {"Oslash", 216},  {"Ugrave", 217}, {"Uacute", 218},  {"Ucirc", 219},   {"Uuml", 220},
    {"Yacute", 221},  {"THORN", 222},   {"szlig", 223},  {"agrave", 224},  {"aacute", 225},  {"acirc", 226},
    {"atilde", 227},  {"auml", 228},    {"aring", 229},  {"aelig", 230},   {"ccedil", 231},  {"egrave", 232},
    {"eacute", 233},  {"ecirc", 234},   {"euml", 235},   {"igrave", 236},  {"iacute", 237},  {"icirc", 238},
    {"iuml", 239},    {"eth", 240},     {"ntilde", 241}, {"ograve", 242},  {"oacute", 243},  {"ocirc", 244},
    {"otilde", 245},  {"ouml", 246},    {"divide", 247}, {"oslash", 248},  {"ugrave", 249},  {"uacute", 250},
    {"ucirc", 251},   {"uuml", 252},    {"yacute", 253}, {"thorn", 254},   {"yuml", 255},    {"OElig", 338},
    {"oelig", 339},   {"Scaron", 352},  {"scaron", 353}, {"Yuml", 376},    {"fnof", 402},    {"circ", 710},
    {"tilde", 732},   {"ensp", 8194},   {"emsp", 8195},  {"thinsp", 8201}, {"ndash", 8211},  {"mdash", 8212},
    {"lsquo", 8216},  {"rsquo", 8217},  {"sbquo", 8218}, {"ldquo", 8220},  {"rdquo", 8221},  {"bdquo", 8222},
    {"dagger", 8224}, {"Dagger", 8225}, {"bull", 8226},  {"hellip", 8230}, {"permil", 8240}, {"lsaquo", 8249},
    {"rsaquo", 8250}, {"euro", 8364},   {"trade", 8482}, {"minus", 8722},  {"larr", 8592},   {"rarr", 8594},
    {"uarr", 8593},   {"darr", 8595},   {"harr", 8596},
};

constexpr const char* kStopWords[] = {
    "about", "after",  "all",   "also",  "and",     "any",  "are",   "because", "been",  "before", "being",
    "both",  "but",    "can",   "does",  "each",    "for",  "from",  "had",     "has",   "have",   "how",
    "into",  "its",    "may",   "more",  "most",    "not",  "only",  "other",   "our",   "out",    "over",
    "same",  "should", "some",  "such",  "than",    "that", "the",   "their",   "them",  "then",   "there",
    "these", "they",   "this",  "those", "through", "too",  "under", "very",    "was",   "were",   "what",
    "when",  "where",  "which", "while", "who",     "why",  "will",  "with",    "would", "you",    "your",
};

// Elements whose content is never shown as text.
constexpr const char* kHiddenElements[] = {"script", "style", "title", "head", "template", "noscript"};
// Page furniture: the same on every page, so it would make every page a result for its words.
constexpr const char* kFurnitureElements[] = {"nav", "header", "footer"};
// Elements that sit inside a word without breaking it ("volt<b>age</b>").
constexpr const char* kInlineElements[] = {"a",      "abbr", "b",    "bdi",  "bdo", "cite", "code",  "em",
                                           "i",      "kbd",  "mark", "q",    "s",   "samp", "small", "span",
                                           "strong", "sub",  "sup",  "time", "u",   "var",  "wbr"};

template <std::size_t N> bool isOneOf(const QString& name, const char* const (&list)[N]) {
    return std::any_of(std::begin(list), std::end(list),
                       [&](const char* n) { return name == QLatin1String(n); });
}

const QHash<QString, char16_t>& entityTable() {
    static const QHash<QString, char16_t> table = [] {
        QHash<QString, char16_t> t;
        for (const Entity& e : kEntities) {
            t.insert(QString::fromLatin1(e.name), e.code);
        }
        return t;
    }();
    return table;
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

// Reads the name of the tag that starts at html[pos] == '<'; `closing` tells "</name". Lower case.
QString tagName(QStringView html, qsizetype pos, bool& closing) {
    qsizetype i = pos + 1;
    closing = i < html.size() && html[i] == QLatin1Char('/');
    if (closing) {
        ++i;
    }
    const qsizetype start = i;
    while (i < html.size() && (html[i].isLetterOrNumber() || html[i] == QLatin1Char('-'))) {
        ++i;
    }
    return html.mid(start, i - start).toString().toLower();
}

// The end of the tag starting at pos: the index after its '>' (quoted attribute values may hold '>').
qsizetype tagEnd(QStringView html, qsizetype pos) {
    QChar quote;
    for (qsizetype i = pos + 1; i < html.size(); ++i) {
        const QChar c = html[i];
        if (!quote.isNull()) {
            if (c == quote) {
                quote = QChar();
            }
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('>')) {
            return i + 1;
        }
    }
    return html.size();
}

} // namespace

bool isStopWord(QStringView lowerWord) {
    return std::any_of(std::begin(kStopWords), std::end(kStopWords),
                       [&](const char* w) { return lowerWord == QLatin1String(w); });
}

QString decodeEntities(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('&')) {
            out += c;
            continue;
        }
        const qsizetype semi = text.indexOf(QLatin1Char(';'), i + 1);
        if (semi < 0 || semi - i > 32) {
            out += c;
            continue;
        }
        const QStringView name = text.mid(i + 1, semi - i - 1);
        bool known = false;
        if (name.startsWith(QLatin1Char('#')) && name.size() > 1) {
            const bool hex = name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X');
            bool ok = false;
            const uint code = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t cp = code;
                out += QString::fromUcs4(&cp, 1);
                known = true;
            }
        } else {
            const auto it = entityTable().constFind(name.toString());
            if (it != entityTable().constEnd()) {
                out += QChar(*it);
                known = true;
            }
        }
        if (known) {
            i = semi;
        } else {
            out += c;
        }
    }
    return out;
}

PageText readPageText(QStringView html) {
    PageText page;
    QString body;
    int hiddenDepth = 0; // inside furniture elements (they may nest)
    qsizetype i = 0;
    while (i < html.size()) {
        const qsizetype lt = html.indexOf(QLatin1Char('<'), i);
        const qsizetype textEnd = lt < 0 ? html.size() : lt;
        if (hiddenDepth == 0 && textEnd > i) {
            body += html.mid(i, textEnd - i);
        }
        if (lt < 0) {
            break;
        }
        if (html.mid(lt).startsWith(QLatin1String("<!--"))) {
            const qsizetype close = html.indexOf(QLatin1String("-->"), lt + 4);
            i = close < 0 ? html.size() : close + 3;
            continue;
        }
        bool closing = false;
        const QString name = tagName(html, lt, closing);
        const qsizetype end = tagEnd(html, lt);
        if (name.isEmpty()) {
            // "<!DOCTYPE", "<?xml" or a lone "<" in text: a declaration is skipped, a lone "<" kept.
            const QChar next = lt + 1 < html.size() ? html[lt + 1] : QChar();
            if (next == QLatin1Char('!') || next == QLatin1Char('?')) {
                i = end;
            } else {
                if (hiddenDepth == 0) {
                    body += QLatin1Char('<');
                }
                i = lt + 1;
            }
            continue;
        }
        i = end;
        if (!closing && isOneOf(name, kHiddenElements)) {
            // Raw content up to the element's own end tag.
            const QString endTag = QStringLiteral("</") + name;
            qsizetype close = html.indexOf(endTag, i, Qt::CaseInsensitive);
            if (close < 0) {
                close = html.size();
            }
            if (name == QLatin1String("title") && page.title.isEmpty()) {
                page.title = collapseSpaces(decodeEntities(html.mid(i, close - i)));
            }
            if (name == QLatin1String("head")) {
                // The head holds the title too: read it before passing over the head.
                const PageText inner = readPageText(html.mid(i, close - i));
                if (page.title.isEmpty()) {
                    page.title = inner.title;
                }
            }
            i = close < html.size() ? tagEnd(html, close) : close;
            body += QLatin1Char(' ');
            continue;
        }
        if (isOneOf(name, kFurnitureElements)) {
            hiddenDepth = std::max(0, hiddenDepth + (closing ? -1 : 1));
        }
        if (!isOneOf(name, kInlineElements) && hiddenDepth == 0) {
            body += QLatin1Char(' ');
        }
    }
    page.body = collapseSpaces(decodeEntities(body));
    return page;
}

QStringList indexWords(QStringView text) {
    QStringList words;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && !text[i].isLetter()) {
            ++i;
        }
        const qsizetype start = i;
        while (i < text.size() && text[i].isLetter()) {
            ++i;
        }
        if (i - start < 3) {
            continue;
        }
        QString word = text.mid(start, i - start).toString();
        for (QChar& c : word) {
            c = c.toLower();
        }
        const bool encodable =
            std::all_of(word.begin(), word.end(), [](QChar c) { return platform::ansiByte(c).has_value(); });
        if (encodable && !isStopWord(word)) {
            words.push_back(word);
        }
    }
    return words;
}

QString decodePageBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
        return text;
    }
    return platform::fromAnsi(bytes);
}

} // namespace torvane::tools
