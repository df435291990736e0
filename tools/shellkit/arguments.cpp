#include "arguments.h"

#include <algorithm>

bool Arguments::Parse(int argc, char** argv, const std::vector<std::string>& required,
                      const std::vector<std::string>& optional, std::string& error,
                      const std::vector<std::string>& switches)
{
    const auto known = [&](const std::string& flag) {
        return std::find(required.begin(), required.end(), flag) != required.end() ||
               std::find(optional.begin(), optional.end(), flag) != optional.end();
    };
    for (int i = 0; i < argc; ++i) {
        std::string word = argv[i];
        if (std::find(switches.begin(), switches.end(), word) != switches.end()) {
            if (values.count(word) != 0) {
                error = word + " is given twice";
                return false;
            }
            values[word] = "yes";
        } else if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            std::string value;
            const size_t equals = word.find('=');
            bool hasValue = equals != std::string::npos;
            if (hasValue) {
                value = word.substr(equals + 1);
                word = word.substr(0, equals);
            } else if (i + 1 < argc && std::string(argv[i + 1]).compare(0, 2, "--") != 0) {
                value = argv[++i];
                hasValue = true;
            }
            if (!known(word)) {
                error = "unknown option " + word;
                return false;
            }
            if (!hasValue || value.empty()) {
                error = word + " needs a value";
                return false;
            }
            if (values.count(word) != 0) {
                error = word + " is given twice";
                return false;
            }
            values[word] = value;
        } else if (folder.empty() && !word.empty()) {
            folder = word;
        } else {
            error = word.empty() ? "an empty folder name" : "one folder only: \"" + word + "\" is one too many";
            return false;
        }
    }
    if (folder.empty()) {
        error = "no folder given";
        return false;
    }
    for (const std::string& flag : required) {
        if (values.count(flag) == 0) {
            error = flag + " is missing";
            return false;
        }
    }
    return true;
}

std::string Arguments::Get(const std::string& flag, const std::string& fallback) const
{
    const auto found = values.find(flag);
    return found == values.end() ? fallback : found->second;
}
