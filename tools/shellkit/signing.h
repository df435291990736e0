#pragma once
#include <string>

#include "arguments.h"
#include "signature_check.h"

// Signs files in place with one command line in which {file} stands for the file: the
// publisher's own (a token's or a signing service's tool), or osslsigncode with a .pfx whose
// password comes from a file or an environment variable, never from a command line.
struct Signer {
    std::string command;  // "" when nothing is to be signed
    std::string log;
    std::string trust;  // the certificates signatures are verified against; "" for the system's
    bool timestampRequired = true;
    // A private folder holding the password from the environment while signing lasts.
    std::string secretFolder;

    Signer() = default;
    Signer(const Signer&) = delete;
    Signer& operator=(const Signer&) = delete;
    ~Signer() { Forget(); }

    bool Active() const { return !command.empty(); }
    bool Sign(const std::string& path) const;
    // Whether a signature made here holds, with its timestamp unless none is asked for; the
    // reason in error when not.
    bool Verify(const std::string& path, const std::string& shown, Signature& signature, std::string& error) const;
    // The same command as makensis runs it on the uninstaller it writes, which is then copied
    // to `copy` so that its signature can be verified.
    std::string ForUninstaller(const std::string& copy) const;
    // Removes the password; signing ends with it.
    void Forget();
};

// The signer the options ask for; false, with the reason in error, when they cannot be used.
bool MakeSigner(const Arguments& arguments, const std::string& work, const std::string& title, Signer& signer,
                std::string& error);

// The signing options, for the usage line and the parser.
extern const char SIGNING_USAGE[];
const char* const SIGNING_OPTIONS[] = {"--sign", "--sign-password", "--sign-password-file", "--sign-password-env",
                                       "--timestamp", "--sign-command", "--trust"};
const char NO_TIMESTAMP[] = "--no-timestamp";
