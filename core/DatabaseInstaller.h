#pragma once

class Files;
class Log;

// Installs the shipped reference database as the working copy "new_tvr.sqlite" when there is none.
// The working copy is never replaced afterwards: it holds the officers and the registration.
// Returns whether a copy was attempted.
bool transferDb(const Files& files, Log* log);
