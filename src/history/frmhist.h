#pragma once

#include <QWidget>

namespace torvane::history {

// The history window: lists the pages the learner has reached and reopens one.
class frmHist final : public QWidget {
    Q_OBJECT
public:
    explicit frmHist(QWidget* parent = nullptr);
};

} // namespace torvane::history
