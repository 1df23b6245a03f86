#include <gtest/gtest.h>
#include <router/courselocation.h>

namespace {

using namespace torvane::router;

TEST(CourseLocation, CourseFolderAddresses) {
    struct Row {
        const char* url;
        bool valid;
    };
    const Row rows[] = {
        {"https://courses.example.org/trv_cbt/trv2/", true},
        {"http://127.0.0.1:8080/trv_cbt/trv2/", true},
        {"http://127.0.0.1:8080/deep/down/trv_cbt/trv2/", true},
        {"torvane://course/trv_cbt/trv2/", true},
        {"https://courses.example.org/trv_cbt/trv2", false}, // no trailing slash
        {"https://courses.example.org/trv_cbt/trv2/x/", false},
        {"https://courses.example.org/TRV_CBT/TRV2/", false},     // the path is case-sensitive
        {"https://courses.example.org/trv_cbt/trv2/?a=1", false}, // page names are appended to it
        {"https://courses.example.org/trv_cbt/trv2/#top", false},
        {"/trv_cbt/trv2/", false},            // no scheme, no host
        {"file:///srv/trv_cbt/trv2/", false}, // no host
        {"file://server/trv_cbt/trv2/", false},
        {"ftp://host/trv_cbt/trv2/", false}, // the browser shows a course over http and https only
        {"torvane://other/trv_cbt/trv2/", false},
        {"TORVANE://Course/trv_cbt/trv2/", true},
        {"courses.example.org/trv_cbt/trv2/", false},
        {"", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(isCourseFolderUrl(QString::fromLatin1(row.url)), row.valid) << row.url;
    }
}

TEST(CourseLocation, EnvironmentThenBuildThenBundled) {
    const QString env = "http://127.0.0.1:1/trv_cbt/trv2/";
    const QString build = "https://build.example/trv_cbt/trv2/";

    auto chosen = chooseCourseLocation(env, build);
    EXPECT_EQ(chosen.url, env);
    EXPECT_FALSE(chosen.bundled);

    chosen = chooseCourseLocation("", build);
    EXPECT_EQ(chosen.url, build);

    // The bundled course's own address, given in the environment or the build, is the bundled course.
    for (const auto& [fromEnv, fromBuild] : {std::pair<QString, QString>{"  ", ""},
                                             {"torvane://course/trv_cbt/trv2/", build},
                                             {"", "torvane://course/trv_cbt/trv2/"}}) {
        chosen = chooseCourseLocation(fromEnv, fromBuild);
        EXPECT_EQ(chosen.url, QString::fromLatin1(kBundledCourseUrl)) << fromEnv.toStdString();
        EXPECT_TRUE(chosen.bundled);
        EXPECT_TRUE(chosen.error.isEmpty());
    }
}

TEST(CourseLocation, BadAddressNamesTheExpectedFormAndItsSource) {
    auto chosen = chooseCourseLocation("http://host/courses/", "https://build.example/trv_cbt/trv2/");
    EXPECT_TRUE(chosen.url.isEmpty());
    EXPECT_TRUE(chosen.error.contains("http://host/courses/"));
    EXPECT_TRUE(chosen.error.contains("TORVANE_COURSE_URL"));
    EXPECT_TRUE(chosen.error.contains("\"/trv_cbt/trv2/\""));

    // A bad environment value does not fall back silently to the build's value.
    EXPECT_FALSE(chosen.error.isEmpty());

    chosen = chooseCourseLocation("ftp://host/trv_cbt/trv2/", "");
    EXPECT_TRUE(chosen.error.contains("ftp://host/trv_cbt/trv2/"));
    EXPECT_TRUE(chosen.error.contains("http or https"));

    chosen = chooseCourseLocation("", "nonsense");
    EXPECT_TRUE(chosen.error.contains("built with"));
}

} // namespace
