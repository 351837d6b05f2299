#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace kv {

/// A place of the demo database.
struct BeispielOrt {
    QString plz;
    QString ort;
    QString bundesland;
    QString vorwahl;
};

/// A customer; ortIndex refers to the list of places (0-based).
struct BeispielKunde {
    QString anrede;
    QString vorname;
    QString name;
    QString strasse;
    int ortIndex = 0;
    std::optional<QString> telefon;
    std::optional<QString> email;
    QDate geburtsdatum;
    bool stammkunde = false;
    std::optional<QString> bemerkung;
};

struct BeispielArtikel {
    QString bezeichnung;
    /// Price in cents, so that the stored currency value is exact.
    qint64 preisCent = 0;
    int lagerbestand = 0;
    /// PNG bytes for a few articles, empty for the others.
    QByteArray bild;
    QDate aufnahmedatum;
};

struct BeispielPosition {
    /// 0-based index into the article list.
    int artikelIndex = 0;
    int menge = 1;
    qint64 einzelpreisCent = 0;
};

struct BeispielRechnung {
    /// 0-based index into the customer list.
    int kundenIndex = 0;
    QDate datum;
    bool bezahlt = false;
    QList<BeispielPosition> positionen;
};

/// The content of the demo database, made from word lists with a fixed seed, so that every
/// run (and every machine) gets the same rows.
class Beispieldaten {
public:
    /// kunden customers, and about one invoice per two customers.
    explicit Beispieldaten(int kunden = 3000);

    const QList<BeispielOrt>& orte() const { return m_orte; }
    const QList<BeispielKunde>& kunden() const { return m_kunden; }
    const QList<BeispielArtikel>& artikel() const { return m_artikel; }
    const QList<BeispielRechnung>& rechnungen() const { return m_rechnungen; }

    /// A small generated picture as PNG bytes; variante picks colours and shape.
    static QByteArray bild(int variante);

private:
    // splitmix64: the same sequence everywhere, unlike the standard distributions.
    std::uint64_t naechste();
    int zahl(int von, int bis);
    bool chance(int prozent);
    QDate datum(const QDate& von, const QDate& bis);
    template <class T> const T& wahl(const QList<T>& liste)
    {
        return liste.at(zahl(0, static_cast<int>(liste.size()) - 1));
    }

    void erzeugeOrte();
    void erzeugeKunden(int anzahl);
    void erzeugeArtikel();
    void erzeugeRechnungen();

    std::uint64_t m_zustand = 0x4B656C7661646FULL;
    QList<BeispielOrt> m_orte;
    QList<BeispielKunde> m_kunden;
    QList<BeispielArtikel> m_artikel;
    QList<BeispielRechnung> m_rechnungen;
};

} // namespace kv
