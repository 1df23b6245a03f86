#include <gtest/gtest.h>
#include <secondcopy/commandline.h>

namespace {

using namespace torvane::secondcopy;

const QString kLocn = QStringLiteral("http://127.0.0.1:8080/trv_cbt/trv2/");

SecondCopyJob parse(const QString& line) {
    return parseCommandLine(line, kLocn);
}

TEST(CommandLine, DispatchRowsInOrder) {
    struct Row {
        QString line;
        JobKind kind;
    };
    const Row rows[] = {
        {"", JobKind::BringViewerToFront},
        {"/POPJPG=pics/a.jpg /W=400 /H=300", JobKind::Popup},
        {"/PRAC=05", JobKind::ChapterTest},
        {"/PRAC= 05 ", JobKind::ChapterTest},
        {"lab3.cir", JobKind::SolidraHandOff},
        {"quiz2.prb", JobKind::SolidraHandOff},
        {"motor.ckt", JobKind::KirvoltHandOff},
        {"trv0000", JobKind::KirvoltHandOff},
        {"/prac=05", JobKind::Nothing}, // case matters
        {"/popjpg=a.jpg /W=1 /H=1", JobKind::Nothing},
        {"motor.CKT", JobKind::Nothing},
        {"trv0000 ", JobKind::Nothing}, // untrimmed
        {" ", JobKind::Nothing},
        {"motor.ckt ", JobKind::Nothing},
        {"readme.txt", JobKind::Nothing},
        {"/POPJPG=a.jpg", JobKind::Nothing}, // no "/W" and "/H"
        {"/POPJPG=a.jpg /W=10", JobKind::Nothing},
        {"/POPJPG=/W=1 /H=1", JobKind::Nothing}, // parts overlap
        {"/POPJPG=a.jpg /H=3 /W=4", JobKind::Nothing},
        {"/POPJPG=a.jpg /W=x /H=3", JobKind::Nothing},
        {"/POPJPG=a.jpg /W=-4 /H=3", JobKind::Nothing},
        {"/PRAC=", JobKind::Nothing},
        {"/POPJPG=pics/a.jpg /W=400 /H=300.ckt", JobKind::Nothing}, // popup row first, height unreadable
        // Unsafe lines do nothing.
        {"/PRAC=../../bin/sh", JobKind::Nothing},
        {"/PRAC=05 ; rm", JobKind::Nothing},
        {"/PRAC=a/b", JobKind::Nothing},
        // A picture may climb with "..", written or percent-encoded, as long as it stays on the course's
        // server; a name that is an address or a path of its own is refused.
        {"/POPJPG=../pics/a.jpg /W=1 /H=1", JobKind::Popup},
        {"/POPJPG=%2E%2e/%2e%2E/../../../a.jpg /W=1 /H=1", JobKind::Popup},
        {"/POPJPG=pics\\..\\..\\a.jpg /W=1 /H=1", JobKind::Popup},
        {"/POPJPG=pics/%41.jpg /W=1 /H=1", JobKind::Popup},
        {"/POPJPG=/etc/a.jpg /W=1 /H=1", JobKind::Nothing},
        {"/POPJPG=\\\\server\\a.jpg /W=1 /H=1", JobKind::Nothing},
        {"/POPJPG=%2Fetc/a.jpg /W=1 /H=1", JobKind::Nothing},
        {"/POPJPG=http://x/a.jpg /W=1 /H=1", JobKind::Nothing},
        {"/POPJPG=..%3A//x/a.jpg /W=1 /H=1", JobKind::Nothing},
        {"/POPJPG=C:\\a.jpg /W=1 /H=1", JobKind::Nothing},
        {"../outside.ckt", JobKind::Nothing},
        {"sub/../../outside.cir", JobKind::Nothing},
        {"/tmp/x.ckt", JobKind::Nothing},
        {"C:\\x.ckt", JobKind::Nothing},
        {"sub/lab.ckt", JobKind::KirvoltHandOff},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(parse(row.line).kind, row.kind) << row.line.toStdString();
    }
}

TEST(CommandLine, PopupFields) {
    const auto job = parse("/POPJPG=pics/a.jpg /W=400 /H=300");
    EXPECT_EQ(job.popFile, "pics/a.jpg");
    EXPECT_EQ(job.widthPixels, 400);
    EXPECT_EQ(job.heightPixels, 300);
    // The separators are skipped unread: any character will do.
    const auto other = parse("/POPJPG=d01/f.jpg|/W:64|/H:48");
    EXPECT_EQ(other.kind, JobKind::Popup);
    EXPECT_EQ(other.popFile, "d01/f.jpg");
    EXPECT_EQ(other.widthPixels, 64);
    EXPECT_EQ(other.heightPixels, 48);
    // Where a climbing picture is looked for, as the browser takes its steps.
    EXPECT_EQ(pictureAddress(kLocn, "%2e%2E\\pics/./a.jpg"),
              QUrl("http://127.0.0.1:8080/trv_cbt/pics/a.jpg"));
    EXPECT_EQ(pictureAddress(kLocn, "../../../../a.jpg"), QUrl("http://127.0.0.1:8080/a.jpg"));
    // Without a course address no picture stays on its server.
    EXPECT_EQ(parseCommandLine("/POPJPG=a.jpg /W=1 /H=1", QString()).kind, JobKind::Nothing);
}

TEST(CommandLine, ChapterTestAndHandOffFields) {
    EXPECT_EQ(parse("/PRAC= 05 ").testName, "05");
    EXPECT_TRUE(parse("motor.ckt").writeRequestCode);
    EXPECT_FALSE(parse("trv0000").writeRequestCode);
}

TEST(PathBuffer, ZeroPaddedAndCutAt255) {
    const QByteArray short_ = pathBuffer("/home/u/Parlenta/Kirvolt/TRV_CKTS/motor.ckt");
    ASSERT_EQ(short_.size(), 255);
    EXPECT_TRUE(short_.startsWith("/home/u/Parlenta/Kirvolt/TRV_CKTS/motor.ckt"));
    EXPECT_EQ(short_.mid(44), QByteArray(255 - 44, '\0'));

    const QString longPath = QString(300, 'x');
    const QByteArray cut = pathBuffer(longPath);
    ASSERT_EQ(cut.size(), 255);
    EXPECT_EQ(cut, QByteArray(255, 'x')); // no terminating zero

    EXPECT_EQ(pathBuffer(QString::fromUtf8("caf\u00e9")).left(4), QByteArray("caf\xe9"));
    EXPECT_EQ(pathBuffer(QString::fromUtf8("\u4e2d")).left(1), QByteArray("?"));
}

TEST(PopupGeometry, SizeAndPlaceInTwips) {
    const QSize screen(19200, 12000); // 1280 x 800 pixels at 15 twips each
    struct Row {
        int w, h;
        QPoint pointer;
        PopupGeometry expected;
    };
    const Row rows[] = {
        {400, 300, {10, 20}, {150, 300, 6700, 4800}},
        // Near the bottom-right corner: pulled in to end 200 twips inside the edges.
        {400, 300, {1200, 780}, {19200 - 6700 - 200, 12000 - 4800 - 200, 6700, 4800}},
        // Exactly fitting keeps its place.
        {400, 300, {833, 480}, {12495, 7200, 6700, 4800}},
        {0, 0, {0, 0}, {0, 0, 700, 300}},
    };
    for (const Row& row : rows) {
        const auto g = popupGeometry(row.w, row.h, row.pointer, screen, 15.0, 15.0);
        EXPECT_EQ(g.leftTwips, row.expected.leftTwips);
        EXPECT_EQ(g.topTwips, row.expected.topTwips);
        EXPECT_EQ(g.widthTwips, row.expected.widthTwips);
        EXPECT_EQ(g.heightTwips, row.expected.heightTwips);
    }
    // Other twips per pixel round to whole twips.
    const auto g = popupGeometry(3, 3, {1, 1}, screen, 12.5, 12.5);
    EXPECT_EQ(g.widthTwips, 738); // 37.5 + 700 rounds up
    EXPECT_EQ(g.leftTwips, 13);
}

} // namespace
