#include "pagetext.h"

#include <gtest/gtest.h>

namespace {

using namespace torvane::tools;

TEST(PageText, TitleAndVisibleText) {
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
    };
    for (const Row& row : rows) {
        const PageText page = readPageText(QString::fromUtf8(row.html));
        EXPECT_EQ(page.title, QString::fromUtf8(row.title)) << row.html;
        EXPECT_EQ(page.body, QString::fromUtf8(row.body)) << row.html;
    }
}

TEST(PageText, Entities) {
    struct Row {
        const char* in;
        const char* out;
    };
    const Row rows[] = {
        {"caf&eacute;", "caf\u00e9"},
        {"&#233;&#xE9;&#XE9;", "\u00e9\u00e9\u00e9"},
        {"Ohm&#x27;s", "Ohm's"},
        {"&euro;&hellip;&rsquo;", "\u20ac\u2026\u2019"},
        {"&unknown; stays", "&unknown; stays"},
        {"AT&T", "AT&T"},
        {"&#0; &#x110000;", "&#0; &#x110000;"},
        {"&#128512;", "\U0001F600"},
        {"&lt;b&gt;", "<b>"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(decodeEntities(QString::fromUtf8(row.in)), QString::fromUtf8(row.out)) << row.in;
    }
}

TEST(PageText, IndexWords) {
    struct Row {
        const char* text;
        QStringList words;
    };
    const Row rows[] = {
        {"The MOTOR's rotor", {"motor", "rotor"}},
        {"an ox and the cat", {"cat"}},      // short words and stop words go
        {"AC/DC 240V current", {"current"}}, // digits and marks split words
        {"r\u00e9sum\u00e9 \u00dcBER na\u00efve", {"r\u00e9sum\u00e9", "\u00fcber", "na\u00efve"}},
        {"\u03a9mega \u4e2d\u6587\u5b57 ohm", {"ohm"}}, // letters Windows-1252 cannot hold
        {"relay relay", {"relay", "relay"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(indexWords(QString::fromUtf8(row.text)), row.words) << row.text;
    }
}

TEST(PageText, DecodesUtf8ElseWindows1252) {
    EXPECT_EQ(decodePageBytes(QByteArray("caf\xc3\xa9")), QString::fromUtf8("caf\u00e9"));
    EXPECT_EQ(decodePageBytes(QByteArray("\xef\xbb\xbfhi")), QStringLiteral("hi"));
    EXPECT_EQ(decodePageBytes(QByteArray("caf\xe9 \x80")), QString::fromUtf8("caf\u00e9 \u20ac"));
}

} // namespace
