#include "test_support.h"

#include <oleauto.h>

#include <fstream>
#include <iterator>

#include "identifiers.h"

namespace grabwell_test {

const char kViewerTitle[] = "Quillon SWF Decoder";

namespace {

const DWORD kPollIntervalMs = 50;
HANDLE processJob = nullptr;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

template <typename Function>
void findExport(HMODULE module, const char* name, Function& function) {
    // Through a plain function pointer: FARPROC's own signature matches no export.
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The names of the files in directory that match pattern.
std::vector<std::string> filesMatching(const std::string& directory, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

} // namespace

std::string programDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\') + 1);
}

std::string scratchDirectory(const std::string& name) {
    std::string parent = programDirectory() + "grabwell-scratch\\";
    CreateDirectoryA(parent.c_str(), nullptr);
    std::string directory = parent + name + "\\";
    CreateDirectoryA(directory.c_str(), nullptr);
    for (const std::string& file : filesMatching(directory, "*")) DeleteFileA((directory + file).c_str());
    return directory;
}

std::string placeCatcher(const std::string& directory, const std::string& fileName) {
    std::string catcher = directory + fileName;
    CopyFileA((programDirectory() + "grabwell.dll").c_str(), catcher.c_str(), FALSE);
    CopyFileA((programDirectory() + "grabwell_viewer_standin.exe").c_str(), (directory + "vizmora.exe").c_str(),
              FALSE);
    return catcher;
}

std::string urlOfLength(size_t length) {
    static const char kPrefix[] = "http://example.org/movies/";
    static const char kPath[] = "abcdefghijklmnopqrstuvwxyz0123456789-_.~/";
    std::string url(kPrefix);
    for (size_t i = 0; url.size() < length; ++i) url += kPath[i % (sizeof kPath - 1)];
    url.resize(length);
    return url;
}

int runProcess(const std::string& commandLine, DWORD timeoutMs) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string writable = commandLine;
    if (!CreateProcessA(nullptr, &writable[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

std::string systemProgram(const char* name) {
    char directory[MAX_PATH] = {};
    GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + name;
}

int registerServer(const std::string& library) {
    return runProcess("\"" + systemProgram("regsvr32.exe") + "\" /s \"" + library + "\"");
}

void countStartedProcesses() {
    processJob = CreateJobObjectA(nullptr, nullptr);
    AssignProcessToJobObject(processJob, GetCurrentProcess());
}

unsigned long startedProcessCount() {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    QueryInformationJobObject(processJob, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                              nullptr);
    return accounting.TotalProcesses;
}

std::wstring widen(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

LoadedCatcher::LoadedCatcher(const std::string& path) : module_(LoadLibraryA(path.c_str())) {
    if (!module_) return;
    findExport(module_, "DllGetClassObject", getClassObject);
    findExport(module_, "DllCanUnloadNow", canUnloadNow);
    findExport(module_, "DllRegisterServer", dllRegisterServer);
}

LoadedCatcher::~LoadedCatcher() {
    if (module_) FreeLibrary(module_);
}

IDispatch* LoadedCatcher::create() {
    IClassFactory* factory = nullptr;
    if (!getClassObject || FAILED(getClassObject(grabwell::kClassId, IID_IClassFactory,
                                                 reinterpret_cast<void**>(&factory))))
        return nullptr;
    IDispatch* object = nullptr;
    factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object));
    factory->Release();
    return object;
}

HRESULT LoadedCatcher::catchUrl(IDispatch* object, const std::string& url) {
    wchar_t name[] = L"CatchUrl";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    HRESULT result = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result)) return result;
    std::wstring wide = widen(url);
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    DISPPARAMS params{&argument, nullptr, 1, 0};
    result = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    VariantClear(&argument);
    return result;
}

TestWindow::TestWindow(const std::string& title, const std::string& recordPath) : recordPath_(recordPath) {
    DeleteFileA(recordPath.c_str());
    std::string commandLine = "\"" + programDirectory() + "grabwell_test_window.exe\" \"" + title + "\" \"" +
                              recordPath + "\" 120000";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        return;
    for (DWORD waited = 0; waited < 30000 && !window_; waited += kPollIntervalMs) {
        window_ = FindWindowA(nullptr, title.c_str());
        if (!window_) Sleep(kPollIntervalMs);
    }
}

TestWindow::~TestWindow() {
    if (!process_.hProcess) return;
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::vector<std::string> TestWindow::received() const {
    std::string record = readFile(recordPath_);
    std::vector<std::string> messages;
    size_t offset = 0;
    while (offset + 4 <= record.size()) {
        size_t length = 0;
        for (int i = 3; i >= 0; --i) length = length * 256 + static_cast<unsigned char>(record[offset + i]);
        offset += 4;
        messages.push_back(record.substr(offset, length));
        offset += length;
    }
    return messages;
}

std::string ViewerStart::parameters() const {
    // The shell quotes the program's path and puts one space before the parameters.
    size_t programEnd = commandLine[0] == '"' ? commandLine.find('"', 1) + 1 : commandLine.find(' ');
    if (programEnd == std::string::npos || programEnd >= commandLine.size()) return std::string();
    return commandLine.substr(programEnd + 1);
}

std::vector<ViewerStart> viewerStarts(const std::string& directory) {
    std::vector<ViewerStart> starts;
    for (const std::string& name : filesMatching(directory, "viewer-start-*.txt")) {
        std::string record = readFile(directory + name);
        size_t firstLineEnd = record.find('\n');
        ViewerStart start;
        start.program = record.substr(0, firstLineEnd);
        start.commandLine = record.substr(firstLineEnd + 1);
        if (!start.commandLine.empty() && start.commandLine.back() == '\n') start.commandLine.pop_back();
        starts.push_back(start);
    }
    return starts;
}

std::vector<ViewerStart> waitForViewerStarts(const std::string& directory, size_t count, DWORD timeoutMs) {
    std::vector<ViewerStart> starts = viewerStarts(directory);
    for (DWORD waited = 0; starts.size() < count && waited < timeoutMs; waited += kPollIntervalMs) {
        Sleep(kPollIntervalMs);
        starts = viewerStarts(directory);
    }
    return starts;
}

} // namespace grabwell_test
