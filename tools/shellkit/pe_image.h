#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What the kit needs to know of a Windows executable or DLL, read from its headers, its
// export table and its resource directory. Every offset is checked against the file's size.
struct PeImage {
    uint16_t machine = 0;
    bool isDll = false;
    std::vector<std::string> exportNames;
    // The first manifest resource's text, and how many manifest resources there are.
    std::string manifest;
    int manifestCount = 0;
    bool hasIcon = false;
    // The first icon group as the bytes of an .ico file; empty when there is none.
    std::vector<uint8_t> iconFile;
    // An Authenticode signature's place: what a signed file carries, whether or not it verifies.
    bool hasCertificateTable = false;

    // False, with the reason in `error`, when the bytes are not a PE image.
    bool Read(const std::vector<uint8_t>& bytes, std::string& error);
    bool Exports(const std::string& name) const;
};

// Whether the first bytes of a file (a few KB) hold the headers of a PE image, so that a
// file is known by what it is, whatever its name.
bool StartsLikePeImage(const std::vector<uint8_t>& start);

const uint16_t MACHINE_I386 = 0x014C;
const uint16_t MACHINE_AMD64 = 0x8664;
const char* MachineName(uint16_t machine);
// Whether the manifest asks to run as the invoker (no elevation).
bool ManifestRunsAsInvoker(const std::string& manifest);
