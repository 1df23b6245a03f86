#pragma once

#include <QWidget>

namespace torvane::search {

// The word index window: lists the course's words, narrowed as the learner types.
class frmIndex final : public QWidget {
    Q_OBJECT
public:
    explicit frmIndex(QWidget* parent = nullptr);
};

} // namespace torvane::search
