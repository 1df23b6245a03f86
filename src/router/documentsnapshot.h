#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

namespace torvane::router {

// What the browser reports about a document that has finished loading: its address and the addresses
// of its links in document order, as the browser resolved them.
struct DocumentSnapshot final {
    QString locationUrl;
    QStringList links;
};

} // namespace torvane::router

Q_DECLARE_METATYPE(torvane::router::DocumentSnapshot)
