// kvsql DATABASE [SQL]: runs dialect statements through the engine; see ScriptRunner.

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/ScriptRunner.h"
#include "engine/Workspace.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

using namespace kv::engine;

namespace {

int usage()
{
    QTextStream(stderr) << "Aufruf: kvsql [--table] [--readonly] [--create] [--param NAME=WERT]… "
                           "DATENBANK [SQL]\n"
                           "Ohne SQL werden die Anweisungen von der Standardeingabe gelesen, "
                           "getrennt durch Zeilen, die mit \";\" enden.\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    ScriptRunner::Options options;
    bool readOnly = false;
    bool create = false;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--table")) {
            options.table = true;
        } else if (a == QLatin1String("--readonly")) {
            readOnly = true;
        } else if (a == QLatin1String("--create")) {
            create = true;
        } else if (a == QLatin1String("--param") && i + 1 < args.size()) {
            const QString p = args[++i];
            const qsizetype eq = p.indexOf(QLatin1Char('='));
            if (eq <= 0)
                return usage();
            options.parameters.append({ p.left(eq), p.mid(eq + 1) });
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage();
        } else {
            positional << a;
        }
    }
    if (positional.isEmpty() || positional.size() > 2)
        return usage();

    QTextStream out(stdout);
    try {
        Workspace ws;
        std::unique_ptr<Database> db = create ? ws.createDatabase(positional[0])
                                              : ws.openDatabase(positional[0], false, readOnly);
        ScriptRunner runner(*db, options, out);
        QStringList statements;
        if (positional.size() == 2) {
            statements << positional[1];
        } else {
            QFile in;
            if (!in.open(stdin, QIODevice::ReadOnly))
                return usage();
            statements = ScriptRunner::split(QString::fromUtf8(in.readAll()));
        }
        for (const QString& s : std::as_const(statements))
            runner.run(s);
    } catch (const EngineError& e) {
        out.flush();
        QTextStream(stderr) << "Fehler " << e.number() << ": " << e.description() << '\n';
        return 1;
    }
    return 0;
}
