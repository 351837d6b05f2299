#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace kv {

/// The optional passwords in front of numbered actions: 20 slots of 5 characters, each holding
/// its password scrambled with a fixed key. A slot equal to the key in capitals (the scrambled
/// form of five blanks) is unprotected.
class Aktionsschutz {
public:
    static constexpr int Anzahl = 20;
    static constexpr int Laenge = 5;
    /// The scrambling key.
    static inline const QString Schluessel = QStringLiteral("wtnqa");

    /// All slots unprotected.
    Aktionsschutz();

    /// Takes a stored value as the whole store. Complete slots are used; slots the value does
    /// not fully cover stay unprotected; characters beyond 100 are ignored.
    void laden(const QString& wert);
    /// The whole store, 100 characters.
    const QString& wert() const { return m_speicher; }

    /// Sets the password of action n (1 to 20); an empty password removes the protection.
    void setzePasswort(int n, const QString& passwort);
    /// The expected password of action n, 5 characters padded with blanks.
    QString passwort(int n) const;
    bool geschuetzt(int n) const;

    /// The password made 5 characters long and combined character by character with the key;
    /// applying it to a scrambled slot gives the password back.
    static QString verwuerfeln(const QString& text);
    /// The name of action n as the options show it ("Datei Neu" …, "<reserviert>").
    static QString aktionsname(int n);

private:
    QString slot(int n) const;

    QString m_speicher;
};

/// Asks for a password: the typed text, nullopt when cancelled.
using PasswortAbfrage = std::function<std::optional<QString>()>;

/// The process-wide store filled at start-up.
Aktionsschutz& aktionsschutz();
/// Installs the asker that PruefeAktionsschutz(n) uses (the password dialog in the program).
void setzePasswortAbfrage(PasswortAbfrage abfrage);

/// True when action n may run: it is unprotected, or the password asked for matches (the first
/// 5 characters of the entry, padded with blanks, exactly). A wrong password is reported; a
/// cancelled entry returns false without a message.
bool PruefeAktionsschutz(const Aktionsschutz& schutz, int n, const PasswortAbfrage& abfrage);
/// The same on the process-wide store with the installed asker.
bool PruefeAktionsschutz(int n);

} // namespace kv
