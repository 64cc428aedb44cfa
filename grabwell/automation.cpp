#include "automation.h"

#include <oleauto.h>

#include <cwchar>
#include <string>

namespace grabwell {
namespace {

std::atomic<long> moduleLocks{0};

std::string toAnsi(BSTR text) {
    int length = static_cast<int>(SysStringLen(text));
    if (length == 0) return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &narrow[0], size, nullptr, nullptr);
    return narrow;
}

} // namespace

void lockModule() { ++moduleLocks; }
void unlockModule() { --moduleLocks; }
bool moduleInUse() { return moduleLocks > 0; }

DispatchObject::DispatchObject(REFIID dispatchInterface, const DispatchMethod* methods, size_t count)
    : dispatchInterface_(dispatchInterface), methods_(methods), methodCount_(count) {
    lockModule();
}

DispatchObject::~DispatchObject() { unlockModule(); }

HRESULT DispatchObject::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != dispatchInterface_) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG DispatchObject::AddRef() { return ++references_; }

ULONG DispatchObject::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

// Callers find the methods by name; no type information is handed out.
HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (count == 0) return S_OK;
    if (!names || !ids) return E_POINTER;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    // Script engines pass the name as the script wrote it.
    for (size_t row = 0; row < methodCount_ && names[0]; ++row) {
        if (_wcsicmp(names[0], methods_[row].name) == 0) {
            ids[0] = static_cast<DISPID>(row + 1);
            break;
        }
    }
    // The methods' parameters cannot be named by callers.
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO*, UINT* argumentError) {
    // No method has a result; the caller's variant is left empty.
    if (result) VariantInit(result);
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (id < 1 || static_cast<size_t>(id) > methodCount_) return DISP_E_MEMBERNOTFOUND;
    // Script engines add DISPATCH_PROPERTYGET to a method call whose result is kept.
    if (!(flags & DISPATCH_METHOD) || (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)))
        return DISP_E_MEMBERNOTFOUND;
    if (!params || (params->cArgs != 0 && !params->rgvarg)) return E_INVALIDARG;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;

    // The argument may come by value or by reference (VT_BYREF with VT_BSTR or
    // VT_VARIANT, as script engines pass variables); the conversion reads through both.
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, &params->rgvarg[0], 0, VT_BSTR))) {
        if (argumentError) *argumentError = 0;
        return DISP_E_TYPEMISMATCH;
    }
    HRESULT outcome = S_OK;
    try {
        std::string argument = toAnsi(V_BSTR(&text));
        methods_[id - 1].call(*this, argument.c_str());
    } catch (...) {
        outcome = E_OUTOFMEMORY;
    }
    VariantClear(&text);
    return outcome;
}

HRESULT ClassFactory::getClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (classId != classId_) return CLASS_E_CLASSNOTAVAILABLE;
    return QueryInterface(iid, object);
}

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

// The factory itself is never deleted; what its references count is the library's use.
ULONG ClassFactory::AddRef() {
    lockModule();
    return 2;
}

ULONG ClassFactory::Release() {
    unlockModule();
    return 1;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* created = create_();
    if (!created) return E_OUTOFMEMORY;
    HRESULT result = created->QueryInterface(iid, object);
    created->Release();
    return result;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        lockModule();
    } else {
        unlockModule();
    }
    return S_OK;
}

} // namespace grabwell
