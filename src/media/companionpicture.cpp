#include <QPainter>
#include <QPainterPath>
#include <media/companionpicture.h>

namespace torvane::media {

QImage drawCompanionFace(bool pressed) {
    QImage image(178, 65, QImage::Format_RGB32);
    const QColor face = pressed ? QColor(0x16, 0x33, 0x5c) : QColor(0x1f, 0x4f, 0x8f);
    image.fill(face);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A bevel: light above and left, dark below and right; the other way round while pressed.
    const QColor light = pressed ? QColor(0x0b, 0x1a, 0x30) : QColor(0x7f, 0xa8, 0xe0);
    const QColor dark = pressed ? QColor(0x7f, 0xa8, 0xe0) : QColor(0x0b, 0x1a, 0x30);
    p.setPen(QPen(light, 2));
    p.drawLine(1, 1, 176, 1);
    p.drawLine(1, 1, 1, 63);
    p.setPen(QPen(dark, 2));
    p.drawLine(1, 63, 176, 63);
    p.drawLine(176, 1, 176, 63);

    const int shift = pressed ? 1 : 0;
    // An arrow pointing back.
    QPainterPath arrow;
    arrow.moveTo(14 + shift, 26 + shift);
    arrow.lineTo(30 + shift, 12 + shift);
    arrow.lineTo(30 + shift, 20 + shift);
    arrow.lineTo(44 + shift, 20 + shift);
    arrow.lineTo(44 + shift, 32 + shift);
    arrow.lineTo(30 + shift, 32 + shift);
    arrow.lineTo(30 + shift, 40 + shift);
    arrow.closeSubpath();
    p.fillPath(arrow, QColor(0xff, 0xd2, 0x4a));

    QFont title;
    title.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    title.setPixelSize(14);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(52 + shift, 8 + shift, 120, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Back to"));
    p.drawText(QRect(52 + shift, 26 + shift, 120, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Torvane"));
    QFont hint = title;
    hint.setPixelSize(9);
    hint.setBold(false);
    p.setFont(hint);
    p.setPen(QColor(0xc8, 0xd8, 0xf0));
    p.drawText(QRect(8 + shift, 47 + shift, 164, 14), Qt::AlignCenter, QStringLiteral("right click to quit"));
    return image;
}

} // namespace torvane::media
