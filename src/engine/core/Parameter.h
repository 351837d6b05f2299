#pragma once

#include <QString>
#include <QVariant>

namespace kv::engine {

/// A query parameter: declared with PARAMETERS or found as an unresolved name.
struct Parameter {
    QString name;
    int type = 10; // Text unless declared otherwise
    QVariant value;
};

} // namespace kv::engine
