// What the catcher's tests share: the build's own paths, scratch directories holding a
// copy of the catcher beside a stand-in viewer program, the catcher loaded by path,
// the stand-in viewer window in its own process, and the records of viewer starts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace grabwell_test {

extern const char kViewerTitle[];

// The directory of the test program, where the build puts grabwell.dll, with its
// trailing backslash.
std::string programDirectory();

// An empty directory of this name under the build's scratch folder, with its trailing
// backslash.
std::string scratchDirectory(const std::string& name);

// Copies the built catcher into directory under fileName, and the stand-in viewer
// beside it as vizmora.exe. Returns the catcher's path.
std::string placeCatcher(const std::string& directory, const std::string& fileName = "grabwell.dll");

// A URL of exactly length characters.
std::string urlOfLength(size_t length);

// Runs a command line and waits for it; the exit code, or -1 if it could not start
// or did not end in time.
int runProcess(const std::string& commandLine, DWORD timeoutMs = 60000);

// The path of a program in the system directory.
std::string systemProgram(const char* name);

// Runs `regsvr32 /s` on a library; its exit code.
int registerServer(const std::string& library);

// Processes started so far by this test program and everything it started.
unsigned long startedProcessCount();
// Puts this program into a job so that startedProcessCount can see its descendants.
void countStartedProcesses();

std::wstring widen(const std::string& text);

// A catcher library loaded by path, with its three entry points.
class LoadedCatcher {
public:
    explicit LoadedCatcher(const std::string& path);
    ~LoadedCatcher();
    LoadedCatcher(const LoadedCatcher&) = delete;
    LoadedCatcher& operator=(const LoadedCatcher&) = delete;

    bool loaded() const { return getClassObject != nullptr && canUnloadNow != nullptr; }

    // A new catcher object through the library's factory, or null.
    IDispatch* create();
    // CatchUrl through Invoke, as a script passes a string literal.
    HRESULT catchUrl(IDispatch* object, const std::string& url);

    HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow)() = nullptr;
    HRESULT(STDAPICALLTYPE* dllRegisterServer)() = nullptr;

private:
    HMODULE module_;
};

// The stand-in viewer window, running in its own process until destroyed.
class TestWindow {
public:
    TestWindow(const std::string& title, const std::string& recordPath);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    // The window was found under its title.
    bool ready() const { return window_ != nullptr; }
    // The data of every WM_COPYDATA received so far, in order.
    std::vector<std::string> received() const;

private:
    std::string recordPath_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// One start of the stand-in viewer.
struct ViewerStart {
    std::string program;
    std::string commandLine;
    // The command line after the program's own name.
    std::string parameters() const;
};

// The starts recorded in directory so far.
std::vector<ViewerStart> viewerStarts(const std::string& directory);
// Waits until at least count starts are recorded in directory, or time runs out.
std::vector<ViewerStart> waitForViewerStarts(const std::string& directory, size_t count,
                                             DWORD timeoutMs = 30000);

} // namespace grabwell_test
