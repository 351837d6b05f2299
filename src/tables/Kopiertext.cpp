#include "tables/Kopiertext.h"

#include "base/Format.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "tables/Felddarstellung.h"
#include "tables/Feldtypen.h"
#include "tables/Tabellendefinition.h"

namespace kv {

namespace {

const QLatin1String Zeilenumbruch("\n");
const QLatin1String Crlf("<crlf>");

const Kopierfeld* suche(const QList<Kopierfeld>& felder, QStringView name)
{
    for (const Kopierfeld& f : felder) {
        if (name.compare(f.name, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

QString gezeigt(const Kopierfeld& f)
{
    if (f.typ == engine::dbLongBinary)
        return {};
    return Format(f.wert, f.format);
}

} // namespace

QString kopiertext(const QString& vorlage, const QList<Kopierfeld>& felder)
{
    QString text;
    if (vorlage.isEmpty()) {
        for (const Kopierfeld& f : felder) {
            if (f.typ != engine::dbLongBinary)
                text += gezeigt(f) + Zeilenumbruch;
        }
        return text;
    }
    const QStringView v(vorlage);
    qsizetype i = 0;
    while (i < v.size()) {
        if (v.mid(i).startsWith(Crlf, Qt::CaseInsensitive)) {
            text += Zeilenumbruch;
            i += Crlf.size();
            continue;
        }
        if (v.at(i) == u'{') {
            const qsizetype ende = v.indexOf(u'}', i + 1);
            if (ende > i) {
                if (const Kopierfeld* f = suche(felder, v.mid(i + 1, ende - i - 1))) {
                    text += gezeigt(*f);
                    i = ende + 1;
                    continue;
                }
            }
        }
        text += v.at(i);
        ++i;
    }
    return text;
}

QList<Kopierfeld> kopierfelder(engine::Recordset& datensatz, const Tabellendefinition* ansicht)
{
    QList<Kopierfeld> felder;
    for (engine::Field* feld : datensatz.fields()) {
        Kopierfeld k { feld->name(), feld->value(), qint16(feld->type()), {} };
        k.format = rasterspaltenformat(k.typ).zahlenformat;
        if (ansicht) {
            for (const Tabellenspalte& s : ansicht->spalten) {
                if (s.datenfeld.compare(k.name, Qt::CaseInsensitive) == 0) {
                    k.format = s.formatierung;
                    break;
                }
            }
        }
        felder.append(std::move(k));
    }
    return felder;
}

} // namespace kv
