#pragma once

#include <unicode/ucol.h>

struct sqlite3;

namespace kv::engine::sql {

/// The German text order of the engine: ICU's German (root) order at secondary strength, so
/// case is ignored, umlauts sort among their base letters and accents still count ("Meier" =
/// "MEIER", "Ärger" between "Anton" and "Bach"); ß is tailored to equal "ss" ("Straße" =
/// "Strasse"). Indexes built before that tailoring need a REINDEX for texts with ß.
const UCollator* germanCollator();

/// Compares two UTF-8 texts in that order: <0, 0, >0.
int compareGerman(const char* a, int lengthA, const char* b, int lengthB);

void registerCollation(sqlite3* db);

} // namespace kv::engine::sql
