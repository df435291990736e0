#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "file_system.h"
#include "signing.h"

// Signs, in copies in the work folder, every PE file a setup carries: what it installs and the
// NSIS plug-ins it unpacks for itself. A file someone else has validly signed keeps its
// signature; every signature made here is verified at once.
struct SigningRun {
    const Signer& signer;
    std::string work;
    // The signer of the signatures made here, known after the first: a file already signed by
    // it is signed again, one signed by anyone else is left alone.
    std::string ours;
    int copies = 0;

    // `source` signed in `copy`, or `kept` when its own valid signature is someone else's.
    bool SignInCopy(const std::string& source, const std::string& shown, const std::string& copy, bool& kept,
                    std::string& error);
    // Verifies a file signed here, as in SignInCopy.
    bool Verify(const std::string& path, const std::string& shown, std::string& error);
};

// The shipped files of `folder` that are PE images by their contents, signed; `replacements`
// gets the signed copy of each by its path in the folder. Files of the same contents share one.
bool SignShippedFiles(SigningRun& run, const std::string& folder, const std::vector<FolderEntry>& files,
                      std::map<std::string, std::string>& replacements, std::string& error);

// The plug-ins of makensis's own folder for the setup's target, signed into `pluginFolder`
// for the script to take them from there.
bool SignPlugins(SigningRun& run, const std::string& makensis, const std::string& target, std::string& pluginFolder,
                 std::string& error);
