#pragma once

#include <QWidget>

namespace torvane::search {

// The full-text search window: finds the course pages that hold one or two words.
class frmSearch final : public QWidget {
    Q_OBJECT
public:
    explicit frmSearch(QWidget* parent = nullptr);
};

} // namespace torvane::search
