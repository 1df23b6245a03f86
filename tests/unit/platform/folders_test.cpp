#include <QDir>
#include <QMap>
#include <gtest/gtest.h>
#include <platform/folders.h>

namespace torvane::platform {
namespace {

// An environment made of exactly the given variables; anything else reads as unset.
Environment fakeEnvironment(QMap<QString, QString> vars) {
    return [vars = std::move(vars)](const QString& name) { return vars.value(name); };
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

struct EnvCase {
    const char* label;
    QMap<QString, QString> vars;
    QString expected;
};

TEST(FoldersTest, ProgramFilesPrefersX86ThenPlainThenSystemDefault) {
#ifdef Q_OS_WIN
    const QString fallback = QStringLiteral("C:\\Program Files");
#else
    const QString fallback = QStringLiteral("/opt");
#endif
    const std::vector<EnvCase> cases{
        {"x86 wins", {{"ProgramFiles(x86)", "/pf86"}, {"ProgramFiles", "/pf"}}, "/pf86"},
        {"empty x86 falls through", {{"ProgramFiles(x86)", ""}, {"ProgramFiles", "/pf"}}, "/pf"},
        {"only plain", {{"ProgramFiles", "/pf"}}, "/pf"},
        {"trailing separators dropped", {{"ProgramFiles(x86)", "C:\\PF86\\"}}, "C:\\PF86"},
        {"both empty", {{"ProgramFiles(x86)", ""}, {"ProgramFiles", ""}}, fallback},
        {"nothing set", {}, fallback},
    };
    for (const EnvCase& c : cases)
        EXPECT_EQ(programFilesFolder(fakeEnvironment(c.vars)), c.expected) << c.label;
}

TEST(FoldersTest, AppDataPrefersAppDataThenDataHome) {
    std::vector<EnvCase> cases{
        {"APPDATA wins", {{"APPDATA", "/roam"}, {"XDG_DATA_HOME", "/xdg"}, {"HOME", "/h"}}, "/roam"},
        {"APPDATA trailing slash dropped", {{"APPDATA", "/roam/"}}, "/roam"},
    };
#ifndef Q_OS_WIN
    const std::vector<EnvCase> xdgCases{
        {"empty APPDATA falls through", {{"APPDATA", ""}, {"XDG_DATA_HOME", "/xdg"}}, "/xdg"},
        {"XDG_DATA_HOME trailing slash dropped", {{"XDG_DATA_HOME", "/xdg/"}}, "/xdg"},
        {"home fallback", {{"HOME", "/home/u"}}, "/home/u/.local/share"},
        {"empty XDG_DATA_HOME", {{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.local/share"},
        {"relative XDG_DATA_HOME ignored",
         {{"XDG_DATA_HOME", "rel/data"}, {"HOME", "/home/u"}},
         "/home/u/.local/share"},
        {"no home at all", {}, ""},
    };
    cases.insert(cases.end(), xdgCases.begin(), xdgCases.end());
#endif
    for (const EnvCase& c : cases)
        EXPECT_EQ(appDataFolder(fakeEnvironment(c.vars)), c.expected) << c.label;
}

TEST(FoldersTest, DerivedPathsMatchWhatTheToolsExpect) {
#ifdef Q_OS_WIN
    const QString exe = QStringLiteral(".exe");
    const QString module = QStringLiteral(".dll");
#else
    const QString exe;
    const QString module = QStringLiteral(".so");
#endif
    const QString appData = native("/data");
    const QString programFiles = native("/progs");
    EXPECT_EQ(billDir(appData), native("/data/Parlenta/Torvane/"));
    EXPECT_EQ(solidraFileFolder(appData), native("/data/Parlenta/Solidra/POE_CIRS/"));
    EXPECT_EQ(kirvoltFileFolder(appData), native("/data/Parlenta/Kirvolt/TRV_CKTS/"));
    EXPECT_EQ(solidraProgram(programFiles), native("/progs/Parlenta/Solidra/Solidra" + exe));
    EXPECT_EQ(kirvoltProgram(programFiles), native("/progs/Parlenta/Kirvolt/kirvolt" + exe));
    EXPECT_EQ(chapterTestProgram(native("/opt/torvane"), "05"), native("/opt/torvane/ch05test" + exe));
    EXPECT_EQ(moduleFile(native("/opt/torvane"), "torvane-viewer"),
              native("/opt/torvane/torvane-viewer" + module));
}

} // namespace
} // namespace torvane::platform
