#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace kv::test {

/// The texts of a shown window that do not fit: labels, buttons, check boxes and group boxes
/// that are smaller than their text needs, or that reach beyond the widget around them. Parts
/// that scroll (lists, tables, scroll areas) and buttons a tool bar has put behind its extension
/// button are left out. One line per finding, naming the class, the object name and the text.
QStringList abgeschnitteneTexte(const QWidget* fenster);

/// Saves a picture of the window to the folder named by the environment variable KV_BILDER, as
/// name + ".png"; without the variable nothing is saved.
void bildSpeichern(QWidget* fenster, const QString& name);

} // namespace kv::test
