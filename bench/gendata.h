#pragma once

// Word lists and histories of a chosen size, made up from a seed: the same data every run.

#include <QString>
#include <courselists/wordlists.h>
#include <vector>

namespace torvane::bench {

struct GeneratedCourse {
    courselists::SearchTables tables;
    std::vector<QString> history; // records with their double quotes
};

struct GenerateOptions {
    int pages = 20000;
    int words = 20000;
    int minRefs = 2;
    int maxRefs = 8;
    int historyRecords = 20000;
    // Odd corners the equality test wants covered: blank and repeated page names, words in mixed case
    // and with spaces around them, history records in capitals, unknown pages and blank records.
    bool awkward = false;
    quint32 seed = 20000;
};

GeneratedCourse generateCourse(const GenerateOptions& options);

} // namespace torvane::bench
