#pragma once

#include <QString>
#include <optional>

namespace kv {

/// A window's stored position: "Left;Top;Width;Height" in twips, followed by ";1" when the
/// window was maximised.
struct Fenstergeometrie {
    int links = 0;
    int oben = 0;
    int breite = 0;
    int hoehe = 0;
    bool maximiert = false;

    /// nullopt for an empty value or one without four numbers and a positive size.
    static std::optional<Fenstergeometrie> ausText(const QString& text);
    QString text() const;

    bool operator==(const Fenstergeometrie&) const = default;
};

/// Twips (1/1440 inch) from pixels at the given logical DPI, and back; both round.
int pixelZuTwips(int pixel, int dpi);
int twipsZuPixel(int twips, int dpi);

} // namespace kv
