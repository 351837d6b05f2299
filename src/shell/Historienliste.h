#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace kv {

/// One recently used database.
struct HistorieEintrag {
    QString pfad;
    qint16 typ = 0;
    bool nurLesen = false;

    bool operator==(const HistorieEintrag&) const = default;
};

/// Caption and description of one history entry of the "Datei" menu.
struct HistorieMenuePunkt {
    QString text;
    QString beschreibung;
};

/// The list of recently used databases, newest first, at most 20 entries, kept in the setting
/// "MRUListe" as entries separated by ";", each Pfad "," Typ "," NurLesen. A path that itself
/// contains ",", ";" or a double quote is written in double quotes (inner quotes doubled), so
/// lists written before stay readable and such paths survive.
class Historienliste {
public:
    static constexpr int MaxEintraege = 20;

    enum class Modus { Laden = 1, Speichern = 2, Hinzufuegen = 3, Entfernen = 4 };

    /// Called with the entries after loading, adding and removing, to rebuild the menu.
    using MenueAufbau = std::function<void(const QList<HistorieEintrag>&)>;

    void setzeMenueAufbau(MenueAufbau aufbau) { m_menueAufbau = std::move(aufbau); }

    /// The operation of the given mode: 1 load from the text, 2 save to the settings, 3 add and
    /// 4 remove the entry given as text (both save afterwards).
    void ausfuehren(Modus modus, const QString& argument = QString());

    void laden(const QString& text);
    void speichern() const;
    void hinzufuegen(const HistorieEintrag& eintrag);
    void entfernen(const QString& pfad);
    void leeren() { m_eintraege.clear(); }

    const QList<HistorieEintrag>& eintraege() const { return m_eintraege; }
    QString text() const { return alsText(m_eintraege); }

    /// Reads a list text; entries without a path are skipped, a missing or unusable type is
    /// taken from the path's ending, a missing read-only flag is false.
    static QList<HistorieEintrag> ausText(const QString& text);
    static QString alsText(const QList<HistorieEintrag>& eintraege);
    static std::optional<HistorieEintrag> eintragAusText(const QString& text);
    static QString eintragText(const HistorieEintrag& eintrag);

    /// Menu captions "&1. path" to "&9. path", then "10. path" …; an "&" inside the path is
    /// doubled so that it shows as itself.
    static QList<HistorieMenuePunkt> menuePunkte(const QList<HistorieEintrag>& eintraege);

private:
    void menueAufbauen() const;

    QList<HistorieEintrag> m_eintraege;
    MenueAufbau m_menueAufbau;
};

} // namespace kv
