#pragma once

#include <QMainWindow>

namespace kv {

/// The main window: MDI area, menus, tool bar, status bar.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
};

} // namespace kv
