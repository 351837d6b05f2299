#pragma once

// Measuring helpers shared by the benchmarks: medians, BENCH lines, peak memory.

#include <QByteArray>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace kv::bench {

inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

/// Median of laeufe runs of f in milliseconds.
inline double messe(int laeufe, const std::function<void()>& f)
{
    std::vector<double> zeiten;
    for (int i = 0; i < laeufe; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        zeiten.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return median(zeiten);
}

/// "BENCH <name> ours_ms=… ref_ms=… ratio=…"
inline void benchZeile(const char* name, double ours, double ref)
{
    std::printf("BENCH %s ours_ms=%.2f ref_ms=%.2f ratio=%.2f\n", name, ours, ref, ours / ref);
    std::fflush(stdout);
}

/// "BENCH <name> peak_mb=…"
inline void spitzenZeile(const char* name, double mb)
{
    std::printf("BENCH %s peak_mb=%.1f\n", name, mb);
    std::fflush(stdout);
}

/// Processor time of the calling thread in milliseconds: on a busy machine steadier than the
/// clock on the wall.
inline double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

/// The process's peak resident memory in kB (VmHWM), -1 where unknown.
inline long spitzeKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& z : f.readAll().split('\n'))
        if (z.startsWith("VmHWM:"))
            return z.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

/// Counts the paintings of a widget (or any object that gets paint events).
class Malzaehler : public QObject {
public:
    explicit Malzaehler(QObject* w) { w->installEventFilter(this); }
    int anzahl = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++anzahl;
        return QObject::eventFilter(o, e);
    }
};

} // namespace kv::bench
