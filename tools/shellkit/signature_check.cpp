#include "signature_check.h"

#include <cstdint>
#include <vector>

#include "file_system.h"
#include "process.h"

namespace {

// The value of the first "Key: value" line after `from`, trimmed.
std::string ValueAfter(const std::string& text, size_t from, const std::string& key)
{
    const size_t at = text.find(key, from);
    if (at == std::string::npos)
        return "";
    const size_t start = text.find_first_not_of(" :", at + key.size());
    const size_t end = text.find('\n', at);
    return start == std::string::npos || start > end ? "" : text.substr(start, end - start);
}

}  // namespace

bool ReadSignature(const std::string& path, const std::string& trust, const std::string& logPath,
                   Signature& signature)
{
    signature = Signature();
    std::vector<std::string> command = {"osslsigncode", "verify"};
    if (!trust.empty())
        command.insert(command.end(), {"-CAfile", trust, "-TSA-CAfile", trust});
    command.insert(command.end(), {"-in", path});
    const int code = RunProgram(command, logPath);
    if (code < 0)
        return false;
    std::vector<uint8_t> bytes;
    ReadWholeFile(logPath, bytes);
    const std::string text(bytes.begin(), bytes.end());
    // The primary signature's signer: the first one the report names.
    const size_t signer = text.find("Signer's certificate:");
    if (signer != std::string::npos)
        signature.signer = ValueAfter(text, signer, "Subject") + ", issued by " + ValueAfter(text, signer, "Issuer") +
                           ", serial " + ValueAfter(text, signer, "Serial");
    signature.verified = code == 0 && text.find("Signature verification: ok") != std::string::npos &&
                         text.find("Signature verification: failed") == std::string::npos;
    signature.timestamped = signature.verified &&
                            text.find("Timestamp Server Signature verification: ok") != std::string::npos;
    return true;
}
