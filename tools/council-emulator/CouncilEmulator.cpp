#include "CouncilEmulator.h"

#include "Certificates.h"
#include "Pages.h"

#include <httplib.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

// httplib swallows multipart bodies into parsed parts; the raw bytes are what we must check, so the
// real content type is parked under this header before the body is read and put back afterwards.
const char* const parkedContentType = "X-Emulator-Original-Content-Type";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecode(const std::string& in, bool plusIsSpace) {
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '%' && i + 2 < in.size() + 0 && hexValue(in[i + 1]) >= 0 && hexValue(in[i + 2]) >= 0) {
            out += char(hexValue(in[i + 1]) * 16 + hexValue(in[i + 2]));
            i += 2;
        } else if (in[i] == '+' && plusIsSpace) {
            out += ' ';
        } else {
            out += in[i];
        }
    }
    return out;
}

// The path of a request target split at "/" first and decoded per segment, so an encoded "/" inside a
// device id or a compound number stays inside its segment.
std::vector<std::string> pathSegments(const std::string& target, std::string& query) {
    const size_t q = target.find('?');
    const std::string path = target.substr(0, q);
    query = q == std::string::npos ? std::string() : target.substr(q + 1);
    std::vector<std::string> out;
    size_t start = path.empty() || path[0] != '/' ? 0 : 1;
    while (true) {
        const size_t slash = path.find('/', start);
        out.push_back(percentDecode(path.substr(start, slash - start), false));
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return out;
}

std::string queryValue(const std::string& query, const std::string& key) {
    std::stringstream in(query);
    for (std::string pair; std::getline(in, pair, '&');) {
        const size_t eq = pair.find('=');
        if (pair.substr(0, eq) == key)
            return eq == std::string::npos ? std::string() : percentDecode(pair.substr(eq + 1), true);
    }
    return {};
}

std::string json(const QJsonDocument& doc) {
    return doc.toJson(QJsonDocument::Compact).toStdString();
}
std::string retvalReply(int retval) {
    return "[{\"retval\":" + std::to_string(retval) + "}]";
}

std::string htmlEscape(const std::string& in) {
    std::string out;
    for (char c : in) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + htmlEscape(title) +
           "</title></head><body><h1>" + htmlEscape(title) + "</h1><p>" + htmlEscape(body) +
           "</p></body></html>";
}

// The "json=[...]" form body of a compound or a position report, decoded as a form handler would.
std::optional<QJsonObject> formJsonObject(const std::string& body) {
    if (body.rfind("json=", 0) != 0)
        return std::nullopt;
    const std::string value = percentDecode(body.substr(5), true);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(value), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray() || doc.array().isEmpty() ||
        !doc.array().first().isObject())
        return std::nullopt;
    return doc.array().first().toObject();
}

struct Part {
    std::string name;
    std::string filename;
    std::string content;
};

// One-part multipart body; strict, so that a client that breaks the framing is noticed.
std::optional<Part> parseMultipart(const std::string& contentType, const std::string& body) {
    const std::string key = "boundary=";
    const size_t at = contentType.find(key);
    if (contentType.rfind("multipart/form-data", 0) != 0 || at == std::string::npos)
        return std::nullopt;
    const std::string delimiter = "--" + contentType.substr(at + key.size());
    const size_t first = body.find(delimiter + "\r\n");
    if (first == std::string::npos)
        return std::nullopt;
    const size_t headersStart = first + delimiter.size() + 2;
    const size_t headersEnd = body.find("\r\n\r\n", headersStart);
    if (headersEnd == std::string::npos)
        return std::nullopt;
    const size_t contentStart = headersEnd + 4;
    const size_t close = body.find("\r\n" + delimiter + "--", contentStart);
    if (close == std::string::npos)
        return std::nullopt;
    Part part;
    part.content = body.substr(contentStart, close - contentStart);
    const std::string headers = body.substr(headersStart, headersEnd - headersStart);
    auto attribute = [&](const std::string& name) -> std::string {
        const std::string marker = name + "=\"";
        const size_t p = headers.find(marker);
        if (p == std::string::npos)
            return {};
        const size_t end = headers.find('"', p + marker.size());
        return headers.substr(p + marker.size(), end - p - marker.size());
    };
    part.name = attribute("name");
    part.filename = attribute("filename");
    return part;
}

QJsonObject officerJson(const Officer& officer) {
    QJsonObject o;
    for (const auto& [k, v] : officer)
        o.insert(QString::fromStdString(k), QString::fromStdString(v));
    return o;
}

} // namespace

CouncilEmulator::CouncilEmulator(EmulatorOptions options) : options_(std::move(options)) {}

CouncilEmulator::~CouncilEmulator() {
    stop();
    if (!tempDir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(tempDir_, ec);
    }
}

std::string CouncilEmulator::httpUrl() const {
    return "http://" + options_.host + ":" + std::to_string(httpPort_);
}
std::string CouncilEmulator::httpsUrl() const {
    return "https://" + options_.host + ":" + std::to_string(httpsPort_);
}

bool CouncilEmulator::start(std::string& error) {
    if (options_.dbPath.empty() || options_.certDir.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "council-emulator-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            error = "cannot make a temporary folder";
            return false;
        }
        tempDir_ = pattern;
        if (options_.dbPath.empty())
            options_.dbPath = tempDir_ + "/council.sqlite";
        if (options_.certDir.empty())
            options_.certDir = tempDir_ + "/tls";
    }
    if (!store_.open(options_.dbPath, error))
        return false;
    store_.seedIfEmpty();

    auto install = [this](httplib::Server& server, const char* scheme) {
        server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
            auto& headers = const_cast<httplib::Headers&>(req.headers);
            auto it = headers.find("Content-Type");
            if (it != headers.end() && it->second.rfind("multipart/", 0) == 0) {
                headers.emplace(parkedContentType, it->second);
                it->second = "application/octet-stream";
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
        auto handler = [this, scheme](const httplib::Request& req, httplib::Response& res) {
            handle(req, res, scheme);
        };
        server.Get(".*", handler);
        server.Post(".*", handler);
        // Bodies are read here rather than before the handler, so a slow link can be played.
        server.Post(".*", [this, scheme](const httplib::Request& req, httplib::Response& res,
                                         const httplib::ContentReader& content) {
            handleReading(req, res, content, scheme);
        });
        server.Put(".*", handler);
        server.Delete(".*", handler);
        server.set_keep_alive_max_count(100);
        // Idle kept-alive connections hold a worker until this runs out, and stop() waits for them.
        server.set_keep_alive_timeout(1);
    };

    if (options_.http) {
        http_ = std::make_unique<httplib::Server>();
        install(*http_, "http");
        httpPort_ = options_.httpPort
                        ? (http_->bind_to_port(options_.host, options_.httpPort) ? options_.httpPort : -1)
                        : http_->bind_to_any_port(options_.host);
        if (httpPort_ <= 0) {
            error = "cannot listen for HTTP on " + options_.host;
            return false;
        }
        httpThread_ = std::thread([this] { http_->listen_after_bind(); });
    }
    if (options_.https) {
        CertificateFiles files;
        if (!makeLoopbackCertificates(options_.certDir, files, error))
            return false;
        caFile_ = files.caFile;
        https_ = std::make_unique<httplib::SSLServer>(files.certFile.c_str(), files.keyFile.c_str());
        if (!https_->is_valid()) {
            error = "cannot load the server certificate";
            return false;
        }
        install(*https_, "https");
        httpsPort_ = options_.httpsPort
                         ? (https_->bind_to_port(options_.host, options_.httpsPort) ? options_.httpsPort : -1)
                         : https_->bind_to_any_port(options_.host);
        if (httpsPort_ <= 0) {
            error = "cannot listen for HTTPS on " + options_.host;
            return false;
        }
        httpsThread_ = std::thread([this] { https_->listen_after_bind(); });
    }
    // The sockets are bound and listening already, so connections queue until the threads accept them.
    // But the server ignores stop() until its thread has begun accepting, and would then accept forever:
    // a caller that stops at once (a short test) must find it running.
    const auto running = [this] {
        return (!http_ || http_->is_running()) && (!https_ || https_->is_running());
    };
    for (int waited = 0; !running() && waited < 10000; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!running()) {
        error = "the listening threads did not start";
        return false;
    }
    return true;
}

void CouncilEmulator::stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopping_ = true;
    }
    stopCv_.notify_all();
    if (http_)
        http_->stop();
    if (https_)
        https_->stop();
    if (httpThread_.joinable())
        httpThread_.join();
    if (httpsThread_.joinable())
        httpsThread_.join();
}

bool CouncilEmulator::waitUnlessStopping(int ms) {
    std::unique_lock lock(stopMutex_);
    return !stopCv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_.load(); });
}

// httplib has no way to hang up from a handler, so find our end of the connection by its two ports (the
// local one from our own listener: TLS connections do not report it) and
// shut it down; httplib then fails to write the answer and closes the socket itself.
void CouncilEmulator::dropConnection(const httplib::Request& req, int localPort) {
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return;
    while (dirent* entry = readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (fd <= 2)
            continue;
        sockaddr_storage local{}, peer{};
        socklen_t localLen = sizeof local, peerLen = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLen) != 0 ||
            getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLen) != 0)
            continue;
        auto port = [](const sockaddr_storage& a) {
            if (a.ss_family == AF_INET)
                return int(ntohs(reinterpret_cast<const sockaddr_in&>(a).sin_port));
            if (a.ss_family == AF_INET6)
                return int(ntohs(reinterpret_cast<const sockaddr_in6&>(a).sin6_port));
            return -1;
        };
        if (port(local) == localPort && port(peer) == req.remote_port) {
            shutdown(fd, SHUT_RDWR);
            break;
        }
    }
    closedir(dir);
}

std::string CouncilEmulator::endpointOf(const std::vector<std::string>& segments) {
    if (segments.size() >= 3 && segments[0] == "v2")
        return segments[1] == "wsc" ? segments[2] : segments[1];
    return {};
}

void CouncilEmulator::handleReading(const httplib::Request& req, httplib::Response& res,
                                    const httplib::ContentReader& content, const char* scheme) {
    std::string query;
    const std::string endpoint = endpointOf(pathSegments(req.target, query));
    const std::optional<Fault> fault = endpoint.empty() ? std::nullopt : faults_.next(endpoint);
    const int rate = fault && fault->kind == Fault::Kind::Slow ? fault->bytesPerSecond : 0;
    // httplib hands the body over as it reads it from the socket; what is not read yet stays in the
    // socket buffers and, once they are full, holds the sender back as a weak link would.
    auto& body = const_cast<httplib::Request&>(req).body;
    body.clear();
    const auto start = std::chrono::steady_clock::now();
    const bool read = content([&](const char* data, size_t length) {
        body.append(data, length);
        if (rate <= 0)
            return true;
        const auto due = start + std::chrono::microseconds(int64_t(body.size()) * 1000000 / rate);
        const auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
        return wait.count() <= 0 || waitUnlessStopping(int(wait.count()));
    });
    if (!read) {
        dropConnection(req, std::string(scheme) == "https" ? httpsPort_ : httpPort_);
        return;
    }
    handle(req, res, scheme, &fault);
}

void CouncilEmulator::handle(const httplib::Request& req, httplib::Response& res, const char* scheme,
                             const std::optional<Fault>* chosen) {
    RawRequest raw;
    raw.scheme = scheme;
    raw.method = req.method;
    raw.target = req.target;
    raw.body = req.body;
    for (const auto& [name, value] : req.headers) {
        if (name == parkedContentType)
            continue;
        if (name == "Content-Type" && req.has_header(parkedContentType))
            raw.headers.emplace_back(name, req.get_header_value(parkedContentType));
        else if (name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" &&
                 name != "LOCAL_PORT")
            raw.headers.emplace_back(name, value);
    }
    std::string query;
    const std::vector<std::string> segments = pathSegments(req.target, query);
    if (!segments.empty() && segments[0] == "admin") {
        handleAdmin(segments, query, req, res);
        return;
    }

    // Map tiles ("/tiles/Z/X/Y.png") for the map page: served as a tile server would, and not logged, since
    // a map view asks for dozens at a time.
    if (segments.size() == 4 && segments[0] == "tiles" && req.method == "GET") {
        const auto number = [](const std::string& text) {
            return !text.empty() && text.size() < 8 &&
                           text.find_first_not_of("0123456789") == std::string::npos
                       ? std::stoi(text)
                       : -1;
        };
        const std::string last = segments[3];
        const size_t dot = last.rfind(".png");
        const auto png = dot != std::string::npos && dot + 4 == last.size()
                             ? EmulatorPages::tilePng(number(segments[1]), number(segments[2]),
                                                      number(last.substr(0, dot)))
                             : std::nullopt;
        res.status = png ? 200 : 404;
        res.set_content(png.value_or(std::string()), png ? "image/png" : "text/plain");
        return;
    }

    raw.id = store_.logRequest(raw);
    const std::string endpoint = endpointOf(segments);
    const std::optional<Fault> fault = chosen             ? *chosen
                                       : endpoint.empty() ? std::nullopt
                                                          : faults_.next(endpoint);
    const std::string faultName = fault ? Fault::nameOf(fault->kind) : std::string();
    auto finish = [&](int status, const std::string& body, const std::string& type) {
        res.status = status;
        res.set_content(body, type.c_str());
        store_.setOutcome(raw.id, status, faultName);
    };
    if (fault) {
        switch (fault->kind) {
        case Fault::Kind::Status:
            finish(fault->status,
                   page("Ralat " + std::to_string(fault->status), "Pelayan tidak dapat memproses"),
                   "text/html; charset=utf-8");
            return;
        case Fault::Kind::Delay:
            if (!waitUnlessStopping(fault->delayMs)) {
                dropConnection(req, std::string(scheme) == "https" ? httpsPort_ : httpPort_);
                return;
            }
            break;
        case Fault::Kind::Drop:
            dropConnection(req, std::string(scheme) == "https" ? httpsPort_ : httpPort_);
            store_.setOutcome(raw.id, 0, faultName);
            return;
        case Fault::Kind::Html200:
            finish(200, page("Ralat Sistem", "Sila hubungi pentadbir sistem."), "text/html; charset=utf-8");
            return;
        case Fault::Kind::Malformed:
            finish(200, "[{\"retval\":1,\"no_akhir\":", "application/json");
            return;
        case Fault::Kind::EmptyArray:
            finish(200, "[]", "application/json");
            return;
        case Fault::Kind::Retval:
        case Fault::Kind::AcceptThenDrop:
        case Fault::Kind::Slow: // played while the body was read
            break;
        }
    }

    const Reply reply = route(segments, raw, fault ? &*fault : nullptr);
    if (fault && fault->kind == Fault::Kind::AcceptThenDrop) {
        dropConnection(req, std::string(scheme) == "https" ? httpsPort_ : httpPort_);
        store_.setOutcome(raw.id, 0, faultName);
        return;
    }
    finish(reply.status, reply.body, reply.contentType);
}

CouncilEmulator::Reply CouncilEmulator::route(const std::vector<std::string>& s, const RawRequest& raw,
                                              const Fault* fault) {
    const bool get = raw.method == "GET";
    const bool post = raw.method == "POST";
    auto is = [&](std::initializer_list<const char*> expected) {
        if (s.size() != expected.size())
            return false;
        size_t i = 0;
        for (const char* e : expected)
            if (*e != '*' && s[i++] != e)
                return false;
            else if (*e == '*')
                ++i;
        return true;
    };
    if (get && is({"v2", "wsc", "penguatkuasa_pelbagai"})) {
        QJsonArray list;
        for (const Officer& o : store_.officers())
            list.append(officerJson(o));
        return {200, json(QJsonDocument(list))};
    }
    if (get && is({"v2", "wsc", "lastnumber_pelbagai", "*"})) {
        const auto number = store_.lastNumber(s[3]);
        if (!number)
            return {200, "[]"};
        QJsonObject o;
        bool numeric = !number->empty() && number->find_first_not_of("0123456789") == std::string::npos;
        o.insert("no_akhir",
                 numeric ? QJsonValue(std::stod(*number)) : QJsonValue(QString::fromStdString(*number)));
        return {200, json(QJsonDocument(QJsonArray{o}))};
    }
    if (post && is({"v2", "wsc", "muatnaik_kompaun", ""}))
        return uploadCompound(raw, fault);
    if (post && is({"v2", "wsc", "muatnaik_gambar_kompaun", "*", "*"}))
        return uploadPhoto(s[3], s[4], raw, fault);
    if (post && is({"v2", "wsc", "dlu", ""}))
        return reportPosition(raw);
    // An account the council does not know: nothing to show, as the enquiry service answers it.
    if (get && is({"v2", "wsc", "mc", "*"})) {
        const auto html = EmulatorPages::taxPage(s[3]);
        return {html ? 200 : 404, html.value_or(std::string()), "text/html; charset=utf-8"};
    }
    if (get && is({"v2", "wsc", "ml", "*"})) {
        const auto html = EmulatorPages::licencePage(s[3]);
        return {html ? 200 : 404, html.value_or(std::string()), "text/html; charset=utf-8"};
    }
    if (get && is({"v2", "wsc", "mk", "*"})) {
        const bool known = store_.hasCompound(s[3]);
        return {200, page("Kompaun " + s[3], known ? "Kompaun diterima." : "Tiada rekod."),
                "text/html; charset=utf-8"};
    }
    if (get && is({"v2", "iosinstallation", "KompaunIns.html"}))
        return {200, page("Pemasangan Aplikasi Kompaun", "Versi terkini aplikasi."),
                "text/html; charset=utf-8"};
    return {404, page("404", "Tiada halaman " + raw.target), "text/html; charset=utf-8"};
}

CouncilEmulator::Reply CouncilEmulator::uploadCompound(const RawRequest& raw, const Fault* fault) {
    const auto object = formJsonObject(raw.body);
    const bool wellFormed = raw.header("Content-Type") == "application/x-www-form-urlencoded" && object &&
                            (*object)["kompaunRunningNumber"].isString() &&
                            !(*object)["kompaunRunningNumber"].toString().isEmpty();
    int retval = wellFormed ? 1 : 0;
    if (fault && fault->kind == Fault::Kind::Retval)
        retval = fault->retval;
    // Only a reply of 1 tells the phone the compound is kept, so only then is it kept.
    if (wellFormed && retval == 1) {
        const std::string number = (*object)["kompaunRunningNumber"].toString().toStdString();
        store_.storeCompound(number, json(QJsonDocument(*object)));
    }
    return {200, retvalReply(retval), "application/json", wellFormed && retval == 1};
}

CouncilEmulator::Reply CouncilEmulator::uploadPhoto(const std::string& number, const std::string& index,
                                                    const RawRequest& raw, const Fault* fault) {
    const auto part = parseMultipart(raw.header("Content-Type").value_or(""), raw.body);
    int position = 0;
    try {
        position = std::stoi(index);
    } catch (const std::exception&) {
    }
    const bool wellFormed = part && part->name == "userfile" && !part->content.empty() && position > 0 &&
                            std::to_string(position) == index && store_.hasCompound(number);
    int retval = wellFormed ? 1 : 0;
    if (fault && fault->kind == Fault::Kind::Retval)
        retval = fault->retval;
    if (wellFormed && retval != 0)
        store_.storePhoto(number, position, part->content);
    return {200, retvalReply(retval), "application/json", wellFormed && retval != 0};
}

CouncilEmulator::Reply CouncilEmulator::reportPosition(const RawRequest& raw) {
    const auto object = formJsonObject(raw.body);
    if (!object)
        return {200, retvalReply(0)};
    auto text = [&](const char* key) { return (*object)[key].toString().toStdString(); };
    store_.storePosition(
        {0, text("device_id"), text("kod_pekerja"), text("peng_nama"), text("lat"), text("long")});
    return {200, retvalReply(1), "application/json", true};
}

void CouncilEmulator::handleAdmin(const std::vector<std::string>& s, const std::string& query,
                                  const httplib::Request& req, httplib::Response& res) {
    auto reply = [&](const QJsonDocument& doc) { res.set_content(json(doc), "application/json"); };
    auto bad = [&](const std::string& why) {
        res.status = 400;
        res.set_content(why + "\n", "text/plain");
    };
    const std::string what = s.size() > 1 ? s[1] : std::string();
    if (req.method == "GET" && what == "health") {
        res.set_content("ok\n", "text/plain");
    } else if (req.method == "GET" && what == "requests") {
        const std::string since = queryValue(query, "since");
        QJsonArray list;
        for (const RawRequest& r : store_.requests(since.empty() ? 0 : std::stoll(since))) {
            QJsonArray headers;
            for (const auto& [n, v] : r.headers)
                headers.append(QJsonArray{QString::fromStdString(n), QString::fromStdString(v)});
            list.append(QJsonObject{
                {"id", double(r.id)},
                {"scheme", QString::fromStdString(r.scheme)},
                {"method", QString::fromStdString(r.method)},
                {"target", QString::fromStdString(r.target)},
                {"headers", headers},
                {"body_base64", QString::fromLatin1(QByteArray::fromStdString(r.body).toBase64())},
                {"status", r.status},
                {"fault", QString::fromStdString(r.fault)}});
        }
        reply(QJsonDocument(list));
    } else if (req.method == "GET" && what == "compounds") {
        QJsonArray list;
        for (const auto& c : store_.compounds())
            list.append(
                QJsonObject{{"number", QString::fromStdString(c.number)},
                            {"compound", QJsonDocument::fromJson(QByteArray::fromStdString(c.json)).object()},
                            {"received_count", c.receivedCount}});
        reply(QJsonDocument(list));
    } else if (req.method == "GET" && what == "photos") {
        QJsonArray list;
        for (const auto& p : store_.photos())
            list.append(QJsonObject{
                {"compound", QString::fromStdString(p.compoundNumber)},
                {"index", p.index},
                {"size", double(p.bytes.size())},
                {"received_count", p.receivedCount},
                {"content_base64", QString::fromLatin1(QByteArray::fromStdString(p.bytes).toBase64())}});
        reply(QJsonDocument(list));
    } else if (req.method == "GET" && what == "positions") {
        QJsonArray list;
        for (const auto& p : store_.positions())
            list.append(QJsonObject{{"device_id", QString::fromStdString(p.deviceId)},
                                    {"kod_pekerja", QString::fromStdString(p.kodPekerja)},
                                    {"peng_nama", QString::fromStdString(p.pengNama)},
                                    {"lat", QString::fromStdString(p.lat)},
                                    {"long", QString::fromStdString(p.lon)}});
        reply(QJsonDocument(list));
    } else if (req.method == "GET" && what == "officers") {
        QJsonArray list;
        for (const Officer& o : store_.officers())
            list.append(officerJson(o));
        reply(QJsonDocument(list));
    } else if (req.method == "PUT" && what == "officers") {
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(req.body));
        if (!doc.isArray())
            return bad("expected a JSON array of officers");
        std::vector<Officer> officers;
        for (const QJsonValue& v : doc.array()) {
            Officer o;
            for (const auto& column : EmulatorStore::officerColumns())
                o[column] = v.toObject()[QString::fromStdString(column)].toString().toStdString();
            officers.push_back(std::move(o));
        }
        store_.replaceOfficers(officers);
        res.set_content("ok\n", "text/plain");
    } else if (req.method == "PUT" && what == "lastnumber" && s.size() == 3) {
        store_.setLastNumber(s[2], req.body);
        res.set_content("ok\n", "text/plain");
    } else if (req.method == "DELETE" && what == "faults") {
        faults_.clear();
        res.set_content("ok\n", "text/plain");
    } else if (req.method == "POST" && what == "faults") {
        const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(req.body)).object();
        if (o.contains("random")) {
            const QJsonObject r = o["random"].toObject();
            std::vector<std::string> endpoints;
            for (const QJsonValue& e : r["endpoints"].toArray())
                endpoints.push_back(e.toString().toStdString());
            faults_.setRandom(uint32_t(r["seed"].toInteger()), r["rate"].toDouble(),
                              r["delay_ms"].toInt(35000), endpoints);
        } else {
            const auto kind = Fault::kindFromName(o["kind"].toString().toStdString());
            if (!kind || !o["endpoint"].isString())
                return bad("expected {\"endpoint\":..., \"kind\":..., \"value\":..., \"times\":...}");
            Fault fault;
            fault.kind = *kind;
            const int value = o["value"].toInt(kind == Fault::Kind::Status ? 500 : 0);
            fault.status = value;
            fault.delayMs = value;
            fault.retval = value;
            fault.bytesPerSecond = value;
            if (fault.kind == Fault::Kind::Slow && value <= 0)
                return bad("slow needs a rate in bytes per second as its value");
            fault.times = o["times"].toInt(-1);
            fault.after = o["after"].toInt(0);
            faults_.set(o["endpoint"].toString().toStdString(), fault);
        }
        res.set_content("ok\n", "text/plain");
    } else {
        res.status = 404;
        res.set_content("unknown admin request\n", "text/plain");
    }
}
