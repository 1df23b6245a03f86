#include "pagetext.h"

#include <gtest/gtest.h>

namespace {

using namespace torvane::tools;

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

} // namespace
