#pragma once

#include <QApplication>

namespace kv {

/// The wait cursor while a statement is opened on the window's thread.
class Wartecursor {
public:
    Wartecursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Wartecursor() { QApplication::restoreOverrideCursor(); }
    Wartecursor(const Wartecursor&) = delete;
    Wartecursor& operator=(const Wartecursor&) = delete;
};

} // namespace kv
