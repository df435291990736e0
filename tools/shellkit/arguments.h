#pragma once
#include <map>
#include <string>
#include <vector>

// A command's folder and its "--flag value" options, checked against the flags it takes.
struct Arguments {
    std::string folder;
    std::map<std::string, std::string> values;

    // False, with the reason in error, for an unknown, repeated or valueless flag, a missing
    // or second folder, or a missing required flag.
    bool Parse(int argc, char** argv, const std::vector<std::string>& required, const std::vector<std::string>& optional,
               std::string& error, const std::vector<std::string>& switches = {});
    std::string Get(const std::string& flag, const std::string& fallback = "") const;
    bool Has(const std::string& flag) const { return values.count(flag) != 0; }
};
