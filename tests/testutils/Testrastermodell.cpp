#include "testutils/Testrastermodell.h"

#include "base/Format.h"
#include "base/Werteparser.h"

namespace kv::test {

Testrastermodell::Testrastermodell(
    QList<Datenfeldinfo> felder, const QList<QVariantList>& zeilen, QObject* parent)
    : Rastermodell(parent)
    , m_felder(std::move(felder))
{
    for (const QVariantList& werte : zeilen)
        m_zeilen.append({ QByteArray::number(m_naechsteNummer++), werte });
}

void Testrastermodell::ersetzeZeilen(const QList<QVariantList>& zeilen)
{
    beginResetModel();
    m_zeilen.clear();
    for (const QVariantList& werte : zeilen)
        m_zeilen.append({ QByteArray::number(m_naechsteNummer++), werte });
    m_bearbeitet = -1;
    m_neu = false;
    m_aktuell = -1;
    endResetModel();
}

void Testrastermodell::setzeLoeschfehler(const QByteArray& lesezeichen, Rasterfehler fehler)
{
    m_loeschfehler.insert(lesezeichen, std::move(fehler));
}

void Testrastermodell::bewegeAuf(int zeile)
{
    m_aktuell = zeile;
    Q_EMIT aktuelleZeileGeaendert(zeile);
}

int Testrastermodell::datenzeilen() const
{
    return int(m_zeilen.size()) + (m_neu ? 1 : 0);
}

bool Testrastermodell::istNeuzeile(int zeile) const
{
    return m_neuzeile && zeile == datenzeilen();
}

int Testrastermodell::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return datenzeilen() + (m_neuzeile ? 1 : 0);
}

int Testrastermodell::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_bindungen.isEmpty() ? m_felder.size() : m_bindungen.size());
}

int Testrastermodell::feldVonSpalte(int spalte) const
{
    if (m_bindungen.isEmpty())
        return spalte;
    const QString& name = m_bindungen.at(spalte).datenfeld;
    for (int i = 0; i < m_felder.size(); ++i) {
        if (m_felder.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Testrastermodell::wert(int zeile, int feld) const
{
    if (feld < 0 || istNeuzeile(zeile))
        return {};
    const QVariantList& werte = zeile == m_bearbeitet ? m_puffer : m_zeilen.at(zeile).werte;
    return feld < werte.size() ? werte.at(feld) : QVariant();
}

QVariant Testrastermodell::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.model() != this)
        return {};
    const int feld = feldVonSpalte(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return Format(wert(index.row(), feld),
            m_bindungen.isEmpty() ? QString() : m_bindungen.at(index.column()).format);
    case Qt::EditRole:
        return Format(wert(index.row(), feld));
    case Rasterrolle::Wert:
        return wert(index.row(), feld);
    case Rasterrolle::Lesezeichen:
        return index.row() < m_zeilen.size() ? m_zeilen.at(index.row()).lesezeichen : QByteArray();
    case Rasterrolle::Neuzeile:
        return istNeuzeile(index.row());
    default:
        return {};
    }
}

QVariant Testrastermodell::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    const int feld = feldVonSpalte(section);
    return spaltenkopf(feld < 0 ? Datenfeldinfo() : m_felder.at(feld),
        m_bindungen.isEmpty() ? QString() : m_bindungen.at(section).datenfeld, role);
}

Qt::ItemFlags Testrastermodell::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return Qt::NoItemFlags;
    const int feld = feldVonSpalte(index.column());
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (feld >= 0 && m_felder.at(feld).aktualisierbar)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant Testrastermodell::ausText(const QString& text, int typ) const
{
    if (text.isEmpty())
        return {};
    switch (typ) {
    case Byte:
    case Integer:
    case Long:
        if (const auto z = ParseZahl(text))
            return qlonglong(*z);
        return text;
    case Currency:
    case Single:
    case Double:
        if (const auto z = ParseZahl(text))
            return *z;
        return text;
    case Datum:
        if (const auto d = ParseDatum(text))
            return *d;
        return text;
    case Boolean:
        return text == QLatin1String("Wahr") || text == QLatin1String("-1");
    default:
        return text;
    }
}

bool Testrastermodell::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    int zeile = index.row();
    if (istNeuzeile(zeile)) {
        if (!neueZeileBeginnen())
            return false;
    } else if (m_bearbeitet != zeile) {
        if (m_bearbeitet >= 0)
            return false;
        m_bearbeitet = zeile;
        m_puffer = m_zeilen.at(zeile).werte;
        Q_EMIT bearbeitungBegonnen(zeile, false);
    }
    const int feld = feldVonSpalte(index.column());
    while (m_puffer.size() < m_felder.size())
        m_puffer.append(QVariant());
    m_puffer[feld] = ausText(value.toString(), m_felder.at(feld).typ);
    const QModelIndex i = this->index(zeile, index.column());
    Q_EMIT dataChanged(i, i, { Qt::DisplayRole, Qt::EditRole, Rasterrolle::Wert });
    return true;
}

void Testrastermodell::setzeSpalten(const QList<Spaltenbindung>& bindungen)
{
    beginResetModel();
    m_bindungen = bindungen;
    endResetModel();
}

void Testrastermodell::setzeNeuzeile(bool zeigen)
{
    if (zeigen == m_neuzeile)
        return;
    const int zeile = datenzeilen();
    if (zeigen) {
        beginInsertRows({}, zeile, zeile);
        m_neuzeile = true;
        endInsertRows();
    } else {
        beginRemoveRows({}, zeile, zeile);
        m_neuzeile = false;
        endRemoveRows();
    }
}

int Testrastermodell::zeileVon(const QByteArray& lesezeichen) const
{
    for (int i = 0; i < m_zeilen.size(); ++i) {
        if (m_zeilen.at(i).lesezeichen == lesezeichen)
            return i;
    }
    return -1;
}

bool Testrastermodell::neueZeileBeginnen()
{
    if (m_neu)
        return true;
    if (!m_neuzeile || m_bearbeitet >= 0)
        return false;
    // The add-new row becomes the new record; a fresh add-new row follows it.
    const int zeile = datenzeilen();
    beginInsertRows({}, zeile + 1, zeile + 1);
    m_neu = true;
    m_bearbeitet = zeile;
    m_puffer = QVariantList(m_felder.size());
    endInsertRows();
    Q_EMIT dataChanged(index(zeile, 0), index(zeile, columnCount() - 1));
    Q_EMIT bearbeitungBegonnen(zeile, true);
    return true;
}

std::optional<Rasterfehler> Testrastermodell::zeileSpeichern()
{
    if (m_bearbeitet < 0)
        return std::nullopt;
    if (m_pruefung) {
        if (auto fehler = m_pruefung(m_puffer))
            return fehler;
    }
    const int zeile = m_bearbeitet;
    if (m_neu) {
        m_zeilen.append({ QByteArray::number(m_naechsteNummer++), m_puffer });
        m_neu = false;
    } else {
        m_zeilen[zeile].werte = m_puffer;
    }
    m_bearbeitet = -1;
    m_puffer.clear();
    Q_EMIT dataChanged(index(zeile, 0), index(zeile, columnCount() - 1));
    return std::nullopt;
}

void Testrastermodell::zeileVerwerfen()
{
    if (m_bearbeitet < 0)
        return;
    const int zeile = m_bearbeitet;
    if (m_neu) {
        beginRemoveRows({}, zeile, zeile);
        m_neu = false;
        m_bearbeitet = -1;
        m_puffer.clear();
        endRemoveRows();
        return;
    }
    m_bearbeitet = -1;
    m_puffer.clear();
    Q_EMIT dataChanged(index(zeile, 0), index(zeile, columnCount() - 1));
}

std::optional<Rasterfehler> Testrastermodell::loeschen(const QList<QByteArray>& lesezeichen)
{
    for (const QByteArray& l : lesezeichen) {
        if (m_loeschfehler.contains(l))
            return m_loeschfehler.value(l);
        const int zeile = zeileVon(l);
        if (zeile < 0)
            continue;
        beginRemoveRows({}, zeile, zeile);
        m_zeilen.removeAt(zeile);
        if (m_bearbeitet == zeile)
            m_bearbeitet = -1;
        else if (m_bearbeitet > zeile)
            --m_bearbeitet;
        endRemoveRows();
    }
    return std::nullopt;
}

} // namespace kv::test
