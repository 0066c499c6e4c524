// What a shortcut (.lnk) points at, read back through the shell's own
// IShellLinkW as Explorer reads it: readshortcut FILE prints its target and
// its working folder, a line each, in UTF-8. Exit code 1 when it cannot be read.
#include <windows.h>
// shobjidl.h needs windows.h first.
#include <shobjidl.h>

#include <string>

namespace {

void print(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes += '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2 || FAILED(CoInitialize(nullptr)))
        return 1;
    IShellLinkW *link = nullptr;
    IPersistFile *file = nullptr;
    wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {};
    const bool read =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
        SUCCEEDED(file->Load(argv[1], STGM_READ)) &&
        SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH));
    if (read) {
        print(target);
        print(folder);
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return read ? 0 : 1;
}
