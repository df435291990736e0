#include "shipped_signing.h"

#include <cstdio>

#include "nsis_text.h"
#include "pe_image.h"
#include "process.h"

namespace {

// Enough for the headers of any image a linker writes.
const size_t HEADER_BYTES = 4096;

struct Candidate {
    std::string relativePath;
    uint64_t size;
};

bool SameContents(const std::string& one, const std::string& other)
{
    std::vector<uint8_t> a;
    std::vector<uint8_t> b;
    return ReadWholeFile(one, a) && ReadWholeFile(other, b) && a == b;
}

// The folder makensis takes its own files from, as it says itself.
std::string NsisFolder(const std::string& makensis, const std::string& log)
{
    if (RunProgram({makensis, "-HDRINFO"}, log) != 0)
        return "";
    std::vector<uint8_t> bytes;
    ReadWholeFile(log, bytes);
    const std::string text(bytes.begin(), bytes.end());
    const std::string key = "NSISDIR=";
    const size_t at = text.find(key);
    if (at == std::string::npos)
        return "";
    const size_t end = text.find_first_of(",\r\n", at);
    return text.substr(at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
}

}  // namespace

bool SigningRun::Verify(const std::string& path, const std::string& shown, std::string& error)
{
    Signature signature;
    if (!signer.Verify(path, shown, signature, error))
        return false;
    if (ours.empty())
        ours = signature.signer;
    return true;
}

bool SigningRun::SignInCopy(const std::string& source, const std::string& shown, const std::string& copy, bool& kept,
                            std::string& error)
{
    kept = false;
    std::vector<uint8_t> bytes;
    PeImage image;
    std::string problem;
    if (ReadWholeFile(source, bytes))
        image.Read(bytes, problem);
    if (image.hasCertificateTable) {
        Signature existing;
        if (!ReadSignature(source, signer.trust, signer.log, existing)) {
            error = "osslsigncode was not found: it verifies the signatures a folder holds";
            return false;
        }
        if (existing.signer.empty() || existing.signer != ours) {
            if (!existing.verified) {
                error = shown + " carries a signature that does not verify: a changed file, or a certificate this "
                                "machine does not trust (name its authority with --trust CA.pem)";
                return false;
            }
            std::printf("%s keeps its signature by %s\n", shown.c_str(), existing.signer.c_str());
            kept = true;
            return true;
        }
    }
    if (!CopyOneFile(source, copy) || !signer.Sign(copy)) {
        error = "could not sign " + shown;
        return false;
    }
    return Verify(copy, shown, error);
}

bool SignShippedFiles(SigningRun& run, const std::string& folder, const std::vector<FolderEntry>& files,
                      std::map<std::string, std::string>& replacements, std::string& error)
{
    // Unsigned files first: the first signature made tells whose the signed ones are.
    std::vector<Candidate> bare;
    std::vector<Candidate> carrying;
    for (const FolderEntry& file : files) {
        std::vector<uint8_t> start;
        if (!ReadFileStart(JoinPath(folder, file.relativePath), HEADER_BYTES, start) || !StartsLikePeImage(start))
            continue;
        std::vector<uint8_t> bytes;
        PeImage image;
        std::string problem;
        ReadWholeFile(JoinPath(folder, file.relativePath), bytes);
        image.Read(bytes, problem);
        (image.hasCertificateTable ? carrying : bare).push_back({file.relativePath, file.size});
    }
    bare.insert(bare.end(), carrying.begin(), carrying.end());
    std::vector<Candidate> done;
    for (const Candidate& file : bare) {
        const std::string source = JoinPath(folder, file.relativePath);
        bool same = false;
        for (const Candidate& earlier : done) {
            if (earlier.size != file.size || !SameContents(JoinPath(folder, earlier.relativePath), source))
                continue;
            const auto copy = replacements.find(earlier.relativePath);
            if (copy != replacements.end())
                replacements[file.relativePath] = copy->second;
            same = true;
            break;
        }
        if (same)
            continue;
        const std::string copy = JoinPath(run.work, "signed-" + std::to_string(run.copies++));
        bool kept = false;
        if (!run.SignInCopy(source, file.relativePath, copy, kept, error))
            return false;
        if (!kept)
            replacements[file.relativePath] = copy;
        done.push_back(file);
    }
    return true;
}

bool SignPlugins(SigningRun& run, const std::string& makensis, const std::string& target, std::string& pluginFolder,
                 std::string& error)
{
    const std::string nsis = NsisFolder(makensis, JoinPath(run.work, "nsis.log"));
    const std::string plugins = JoinPath(JoinPath(nsis, "Plugins"), target);
    std::vector<FolderEntry> files;
    if (nsis.empty() || !ListFilesBelow(plugins, files)) {
        error = "the plug-ins of NSIS for " + target + " were not found" + (nsis.empty() ? "" : " in " + plugins);
        return false;
    }
    pluginFolder = JoinPath(JoinPath(run.work, "plugins"), target);
    if (!MakeFolder(ParentOf(pluginFolder)) || !MakeFolder(pluginFolder)) {
        error = "cannot write in " + run.work;
        return false;
    }
    for (const FolderEntry& file : files) {
        if (!HasExtension(file.relativePath, ".dll") || file.relativePath.find(PATH_SEPARATOR) != std::string::npos)
            continue;
        bool kept = false;
        if (!run.SignInCopy(JoinPath(plugins, file.relativePath), "the NSIS plug-in " + file.relativePath, JoinPath(pluginFolder, file.relativePath),
                            kept, error))
            return false;
    }
    return true;
}
