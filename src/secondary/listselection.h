#pragma once

class QAbstractItemView;

namespace torvane::secondary {

// The selected row of a one-column list, or -1 when no row is selected.
int selectedRow(const QAbstractItemView& list);

// Selects `row` of the list; a row that does not exist clears the selection.
void selectRow(QAbstractItemView& list, int row);

} // namespace torvane::secondary
