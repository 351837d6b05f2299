#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace kv {

/// F1 in any window of the program shows the help page of that window: the page named by the
/// property HilfeseiteEigenschaft of the focus widget or of the nearest widget around it (a
/// dialog, an MDI child, the main window). Installed once on the application; F1 where no page
/// is named is left to the shortcuts.
class Hilfetaste : public QObject {
    Q_OBJECT
public:
    explicit Hilfetaste(QObject* parent = nullptr);

    /// The page for F1 from inside w; empty when neither w nor a widget around it names one.
    static QString seiteFuer(const QWidget* w);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
};

} // namespace kv
