#include <base/boxplacement.h>
#include <gtest/gtest.h>

namespace {

using namespace torvane::base;

TEST(BoxPlacement, ArgumentsAreCenterOrNumbers) {
    struct Row {
        QVariant argument;
        bool valid;
        bool centre;
        int offset;
    };
    const Row rows[] = {
        {QVariant(100), true, false, 100},
        {QVariant(-150), true, false, -150},
        {QVariant(QStringLiteral("Center")), true, true, 0},
        {QVariant(QStringLiteral("center")), true, true, 0},
        {QVariant(QStringLiteral("CENTER")), true, true, 0},
        {QVariant(QStringLiteral("80")), true, false, 80},
        {QVariant(QStringLiteral(" -7 ")), true, false, -7},
        {QVariant(12.6), true, false, 13},
        {QVariant(), true, false, 0},
        {QVariant(QStringLiteral("Centre")), false, false, 0},
        {QVariant(QStringLiteral("middle")), false, false, 0},
        {QVariant(QStringLiteral("")), false, false, 0},
        {QVariant(QStringLiteral("1e30")), false, false, 0},
    };
    for (const Row& row : rows) {
        const auto axis = parsePlacementAxis(row.argument);
        ASSERT_EQ(axis.has_value(), row.valid) << row.argument.toString().toStdString();
        if (axis) {
            EXPECT_EQ(axis->centre, row.centre) << row.argument.toString().toStdString();
            EXPECT_EQ(axis->offset, row.offset) << row.argument.toString().toStdString();
        }
    }
    EXPECT_FALSE(makeBoxPlacement(QVariant(100), QVariant(QStringLiteral("x")), false).has_value());
    EXPECT_FALSE(makeBoxPlacement(QVariant(QStringLiteral("x")), QVariant(80), false).has_value());
}

TEST(BoxPlacement, PositionsFromTheReferenceWindow) {
    struct Row {
        QRect reference;
        QSize box;
        QVariant x, y;
        QPoint expected;
    };
    const Row rows[] = {
        {QRect(10, 20, 640, 480), QSize(300, 120), 100, 80, QPoint(110, 100)},
        {QRect(400, 0, 178, 65), QSize(300, 120), -150, 80, QPoint(250, 80)},
        {QRect(0, 0, 801, 600), QSize(300, 120), QStringLiteral("center"), QStringLiteral("center"),
         QPoint(250, 240)},
        {QRect(0, 0, 801, 600), QSize(300, 120), QStringLiteral("Center"), 5, QPoint(250, 5)},
        // Halves truncate toward zero also when the box is larger than the reference.
        {QRect(0, 0, 100, 100), QSize(301, 121), QStringLiteral("center"), QStringLiteral("center"),
         QPoint(-100, -10)},
    };
    for (const Row& row : rows) {
        const auto placement = makeBoxPlacement(row.x, row.y, false);
        ASSERT_TRUE(placement.has_value());
        EXPECT_EQ(placeBox(row.reference, row.box, *placement), row.expected);
    }
}

} // namespace
