#pragma once

#include <QString>
#include <QVariant>

namespace kv::engine {

/// One entry of an engine object's Properties: name and value.
struct Property {
    QString name;
    QVariant value;
};

} // namespace kv::engine
