#include "export_spelling.h"

#include <algorithm>

#include "arcade/arcade_exports.h"

namespace {

struct Spelling {
    const char* what;
    const char* remedy;
};

const Spelling SPELLINGS[] = {
    {"a __stdcall function's decorated name",
     "declare the exports __cdecl (MADLL_CALL) and export them undecorated with a .def file"},
    {"a C++ function's mangled name",
     "declare the exports extern \"C\", as morvessa_arcade.h does, and export them undecorated with a .def file"},
};

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

bool IsDecorated(const std::string& exported, const std::string& stem)
{
    return StartsWith(exported, stem) && exported.size() > stem.size() &&
           exported.find_first_not_of("0123456789", stem.size()) == std::string::npos;
}

// The index in SPELLINGS of how `exported` spells `name`, or -1 when it is another name.
int SpellingOf(const std::string& exported, const std::string& name)
{
    if (IsDecorated(exported, name + "@") || IsDecorated(exported, "_" + name + "@"))
        return 0;
    if (StartsWith(exported, "?" + name + "@@") || StartsWith(exported, "_Z" + std::to_string(name.size()) + name))
        return 1;
    return -1;
}

}  // namespace

std::vector<std::string> MissingArcadeExports(const PeImage& image)
{
    std::vector<std::string> missing;
    for (const char* name : ArcadeExportNames)
        if (!image.Exports(name))
            missing.push_back(name);
    return missing;
}

std::vector<std::string> OtherSpellings(const PeImage& image, std::vector<std::string>& missing,
                                        const std::string& consequence)
{
    std::vector<std::string> lines;
    for (int kind = 0; kind < int(sizeof(SPELLINGS) / sizeof(SPELLINGS[0])); ++kind) {
        std::string first;
        std::string name;
        int more = 0;
        for (auto plain = missing.begin(); plain != missing.end();) {
            const auto found =
                std::find_if(image.exportNames.begin(), image.exportNames.end(),
                             [&](const std::string& exported) { return SpellingOf(exported, *plain) == kind; });
            if (found == image.exportNames.end()) {
                ++plain;
                continue;
            }
            if (first.empty()) {
                first = *found;
                name = *plain;
            } else {
                ++more;
            }
            plain = missing.erase(plain);
        }
        if (first.empty())
            continue;
        lines.push_back("exports \"" + first + "\" where the shell looks for \"" + name + "\"" +
                        (more > 0 ? ", and " + std::to_string(more) + " more names like it" : std::string()) + ": " +
                        SPELLINGS[kind].what + ", which the shell does not link: " + consequence + "; " +
                        SPELLINGS[kind].remedy);
    }
    return lines;
}
