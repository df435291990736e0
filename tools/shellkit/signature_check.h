#pragma once
#include <string>

// A file's Authenticode signature as osslsigncode verifies it.
struct Signature {
    bool verified = false;     // the signature and its certificate chain hold
    bool timestamped = false;  // and a time-stamp authority's countersignature holds too
    std::string signer;        // the signing certificate's subject, issuer and serial; "" when none was read
};

// Verifies `path` against the certificates in `trust` ("" for the system's). Returns false when
// osslsigncode could not be run at all; the tool's output goes to logPath.
bool ReadSignature(const std::string& path, const std::string& trust, const std::string& logPath,
                   Signature& signature);
