// The class factory and the library's exports. The host calls DllGetClassObject
// itself; the engine is never registered with the system.
#include <atomic>
#include <new>

#include "engine.h"
#include "exports.h"

namespace trellan {
namespace {

class ClassFactory final : public IClassFactory {
public:
    HRESULT PARSE_CALL QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_NOINTERFACE;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }

    ULONG PARSE_CALL AddRef() override { return static_cast<ULONG>(++references_); }

    ULONG PARSE_CALL Release() override {
        long left = --references_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT PARSE_CALL CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        Engine* engine = new (std::nothrow) Engine();
        if (!engine) return E_OUTOFMEMORY;
        HRESULT result = engine->QueryInterface(iid, object);
        if (result < 0) delete engine;
        return result;
    }

    HRESULT PARSE_CALL LockServer(BOOL) override { return E_NOTIMPL; }

private:
    std::atomic<long> references_{0};
};

} // namespace
} // namespace trellan

QUILLON_EXPORT HRESULT EXPORT_CALL DllGetClassObject(REFCLSID, REFIID iid, void** object) {
    auto* factory = new (std::nothrow) trellan::ClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    HRESULT result = factory->QueryInterface(iid, object);
    if (result != S_OK) delete factory;
    return result;
}

QUILLON_EXPORT HRESULT EXPORT_CALL DllCanUnloadNow() {
    return trellan::Engine::liveCount() == 0 ? S_OK : S_FALSE;
}

QUILLON_EXPORT HRESULT EXPORT_CALL DllRegisterServer() { return E_FAIL; }

QUILLON_EXPORT HRESULT EXPORT_CALL DllUnregisterServer() { return E_FAIL; }
