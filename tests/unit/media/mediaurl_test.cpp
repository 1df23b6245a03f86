#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <media/mediaurl.h>

namespace torvane::media {
namespace {

class MediaUrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(root() + QStringLiteral("/d03")));
        QFile clip(root() + QStringLiteral("/d03/v0312.wav"));
        ASSERT_TRUE(clip.open(QIODevice::WriteOnly));
    }
    QString root() const { return dir.path() + QStringLiteral("/course"); }
    QUrl resolve(const QString& address) const { return resolveCourseMediaUrl(address, root()); }

    QTemporaryDir dir;
};

TEST_F(MediaUrlTest, BundledCourseAddressesBecomeFilesOfTheCourseFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"torvane://course/trv_cbt/trv2/d03/v0312.wav", "/d03/v0312.wav"},
        {"torvane://course/trv_cbt/trv2/trv/title.avi", "/trv/title.avi"}, // not there: the player says so
        {"torvane://course/trv_cbt/trv2/d03/fig%200301.avi", "/d03/fig 0301.avi"},
        {"torvane://course/trv_cbt/trv2/d03/./v0312.wav", "/d03/v0312.wav"},
    };
    for (const auto& [address, file] : cases) {
        EXPECT_EQ(resolve(QLatin1String(address)), QUrl::fromLocalFile(root() + QLatin1String(file)))
            << address;
    }
}

TEST_F(MediaUrlTest, WebAddressesPassUnchanged) {
    for (const char* address : {"http://127.0.0.1:8080/trv_cbt/trv2/d03/v0312.wav",
                                "https://courses.example/trv_cbt/trv2/trv/title.avi"}) {
        EXPECT_EQ(resolve(QLatin1String(address)), QUrl(QLatin1String(address))) << address;
    }
}

TEST_F(MediaUrlTest, EverythingElseOpensNothing) {
    const char* refused[] = {
        "",
        "d03/v0312.wav",
        "file:///etc/passwd",
        "data:audio/wav;base64,UklGRg==",
        "javascript:alert(1)",
        "ftp://host/trv_cbt/trv2/a.wav",
        "http:///trv_cbt/trv2/a.wav",
        "torvane://course/elsewhere/a.wav",
        "torvane://course/trv_cbt/trv2/../../etc/passwd",
        "torvane://course/trv_cbt/trv2/d03/%2e%2e/%2e%2e/%2e%2e/x.wav",
        "torvane://course/trv_cbt/trv2/d03%5cv0312.wav",
        "torvane://other/trv_cbt/trv2/d03/v0312.wav",
        "torvane://user@course/trv_cbt/trv2/d03/v0312.wav",
        "torvane://course:81/trv_cbt/trv2/d03/v0312.wav",
        "torvane://course/trv_cbt/trv2/",
    };
    for (const char* address : refused) {
        EXPECT_TRUE(resolve(QLatin1String(address)).isEmpty()) << address;
    }
}

TEST_F(MediaUrlTest, WithoutACourseFolderBundledAddressesOpenNothing) {
    EXPECT_TRUE(
        resolveCourseMediaUrl(QStringLiteral("torvane://course/trv_cbt/trv2/d03/v0312.wav"), QString())
            .isEmpty());
}

TEST_F(MediaUrlTest, LinkOutOfTheCourseFolderIsRefused) {
    QFile outside(dir.path() + QStringLiteral("/secret.wav"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(outside.fileName(), root() + QStringLiteral("/d03/link.wav")));
    ASSERT_TRUE(
        QFile::link(root() + QStringLiteral("/d03/v0312.wav"), root() + QStringLiteral("/d03/inside.wav")));
    EXPECT_TRUE(resolve(QStringLiteral("torvane://course/trv_cbt/trv2/d03/link.wav")).isEmpty());
    EXPECT_FALSE(resolve(QStringLiteral("torvane://course/trv_cbt/trv2/d03/inside.wav")).isEmpty());
}

} // namespace
} // namespace torvane::media
