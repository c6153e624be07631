#include "Certificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

struct Free {
    void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
    void operator()(X509* p) const { X509_free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Free>;
using Cert = std::unique_ptr<X509, Free>;

bool addExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (!ext)
        return false;
    const bool ok = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

Cert makeCert(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey, bool isCa) {
    Cert cert(X509_new());
    if (!cert)
        return nullptr;
    X509_set_version(cert.get(), 2);
    unsigned char serial[16];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7f; // a positive serial
    BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert.get()));
    BN_free(bn);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 60L * 60 * 24 * 90);
    X509_set_pubkey(cert.get(), key);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Council Emulator"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName),
                               -1, -1, 0);
    X509* signer = issuer ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
    bool ok = addExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
    if (isCa) {
        ok = ok && addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
        ok = ok && addExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        ok = ok && addExtension(cert.get(), signer, NID_authority_key_identifier, "keyid:always");
        ok = ok && addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:FALSE");
        ok = ok &&
             addExtension(cert.get(), signer, NID_key_usage, "critical,digitalSignature,keyEncipherment");
        ok = ok && addExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
        ok =
            ok && addExtension(cert.get(), signer, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1,IP:::1");
    }
    if (!ok || X509_sign(cert.get(), issuerKey ? issuerKey : key, EVP_sha256()) == 0)
        return nullptr;
    return cert;
}

template <typename Write> bool writePem(const std::string& path, Write write) {
    const std::string tmp = path + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = write(f) == 1;
    if (std::fclose(f) != 0 || !ok)
        return false;
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    return !ec;
}

} // namespace

bool makeLoopbackCertificates(const std::string& dir, CertificateFiles& out, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = "cannot create " + dir + ": " + ec.message();
        return false;
    }
    Key caKey(EVP_EC_gen("P-256"));
    Key serverKey(EVP_EC_gen("P-256"));
    if (!caKey || !serverKey) {
        error = "key generation failed";
        return false;
    }
    Cert ca = makeCert(caKey.get(), "Council Emulator Test CA", nullptr, nullptr, true);
    Cert server = ca ? makeCert(serverKey.get(), "localhost", ca.get(), caKey.get(), false) : nullptr;
    if (!ca || !server) {
        error = "certificate signing failed";
        return false;
    }
    out.caFile = dir + "/ca.pem";
    out.certFile = dir + "/server.pem";
    out.keyFile = dir + "/server-key.pem";
    const bool ok =
        writePem(out.caFile, [&](FILE* f) { return PEM_write_X509(f, ca.get()); }) &&
        writePem(out.certFile, [&](FILE* f) { return PEM_write_X509(f, server.get()); }) &&
        writePem(out.keyFile, [&](FILE* f) {
            return PEM_write_PrivateKey(f, serverKey.get(), nullptr, nullptr, 0, nullptr, nullptr);
        });
    if (!ok)
        error = "cannot write the certificate files into " + dir;
    return ok;
}
