#include <algorithm>

#include "code_page.h"
#include "rules.h"

namespace {

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

StrayKind KindOfStray(const std::string& relativePath, const std::string& name, std::string& what)
{
    const std::string file = Lowercase(LastComponent(relativePath));
    if (file == "thumbs.db" || file == "ehthumbs.db") {
        what = "Windows' cache of picture thumbnails";
        return StrayKind::LeftOut;
    }
    if (file == "desktop.ini") {
        what = "Explorer's settings for the folder";
        return StrayKind::LeftOut;
    }
    if (file == ".ds_store") {
        what = "macOS's settings for the folder";
        return StrayKind::LeftOut;
    }
    if (EndsWith(file, ".pdb") || EndsWith(file, ".ilk")) {
        what = "debugging information of a build";
        return StrayKind::LeftOut;
    }
    // What the arcade layer wrote when the publisher ran the game is each player's to write.
    std::string inside = Lowercase(relativePath);
    std::replace(inside.begin(), inside.end(), '/', '\\');
    const std::string arcade = "morvessaarcade\\";
    if (inside.compare(0, arcade.size(), arcade) == 0) {
        const std::string own = inside.substr(arcade.size());
        if (own == "application.dat" || own == "channel.dat" || own.compare(0, 7, "arcade\\") == 0 ||
            own.compare(0, 7, "update\\") == 0) {
            what = "the arcade layer's own record, written where the game runs";
            return StrayKind::LeftOut;
        }
    }
    // The game may need a redistributable; the kit cannot tell, so the publisher decides.
    const bool program = EndsWith(file, ".exe") && relativePath != name + ".exe";
    if (EndsWith(file, ".msi") ||
        (program && (file.find("setup") != std::string::npos || file.find("instal") != std::string::npos))) {
        what = "an installer";
        return StrayKind::Refused;
    }
    return StrayKind::None;
}

void CheckStrayFiles(const std::vector<FolderEntry>& files, const std::string& shown, const std::string& name,
                     Report& report)
{
    for (const FolderEntry& file : files) {
        std::string what;
        const StrayKind kind = KindOfStray(file.relativePath, name, what);
        const std::string path = JoinPath(shown, file.relativePath);
        if (kind == StrayKind::LeftOut)
            report.Warning(path, 0, what + ", no part of the game: the installer leaves it out");
        else if (kind == StrayKind::Refused)
            report.Error(path, 0, what + " in the game folder: the game's installer would pack it whole and put it "
                                         "on every player's machine, and left out, a game that needs it would break; "
                                         "move it out of the folder");
    }
}

bool ListShippedFiles(const std::string& folder, std::vector<FolderEntry>& files)
{
    const bool listed = ListFilesBelow(folder, files);
    std::vector<FolderEntry> shipped;
    for (const FolderEntry& file : files) {
        std::string what;
        if (KindOfStray(file.relativePath, "", what) != StrayKind::LeftOut)
            shipped.push_back(file);
    }
    files.swap(shipped);
    return listed;
}
