// make-reference-db OUT.sqlite IN1.sql [IN2.sql ...]
//
// Creates the officers table with the application's own statement, runs each SQL file, in the order given,
// against a fresh database, turns the officers' passwords into the digests the phone keeps, and moves it
// over OUT only when every step succeeded, so a broken seed never leaves a half-built TVR.sqlite behind for
// the build to ship.
#include "core/ReferenceData.h"
#include "core/ReferenceSchema.h"
#include "core/SQLiteManager.h"

#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>

namespace {

bool readWhole(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    out = buffer.str();
    return !in.bad();
}

// Line number (1-based) where the statement starting at `offset` really begins: past the blank lines and
// "--" comments that the previous statement's tail leaves in front of it.
int lineAt(const std::string& text, std::size_t offset) {
    while (offset < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[offset])) != 0) {
            ++offset;
        } else if (text.compare(offset, 2, "--") == 0) {
            const std::size_t end = text.find('\n', offset);
            offset = end == std::string::npos ? text.size() : end;
        } else {
            break;
        }
    }
    int line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
        }
    }
    return line;
}

// Executes the statements of one file one by one so that a failure names the line it started on.
bool runFile(sqlite3* db, const std::string& path) {
    std::string sql;
    if (!readWhole(path, sql)) {
        std::cerr << "make-reference-db: cannot read " << path << '\n';
        return false;
    }
    const char* begin = sql.c_str();
    const char* rest = begin;
    while (*rest != '\0') {
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        const std::size_t startOffset = static_cast<std::size_t>(rest - begin);
        int rc = sqlite3_prepare_v2(db, rest, -1, &stmt, &tail);
        if (rc != SQLITE_OK) {
            std::cerr << "make-reference-db: " << path << ':' << lineAt(sql, startOffset)
                      << ": SQL error: " << sqlite3_errmsg(db) << '\n';
            return false;
        }
        if (stmt != nullptr) {
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            }
            if (rc != SQLITE_DONE) {
                std::cerr << "make-reference-db: " << path << ':' << lineAt(sql, startOffset)
                          << ": SQL error: " << sqlite3_errmsg(db) << "\n  in: " << sqlite3_sql(stmt) << '\n';
                sqlite3_finalize(stmt);
                return false;
            }
            sqlite3_finalize(stmt);
        }
        rest = tail;
    }
    return true;
}

bool exec(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::cerr << "make-reference-db: " << sql << ": " << (message != nullptr ? message : "unknown error")
                  << '\n';
        sqlite3_free(message);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make-reference-db OUT.sqlite IN1.sql [IN2.sql ...]\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::path temp = out;
    temp += ".tmp";
    std::error_code ec;
    std::filesystem::remove(temp, ec);

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::cerr << "make-reference-db: cannot create " << temp << ": " << sqlite3_errmsg(db) << '\n';
        sqlite3_close(db);
        return 1;
    }

    // One transaction for all files: faster, and nothing partial is ever committed.
    bool ok = exec(db, "BEGIN") && exec(db, ReferenceSchema::officerTable);
    for (int i = 2; ok && i < argc; ++i) {
        ok = runFile(db, argv[i]);
    }
    ok = ok && exec(db, "COMMIT");
    // The seed holds the passwords in clear, as the council sends them; the phone keeps only digests.
    if (ok) {
        SQLiteManager digests(QString::fromStdString(temp.string()), nullptr, nullptr);
        if (ReferenceData(digests).convertClearPasswords() < 0) {
            std::cerr << "make-reference-db: the officers' passwords could not be turned into digests\n";
            ok = false;
        }
    }
    // Compact the file: it is shipped inside every installation.
    ok = ok && exec(db, "VACUUM");

    if (sqlite3_close(db) != SQLITE_OK) {
        std::cerr << "make-reference-db: cannot close " << temp << '\n';
        ok = false;
    }
    if (!ok) {
        std::filesystem::remove(temp, ec);
        return 1;
    }
    std::filesystem::rename(temp, out, ec);
    if (ec) {
        std::cerr << "make-reference-db: cannot rename " << temp << " to " << out << ": " << ec.message()
                  << '\n';
        std::filesystem::remove(temp, ec);
        return 1;
    }
    return 0;
}
