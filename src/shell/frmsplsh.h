#pragma once

#include <QWidget>

namespace torvane::shell {

// The "One moment please..." window shown while a secondary window loads its lists.
class frmSplsh final : public QWidget {
    Q_OBJECT
public:
    explicit frmSplsh(QWidget* parent = nullptr);
};

} // namespace torvane::shell
