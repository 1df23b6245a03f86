// trvcheck on the built demo course, which must pass, and on copies of it with one fault each, which
// must give exactly the findings of that fault.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <coursecheck.h>
#include <functional>
#include <gtest/gtest.h>

// Findings in a failed expectation, readable.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using torvane::tools::check::misnamed;

const QString kDemo = QStringLiteral(DEMO_FOLDER);

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Outcome trvcheck(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(TRVCHECK_PATH), args);
    Outcome run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        return run;
    }
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

using Found = std::vector<std::pair<QString, QString>>; // rule, file

Found parseJson(const QByteArray& json, bool& ok) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    ok = error.error == QJsonParseError::NoError && doc.isArray();
    Found found;
    for (const QJsonValue& v : doc.array()) {
        const QJsonObject o = v.toObject();
        ok = ok && o.size() == 3 && !o.value("reason").toString().isEmpty();
        found.emplace_back(o.value("rule").toString(), o.value("file").toString());
    }
    return found;
}

// A copy of the built demo course and its word lists, to spoil.
class DemoCopy {
public:
    DemoCopy() {
        const QDir from(kDemo + QStringLiteral("/course"));
        QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString to = course() + QLatin1Char('/') + from.relativeFilePath(file);
            QDir().mkpath(QFileInfo(to).path());
            write(to, read(file)); // QFile::copy would sync every file to the disk
        }
        QDir().mkpath(lists());
        for (const char* name : {"files.trv", "words.trv"}) {
            write(list(name), read(kDemo + QLatin1Char('/') + QLatin1String(name)));
        }
    }
    QString course() const { return dir_.path() + QStringLiteral("/course"); }
    QString lists() const { return dir_.path() + QStringLiteral("/lists"); }

    QByteArray read(const QString& file) const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& file, const QByteArray& bytes) const {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        f.write(bytes);
    }
    QString page(const char* name) const { return course() + QLatin1Char('/') + QLatin1String(name); }
    QString list(const char* name) const { return lists() + QLatin1Char('/') + QLatin1String(name); }

    void remove(const QString& file) const { ASSERT_TRUE(QFile::remove(file)) << file.toStdString(); }
    // Replaces the first `from` in the file.
    void edit(const QString& file, const QByteArray& from, const QByteArray& to) const {
        QByteArray bytes = read(file);
        const qsizetype at = bytes.indexOf(from);
        ASSERT_GE(at, 0) << file.toStdString() << " has no " << from.toStdString();
        write(file, bytes.replace(at, from.size(), to));
    }
    void copyPage(const char* from, const char* to) const { write(page(to), read(page(from))); }
    // A link to `target` in the text of a lesson page (past its toolbar links).
    void linkFrom(const char* name, const QByteArray& target) const {
        edit(page(name), "</main>", "<p><a href=\"" + target + "\">more</a></p></main>");
    }
    void append(const QString& file, const QByteArray& bytes) const { write(file, read(file) + bytes); }
    // Points every link of every page at `to` instead of `from`.
    void relink(const QByteArray& from, const QByteArray& to) const {
        for (const QString& name : QDir(course()).entryList({QStringLiteral("*.trv")}, QDir::Files)) {
            const QString file = course() + QLatin1Char('/') + name;
            write(file, read(file).replace("href=\"" + from + '"', "href=\"" + to + '"'));
        }
    }

private:
    QTemporaryDir dir_;
};

Found check(const DemoCopy& copy, bool withLists, int& status) {
    QStringList args = {QStringLiteral("--json"), copy.course()};
    if (withLists) {
        args << copy.lists();
    }
    const Outcome run = trvcheck(args);
    status = run.status;
    bool ok = false;
    Found found = parseJson(run.out, ok);
    EXPECT_TRUE(ok) << run.out.toStdString();
    return found;
}

TEST(Trvcheck, TheDemoCoursePasses) {
    for (const bool withLists : {false, true}) {
        QStringList args = {kDemo + QStringLiteral("/course")};
        if (withLists) {
            args << kDemo;
        }
        const Outcome text = trvcheck(args);
        EXPECT_EQ(text.status, 0) << text.out.toStdString() << text.err.toStdString();
        EXPECT_TRUE(text.out.isEmpty()) << text.out.toStdString();
        // Every media file of the course was decoded.
        EXPECT_TRUE(text.err.contains(" 22 media files decoded: 0 findings")) << text.err.toStdString();
        const Outcome json = trvcheck(QStringList{QStringLiteral("--json")} + args);
        EXPECT_EQ(json.status, 0);
        bool ok = false;
        EXPECT_TRUE(parseJson(json.out, ok).empty());
        EXPECT_TRUE(ok) << json.out.toStdString();
    }
}

struct Fault {
    const char* name;
    bool withLists;
    std::function<void(const DemoCopy&)> spoil;
    Found expected;
};

QByteArray randomBytes() {
    QByteArray noise(64 * 1024, '\0');
    quint32 x = 7;
    for (char& c : noise) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    return noise;
}

const std::vector<Fault>& faults() {
    static const std::vector<Fault> rows = {
        {"second contents page missing",
         false,
         [](const DemoCopy& c) { c.remove(c.page("trvcrc.trv")); },
         {{"contents-missing", "trvcrc.trv"}}},
        {"module page variant missing",
         false,
         [](const DemoCopy& c) { c.remove(c.page("obj02e.trv")); },
         {{"variant-missing", "obj02e.trv"}}},
        {"course-wide variant missing",
         false,
         [](const DemoCopy& c) { c.remove(c.page("trvtechd.trv")); },
         {{"variant-missing", "trvtechd.trv"}, {"nav-link", "trvsummd.trv"}, {"nav-link", "trvtvidd.trv"}}},
        {"placeholder missing",
         false,
         [](const DemoCopy& c) { c.remove(c.page("tr030098.trv")); },
         {{"placeholder-missing", "tr030098.trv"}, {"nav-link", "tr030014.trv"}}},
        {">> to a missing page",
         false,
         [](const DemoCopy& c) {
             c.edit(c.page("tr010005.trv"), "href=\"tr010006.trv\"", "href=\"tr019999.trv\"");
         },
         {{"nav-link", "tr010005.trv"}}},
        {"Section to a script",
         false,
         [](const DemoCopy& c) {
             c.edit(c.page("tr010005.trv"), "href=\"tr010001.trv\"", "href=\"javascript:go()\"");
         },
         {{"nav-link", "tr010005.trv"}}},
        {"<< out of the course folder",
         false,
         [](const DemoCopy& c) {
             c.edit(c.page("tr010005.trv"), "href=\"tr010004.trv\"",
                    "href=\"http://example.com/trv_cbt/trv2/tr010004.trv\"");
         },
         {{"nav-link", "tr010005.trv"}}},
        {"placeholder without links",
         false,
         [](const DemoCopy& c) {
             QByteArray bytes = c.read(c.page("tr010001.trv"));
             const qsizetype from = bytes.indexOf("<nav>") + 5;
             c.write(c.page("tr010001.trv"), bytes.remove(from, bytes.indexOf("</nav>") - from));
         },
         {{"nav-link", "tr010001.trv"}}},
        {"second contents page's link 5 broken",
         false,
         [](const DemoCopy& c) {
             c.edit(c.page("trvcrc.trv"), "href=\"trva.trv\" class=\"btn2\"", "href=\"trvz.trv\"");
         },
         {{"nav-link", "trvcrc.trv"}}},
        {"narration missing",
         false,
         [](const DemoCopy& c) { c.remove(c.page("d01/v0101.wav")); },
         {{"media-missing", "v0101.trv"}}},
        {"video of random bytes",
         false,
         [](const DemoCopy& c) { c.write(c.page("d01/fig0105.avi"), randomBytes()); },
         {{"media-undecodable", "fig0105.trv"}}},
        {"video cut after its header",
         false,
         [](const DemoCopy& c) {
             c.write(c.page("d01/fig0109.avi"), QByteArray("RIFF\x10\0\0\0AVI LIST", 16));
         },
         {{"media-undecodable", "fig0109.trv"}}},
        {"sound where a video belongs",
         false,
         [](const DemoCopy& c) { c.write(c.page("TechTips/tt01.avi"), c.read(c.page("d01/v0102.wav"))); },
         {{"media-undecodable", "ttv01.trv"}}},
        {"page no link leads to",
         false,
         [](const DemoCopy& c) { c.copyPage("tr010005.trv", "tr010099.trv"); },
         {{"unreached", "tr010099.trv"}}},
        {"\"mod\" page that is no module page",
         false,
         [](const DemoCopy& c) {
             c.copyPage("tr010006.trv", "modern.trv");
             c.linkFrom("tr010005.trv", "modern.trv");
         },
         {{"page-class", "modern.trv"}}},
        {"\"v\" page that is no narration",
         false,
         [](const DemoCopy& c) {
             c.copyPage("tr010006.trv", "voltage.trv");
             c.linkFrom("tr010005.trv", "voltage.trv");
         },
         {{"page-class", "voltage.trv"}}},
        {"course page name in capitals",
         false,
         [](const DemoCopy& c) {
             c.copyPage("tr010006.trv", "TR010020.trv");
             c.linkFrom("tr010005.trv", "TR010020.trv");
         },
         {{"page-class", "TR010020.trv"}}},
        {"name a resize rewrites",
         false,
         [](const DemoCopy& c) {
             c.copyPage("tr010006.trv", "tr_prevention.trv");
             c.linkFrom("tr010005.trv", "tr_prevention.trv");
         },
         {{"page-class", "tr_prevention.trv"}}},
        {"placeholder linked with a query",
         false,
         [](const DemoCopy& c) { c.linkFrom("tr010005.trv", "tr010001.trv?from=5"); },
         {{"page-class", "tr010005.trv"}}},
        // Not faults: what the viewer reaches or reads all the same.
        {"variant reached only through a resize",
         false,
         [](const DemoCopy& c) { c.relink("trvsummc.trv", "trvsumma.trv"); },
         {}},
        {"placeholder listed under its own title",
         true,
         [](const DemoCopy& c) {
             c.edit(c.list("files.trv"), "\tModule 01 introduction\r\n", "\tModule 01\r\n");
         },
         {}},
        {"window placeholder linked with a fragment",
         false,
         [](const DemoCopy& c) { c.linkFrom("tr010005.trv", "search.trv#top"); },
         {{"page-class", "tr010005.trv"}}},
        {"no word list",
         true,
         [](const DemoCopy& c) { c.remove(c.list("words.trv")); },
         {{"list-missing", "words.trv"}}},
        {"page list names a missing page",
         true,
         [](const DemoCopy& c) { c.edit(c.list("files.trv"), "\ttr010005.trv\t", "\ttr019999.trv\t"); },
         {{"list-page", "files.trv"}}},
        {"page list ends early",
         true,
         [](const DemoCopy& c) { c.edit(c.list("files.trv"), "90\ttrvtvidg.trv", "x0\ttrvtvidg.trv"); },
         {{"list-page", "files.trv"}}},
        {"title differs from the page's",
         true,
         [](const DemoCopy& c) { c.edit(c.list("files.trv"), "\tOhm's law\r\n", "\tOhms law\r\n"); },
         {{"list-title", "files.trv"}}},
        {"reference past the page list",
         true,
         [](const DemoCopy& c) { c.append(c.list("words.trv"), "zzzvolt\t3\t999\t\r\n"); },
         {{"list-reference", "words.trv"}}},
        {"reference that is no number",
         true,
         [](const DemoCopy& c) { c.append(c.list("words.trv"), "zzzvolt\tx3\t\r\n"); },
         {{"list-reference", "words.trv"}}},
        {"more than 20000 words",
         true,
         [](const DemoCopy& c) {
             QByteArray more;
             for (int i = 0; i < 20000; ++i) {
                 more += "zz" + QByteArray::number(i) + "\t1\t\r\n";
             }
             c.append(c.list("words.trv"), more);
         },
         {{"list-capacity", "words.trv"}}},
        {"byte Windows-1252 has no character for",
         true,
         [](const DemoCopy& c) { c.append(c.list("words.trv"), "caf\x81\t1\t\r\n"); },
         {{"list-text", "words.trv"}}},
        {"word list saved as UTF-8",
         true,
         [](const DemoCopy& c) { c.append(c.list("words.trv"), "caf\xc3\xa9\t1\t\r\n"); },
         {{"list-text", "words.trv"}}},
        {"title Windows-1252 cannot hold",
         true,
         [](const DemoCopy& c) {
             c.edit(c.page("tr010005.trv"), "<title>Ohm&#x27;s law</title>",
                    "<title>Ohm's law in \xce\xa9</title>");
             c.edit(c.list("files.trv"), "\tOhm's law\r\n", "\tOhm's law in ?\r\n");
         },
         {{"list-text", "tr010005.trv"}}},
    };
    return rows;
}

TEST(Trvcheck, EachFaultGivesItsFindings) {
    for (const Fault& fault : faults()) {
        SCOPED_TRACE(fault.name);
        DemoCopy copy;
        fault.spoil(copy);
        int status = -1;
        Found found = check(copy, fault.withLists, status);
        Found expected = fault.expected;
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected);
        EXPECT_EQ(status, expected.empty() ? 0 : 1);
    }
}

TEST(Trvcheck, TextOutputIsOneLinePerFinding) {
    DemoCopy copy;
    copy.remove(copy.page("obj02e.trv"));
    copy.remove(copy.page("d01/v0101.wav"));
    const Outcome run = trvcheck({copy.course()});
    EXPECT_EQ(run.status, 1);
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("obj02e.trv: variant-missing: ")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("v0101.trv: media-missing: "))) << lines[1].toStdString();
}

TEST(Trvcheck, CannotRun) {
    const QString course = kDemo + QStringLiteral("/course");
    const QStringList rows[] = {
        {},
        {QStringLiteral("/no/such/course")},
        {course, QStringLiteral("/no/such/lists")},
        {course, kDemo, kDemo},
        {QStringLiteral("--no-such-option"), course},
        {QStringLiteral("--jobs"), QStringLiteral("0"), course},
        {QStringLiteral("--media-timeout"), QStringLiteral("soon"), course},
        {QStringLiteral("--media-timeout"), QStringLiteral("0.5"), course}, // the discoverer's least is 1 s
        {QStringLiteral("--course-url"), QStringLiteral("http://example.com/course/"), course},
    };
    for (const QStringList& args : rows) {
        const Outcome run = trvcheck(args);
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("trvcheck: ")) << run.err.toStdString();
    }
}

TEST(Trvcheck, NamesTheViewerReadsOtherwise) {
    struct Row {
        const char* name;
        bool mediaThere;
        bool misnamed;
    };
    const Row rows[] = {
        // What the course means them to be.
        {"tr010005.trv", false, false},
        {"tr010001.trv", false, false},
        {"mod01a.trv", false, false},
        {"rev24g.trv", false, false},
        {"trvc.trv", false, false},
        {"trvcrg.trv", false, false},
        {"trvpracd.trv", false, false},
        {"search.trv", false, false},
        {"title.trv", false, false},
        {"fig0105.trv", false, false}, // a figure placeholder whose video is missing: a media finding
        {"v0101.trv", false, false},
        {"ttv05.trv", false, false},
        {"ttvguide.trv", true, false}, // plays TechTips/ttgu.avi, which is there: taken as meant
        {"notes.trv", false, false},
        // What the viewer takes for something else.
        {"modern.trv", false, true},
        {"mod01.trv", false, true},
        {"review.trv", false, true},
        {"objects.trv", false, true},
        {"voltage.trv", false, true},
        {"video.trv", false, true},
        {"figures.trv", false, true},
        {"ttvguide.trv", false, true},
        {"TR010001.trv", false, true},
        {"Search.trv", false, true},
        {"TRVA.trv", false, true},
        {"tr_prevention.trv", false, true},
        {"trvpracz.trv", false, true},
        {"xtrva.trv", false, true},
    };
    for (const Row& row : rows) {
        const std::optional<QString> reason = misnamed(QString::fromLatin1(row.name), row.mediaThere);
        EXPECT_EQ(reason.has_value(), row.misnamed)
            << row.name << ": " << reason.value_or(QString()).toStdString();
    }
}

} // namespace
