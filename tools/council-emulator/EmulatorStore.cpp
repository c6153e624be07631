#include "EmulatorStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <sstream>

namespace {

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    // Values are bound as text, except the one at blobIndex (request bodies, photographs).
    Statement(sqlite3* db, const char* sql, const std::vector<std::string>& params, int blobIndex = -1) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            return;
        for (size_t i = 0; i < params.size(); ++i) {
            if (int(i) == blobIndex)
                sqlite3_bind_blob(stmt, int(i + 1), params[i].data(), int(params[i].size()),
                                  SQLITE_TRANSIENT);
            else
                sqlite3_bind_text(stmt, int(i + 1), params[i].data(), int(params[i].size()),
                                  SQLITE_TRANSIENT);
        }
    }
    ~Statement() { sqlite3_finalize(stmt); }
    bool step() { return stmt && sqlite3_step(stmt) == SQLITE_ROW; }
    std::string text(int col) const {
        const void* data = sqlite3_column_blob(stmt, col);
        const int size = sqlite3_column_bytes(stmt, col);
        return data ? std::string(static_cast<const char*>(data), size_t(size)) : std::string();
    }
    int64_t integer(int col) const { return sqlite3_column_int64(stmt, col); }
};

// Headers are kept as lines "Name: value" so the log reads like the wire.
std::string joinHeaders(const std::vector<std::pair<std::string, std::string>>& headers) {
    std::string out;
    for (const auto& [name, value] : headers)
        out += name + ": " + value + "\r\n";
    return out;
}

std::vector<std::pair<std::string, std::string>> splitHeaders(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t colon = line.find(": ");
        if (colon != std::string::npos)
            out.emplace_back(line.substr(0, colon), line.substr(colon + 2));
        start = end + 2;
    }
    return out;
}

} // namespace

std::optional<std::string> RawRequest::header(const std::string& name) const {
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        return s;
    };
    for (const auto& [n, v] : headers)
        if (lower(n) == lower(name))
            return v;
    return std::nullopt;
}

EmulatorStore::~EmulatorStore() {
    sqlite3_close(db_);
}

bool EmulatorStore::open(const std::string& path, std::string& error) {
    std::lock_guard lock(mutex_);
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
        error = "cannot open " + path + ": " + sqlite3_errmsg(db_);
        return false;
    }
    sqlite3_busy_timeout(db_, 5000);
    static const char* schema[] = {
        "PRAGMA journal_mode=WAL",
        "CREATE TABLE IF NOT EXISTS officers (no INTEGER PRIMARY KEY, peng_id TEXT, peng_nama TEXT, "
        "peng_katalaluan TEXT, peng_ic TEXT, kod_pekerja TEXT, tarikh_daftar TEXT, tarikh_update TEXT, "
        "status TEXT, peng_ubah TEXT, jawatan TEXT, tkh_ubah TEXT)",
        "CREATE TABLE IF NOT EXISTS last_numbers (device_id TEXT PRIMARY KEY, no_akhir TEXT)",
        "CREATE TABLE IF NOT EXISTS compounds (number TEXT PRIMARY KEY, json TEXT, received_count INTEGER)",
        "CREATE TABLE IF NOT EXISTS photos (compound_number TEXT, idx INTEGER, bytes BLOB, received_count "
        "INTEGER, PRIMARY KEY (compound_number, idx))",
        "CREATE TABLE IF NOT EXISTS positions (id INTEGER PRIMARY KEY, device_id TEXT, kod_pekerja TEXT, "
        "peng_nama TEXT, lat TEXT, long TEXT)",
        "CREATE TABLE IF NOT EXISTS requests (id INTEGER PRIMARY KEY, at TEXT DEFAULT CURRENT_TIMESTAMP, "
        "scheme TEXT, method TEXT, target TEXT, headers TEXT, body BLOB, status INTEGER, fault TEXT)",
    };
    for (const char* sql : schema) {
        if (!exec(sql)) {
            error = std::string("cannot create the emulator's tables: ") + sqlite3_errmsg(db_);
            return false;
        }
    }
    return true;
}

bool EmulatorStore::exec(const char* sql, const std::vector<std::string>& params, int blobIndex) {
    Statement s(db_, sql, params, blobIndex);
    if (!s.stmt)
        return false;
    const int rc = sqlite3_step(s.stmt);
    return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

const std::vector<std::string>& EmulatorStore::officerColumns() {
    static const std::vector<std::string> columns = {
        "peng_id",       "peng_nama", "peng_katalaluan", "peng_ic", "kod_pekerja", "tarikh_daftar",
        "tarikh_update", "status",    "peng_ubah",       "jawatan", "tkh_ubah"};
    return columns;
}

void EmulatorStore::seedIfEmpty() {
    if (officers().empty()) {
        auto officer = [](std::string id, std::string name, std::string password, std::string ic,
                          std::string code, std::string status, std::string post) {
            return Officer{{"peng_id", id},
                           {"peng_nama", name},
                           {"peng_katalaluan", password},
                           {"peng_ic", ic},
                           {"kod_pekerja", code},
                           {"tarikh_daftar", "2014-03-01"},
                           {"tarikh_update", "2016-01-04"},
                           {"status", status},
                           {"peng_ubah", "admin"},
                           {"jawatan", post},
                           {"tkh_ubah", "2016-01-04"}};
        };
        replaceOfficers({
            officer("11", "AHMAD FAIZAL BIN OTHMAN", "rahsia123", "800101-08-5521", "PK001", "A",
                    "PENOLONG PEGAWAI PENGUATKUASA"),
            officer("12", "NURUL AIN BINTI ISMAIL", "ain&2016", "850612-08-6240", "PK002", "A",
                    "PEMBANTU PENGUATKUASA"),
            officer("13", "LIM CHEE KEONG", "Lim 'Keong'", "790304-07-5013", "PK003", "A",
                    "PEMBANTU PENGUATKUASA"),
            officer("14", "RAJESWARI A/P MUTHU", "raj2015", "820909-08-5880", "PK004", "T",
                    "PEMBANTU TADBIR"),
        });
    }
    std::lock_guard lock(mutex_);
    exec("INSERT OR IGNORE INTO last_numbers (device_id, no_akhir) VALUES ('M07', '120')");
    exec("INSERT OR IGNORE INTO last_numbers (device_id, no_akhir) VALUES ('TMB01', '0')");
}

int64_t EmulatorStore::logRequest(const RawRequest& r) {
    std::lock_guard lock(mutex_);
    exec("INSERT INTO requests (scheme, method, target, headers, body, status, fault) VALUES (?,?,?,?,?,?,?)",
         {r.scheme, r.method, r.target, joinHeaders(r.headers), r.body, std::to_string(r.status), r.fault},
         4);
    return sqlite3_last_insert_rowid(db_);
}

void EmulatorStore::setOutcome(int64_t id, int status, const std::string& fault) {
    std::lock_guard lock(mutex_);
    exec("UPDATE requests SET status = ?, fault = ? WHERE id = ?",
         {std::to_string(status), fault, std::to_string(id)});
}

std::vector<RawRequest> EmulatorStore::requests(int64_t afterId) {
    std::lock_guard lock(mutex_);
    Statement s(db_,
                "SELECT id, scheme, method, target, headers, body, status, fault FROM requests WHERE id > ? "
                "ORDER BY id",
                {std::to_string(afterId)});
    std::vector<RawRequest> out;
    while (s.step()) {
        RawRequest r;
        r.id = s.integer(0);
        r.scheme = s.text(1);
        r.method = s.text(2);
        r.target = s.text(3);
        r.headers = splitHeaders(s.text(4));
        r.body = s.text(5);
        r.status = int(s.integer(6));
        r.fault = s.text(7);
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<Officer> EmulatorStore::officers() {
    std::lock_guard lock(mutex_);
    std::string sql = "SELECT ";
    for (const auto& c : officerColumns())
        sql += c + (c == officerColumns().back() ? " " : ", ");
    sql += "FROM officers ORDER BY no";
    Statement s(db_, sql.c_str(), {});
    std::vector<Officer> out;
    while (s.step()) {
        Officer o;
        for (size_t i = 0; i < officerColumns().size(); ++i)
            o[officerColumns()[i]] = s.text(int(i));
        out.push_back(std::move(o));
    }
    return out;
}

void EmulatorStore::replaceOfficers(const std::vector<Officer>& officers) {
    std::lock_guard lock(mutex_);
    exec("BEGIN");
    exec("DELETE FROM officers");
    for (const Officer& o : officers) {
        std::vector<std::string> values;
        for (const auto& c : officerColumns()) {
            auto it = o.find(c);
            values.push_back(it == o.end() ? std::string() : it->second);
        }
        exec(
            "INSERT INTO officers (peng_id, peng_nama, peng_katalaluan, peng_ic, kod_pekerja, tarikh_daftar, "
            "tarikh_update, status, peng_ubah, jawatan, tkh_ubah) VALUES (?,?,?,?,?,?,?,?,?,?,?)",
            values);
    }
    exec("COMMIT");
}

std::optional<std::string> EmulatorStore::lastNumber(const std::string& deviceId) {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT no_akhir FROM last_numbers WHERE device_id = ?", {deviceId});
    if (!s.step())
        return std::nullopt;
    return s.text(0);
}

void EmulatorStore::setLastNumber(const std::string& deviceId, const std::string& number) {
    std::lock_guard lock(mutex_);
    exec("INSERT OR REPLACE INTO last_numbers (device_id, no_akhir) VALUES (?, ?)", {deviceId, number});
}

void EmulatorStore::storeCompound(const std::string& number, const std::string& json) {
    std::lock_guard lock(mutex_);
    exec(
        "INSERT INTO compounds (number, json, received_count) VALUES (?, ?, 1) ON CONFLICT(number) DO UPDATE "
        "SET json = excluded.json, received_count = received_count + 1",
        {number, json});
}

bool EmulatorStore::hasCompound(const std::string& number) {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT 1 FROM compounds WHERE number = ?", {number});
    return s.step();
}

std::vector<ReceivedCompound> EmulatorStore::compounds() {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT number, json, received_count FROM compounds ORDER BY number", {});
    std::vector<ReceivedCompound> out;
    while (s.step())
        out.push_back({s.text(0), s.text(1), int(s.integer(2))});
    return out;
}

void EmulatorStore::storePhoto(const std::string& compoundNumber, int index, const std::string& bytes) {
    std::lock_guard lock(mutex_);
    exec("INSERT INTO photos (compound_number, idx, bytes, received_count) VALUES (?, ?, ?, 1) "
         "ON CONFLICT(compound_number, idx) DO UPDATE SET bytes = excluded.bytes, "
         "received_count = received_count + 1",
         {compoundNumber, std::to_string(index), bytes}, 2);
}

std::vector<ReceivedPhoto> EmulatorStore::photos() {
    std::lock_guard lock(mutex_);
    Statement s(
        db_, "SELECT compound_number, idx, bytes, received_count FROM photos ORDER BY compound_number, idx",
        {});
    std::vector<ReceivedPhoto> out;
    while (s.step())
        out.push_back({s.text(0), int(s.integer(1)), s.text(2), int(s.integer(3))});
    return out;
}

void EmulatorStore::storePosition(const PositionReport& r) {
    std::lock_guard lock(mutex_);
    exec("INSERT INTO positions (device_id, kod_pekerja, peng_nama, lat, long) VALUES (?,?,?,?,?)",
         {r.deviceId, r.kodPekerja, r.pengNama, r.lat, r.lon});
}

std::vector<PositionReport> EmulatorStore::positions() {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT id, device_id, kod_pekerja, peng_nama, lat, long FROM positions ORDER BY id",
                {});
    std::vector<PositionReport> out;
    while (s.step())
        out.push_back({s.integer(0), s.text(1), s.text(2), s.text(3), s.text(4), s.text(5)});
    return out;
}
