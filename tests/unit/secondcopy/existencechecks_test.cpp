#include <QFile>
#include <QTemporaryDir>
#include <base/messagebox.h>
#include <deque>
#include <gtest/gtest.h>
#include <secondcopy/existencechecks.h>
#include <support/scriptedboxes.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace torvane::secondcopy;
using namespace torvane::base;

using torvane::testing::ScriptedBoxes;

class ExistenceChecks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QFile file(dir.filePath("history.trv"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        ASSERT_EQ(::symlink(loop().toUtf8().constData(), loop().toUtf8().constData()), 0);
    }
    QString loop() const { return dir.filePath("loop"); }
    QTemporaryDir dir;
};

TEST_F(ExistenceChecks, FolderThereAnswersWithoutAskingWhenTheLookWorks) {
    ScriptedBoxes boxes;
    EXPECT_TRUE(FolderThere(dir.path() + "/", boxes));
    EXPECT_FALSE(FolderThere(dir.filePath("history.trv"), boxes));
    EXPECT_FALSE(FolderThere(dir.filePath("missing/"), boxes));
    EXPECT_FALSE(FolderThere("", boxes));
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(ExistenceChecks, FolderThereAsksFileErrorAndRetriesUntilCancel) {
    ScriptedBoxes boxes({mb::OK, mb::OK, mb::Cancel});
    EXPECT_FALSE(FolderThere(loop(), boxes));
    ASSERT_EQ(boxes.asked.size(), 3u);
    EXPECT_EQ(boxes.asked[0].text, "File Error");
    EXPECT_EQ(boxes.asked[0].title, "File Error");
    EXPECT_EQ(boxes.asked[0].style, mb::OKCancel | mb::Exclamation);
}

TEST_F(ExistenceChecks, FileThereSeesFilesNotFolders) {
    ScriptedBoxes boxes;
    int cancels = 0;
    EXPECT_TRUE(FileThere(dir.filePath("history.trv"), boxes, [&] { ++cancels; }));
    EXPECT_FALSE(FileThere(dir.path(), boxes, [&] { ++cancels; }));
    EXPECT_FALSE(FileThere(dir.filePath("none.trv"), boxes, [&] { ++cancels; }));
    EXPECT_EQ(cancels, 0);
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(ExistenceChecks, FileThereRetriesOnOkAndEndsOnCancel) {
    ScriptedBoxes boxes({mb::OK, mb::Cancel});
    int cancels = 0;
    EXPECT_FALSE(FileThere(loop(), boxes, [&] { ++cancels; }));
    EXPECT_EQ(cancels, 1);
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_EQ(boxes.asked[1].text, "Please run Setup on the USB");
    EXPECT_EQ(boxes.asked[1].title, "Torvane");
    EXPECT_EQ(boxes.asked[1].style, mb::OKCancel | mb::Exclamation);
}

TEST_F(ExistenceChecks, RetrySucceedsOnceTheLookWorksAgain) {
    // The first answer OK comes after the loop has been replaced by a real file.
    class FixingBoxes final : public MessageBoxes {
    public:
        explicit FixingBoxes(QString path) : path_(std::move(path)) {}
        int show(const MessageBoxRequest&) override {
            ++shown;
            ::unlink(path_.toUtf8().constData());
            QFile file(path_);
            (void)file.open(QIODevice::WriteOnly);
            return mb::OK;
        }
        int shown = 0;

    private:
        QString path_;
    } boxes(loop());
    EXPECT_TRUE(FileThere(loop(), boxes, [] { FAIL() << "must not end"; }));
    EXPECT_EQ(boxes.shown, 1);
}

} // namespace
