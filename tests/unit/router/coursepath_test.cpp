#include <gtest/gtest.h>
#include <router/coursepath.h>

namespace {

using namespace torvane::router;

TEST(CoursePath, MapsTheCourseFolderAndNothingElse) {
    const QString root = "/opt/torvane/course";
    struct Row {
        const char* urlPath;
        const char* expected; // nullptr: refused
    };
    const Row rows[] = {
        {"/trv_cbt/trv2/trva.trv", "/opt/torvane/course/trva.trv"},
        {"/trv_cbt/trv2/d01/fig0107.avi", "/opt/torvane/course/d01/fig0107.avi"},
        {"/trv_cbt/trv2/d01/../trvb.trv", "/opt/torvane/course/trvb.trv"},
        {"/trv_cbt/trv2//trvb.trv", "/opt/torvane/course/trvb.trv"},
        {"/trv_cbt/trv2/", nullptr},
        {"/trv_cbt/trv2/../secret", nullptr},
        {"/trv_cbt/trv2/d01/../../x", nullptr},
        {"/trv_cbt/trv2/..", nullptr},
        {"/trv_cbt/trv2/a\\..\\..\\x", nullptr},
        {"/etc/passwd", nullptr},
        {"/trv_cbt/trv3/trva.trv", nullptr},
        {"trv_cbt/trv2/trva.trv", nullptr},
    };
    for (const Row& row : rows) {
        const auto got = courseFilePath(root, QString::fromLatin1(row.urlPath));
        if (row.expected == nullptr) {
            EXPECT_FALSE(got.has_value()) << row.urlPath;
        } else {
            ASSERT_TRUE(got.has_value()) << row.urlPath;
            EXPECT_EQ(*got, QString::fromLatin1(row.expected)) << row.urlPath;
        }
    }
    EXPECT_FALSE(courseFilePath(root, QStringLiteral("/trv_cbt/trv2/a") + QChar(0) + "b").has_value());
    // A sibling folder whose name begins like the root's is outside it.
    EXPECT_FALSE(courseFilePath(root, "/trv_cbt/trv2/../course2/x").has_value());
}

TEST(CoursePath, ContentTypes) {
    EXPECT_EQ(courseMimeType("trva.trv"), "text/html");
    EXPECT_EQ(courseMimeType("TR010001.TRV"), "text/html");
    EXPECT_EQ(courseMimeType("d01/fig0107.avi"), "video/x-msvideo");
    EXPECT_EQ(courseMimeType("d01/v0103.wav"), "audio/wav");
    EXPECT_EQ(courseMimeType("pics/a.jpg"), "image/jpeg");
    EXPECT_EQ(courseMimeType("style.css"), "text/css");
    EXPECT_EQ(courseMimeType("noextension"), "application/octet-stream");
}

} // namespace
