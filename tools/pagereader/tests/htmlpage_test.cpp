#include <gtest/gtest.h>
#include <pagereader/htmlpage.h>

namespace {

using namespace torvane::tools;

HtmlPage read(const char* html, const QUrl& address = QUrl()) {
    return readHtmlPage(QByteArray(html), address);
}

TEST(HtmlPage, TitleAndVisibleText) {
    struct Row {
        const char* html;
        const char* title;
        const char* body;
    };
    const Row rows[] = {
        {"<html><head><title>A &amp; B</title></head><body><p>Hello</p></body></html>", "A & B", "Hello"},
        // The title comes from the head, never into the text.
        {"<title>  Spread\n\tout  </title><p>x</p>", "Spread out", "x"},
        {"<body><p>No title</p></body>", "", "No title"},
        // Scripts, styles, comments and page furniture are not text; inline tags do not split words.
        {"<p>a<script>var s = '<p>';</script>b</p>", "", "a b"},
        {"<style>p{}</style><p>volt<b>age</b> <em>x</em>y</p>", "", "voltage xy"},
        {"<p>one<!-- two --> three</p>", "", "one three"},
        {"<nav>Next</nav><header>Brand<div>Nested</div></header><main>Body</main><footer>Foot</footer>", "",
         "Body"},
        {"<p>line<br>break</p><div>block</div>", "", "line break block"},
        // Attributes may hold '>' inside quotes.
        {"<a title=\"a>b\" href='x>y'>link</a>", "", "link"},
        {"<!DOCTYPE html><p>1 < 2</p>", "", "1 < 2"},
        {"<SCRIPT>hidden()</SCRIPT><P>Shown</P>", "", "Shown"},
        {"<template><p>later</p></template><noscript>no</noscript><p>now</p>", "", "now"},
        // Unclosed and misnested elements as the HTML parser mends them.
        {"<ul><li>one<li>two</ul><p>three", "", "one two three"},
        {"<title>First</title><title>Second</title><p>x", "First", "x"},
        // Entities, named and numeric.
        {"<p>caf&eacute; &#233;&#xE9;&#XE9; Ohm&#x27;s &euro;&hellip;&rsquo; &lt;b&gt;", "",
         "caf\u00e9 \u00e9\u00e9\u00e9 Ohm's \u20ac\u2026\u2019 <b>"},
        {"<p>&#128512; AT&T&nbsp;x", "", "\U0001F600 AT&T x"},
    };
    for (const Row& row : rows) {
        const HtmlPage page = read(row.html);
        EXPECT_EQ(page.title, QString::fromUtf8(row.title)) << row.html;
        EXPECT_EQ(page.body, QString::fromUtf8(row.body)) << row.html;
    }
}

TEST(HtmlPage, CharactersAsThePageDeclaresThem) {
    struct Row {
        const char* what;
        QByteArray bytes;
        const char* body;
    };
    const Row rows[] = {
        {"valid UTF-8, nothing declared", "<p>caf\xc3\xa9", "caf\u00e9"},
        {"not UTF-8, nothing declared: Windows-1252", "<p>caf\xe9 \x80", "caf\u00e9 \u20ac"},
        {"byte-order mark", "\xef\xbb\xbf<p>hi \xc3\xa9", "hi \u00e9"},
        {"UTF-16 with its mark", QByteArray("\xff\xfe<\0p\0>\0\xe9\0", 10), "\u00e9"},
        {"meta charset wins over valid UTF-8", "<meta charset=windows-1252><p>\xc3\xa9", "\u00c3\u00a9"},
        {"http-equiv",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\"><p>\x80\xe9",
         "\u20ac\u00e9"},
        {"quoted charset in the content",
         "<meta http-equiv=content-type content='text/html;charset=\"latin1\"'>"
         "<p>\xe9",
         "\u00e9"},
        {"declared UTF-8 with a bad byte", "<meta charset=\"UTF-8\"><p>caf\xe9!", "caf\ufffd!"},
        {"a charset of libxml2's own", "<head><meta charset=\"iso-8859-15\"></head><p>\xa4", "\u20ac"},
        {"another one", "<meta charset=koi8-r><p>\xc1", "\u0430"},
        {"a label nobody knows", "<meta charset=x-no-such-thing><p>caf\xe9", "caf\u00e9"},
        {"utf-16 said in ASCII", "<meta charset=utf-16><p>caf\xc3\xa9", "caf\u00e9"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(readHtmlPage(row.bytes).body, QString::fromUtf8(row.body)) << row.what;
    }
    EXPECT_EQ(declaredCharset("<html><head><meta charset=' Windows-1252 '>"), QByteArray("windows-1252"));
    EXPECT_EQ(declaredCharset("<p>text</p><meta charset=koi8-r>"), QByteArray()); // past the head
    EXPECT_EQ(declaredCharset("<meta http-equiv=refresh content='0; charset=x'>"), QByteArray());
}

TEST(HtmlPage, LinksInDocumentOrderResolvedAgainstThePage) {
    const QUrl page(QStringLiteral("torvane://course/trv_cbt/trv2/tr010002.trv"));
    struct Row {
        const char* html;
        QStringList links;
    };
    const Row rows[] = {
        {"<nav><a href=\"trva.trv\">S</a><a href=' tr010001.trv\n'>P</a></nav><p><a name=x>no href</a>"
         "<map><area href=\"tr010003.trv\"></map><footer><a href=\"search.trv\">F</a></footer>",
         {"torvane://course/trv_cbt/trv2/trva.trv", "torvane://course/trv_cbt/trv2/tr010001.trv",
          "torvane://course/trv_cbt/trv2/tr010003.trv", "torvane://course/trv_cbt/trv2/search.trv"}},
        {"<a href=\"../x.trv\">up</a><a href=\"\">self</a><a href=\"#top\">frag</a>",
         {"torvane://course/trv_cbt/x.trv", "torvane://course/trv_cbt/trv2/tr010002.trv",
          "torvane://course/trv_cbt/trv2/tr010002.trv#top"}},
        {"<a href=\"tr010003.trv?a=1&amp;b=2\">q</a><a href=\"my page.trv\">sp</a>",
         {"torvane://course/trv_cbt/trv2/tr010003.trv?a=1&b=2",
          "torvane://course/trv_cbt/trv2/my%20page.trv"}},
        {"<a href=\"javascript:alert(1)\">j</a><a href=\"HTTP://Example.com/a\">h</a>",
         {"javascript:alert(1)", "http://example.com/a"}},
        {"<head><base href=\"d01/\"></head><a href=\"fig.trv\">b</a>",
         {"torvane://course/trv_cbt/trv2/d01/fig.trv"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(read(row.html, page).links, row.links) << row.html;
    }
    // Without an address the hrefs stay as written.
    EXPECT_EQ(read("<a href=' trvb.trv '>x</a>").links, QStringList{"trvb.trv"});
}

} // namespace
