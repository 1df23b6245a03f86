// Second-copy command lines cut short, garbled or oversized. Each must be read as one of the jobs with
// sane fields, or as nothing.

#include <gtest/gtest.h>
#include <secondcopy/commandline.h>

namespace torvane::badinput {
namespace {

using secondcopy::JobKind;

secondcopy::SecondCopyJob parse(const QString& line) {
    return secondcopy::parseCommandLine(line, QStringLiteral("http://127.0.0.1:8080/trv_cbt/trv2/"));
}

TEST(BadCommandLine, EveryDispatchPrefixCutShort) {
    const struct {
        const char* line;
        JobKind kind;
    } rows[] = {
        {"/", JobKind::Nothing},
        {"/PRAC", JobKind::Nothing},
        {"/PRAC=", JobKind::Nothing},
        {"/PRAC=   ", JobKind::Nothing},
        {"/PRA=05", JobKind::Nothing},
        {"/POPJPG", JobKind::Nothing},
        {"/POPJPG=", JobKind::Nothing},
        {"/POPJPG=x.jpg", JobKind::Nothing},
        {"/POPJPG=x.jpg/W", JobKind::Nothing},
        {"/POPJPG=x.jpg /W=", JobKind::Nothing},
        {"/POPJPG=x.jpg /W=1 /H", JobKind::Nothing},
        {"/POPJPG=x.jpg /W=1 /H=", JobKind::Nothing},
        {"/POPJPG=x.jpg /W= /H=1", JobKind::Nothing},
        {"/POPJPG=/W/H", JobKind::Nothing},
        {"/POPJPG=/H=1 /W=1", JobKind::Nothing},
        {".ci", JobKind::Nothing},
        {"ckt", JobKind::Nothing},
        {"trv000", JobKind::Nothing},
        {"trv00000", JobKind::Nothing},
        {"TRV0000", JobKind::Nothing},
        // A file type alone is still a file name of that type; the tool is handed its folder plus it.
        {".cir", JobKind::SolidraHandOff},
        {".prb", JobKind::SolidraHandOff},
        {".ckt", JobKind::KirvoltHandOff},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(parse(QString::fromLatin1(row.line)).kind, row.kind) << row.line;
    }
}

TEST(BadCommandLine, PopupSizesMissingSwappedRepeatedNonNumericHuge) {
    const struct {
        const char* line;
        JobKind kind;
        int width;
        int height;
    } rows[] = {
        {"/POPJPG=a.jpg /W=400 /H=300", JobKind::Popup, 400, 300},
        {"/POPJPG=a.jpg /H=300", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W=400", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /H=300 /W=400", JobKind::Nothing, 0, 0},
        // The first "/W" and the first "/H" count; the rest belongs to the height.
        {"/POPJPG=a.jpg /W=4 /W=5 /H=3", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W=4 /H=3 /H=2", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W=abc /H=3", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W=4 /H=3px", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W=4e2 /H=3", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W=0x10 /H=3", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W=-1 /H=3", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W=0 /H=0", JobKind::Popup, 0, 0},
        {"/POPJPG=a.jpg /W=32767 /H=32767", JobKind::Popup, 32767, 32767},
        {"/POPJPG=a.jpg /W=32768 /H=3", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W=4 /H=99999999999999999999", JobKind::Nothing, 0, 0},
        {"/POPJPG=a.jpg /W= 4  /H= 3 ", JobKind::Popup, 4, 3},
    };
    for (const auto& row : rows) {
        const secondcopy::SecondCopyJob job = parse(QString::fromLatin1(row.line));
        EXPECT_EQ(job.kind, row.kind) << row.line;
        if (job.kind == JobKind::Popup) {
            EXPECT_EQ(job.popFile, QStringLiteral("a.jpg")) << row.line;
            EXPECT_EQ(job.widthPixels, row.width) << row.line;
            EXPECT_EQ(job.heightPixels, row.height) << row.line;
        }
    }
}

TEST(BadCommandLine, ThirtyTwoThousandCharacters) {
    const QString filler(32000, QLatin1Char('a'));
    EXPECT_EQ(parse(filler).kind, JobKind::Nothing);
    EXPECT_EQ(parse(QString(32000, QLatin1Char('/'))).kind, JobKind::Nothing);

    const secondcopy::SecondCopyJob test = parse(QStringLiteral("/PRAC=") + filler);
    EXPECT_EQ(test.kind, JobKind::ChapterTest);
    EXPECT_EQ(test.testName.size(), 32000);

    const QString longFile = filler + QStringLiteral(".ckt");
    EXPECT_EQ(parse(longFile).kind, JobKind::KirvoltHandOff);
    EXPECT_EQ(secondcopy::pathBuffer(longFile), QByteArray(secondcopy::kPathBufferSize, 'a'));

    const secondcopy::SecondCopyJob popup =
        parse(QStringLiteral("/POPJPG=") + filler + QStringLiteral(".jpg /W=1 /H=2"));
    EXPECT_EQ(popup.kind, JobKind::Popup);
    EXPECT_EQ(popup.popFile.size(), 32004);
    EXPECT_EQ(parse(QStringLiteral("/POPJPG=a.jpg /W=") + filler + QStringLiteral(" /H=1")).kind,
              JobKind::Nothing);
}

TEST(BadCommandLine, UnprintableCharacters) {
    const struct {
        QString line;
        JobKind kind;
    } rows[] = {
        {QStringLiteral("/PRAC=0") + QChar(0) + QStringLiteral("5"), JobKind::Nothing},
        {QStringLiteral("/PRAC=05\n"), JobKind::Nothing},
        {QStringLiteral("/PRAC=\t05\t"), JobKind::Nothing},
        {QStringLiteral("lab") + QChar(0) + QStringLiteral(".cir"), JobKind::Nothing},
        {QStringLiteral("/POPJPG=a") + QChar(0) + QStringLiteral(".jpg /W=1 /H=1"), JobKind::Nothing},
        {QStringLiteral("/PRAC=") + QChar(0x00E9), JobKind::Nothing},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(parse(row.line).kind, row.kind) << row.line.toStdString();
    }
}

} // namespace
} // namespace torvane::badinput
