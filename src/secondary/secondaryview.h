#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>

namespace torvane::secondary {

// One control as the learner sees it.
struct ControlView final {
    QString name; // the control's name
    QString text; // its caption, its label, or the text typed into it
    QRect rect;   // where it lies in the window
    QFont font;
};

// What the learner sees of a search, index or history window at one moment.
struct SecondaryView final {
    std::array<ControlView, 10> toolbar; // the buttons, left to right

    QStringList rows;     // the rows of the list, as shown
    int selectedRow = -1; // -1: no row is selected
    QRect list;

    bool helpShown = false;
    QRect help;
    QSize helpDrawn; // the help picture as drawn; empty until it was first shown

    QString focus; // the name of the control that takes the window's keys

    // The window's own controls above the list; empty where the window has none (the history window
    // has none of them, the index window no button).
    ControlView input;   // the text box
    ControlView button;  // the button beside it
    ControlView heading; // the label over the list
    ControlView found;   // the count line
};

} // namespace torvane::secondary
