// A stand-in for the viewer's main window: a top-level window with the title given on
// the command line that appends every WM_COPYDATA it receives to a record file, as
// the 32-bit length followed by the bytes. It ends when it is closed or, so that a
// failed test leaves nothing behind, after the given number of milliseconds.
//
//   grabwell_test_window TITLE RECORD-FILE LIFETIME-MS
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char kClassName[] = "GrabwellTestWindow";
const UINT_PTR kLifetimeTimer = 1;
FILE* record = nullptr;

void recordCopyData(const COPYDATASTRUCT& data) {
    unsigned char length[4];
    for (int i = 0; i < 4; ++i) length[i] = static_cast<unsigned char>(data.cbData >> (8 * i));
    std::fwrite(length, 1, sizeof length, record);
    if (data.cbData != 0) std::fwrite(data.lpData, 1, data.cbData, record);
    // The sender waits for this message to be handled, so the record is complete
    // by the time its call returns.
    std::fflush(record);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA:
        recordCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: grabwell_test_window TITLE RECORD-FILE LIFETIME-MS\n");
        return 2;
    }
    record = std::fopen(argv[2], "wb");
    if (!record) return 1;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, kClassName, argv[1], WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  320, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) return 1;
    SetTimer(window, kLifetimeTimer, static_cast<UINT>(std::strtoul(argv[3], nullptr, 10)), nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    std::fclose(record);
    return 0;
}
