#include "windows_shell.h"

#include <propsys.h>
#include <shlobj.h>


#include "harness.h"

std::string KnownFolder(int folder)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string IconImage(const std::string& path)
{
    HICON icon = nullptr;
    if (PrivateExtractIconsA(path.c_str(), 0, 32, 32, &icon, nullptr, 1, 0) != 1 || icon == nullptr)
        return "";
    ICONINFO parts = {};
    GetIconInfo(icon, &parts);
    std::string image(32 * 32 * 4, '\0');
    image.resize(static_cast<size_t>(GetBitmapBits(parts.hbmColor, static_cast<LONG>(image.size()), &image[0])));
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(icon);
    return image;
}

bool DpiAware(const std::string& path)
{
    HMODULE image = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = image == nullptr ? nullptr : FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    const std::string manifest = found == nullptr ? ""
        : std::string(static_cast<const char*>(LockResource(LoadResource(image, found))), SizeofResource(image, found));
    if (image != nullptr)
        FreeLibrary(image);
    return manifest.find(">true</dpiAware>") != std::string::npos;
}

ShortcutInfo ReadShortcut(const std::string& path)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    IPropertyStore* store = nullptr;
    char target[MAX_PATH] = "", icon[MAX_PATH] = "", working[MAX_PATH] = "";
    int index = -1;
    const IID storeId = {0x886D8EEB, 0x8CF2, 0x4446, {0x8D, 0x02, 0xCD, 0xBA, 0x1D, 0xBD, 0xCF, 0x99}};
    const PROPERTYKEY appIdKey = {{0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}}, 5};
    PROPVARIANT value = {};
    const bool loaded = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                                   reinterpret_cast<void**>(&link))) &&
                        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                        SUCCEEDED(file->Load(std::wstring(path.begin(), path.end()).c_str(), STGM_READ)) &&
                        SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
                        SUCCEEDED(link->GetIconLocation(icon, MAX_PATH, &index)) &&
                        SUCCEEDED(link->GetWorkingDirectory(working, MAX_PATH));
    const HRESULT read = loaded && SUCCEEDED(link->QueryInterface(storeId, reinterpret_cast<void**>(&store)))
                             ? store->GetValue(appIdKey, &value) : E_FAIL;
    ShortcutInfo info = {loaded ? std::string(target) + " " + icon + "," + std::to_string(index) + " in " + working : "",
                         read == E_NOTIMPL ? "(not kept by this system)" : "(none)"};
    if (SUCCEEDED(read) && value.vt == VT_LPWSTR)
        info.appId.assign(value.pwszVal, value.pwszVal + wcslen(value.pwszVal));
    PropVariantClear(&value);
    for (IUnknown* held : {static_cast<IUnknown*>(store), static_cast<IUnknown*>(file), static_cast<IUnknown*>(link)})
        if (held != nullptr)
            held->Release();
    CoUninitialize();
    return info;
}

namespace {

struct ControlSearch {
    std::string text;
    bool part;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND control, LPARAM search)
{
    auto* wanted = reinterpret_cast<ControlSearch*>(search);
    const std::string text = WindowText(control);
    const bool found = IsWindowVisible(control) && (wanted->part ? text.find(wanted->text) != std::string::npos
                                                                 : text == wanted->text);
    return found ? (wanted->found = control, FALSE) : TRUE;
}

}  // namespace

HWND WaitControl(HWND window, const std::string& text, DWORD timeoutMs, bool part)
{
    ControlSearch search = {text, part, nullptr};
    WaitUntil([&] {
        EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, timeoutMs);
    return search.found;
}

bool Checked(HWND button)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 1000, &state);
    return state == BST_CHECKED;
}

bool PressUntil(HWND window, int id, const std::function<bool()>& took)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        PressButton(window, id);
        if (WaitUntil(took, 4000))
            return true;
    }
    return false;
}
