// CGrabwell, the URL catcher: hands a URL to the running viewer window, or starts the
// viewer program beside this library with the URL as its parameters. Also the
// library's entry points.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <new>
#include <string>

#include "automation.h"
#include "identifiers.h"
#include "module_path.h"
#include "registration.h"

namespace grabwell {
namespace {

const char kViewerWindowTitle[] = "Quillon SWF Decoder";
const char kViewerProgram[] = "vizmora.exe";

// This library's own module, whatever its file is called.
HMODULE ownModule = nullptr;

class CGrabwell final : public DispatchObject {
public:
    CGrabwell();

    void CatchUrl(const char* url);
};

const DispatchMethod kGrabwellMethods[] = {
    {L"CatchUrl", [](DispatchObject& object, const char* url) { static_cast<CGrabwell&>(object).CatchUrl(url); }},
};

CGrabwell::CGrabwell() : DispatchObject(kInterfaceId, kGrabwellMethods) {}

// WM_COPYDATA carries the URL's bytes, without a NUL, however long the URL is: the
// system copies them into the viewer's process, and SendMessage returns once the
// viewer has handled them. Its answer is not looked at.
void sendToViewer(HWND viewer, const char* url) {
    SetForegroundWindow(viewer);
    COPYDATASTRUCT data{};
    data.cbData = static_cast<DWORD>(std::strlen(url));
    data.lpData = const_cast<char*>(url);
    SendMessageA(viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

// The shell starts the viewer asynchronously; whether it could is not reported. The
// directory ends in a backslash and "\vizmora.exe" follows it, so the path holds two
// backslashes in a row, which the shell accepts.
void startViewer(const char* url) {
    std::string viewer = directoryOf(modulePath(ownModule)) + "\\" + kViewerProgram;
    ShellExecuteA(nullptr, "open", viewer.c_str(), url, nullptr, SW_SHOW);
}

void CGrabwell::CatchUrl(const char* url) {
    if (HWND viewer = FindWindowA(nullptr, kViewerWindowTitle)) {
        sendToViewer(viewer, url);
    } else {
        startViewer(url);
    }
}

ClassFactory factory(kClassId, []() -> IUnknown* { return new (std::nothrow) CGrabwell(); });

} // namespace
} // namespace grabwell

#define GRABWELL_CLASS_ID_KEY "CLSID\\{" GRABWELL_CLASS_ID_TEXT "}"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        grabwell::ownModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    return grabwell::factory.getClassObject(classId, iid, object);
}

STDAPI DllCanUnloadNow() { return grabwell::moduleInUse() ? S_FALSE : S_OK; }

// Registration failures are not reported: the entries that could be written stay.
STDAPI DllRegisterServer() {
    using grabwell::WriteWhen;
    try {
        // InProcServer32 gets the short (8.3) form of the path.
        const std::string library = grabwell::shortPath(grabwell::modulePath(grabwell::ownModule));
        const grabwell::RegistryEntry entries[] = {
            {GRABWELL_PROGRAM_ID, GRABWELL_PROGRAM_ID, WriteWhen::KeyHasNoValue},
            {GRABWELL_CLASS_ID_KEY, GRABWELL_PROGRAM_ID, WriteWhen::KeyHasNoValue},
            {GRABWELL_PROGRAM_ID "\\CLSID", "{" GRABWELL_CLASS_ID_TEXT "}", WriteWhen::Always},
            {GRABWELL_CLASS_ID_KEY "\\ProgID", GRABWELL_PROGRAM_ID, WriteWhen::Always},
            {GRABWELL_CLASS_ID_KEY "\\InProcServer32", library.c_str(), WriteWhen::Always},
        };
        grabwell::writeRegistryEntries(entries);
    } catch (...) {
    }
    return S_OK;
}
