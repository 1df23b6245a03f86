#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <array>
#include <base/keyrules.h>
#include <base/toolbar.h>
#include <shell/helppicture.h>
#include <vector>

namespace torvane::shell {

namespace {

constexpr int kWidth = 820;
constexpr int kHeight = 692;

struct CommandLine {
    base::PlainCaption button;
    const char* meaning;
};
// What each command of the toolbar does, left to right.
constexpr std::array<const char*, 10> kMeanings{
    "module selection",
    "print a page",
    "search for pages that have a particular word",
    "last screen",
    "previous",
    "next page",
    "go back to each page visited",
    "the system calculator",
    "this screen",
    "sections of this module",
};
// The index window's button, which the main toolbar reaches through Search.
constexpr char kIndexMeaning[] = "find the words in alphabetical order";

// The toolbar's lines, captions as the buttons have them.
std::vector<CommandLine> commandLines() {
    std::vector<CommandLine> lines;
    for (std::size_t i = 0; i < kMeanings.size(); ++i) {
        lines.push_back({base::plainCaption(base::kMainToolbar[i].caption), kMeanings[i]});
        if (i == base::kSearchOrIndexPosition) {
            lines.push_back({base::plainCaption(base::kIndexButton.caption), kIndexMeaning});
        }
    }
    return lines;
}

struct PageButton {
    const char* glyph;
    QColor colour;
    const char* meaning;
};
const std::array<PageButton, 9> kPageButtons{{
    {"\u266A", QColor(0x2f, 0x6f, 0xb5), "listen to a mini-lecture"},
    {"\u25B6", QColor(0xb5, 0x3a, 0x2f), "watch a video"},
    {"\u2192", QColor(0x2f, 0x8f, 0x4f), "continue to the next page"},
    {"?", QColor(0x8a, 0x5a, 0x1f), "answer"},
    {"\u2211", QColor(0x5a, 0x3f, 0x9a), "method of solution"},
    {"R", QColor(0x3f, 0x6f, 0x6f), "reference page"},
    {"\u03A9", QColor(0xc0, 0x7a, 0x10), "lab project in the circuit simulator"},
    {"3D", QColor(0x1f, 0x7a, 0x9a), "lab project in the 3-D lab"},
    {"Q", QColor(0x7a, 0x1f, 0x5a), "lab quiz in the 3-D lab"},
}};

constexpr char kKeysNote[] =
    "Page Up, Page Down, Alt+comma, Alt+full stop: previous and next page.  Esc: stop a video.  Alt+Q: quit.";
constexpr char kCloseNote[] = "Click on this picture or press any key to close it.";

QFont font(int pixelSize, bool bold = false) {
    QFont f;
    f.setFamilies(
        {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// A raised button face with its caption, the access key underlined.
void drawButton(QPainter& p, const QRect& r, const CommandLine& line) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd4, 0xd0, 0xc8));
    p.drawRect(r);
    p.setPen(Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    const QString& caption = line.button.text;
    const int accessKey = line.button.accessKey;
    p.setFont(font(11, true));
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter, caption);
    if (accessKey >= 0) {
        const QFontMetrics fm(p.font());
        const int textLeft = r.left() + (r.width() - fm.horizontalAdvance(caption)) / 2;
        const int x0 = textLeft + fm.horizontalAdvance(caption.left(accessKey));
        const int x1 = x0 + fm.horizontalAdvance(caption.mid(accessKey, 1));
        const int y = r.top() + (r.height() + fm.ascent()) / 2 + 1;
        p.drawLine(x0, y, x1 - 1, y);
    }
}

void drawToolbarRow(QPainter& p, int top) {
    for (std::size_t i = 0; i < base::kMainToolbar.size(); ++i) {
        drawButton(p, QRect(14 + static_cast<int>(i) * 80, top, 76, 22),
                   {base::plainCaption(base::kMainToolbar[i].caption), nullptr});
    }
}

int drawCommandLines(QPainter& p, int top) {
    const int rowHeight = 27;
    int y = top;
    auto row = [&](const CommandLine& line) {
        drawButton(p, QRect(40, y, 90, 21), line);
        p.setFont(font(15));
        p.setPen(QColor(0x20, 0x20, 0x20));
        p.drawText(QRect(150, y - 2, 640, 25), Qt::AlignVCenter | Qt::AlignLeft,
                   QString::fromUtf8(line.meaning));
        y += rowHeight;
    };
    for (const CommandLine& line : commandLines()) {
        row(line);
    }
    return y;
}

void drawPageButtons(QPainter& p, int top) {
    const int columnWidth = 390;
    for (std::size_t i = 0; i < kPageButtons.size(); ++i) {
        const int column = static_cast<int>(i) % 2;
        const int rowIndex = static_cast<int>(i) / 2;
        const QRect icon(40 + column * columnWidth, top + rowIndex * 34, 26, 26);
        p.setPen(Qt::NoPen);
        p.setBrush(kPageButtons[i].colour);
        p.drawRoundedRect(icon, 6, 6);
        p.setPen(Qt::white);
        p.setFont(font(13, true));
        p.drawText(icon, Qt::AlignCenter, QString::fromUtf8(kPageButtons[i].glyph));
        p.setPen(QColor(0x20, 0x20, 0x20));
        p.setFont(font(14));
        p.drawText(QRect(icon.right() + 12, icon.top(), columnWidth - 50, 26),
                   Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(kPageButtons[i].meaning));
    }
}

} // namespace

QImage drawMainHelpPicture() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(QColor(0xfb, 0xfa, 0xf5));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.setPen(QColor(0x30, 0x30, 0x30));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, kWidth - 1, kHeight - 1);
    p.fillRect(QRect(1, 1, kWidth - 2, 40), QColor(0x1f, 0x3f, 0x6f));
    p.setPen(Qt::white);
    p.setFont(font(20, true));
    p.drawText(QRect(14, 1, kWidth - 28, 40), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Torvane - Help"));
    p.setFont(font(12));
    p.drawText(QRect(14, 1, kWidth - 28, 40), Qt::AlignVCenter | Qt::AlignRight,
               QStringLiteral("Alt + the underlined letter presses a button"));

    drawToolbarRow(p, 52);
    p.setPen(QColor(0x1f, 0x3f, 0x6f));
    p.setFont(font(16, true));
    p.drawText(QRect(20, 86, 780, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("The toolbar"));
    const int afterCommands = drawCommandLines(p, 114);

    p.setPen(QColor(0x1f, 0x3f, 0x6f));
    p.setFont(font(16, true));
    p.drawText(QRect(20, afterCommands + 6, 780, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Buttons on the course pages"));
    drawPageButtons(p, afterCommands + 36);

    p.setPen(QColor(0x50, 0x50, 0x50));
    p.setFont(font(12));
    p.drawText(QRect(20, kHeight - 46, 780, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromLatin1(kKeysNote));
    p.drawText(QRect(20, kHeight - 26, 780, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromLatin1(kCloseNote));
    return image;
}

QString mainHelpText() {
    QStringList lines{QStringLiteral("Torvane - Help. Alt + the underlined letter presses a button."),
                      QStringLiteral("The toolbar.")};
    const auto add = [&lines](const QString& what, const char* meaning) {
        lines << QStringLiteral("%1: %2.").arg(what, QString::fromUtf8(meaning));
    };
    for (const CommandLine& line : commandLines()) {
        add(line.button.text, line.meaning);
    }
    lines << QStringLiteral("Buttons on the course pages.");
    for (const PageButton& button : kPageButtons) {
        add(QString::fromUtf8(button.glyph), button.meaning);
    }
    lines << QString::fromLatin1(kKeysNote) << QString::fromLatin1(kCloseNote);
    return lines.join(QLatin1Char('\n'));
}

} // namespace torvane::shell
