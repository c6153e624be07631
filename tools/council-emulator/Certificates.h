#pragma once

#include <string>

// A throw-away certificate authority and a server certificate for loopback ("localhost", 127.0.0.1, ::1),
// so the application can be tested over verified TLS by trusting just the CA file.
struct CertificateFiles {
    std::string caFile;
    std::string certFile;
    std::string keyFile;
};

// Writes ca.pem, server.pem and server-key.pem into dir (created if missing). Empty error on success.
bool makeLoopbackCertificates(const std::string& dir, CertificateFiles& out, std::string& error);
