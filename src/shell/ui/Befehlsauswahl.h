#pragma once

#include <QWidget>

class QLabel;
class QListWidget;

namespace kv {

/// The choice of a main-window command: categories, the category's commands and the chosen
/// command's description. Shared by the bar customisation and the keyboard customisation.
class Befehlsauswahl : public QWidget {
    Q_OBJECT
public:
    explicit Befehlsauswahl(QWidget* parent = nullptr);

    QListWidget* kategorien() const { return m_kategorien; }
    QListWidget* befehle() const { return m_befehle; }
    /// The tool name of the chosen command; empty when none is chosen.
    QString befehl() const;

Q_SIGNALS:
    void befehlGewaehlt(const QString& name);

private:
    void befehleFuellen();

    QListWidget* m_kategorien;
    QListWidget* m_befehle;
    QLabel* m_beschreibung;
};

} // namespace kv
