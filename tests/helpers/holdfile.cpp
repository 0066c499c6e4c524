// Holds a file open from a second process, as the runner or a virus scanner
// may: holdfile FILE MILLISECONDS READY. READY is created once the file is
// held; the file is let go after MILLISECONDS.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t **argv)
{
    if (argc != 4)
        return 2;
    // Shared for reading and writing but not for deleting, as an ordinary
    // open is: Windows then refuses to replace or exclusively open the file.
    const HANDLE held = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return 1;
    const HANDLE ready = CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(ready);
    Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    CloseHandle(held);
    return 0;
}
