// The small part of automation that the catcher needs: a dispatchable object whose
// methods come from a table, a class factory bound to one class id, and the count of
// what is alive in the library, which decides when the library may be unloaded.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>

namespace grabwell {

// Live objects, plus outside references to factories and server locks.
void lockModule();
void unlockModule();
bool moduleInUse();

class DispatchObject;

// One row of a dispatch table: the name that callers ask for, compared without regard
// to case, and the method. Every method takes one string, handed over in the system's
// ANSI code page, and returns nothing. Dispatch ids are the row numbers, from 1.
struct DispatchMethod {
    const wchar_t* name;
    void (*call)(DispatchObject& object, const char* argument);
};

// An object that callers reach through IDispatch, or through the dispatch interface
// given at construction, which has the same table. It starts with one reference.
class DispatchObject : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

protected:
    template <size_t Count>
    DispatchObject(REFIID dispatchInterface, const DispatchMethod (&methods)[Count])
        : DispatchObject(dispatchInterface, methods, Count) {}
    DispatchObject(REFIID dispatchInterface, const DispatchMethod* methods, size_t count);
    virtual ~DispatchObject();

private:
    const IID& dispatchInterface_;
    const DispatchMethod* methods_;
    size_t methodCount_;
    std::atomic<ULONG> references_{1};
};

// The factory of one class. It lives as long as the library; references to it from
// outside keep the library loaded.
class ClassFactory final : public IClassFactory {
public:
    // create returns a new object with one reference, or null.
    ClassFactory(REFCLSID classId, IUnknown* (*create)()) : classId_(classId), create_(create) {}

    // What DllGetClassObject answers: this factory, asked for through iid, when
    // classId is the factory's class.
    HRESULT getClassObject(REFCLSID classId, REFIID iid, void** object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    const CLSID& classId_;
    IUnknown* (*create_)();
};

} // namespace grabwell
