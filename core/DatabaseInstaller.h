#pragma once

#include <QString>

class Files;
class Log;

// Installs the shipped reference database as the working copy "new_tvr.sqlite" when there is none, or
// when the one there does not open or lacks a table the lookups read (a zero-byte file, a damaged one).
// A good working copy is never replaced: it holds the officers and the registration. A bad one is moved
// aside, and the registration it still shows is carried into the new copy.
// Returns whether a copy was attempted.
bool transferDb(const Files& files, Log* log);

// Whether the database at this path opens and holds every shipped table.
bool referenceDatabaseUsable(const QString& path);
