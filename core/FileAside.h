#pragma once

#include <QString>

class Log;

// Files the phone cannot read are kept for support staff, never written over: "<name>.unreadable-<UTC time>"
// beside the original. Returns the new path, or an empty text when the file could not be moved.
QString moveAside(const QString& path, Log* log);

// Temporary files that a write killed half-way left in the Documents folder ("<file>.XXXXXX" beside each
// file the phone writes whole). Only safe before any writer has started. Returns how many were removed.
int removeStaleTemporaries(const QString& documentsDir, Log* log);
