#pragma once

// A stand-in for the main window as the secondary windows see it: it records what they ask of it,
// answers message boxes from a script, and owns a plain widget as the "main window".

#include <QFileInfo>
#include <QPixmap>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <courselists/liststore.h>
#include <deque>
#include <secondary/secondaryhost.h>
#include <vector>

namespace torvane::testing {

class FakeHost final : public secondary::SecondaryHost {
public:
    struct Box {
        QString text;
        int style = 0;
        QString title;
        QWidget* owner = nullptr;
        QVariant x;
        QVariant y;
    };

    QString fileLocn() const override { return locn; }
    QString billDir() const override { return bill; }
    QString programFolder() const override { return folder; }
    courselists::ListStore& courseLists() override { return lists; }
    int screenSize() const override { return size; }
    QWidget* mainWindow() override { return &main; }

    void navigate(const QString& address) override { navigated << address; }
    void openFoundPage(const QString& address, const QStringList& words) override {
        navigated << address;
        highlighted = words;
    }
    void goBack() override { ++backs; }
    void print(const QPixmap* picture) override {
        printed.push_back(picture != nullptr);
        if (picture != nullptr) {
            printedSize = picture->size();
        }
    }
    void endProgram() override { ++ended; }
    void endAfterQuit() override { ++endedAfterQuit; }
    void startCalculator() override { ++calculators; }

    bool fileThere(const QString& path) override {
        asked << path;
        return QFileInfo::exists(path);
    }
    int messageBox(const QString& text, int style) override {
        boxes.push_back(Box{text, style, QStringLiteral("Torvane"), nullptr, {}, {}});
        return 1;
    }
    std::optional<int> msgBoxAt(const QString& prompt, int style, const QString& title, QWidget* owner,
                                const QVariant& x, const QVariant& y) override {
        boxes.push_back(Box{prompt, style, title, owner, x, y});
        if (answers.empty()) {
            return 7; // No
        }
        const int answer = answers.front();
        answers.pop_front();
        if (answer < 0) {
            return std::nullopt; // a box that could not be shown
        }
        return answer;
    }

    // How often fileThere was asked about a path ending in `suffix`.
    int askedAbout(const QString& suffix) const {
        int n = 0;
        for (const QString& p : asked) {
            n += p.endsWith(suffix) ? 1 : 0;
        }
        return n;
    }

    QString locn = QStringLiteral("torvane://course/trv_cbt/trv2/");
    QString bill;
    QString folder = QStringLiteral(TORVANE_BIN_DIR);
    courselists::ListStore lists{[this] { return folder; }};
    int size = 3;
    QWidget main;

    QStringList navigated;
    QStringList highlighted; // the search words handed with the last page a search found
    int backs = 0;
    std::vector<bool> printed; // one entry per print: true when a picture was handed over
    QSize printedSize;
    int ended = 0;
    int endedAfterQuit = 0;
    int calculators = 0;
    QStringList asked;
    std::vector<Box> boxes;
    std::deque<int> answers;
};

} // namespace torvane::testing

// A test main for the secondary-window tests: the one-second pause shortened tenfold unless the
// environment says otherwise.
#define TORVANE_SECONDARY_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char** argv) {                                                                        \
        if (qEnvironmentVariableIsEmpty("TORVANE_TIME_DIVISOR")) {                                           \
            qputenv("TORVANE_TIME_DIVISOR", "10");                                                           \
        }                                                                                                    \
        QApplication app(argc, argv);                                                                        \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
