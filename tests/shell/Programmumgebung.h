#pragma once

// For the main-window tests: a program folder and a settings folder of their own, with scripted
// dialogs, set up for one test function and taken down after it.

#include "base/Programmverzeichnis.h"
#include "shell/Einstellungen.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace kv::test {

class Programmumgebung {
public:
    Programmumgebung()
    {
        setzeProgrammverzeichnis(ordner.path());
        Einstellungen::setzeSpeicherordner(ordner.file(QStringLiteral("einstellungen")));
    }
    ~Programmumgebung()
    {
        Einstellungen::setzeSpeicherordner(QString());
        setzeProgrammverzeichnis(QString());
    }
    Programmumgebung(const Programmumgebung&) = delete;

    /// Puts the icon folder beside the program, so that a start shows no warning.
    void symboleAnlegen()
    {
        QVERIFY(QDir(ordner.path()).mkpath(QStringLiteral("Grafik")));
        QFile symbol(ordner.file(QStringLiteral("Grafik/Abbruch16.ico")));
        QVERIFY(symbol.open(QIODevice::WriteOnly));
    }
    Programmumgebung& operator=(const Programmumgebung&) = delete;

    TempDir ordner;
    ScriptedDialoge dialoge;
};

} // namespace kv::test
