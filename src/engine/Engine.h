#pragma once

// The database engine: a DAO-style object model over SQLite files. Including this header gives
// the whole object model.
//
// Inner layers, bottom to top; each folder is a library that sees only the ones below it (the
// build gives it no other include root, and scripts/check-layers checks every include):
//   core/     errors and their numbers, type codes and value conversions, parameters
//   sqlite/   connection, statement, savepoint, error mapping; the only includer of sqlite3.h
//   sql/      the dialect: lexer, translator, functions, collation, LIKE, dialect statements
//   catalog/  definitions as values, the catalog tables, generated triggers and views, the
//             table rebuild, file repair
//   cursor/   keyset, row cache, text and date decoding, where a record set reads and writes
//   isam/     drivers for foreign files
//   (here)    the object model: Workspace, Database, TableDef, Field, Index, Relation,
//             QueryDef, Recordset
//   model/    above the object model: the grids' table model over a record set
//
// Threads. A Workspace and everything obtained through it (databases, their collections and
// definitions, query definitions, record sets and their fields) belong to the thread that
// created the workspace: they are used from it alone and never handed to another thread.
// Work that must not block a window (counting a record set, sums for a footer, a sort, a
// search) runs in a worker that opens a Workspace and Database of its own (read-only) on the
// same file, uses them on its thread only and hands back plain values (numbers, texts,
// QVariant lists), never engine objects. The engine keeps no mutable state for the whole
// process without a guard: the errors of the last failure belong to their workspace, the
// date table of the row cache is per thread, the number of temporary copies is atomic, and
// the collation and function tables are made once and then only read.

#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Index.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "engine/Relation.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "engine/core/DataType.h"
#include "engine/core/EngineError.h"
