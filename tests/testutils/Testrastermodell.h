#pragma once

#include "base/Rastermodell.h"

#include <QSet>
#include <QVariant>
#include <functional>

namespace kv::test {

/// A grid model over rows held in memory that honours the grid contract (Rastermodell) the way
/// the model over a record set does: bookmarks, the add-new row, row edits with a buffer, a rule
/// that can refuse a row, deleting by bookmark and the current row. For the grid's tests until
/// that model exists; the engine is not involved.
class Testrastermodell : public Rastermodell {
    Q_OBJECT
public:
    /// Type codes the model converts typed text for (the engine's DataType values).
    enum Typ : int {
        Boolean = 1,
        Byte = 2,
        Integer = 3,
        Long = 4,
        Currency = 5,
        Single = 6,
        Double = 7,
        Datum = 8,
        Text = 10,
        Memo = 12
    };

    Testrastermodell(
        QList<Datenfeldinfo> felder, const QList<QVariantList>& zeilen, QObject* parent = nullptr);

    /// Replaces the rows, as a requery does; the bindings stay.
    void ersetzeZeilen(const QList<QVariantList>& zeilen);
    /// Refuses a row on saving when it returns an error (a validation rule).
    void setzePruefung(std::function<std::optional<Rasterfehler>(const QVariantList&)> p)
    {
        m_pruefung = std::move(p);
    }
    /// Deleting this bookmark fails with the error.
    void setzeLoeschfehler(const QByteArray& lesezeichen, Rasterfehler fehler);
    /// The record set moves on its own (a window's navigation).
    void bewegeAuf(int zeile);
    void meldeLesefehler(qint64 nummer, const QString& text) { Q_EMIT lesefehler(nummer, text); }
    void setzeZaehltNoch(bool ja) { m_zaehltNoch = ja; }

    int aktuelleZeile() const { return m_aktuell; }
    /// Stored values of a record (the buffer does not count).
    QVariantList gespeichert(int zeile) const { return m_zeilen.at(zeile).werte; }
    int gespeicherteZeilen() const { return int(m_zeilen.size()); }
    int anzahlErmittelt() const { return m_anzahlErmittelt; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    QList<Datenfeldinfo> datenfelder() const override { return m_felder; }
    void setzeSpalten(const QList<Spaltenbindung>& bindungen) override;
    void setzeNeuzeile(bool zeigen) override;
    int zeileVon(const QByteArray& lesezeichen) const override;
    void setzeAktuelleZeile(int zeile) override { m_aktuell = zeile; }
    bool neueZeileBeginnen() override;
    int bearbeiteteZeile() const override { return m_bearbeitet; }
    std::optional<Rasterfehler> zeileSpeichern() override;
    void zeileVerwerfen() override;
    std::optional<Rasterfehler> loeschen(const QList<QByteArray>& lesezeichen) override;
    bool zaehltNoch() const override { return m_zaehltNoch; }
    void anzahlErmitteln() override
    {
        m_zaehltNoch = false;
        ++m_anzahlErmittelt;
    }

private:
    struct Zeile {
        QByteArray lesezeichen;
        QVariantList werte;
    };

    int datenzeilen() const;
    bool istNeuzeile(int zeile) const;
    int feldVonSpalte(int spalte) const;
    QVariant wert(int zeile, int feld) const;
    QVariant ausText(const QString& text, int typ) const;

    QList<Datenfeldinfo> m_felder;
    QList<Spaltenbindung> m_bindungen;
    QList<Zeile> m_zeilen;
    bool m_neuzeile = true;
    int m_bearbeitet = -1;
    bool m_neu = false;
    QVariantList m_puffer;
    int m_aktuell = -1;
    int m_naechsteNummer = 1;
    bool m_zaehltNoch = false;
    int m_anzahlErmittelt = 0;
    QHash<QByteArray, Rasterfehler> m_loeschfehler;
    std::function<std::optional<Rasterfehler>(const QVariantList&)> m_pruefung;
};

} // namespace kv::test
