#pragma once

#include <QDialog>

namespace kv {

/// The start window shown while the program starts, and the "Info über" window (modal, closed
/// with OK or Escape).
class about : public QDialog {
    Q_OBJECT
public:
    /// alsStartfenster: frameless, without buttons.
    explicit about(bool alsStartfenster, QWidget* parent = nullptr);

    /// "Kelvado Version: 7  Release: 8"
    static QString Versionszeile();
};

} // namespace kv
