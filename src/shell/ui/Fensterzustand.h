#pragma once

class QMainWindow;
class QWidget;

namespace kv {

class Einstellungen;
struct StartEinstellungen;

/// Saves the position and size of a top-level window or MDI child (the widget inside a
/// QMdiSubWindow may be given) in twips under its object name, section "Settings".
/// A minimised window or one without a name is not saved.
void FenstergeometrieSpeichern(QWidget* fenster, Einstellungen& einstellungen);
void FenstergeometrieSpeichern(QWidget* fenster);

/// Restores what FenstergeometrieSpeichern stored. Without a usable value the window stays
/// where it is or, with zentrieren, is centred in the main window's client area (the MDI area
/// for MDI children; for top-level windows hauptfenster, or the application's main window).
void FenstergeometrieWiederherstellen(QWidget* fenster, bool zentrieren,
    const Einstellungen& einstellungen, QWidget* hauptfenster = nullptr);
void FenstergeometrieWiederherstellen(QWidget* fenster, bool zentrieren);

/// Applies the stored main window state: 2 maximises, 0 moves and sizes with each value present,
/// anything else leaves the designed geometry.
void HauptfensterzustandAnwenden(QMainWindow* fenster, const StartEinstellungen& werte);
/// Saves "MainState" (0, 1 or 2) and, unless minimised, "MainLeft", "MainTop", "MainWidth",
/// "MainHeight".
void HauptfensterzustandSpeichern(const QMainWindow* fenster, Einstellungen& einstellungen);

} // namespace kv
