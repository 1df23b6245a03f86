#pragma once

// A window's named parts, found and used the way a UI automation tool finds and uses them.

#include <QAbstractItemView>
#include <QObject>
#include <QTest>

namespace torvane::testing {

// One of a window's named parts, found the way a UI automation tool finds it: for clicking it, giving
// it focus or watching its signals.
template <class Part> Part& part(const QObject& window, const char* name) {
    Part* found = window.findChild<Part*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("the window has no part named %s", name);
    }
    return *found;
}

// Where row `row` of the window's list lies in the list's viewport, scrolled into view first: where the
// learner points to pick it.
inline QPoint rowPoint(const QObject& window, int row) {
    auto& list = part<QAbstractItemView>(window, "lbResults");
    const QModelIndex index = list.model()->index(row, 0);
    list.scrollTo(index);
    return list.visualRect(index).center();
}

// Clicks row `row` of the window's list, as the learner picks a row; Ctrl held takes the choice away
// from a chosen row.
inline void clickRow(const QObject& window, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QPoint at = rowPoint(window, row);
    QTest::mouseClick(part<QAbstractItemView>(window, "lbResults").viewport(), Qt::LeftButton, modifiers, at);
}

// Double-clicks row `row` of the window's list.
inline void doubleClickRow(const QObject& window, int row) {
    const QPoint at = rowPoint(window, row);
    QWidget* viewport = part<QAbstractItemView>(window, "lbResults").viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
}

// Double-clicks the window's list below its last row, where no row lies.
inline void doubleClickBelowTheRows(const QObject& window) {
    QWidget* viewport = part<QAbstractItemView>(window, "lbResults").viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3));
}

} // namespace torvane::testing
