#pragma once

#include <QWidget>

namespace kv {

/// The start window shown while the program starts, and the "Info über" window.
class about : public QWidget {
    Q_OBJECT
public:
    /// alsStartfenster: frameless, without a close button.
    explicit about(bool alsStartfenster, QWidget* parent = nullptr);

    /// "Kelvado Version: 7  Release: 8"
    static QString Versionszeile();
};

} // namespace kv
