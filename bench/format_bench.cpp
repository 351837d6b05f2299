// Format is called for every visible grid cell and every report field; this compares it with
// the plain locale conversion Qt offers for the same values.
#include "base/Format.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int k_werte = 200000;
constexpr int k_laeufe = 5;

double median(const std::function<qsizetype()>& lauf)
{
    std::vector<double> zeiten;
    qsizetype summe = 0;
    for (int i = 0; i < k_laeufe; ++i) {
        QElapsedTimer t;
        t.start();
        summe += lauf();
        zeiten.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(zeiten.begin(), zeiten.end());
    if (summe == 0)
        std::puts("(no output)");
    return zeiten[zeiten.size() / 2];
}

void bericht(const char* name, double ours, double ref)
{
    std::printf("BENCH %s ours_ms=%.2f ref_ms=%.2f ratio=%.2f\n", name, ours, ref, ours / ref);
}

} // namespace

int main()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QLocale locale;
    std::vector<double> zahlen;
    std::vector<QDateTime> daten;
    for (int i = 0; i < k_werte; ++i) {
        zahlen.push_back((i * 7919 % 1000003) / 7.0 - 50000.0);
        daten.push_back(QDateTime(QDate(2000, 1, 1).addDays(i % 9000), QTime(i % 24, i % 60)));
    }

    const double refZahl = median([&] {
        qsizetype n = 0;
        for (const double z : zahlen)
            n += locale.toString(z, 'f', 2).size();
        return n;
    });
    const QString muster = QStringLiteral("#,##0.00");
    bericht("format_number_pattern", median([&] {
        qsizetype n = 0;
        for (const double z : zahlen)
            n += kv::Format(z, muster).size();
        return n;
    }),
        refZahl);
    const QString standard = QStringLiteral("Standard");
    bericht("format_number_named", median([&] {
        qsizetype n = 0;
        for (const double z : zahlen)
            n += kv::Format(z, standard).size();
        return n;
    }),
        refZahl);

    const double refDatum = median([&] {
        qsizetype n = 0;
        for (const QDateTime& d : daten)
            n += locale.toString(d, QStringLiteral("dd.MM.yyyy")).size();
        return n;
    });
    const QString kurz = QStringLiteral("Short Date");
    bericht("format_date_short", median([&] {
        qsizetype n = 0;
        for (const QDateTime& d : daten)
            n += kv::Format(d, kurz).size();
        return n;
    }),
        refDatum);
    return 0;
}
