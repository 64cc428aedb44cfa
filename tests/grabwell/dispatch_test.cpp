// How the catcher object answers IDispatch callers: names, call flags, argument
// shapes, errors and the result variant. The viewer window is played by a window of
// this test's own thread, so each call's WM_COPYDATA is handled before Invoke returns.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "identifiers.h"
#include "test_support.h"

namespace grabwell_test {
namespace {

// A window titled like the viewer's that keeps the data of every WM_COPYDATA.
class RecordingWindow {
public:
    RecordingWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "GrabwellRecordingWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, kViewerTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingWindow() { DestroyWindow(window_); }

    bool ready() const { return window_ != nullptr; }
    std::vector<std::string> received;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COPYDATA) {
            auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            self->received.push_back(data->cbData == 0 ? std::string()
                                                       : std::string(static_cast<const char*>(data->lpData), data->cbData));
            return TRUE;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
};

class Dispatch : public testing::Test {
protected:
    // A copy beside the stand-in viewer program, so that a wrong fallback would start it.
    LoadedCatcher catcher{placeCatcher(scratchDirectory("dispatch"))};
    RecordingWindow viewer;
    IDispatch* object = nullptr;
    unsigned long processesBefore = 0;

    void SetUp() override {
        ASSERT_TRUE(viewer.ready());
        object = catcher.create();
        ASSERT_NE(nullptr, object);
        processesBefore = startedProcessCount();
    }
    void TearDown() override {
        if (object) object->Release();
        // With the window present, no call may fall back to starting the viewer.
        EXPECT_EQ(processesBefore, startedProcessCount());
    }

    HRESULT invoke(DISPID id, WORD flags, VARIANT* arguments, UINT count, VARIANT* result = nullptr,
                   UINT* argumentError = nullptr, REFIID iid = IID_NULL) {
        DISPPARAMS params{arguments, nullptr, count, 0};
        return object->Invoke(id, iid, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, argumentError);
    }
};

TEST_F(Dispatch, NamesAreFoundWithoutRegardToCase) {
    const struct {
        const wchar_t* name;
        HRESULT expected;
        DISPID id;
    } cases[] = {
        {L"CatchUrl", S_OK, 1},
        {L"catchurl", S_OK, 1},
        {L"CATCHURL", S_OK, 1},
        {L"cAtChUrL", S_OK, 1},
        {L"CatchUr", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
        {L"CatchUrlX", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
        {L"", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
        {L"lpUrl", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
    };
    for (const auto& test : cases) {
        std::wstring name = test.name;
        LPOLESTR names[] = {&name[0]};
        DISPID id = 12345;
        EXPECT_EQ(test.expected, object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))
            << "name " << testing::PrintToString(std::wstring(test.name));
        EXPECT_EQ(test.id, id);
    }
}

TEST_F(Dispatch, ParameterNamesAreNotKnown) {
    wchar_t method[] = L"CatchUrl";
    wchar_t parameter[] = L"lpUrl";
    LPOLESTR names[] = {method, parameter};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, object->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids));
    EXPECT_EQ(1, ids[0]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
}

TEST_F(Dispatch, StringArgumentArrivesInEveryShapeCallersPass) {
    const std::wstring url = L"http://example.org/movies/shape.swf?q=1&r=two";
    const std::string narrowUrl = "http://example.org/movies/shape.swf?q=1&r=two";
    BSTR text = SysAllocString(url.c_str());
    VARIANT inner;
    VariantInit(&inner);
    V_VT(&inner) = VT_BSTR;
    V_BSTR(&inner) = text;

    VARIANT byValue;
    V_VT(&byValue) = VT_BSTR;
    V_BSTR(&byValue) = text;
    VARIANT stringByReference;
    V_VT(&stringByReference) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&stringByReference) = &text;
    VARIANT variantByReference;
    V_VT(&variantByReference) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&variantByReference) = &inner;
    VARIANT nullString;
    V_VT(&nullString) = VT_BSTR;
    V_BSTR(&nullString) = nullptr;
    VARIANT number;
    V_VT(&number) = VT_I4;
    V_I4(&number) = 780;

    const struct {
        const char* shape;
        VARIANT* argument;
        WORD flags;
        std::string expected;
    } cases[] = {
        {"BSTR by value", &byValue, DISPATCH_METHOD, narrowUrl},
        {"BSTR with the result kept", &byValue, DISPATCH_METHOD | DISPATCH_PROPERTYGET, narrowUrl},
        {"BSTR by reference", &stringByReference, DISPATCH_METHOD, narrowUrl},
        {"VARIANT by reference", &variantByReference, DISPATCH_METHOD | DISPATCH_PROPERTYGET, narrowUrl},
        {"null BSTR", &nullString, DISPATCH_METHOD, ""},
        {"number", &number, DISPATCH_METHOD, "780"},
    };
    for (const auto& test : cases) {
        viewer.received.clear();
        VARIANT result;
        V_VT(&result) = VT_I4;
        V_I4(&result) = 7;
        EXPECT_EQ(S_OK, invoke(1, test.flags, test.argument, 1, &result)) << test.shape;
        EXPECT_EQ(VT_EMPTY, V_VT(&result)) << test.shape;
        EXPECT_EQ(std::vector<std::string>{test.expected}, viewer.received) << test.shape;
    }
    SysFreeString(text);
}

TEST_F(Dispatch, StringIsHandedOverInTheAnsiCodePage) {
    const std::wstring url = L"http://example.org/caf\u00e9/\u00c5ngstr\u00f6m.swf";
    char expected[64] = {};
    int length = WideCharToMultiByte(CP_ACP, 0, url.c_str(), -1, expected, sizeof expected, nullptr, nullptr);
    ASSERT_GT(length, 1);
    // One byte per character: the code page's own encoding, not UTF-8.
    ASSERT_EQ(url.size(), std::string(expected).size()) << "code page " << GetACP();

    VARIANT argument;
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = SysAllocString(url.c_str());
    EXPECT_EQ(S_OK, invoke(1, DISPATCH_METHOD, &argument, 1));
    EXPECT_EQ(std::vector<std::string>{expected}, viewer.received);
    VariantClear(&argument);
}

TEST_F(Dispatch, RejectedCallsReachNoWindowAndLeaveTheResultEmpty) {
    BSTR text = SysAllocString(L"http://example.org/rejected.swf");
    VARIANT two[2];
    for (VARIANT& argument : two) {
        V_VT(&argument) = VT_BSTR;
        V_BSTR(&argument) = text;
    }
    VARIANT null;
    V_VT(&null) = VT_NULL;
    const GUID someInterface = grabwell::kInterfaceId;

    const struct {
        const char* call;
        DISPID id;
        WORD flags;
        VARIANT* arguments;
        UINT count;
        const GUID& iid;
        HRESULT expected;
    } cases[] = {
        {"no argument", 1, DISPATCH_METHOD, nullptr, 0, IID_NULL, DISP_E_BADPARAMCOUNT},
        {"two arguments", 1, DISPATCH_METHOD, two, 2, IID_NULL, DISP_E_BADPARAMCOUNT},
        {"property get", 1, DISPATCH_PROPERTYGET, two, 1, IID_NULL, DISP_E_MEMBERNOTFOUND},
        {"property put", 1, DISPATCH_PROPERTYPUT, two, 1, IID_NULL, DISP_E_MEMBERNOTFOUND},
        {"method and put", 1, DISPATCH_METHOD | DISPATCH_PROPERTYPUT, two, 1, IID_NULL, DISP_E_MEMBERNOTFOUND},
        {"unknown id 2", 2, DISPATCH_METHOD, two, 1, IID_NULL, DISP_E_MEMBERNOTFOUND},
        {"unknown id 0", 0, DISPATCH_METHOD, two, 1, IID_NULL, DISP_E_MEMBERNOTFOUND},
        {"interface not null", 1, DISPATCH_METHOD, two, 1, someInterface, DISP_E_UNKNOWNINTERFACE},
        {"null argument", 1, DISPATCH_METHOD, &null, 1, IID_NULL, DISP_E_TYPEMISMATCH},
    };
    for (const auto& test : cases) {
        VARIANT result;
        V_VT(&result) = VT_I4;
        V_I4(&result) = 7;
        UINT argumentError = 99;
        EXPECT_EQ(test.expected, invoke(test.id, test.flags, test.arguments, test.count, &result, &argumentError,
                                        test.iid))
            << test.call;
        EXPECT_EQ(VT_EMPTY, V_VT(&result)) << test.call;
        if (test.expected == DISP_E_TYPEMISMATCH) {
            EXPECT_EQ(0u, argumentError) << test.call;
        }
    }
    EXPECT_TRUE(viewer.received.empty());
    SysFreeString(text);
}

TEST_F(Dispatch, NamedArgumentsAreRefused) {
    VARIANT argument;
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = SysAllocString(L"http://example.org/named.swf");
    DISPID name = 0;
    DISPPARAMS params{&argument, &name, 1, 1};
    EXPECT_EQ(DISP_E_NONAMEDARGS,
              object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    EXPECT_TRUE(viewer.received.empty());
    VariantClear(&argument);
}

} // namespace
} // namespace grabwell_test
