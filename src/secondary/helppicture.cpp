#include <QFont>
#include <QPainter>
#include <QStringList>
#include <base/keyrules.h>
#include <base/toolbar.h>
#include <secondary/helppicture.h>
#include <secondary/secondarylayout.h>

namespace torvane::secondary {

namespace {

struct Line {
    const char* what;
    const char* meaning;
};

constexpr Line kCommands[] = {
    {"Contents", "Module selection: the contents page of the course"},
    {"Print", "Print the page, or this help picture while it is shown"},
    {"Search", "Search for the pages that have a particular word"},
    {"Index", "Find the words of the course in alphabetical order"},
    {"Back, <<, >>", "Return to the last screen"},
    {"History", "Go back to each page visited"},
    {"Calc", "The system calculator"},
    {"Help, Section", "Show or hide this help"},
};

constexpr Line kKeys[] = {
    {"Alt + underlined letter", "The button with that letter"},
    {"Alt + comma, Alt + full stop", "Return to the last screen"},
    {"Enter", "Search; or open the chosen page or word"},
    {"Alt + Q", "Quit Torvane"},
    {"Any key, or a click here", "Hide this help"},
};

constexpr char kSearchNote[] = "Search: type one word, or two words to find the pages that have both. A word "
                               "finds every word it begins, in any letter case: mot finds motor and MOTION. "
                               "Index: type the beginning of a word; double-click a word to search for it.";

void drawLines(QPainter& p, int& y, const QString& heading, const Line* lines, std::size_t count) {
    QFont bold = p.font();
    bold.setBold(true);
    QFont plain = p.font();
    plain.setBold(false);
    p.setFont(bold);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRect(40, y, 720, 26), Qt::AlignLeft | Qt::AlignVCenter, heading);
    y += 32;
    for (std::size_t i = 0; i < count; ++i) {
        p.setFont(bold);
        p.setPen(Qt::black);
        p.drawText(QRect(56, y, 260, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(lines[i].what));
        p.setFont(plain);
        p.drawText(QRect(320, y, 440, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(lines[i].meaning));
        y += 26;
    }
    y += 12;
}

} // namespace

QPixmap secondaryHelpPicture() {
    QPixmap picture(kHelpPictureWidth, kHelpPictureHeight);
    picture.fill(QColor(255, 255, 225));
    QPainter p(&picture);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, kHelpPictureWidth - 1, kHelpPictureHeight - 1);

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(15);
    p.setFont(font);

    QFont title = font;
    title.setPixelSize(24);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRect(0, 14, kHelpPictureWidth, 36), Qt::AlignCenter, QStringLiteral("Torvane Help"));

    // The toolbar row, as the buttons stand above this picture.
    QFont buttonFont = font;
    buttonFont.setPixelSize(12);
    buttonFont.setBold(true);
    p.setFont(buttonFont);
    const int buttonWidth = 72;
    const int gap = 4;
    const int rowLeft = (kHelpPictureWidth - 10 * buttonWidth - 9 * gap) / 2;
    for (std::size_t i = 0; i < base::kMainToolbar.size(); ++i) {
        const QRect r(rowLeft + static_cast<int>(i) * (buttonWidth + gap), 62, buttonWidth, 24);
        p.setPen(QColor(96, 96, 96));
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(r);
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, base::plainCaption(base::kMainToolbar[i].caption).text);
    }
    p.setBrush(Qt::NoBrush);
    p.setFont(font);

    int y = 104;
    drawLines(p, y, QStringLiteral("The buttons"), kCommands, std::size(kCommands));
    drawLines(p, y, QStringLiteral("The keys"), kKeys, std::size(kKeys));

    p.setPen(QColor(64, 64, 64));
    p.drawText(QRect(40, y, 720, kHelpPictureHeight - y - 10), Qt::AlignLeft | Qt::TextWordWrap,
               QString::fromLatin1(kSearchNote));
    p.end();
    return picture;
}

QString secondaryHelpText() {
    QStringList lines{QStringLiteral("Torvane Help.")};
    const auto add = [&lines](const char* heading, const Line* table, std::size_t count) {
        lines << QString::fromLatin1(heading);
        for (std::size_t i = 0; i < count; ++i) {
            lines << QStringLiteral("%1: %2.").arg(QString::fromLatin1(table[i].what),
                                                   QString::fromLatin1(table[i].meaning));
        }
    };
    add("The buttons.", kCommands, std::size(kCommands));
    add("The keys.", kKeys, std::size(kKeys));
    lines << QString::fromLatin1(kSearchNote);
    return lines.join(QLatin1Char('\n'));
}

} // namespace torvane::secondary
