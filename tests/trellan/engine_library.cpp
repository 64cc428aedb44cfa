#include "engine_library.h"

namespace testing_support {

EngineLibrary::EngineLibrary(const std::string& path) : module_(platform::loadLibrary(path)) {}

// The library stays loaded: engines of a test may outlive this object.
EngineLibrary::~EngineLibrary() = default;

HRESULT EngineLibrary::getClassObject(REFCLSID classId, REFIID iid, void** object) {
    auto function = reinterpret_cast<DllGetClassObjectFn>(exportNamed("DllGetClassObject"));
    return function ? function(classId, iid, object) : E_FAIL;
}

IParseEngine* EngineLibrary::createEngine() {
    IClassFactory* factory = nullptr;
    static const CLSID anyClass = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
    if (getClassObject(anyClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK) return nullptr;
    IParseEngine* engine = nullptr;
    factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&engine));
    factory->Release();
    return engine;
}

HRESULT EngineLibrary::canUnloadNow() {
    auto function = reinterpret_cast<DllCanUnloadNowFn>(exportNamed("DllCanUnloadNow"));
    return function ? function() : E_FAIL;
}

std::string engineLibraryBesideProgram() {
#ifdef _WIN32
    const char* name = "trellan.dll";
#else
    const char* name = "libtrellan.so";
#endif
    return platform::directoryOf(platform::programPath()) + name;
}

} // namespace testing_support
