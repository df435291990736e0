#pragma once
#include <string>

#include "arguments.h"

// Signs files in place with one command line in which {file} stands for the file: the
// publisher's own (a token's or a signing service's tool), or osslsigncode with a .pfx whose
// password comes from a file or an environment variable, never from a command line.
struct Signer {
    std::string command;  // "" when nothing is to be signed
    std::string log;

    bool Active() const { return !command.empty(); }
    bool Sign(const std::string& path) const;
    // The same command as makensis runs it on the uninstaller it writes.
    std::string ForUninstaller() const;
};

// The signer the options ask for; false, with the reason in error, when they cannot be used.
// A password from the environment is kept in a file in `work` for osslsigncode to read.
bool MakeSigner(const Arguments& arguments, const std::string& work, const std::string& title, Signer& signer,
                std::string& error);

// The signing options, for the usage line and the parser.
extern const char SIGNING_USAGE[];
const char* const SIGNING_OPTIONS[] = {"--sign", "--sign-password", "--sign-password-file", "--sign-password-env",
                                       "--timestamp", "--sign-command"};
