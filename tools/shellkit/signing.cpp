#include "signing.h"

#include <cstdlib>
#include <vector>

#include "file_system.h"
#include "process.h"

const char SIGNING_USAGE[] =
    "[--sign CERT.pfx [--sign-password-file FILE | --sign-password-env VARIABLE] [--timestamp URL]] "
    "[--sign-command 'COMMAND ... {file}'] [--no-timestamp] [--trust CA.pem]";

namespace {

const char FILE_MARK[] = "{file}";

std::string WithFile(const std::string& command, const std::string& quotedPath)
{
    std::string result = command;
    for (size_t at = result.find(FILE_MARK); at != std::string::npos;
         at = result.find(FILE_MARK, at + quotedPath.size()))
        result.replace(at, sizeof(FILE_MARK) - 1, quotedPath);
    return result;
}

}  // namespace

bool Signer::Sign(const std::string& path) const
{
    return RunShellCommand(WithFile(command, ShellQuoted(path)), log) == 0;
}

bool Signer::Verify(const std::string& path, const std::string& shown, Signature& signature, std::string& error) const
{
    if (!ReadSignature(path, trust, log, signature))
        error = "osslsigncode was not found: it verifies every signature after signing";
    else if (!signature.verified)
        error = shown + " does not verify after signing";
    else if (timestampRequired && !signature.timestamped)
        error = shown + " was signed without a timestamp, so its signature ends when the certificate expires: give "
                        "the signing a time-stamp server, or " + NO_TIMESTAMP + " to sign without one";
    return error.empty();
}

std::string Signer::ForUninstaller(const std::string& copy) const
{
    return WithFile(command, "\"%1\"") + " && " + SHELL_COPY + " \"%1\" " + ShellQuoted(copy);
}

void Signer::Forget()
{
    if (!secretFolder.empty())
        RemoveTree(secretFolder);
    secretFolder.clear();
}

bool MakeSigner(const Arguments& arguments, const std::string& work, const std::string& title, Signer& signer,
                std::string& error)
{
    const bool pfx = arguments.Has("--sign");
    const bool custom = arguments.Has("--sign-command");
    if (arguments.Has("--sign-password"))
        error = "--sign-password would put the password on a command line that any program can read: use "
                "--sign-password-file FILE or --sign-password-env VARIABLE";
    else if (pfx && custom)
        error = "--sign and --sign-command: one way of signing only";
    else if (!pfx && !custom && (arguments.Has(NO_TIMESTAMP) || arguments.Has("--trust")))
        error = std::string(NO_TIMESTAMP) + " or --trust without --sign or --sign-command";
    else if (arguments.Has("--timestamp") && arguments.Has(NO_TIMESTAMP))
        error = std::string("--timestamp and ") + NO_TIMESTAMP + ": a timestamp or none";
    else if (pfx && !arguments.Has("--timestamp") && !arguments.Has(NO_TIMESTAMP))
        error = std::string("--sign without --timestamp URL: a signature without a timestamp ends when the "
                            "certificate expires; give a time-stamp server, or ") + NO_TIMESTAMP + " to sign without one";
    else if (!pfx && (arguments.Has("--sign-password-file") || arguments.Has("--sign-password-env") ||
                      arguments.Has("--timestamp")))
        error = custom ? "--sign-command signs by itself: give its password and timestamp server to that command"
                       : "a password or a timestamp server without --sign";
    else if (arguments.Has("--sign-password-file") && arguments.Has("--sign-password-env"))
        error = "--sign-password-file and --sign-password-env: one password only";
    else if (custom && arguments.Get("--sign-command").find(FILE_MARK) == std::string::npos)
        error = "--sign-command has no {file} to put each file's path in";
    else if (pfx && !PathExists(arguments.Get("--sign")))
        error = arguments.Get("--sign") + ": no such certificate";
    else if (arguments.Has("--sign-password-file") && !PathExists(arguments.Get("--sign-password-file")))
        error = arguments.Get("--sign-password-file") + ": no such password file";
    else if (arguments.Has("--trust") && !PathExists(arguments.Get("--trust")))
        error = arguments.Get("--trust") + ": no such certificate file";
    else if (arguments.Has("--sign-password-env") && std::getenv(arguments.Get("--sign-password-env").c_str()) == nullptr)
        error = "no environment variable " + arguments.Get("--sign-password-env") + " to take the password from";
    if (!error.empty())
        return false;
    signer.log = JoinPath(work, "sign.log");
    signer.trust = arguments.Has("--trust") ? AbsolutePath(arguments.Get("--trust")) : "";
    signer.timestampRequired = !arguments.Has(NO_TIMESTAMP);
    if (custom) {
        signer.command = arguments.Get("--sign-command");
        return true;
    }
    if (!pfx)
        return true;
    std::string passwordFile = arguments.Has("--sign-password-file") ? AbsolutePath(arguments.Get("--sign-password-file")) : "";
    if (arguments.Has("--sign-password-env")) {
        const std::string password = std::getenv(arguments.Get("--sign-password-env").c_str());
        if (!MakePrivateFolder(signer.secretFolder)) {
            error = "cannot make a private folder for the password in the temporary folder";
            return false;
        }
        passwordFile = JoinPath(signer.secretFolder, "password");
        if (!WritePrivateFile(passwordFile, std::vector<uint8_t>(password.begin(), password.end()))) {
            error = "cannot write in " + signer.secretFolder;
            signer.Forget();
            return false;
        }
    }
    std::string command = "osslsigncode sign -pkcs12 " + ShellQuoted(AbsolutePath(arguments.Get("--sign")));
    if (!passwordFile.empty())
        command += " -readpass " + ShellQuoted(passwordFile);
    if (arguments.Has("--timestamp"))
        command += " -ts " + ShellQuoted(arguments.Get("--timestamp"));
    command += " -h sha256 -n " + ShellQuoted(title) + " -in {file} -out {file}.signed && " + SHELL_MOVE +
               " {file}.signed {file}";
    signer.command = command;
    return true;
}
