// Small helpers shared by the in-process Windows tests.
#pragma once
#include <windows.h>

#include <string>

// A Unix path as Wine's Z: drive shows it.
inline std::wstring WindowsPathOfUnix(const char *unixPath)
{
    std::wstring path = L"Z:";
    for (const char *c = unixPath; *c; c++)
        path += *c == '/' ? L'\\' : (wchar_t)(unsigned char)*c;
    return path;
}

// A path handed to the test through the environment as a Unix path.
inline std::wstring EnvironmentPath(const char *name)
{
    const char *value = getenv(name);
    return value ? WindowsPathOfUnix(value) : std::wstring();
}

// An address on the test server, whose host the wrapper puts in the environment.
inline std::wstring TestServerAddress(const std::wstring &path)
{
    std::wstring address = L"http://";
    for (const char *c = getenv("LAUNCHER_TEST_SERVER"); c && *c; c++)
        address += (wchar_t)*c;
    return address + path;
}

// An empty folder of the test's own, made anew.
inline std::wstring FreshFolder(const std::wstring &path)
{
    std::wstring list = path + L'\0';
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationW(&op);
    for (size_t i = 3; i <= path.size(); i++) {
        if (i == path.size() || path[i] == L'\\')
            CreateDirectoryW(path.substr(0, i).c_str(), NULL);
    }
    return path;
}

inline bool WriteWholeFile(const std::wstring &path, const std::string &bytes, DWORD attributes = 0)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    if (attributes)
        SetFileAttributesW(path.c_str(), attributes);
    return ok && written == bytes.size();
}

// The whole content of a file, or "<missing>" when it cannot be read.
inline std::string ReadWholeFile(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, NULL) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

inline bool Exists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Starts a program with a command line; returns its process handle (NULL on failure).
inline HANDLE StartProgram(const std::wstring &program, const std::wstring &arguments)
{
    std::wstring line = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return NULL;
    CloseHandle(process.hThread);
    return process.hProcess;
}
