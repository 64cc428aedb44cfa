// The library's entry points, its factory, object identity and lifetime, and the
// embedded type library.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include "identifiers.h"
#include "test_support.h"

namespace grabwell_test {
namespace {

class Exports : public testing::Test {
protected:
    LoadedCatcher catcher{programDirectory() + "grabwell.dll"};

    void SetUp() override { ASSERT_TRUE(catcher.loaded()); }

    IClassFactory* factory() {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(S_OK, catcher.getClassObject(grabwell::kClassId, IID_IClassFactory,
                                               reinterpret_cast<void**>(&factory)));
        return factory;
    }
};

TEST_F(Exports, ExportsTheThreeEntryPointsUndecorated) {
    EXPECT_NE(nullptr, catcher.dllRegisterServer);
    HMODULE module = GetModuleHandleA((programDirectory() + "grabwell.dll").c_str());
    EXPECT_EQ(nullptr, GetProcAddress(module, "DllUnregisterServer"));
    EXPECT_EQ(nullptr, GetProcAddress(module, "DllGetClassObject@12"));
}

TEST_F(Exports, OtherClassIdsAreNotAvailable) {
    CLSID nextClass = grabwell::kClassId;
    nextClass.Data4[7] ^= 1;
    const CLSID otherClasses[] = {nextClass, grabwell::kInterfaceId, grabwell::kLibraryId, IID_IDispatch, GUID_NULL};
    for (const CLSID& classId : otherClasses) {
        void* object = &catcher;
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, catcher.getClassObject(classId, IID_IClassFactory, &object));
        EXPECT_EQ(nullptr, object);
    }
}

TEST_F(Exports, FactoryIsReachedThroughTheRequestedInterface) {
    void* object = nullptr;
    EXPECT_EQ(S_OK, catcher.getClassObject(grabwell::kClassId, IID_IUnknown, &object));
    ASSERT_NE(nullptr, object);
    static_cast<IUnknown*>(object)->Release();
    object = &catcher;
    EXPECT_EQ(E_NOINTERFACE, catcher.getClassObject(grabwell::kClassId, IID_IDispatch, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(S_OK, catcher.canUnloadNow());
}

TEST_F(Exports, ObjectAnswersForItsInterfacesWithOneIdentity) {
    IClassFactory* classFactory = factory();
    ASSERT_NE(nullptr, classFactory);
    IUnknown* outer = classFactory;
    void* object = &catcher;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, classFactory->CreateInstance(outer, IID_IUnknown, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_NOINTERFACE, classFactory->CreateInstance(nullptr, IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);

    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, classFactory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    classFactory->Release();
    for (const IID& iid : {IID_IUnknown, IID_IDispatch, grabwell::kInterfaceId}) {
        IUnknown* asked = nullptr;
        ASSERT_EQ(S_OK, unknown->QueryInterface(iid, reinterpret_cast<void**>(&asked)));
        IUnknown* identity = nullptr;
        ASSERT_EQ(S_OK, asked->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
        EXPECT_EQ(unknown, identity);
        identity->Release();
        asked->Release();
    }
    void* other = &catcher;
    EXPECT_EQ(E_NOINTERFACE, unknown->QueryInterface(IID_IClassFactory, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(S_FALSE, catcher.canUnloadNow());
    EXPECT_EQ(0u, unknown->Release());
    EXPECT_EQ(S_OK, catcher.canUnloadNow());
}

TEST_F(Exports, CanUnloadOnlyWhenNoObjectFactoryReferenceOrLockIsLeft) {
    EXPECT_EQ(S_OK, catcher.canUnloadNow());
    IClassFactory* classFactory = factory();
    ASSERT_NE(nullptr, classFactory);
    EXPECT_EQ(S_FALSE, catcher.canUnloadNow());

    IDispatch* first = nullptr;
    IDispatch* second = nullptr;
    ASSERT_EQ(S_OK, classFactory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&first)));
    ASSERT_EQ(S_OK, classFactory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&second)));
    EXPECT_NE(first, second);
    classFactory->Release();
    EXPECT_EQ(S_FALSE, catcher.canUnloadNow());

    EXPECT_EQ(2u, first->AddRef());
    EXPECT_EQ(1u, first->Release());
    EXPECT_EQ(S_FALSE, catcher.canUnloadNow());
    EXPECT_EQ(0u, first->Release());
    EXPECT_EQ(S_FALSE, catcher.canUnloadNow());
    EXPECT_EQ(0u, second->Release());
    EXPECT_EQ(S_OK, catcher.canUnloadNow());

    classFactory = factory();
    ASSERT_NE(nullptr, classFactory);
    EXPECT_EQ(S_OK, classFactory->LockServer(TRUE));
    classFactory->Release();
    EXPECT_EQ(S_FALSE, catcher.canUnloadNow());
    classFactory = factory();
    EXPECT_EQ(S_OK, classFactory->LockServer(FALSE));
    classFactory->Release();
    EXPECT_EQ(S_OK, catcher.canUnloadNow());
}

class TypeLibrary : public testing::Test {
protected:
    ITypeLib* library = nullptr;

    void SetUp() override {
        std::wstring path = widen(programDirectory() + "grabwell.dll");
        ASSERT_EQ(S_OK, LoadTypeLib(path.c_str(), &library));
    }
    void TearDown() override {
        if (library) library->Release();
    }

    // The type with this id, after checking its name, kind and flag; its attributes
    // are copied into attributes.
    ITypeInfo* typeOf(const GUID& id, const wchar_t* name, TYPEKIND kind, WORD flag, TYPEATTR& attributes) {
        ITypeInfo* info = nullptr;
        EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(id, &info));
        if (!info) return nullptr;
        BSTR typeName = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &typeName, nullptr, nullptr, nullptr);
        EXPECT_STREQ(name, typeName);
        SysFreeString(typeName);
        TYPEATTR* found = nullptr;
        EXPECT_EQ(S_OK, info->GetTypeAttr(&found));
        if (found) {
            attributes = *found;
            info->ReleaseTypeAttr(found);
        }
        EXPECT_EQ(kind, attributes.typekind);
        EXPECT_TRUE(attributes.wTypeFlags & flag);
        return info;
    }
};

TEST_F(TypeLibrary, DescribesTheLibrary) {
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_EQ(grabwell::kLibraryId, attributes->guid);
    EXPECT_EQ(0x409u, attributes->lcid);
    EXPECT_EQ(SYS_WIN32, attributes->syskind);
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(0, attributes->wMinorVerNum);
    library->ReleaseTLibAttr(attributes);

    BSTR name = nullptr;
    ASSERT_EQ(S_OK, library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr));
    EXPECT_STREQ(L"Grabwell", name);
    SysFreeString(name);
    EXPECT_EQ(2u, library->GetTypeInfoCount());
}

TEST_F(TypeLibrary, DispatchInterfaceHasCatchUrlWithIdOneTakingABstr) {
    TYPEATTR attributes{};
    ITypeInfo* info = typeOf(grabwell::kInterfaceId, L"IGrabwell", TKIND_DISPATCH, TYPEFLAG_FDISPATCHABLE, attributes);
    ASSERT_NE(nullptr, info);
    ASSERT_EQ(1, attributes.cFuncs);

    FUNCDESC* function = nullptr;
    ASSERT_EQ(S_OK, info->GetFuncDesc(0, &function));
    EXPECT_EQ(1, function->memid);
    EXPECT_EQ(INVOKE_FUNC, function->invkind);
    EXPECT_EQ(VT_VOID, function->elemdescFunc.tdesc.vt);
    ASSERT_EQ(1, function->cParams);
    EXPECT_EQ(VT_BSTR, function->lprgelemdescParam[0].tdesc.vt);
    EXPECT_EQ(PARAMFLAG_NONE, function->lprgelemdescParam[0].paramdesc.wParamFlags);

    BSTR names[2] = {};
    UINT nameCount = 0;
    ASSERT_EQ(S_OK, info->GetNames(function->memid, names, 2, &nameCount));
    ASSERT_EQ(2u, nameCount);
    EXPECT_STREQ(L"CatchUrl", names[0]);
    EXPECT_STREQ(L"lpUrl", names[1]);
    for (BSTR name : names) SysFreeString(name);
    info->ReleaseFuncDesc(function);

    // The type library and the object's own table agree on the dispatch id.
    wchar_t catchUrl[] = L"CatchUrl";
    LPOLESTR lookup[] = {catchUrl};
    MEMBERID member = MEMBERID_NIL;
    EXPECT_EQ(S_OK, info->GetIDsOfNames(lookup, 1, &member));
    LoadedCatcher catcher(programDirectory() + "grabwell.dll");
    IDispatch* object = catcher.create();
    ASSERT_NE(nullptr, object);
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, lookup, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(member, id);
    object->Release();
    info->Release();
}

TEST_F(TypeLibrary, CoclassIsCreatableWithIGrabwellAsDefault) {
    TYPEATTR attributes{};
    ITypeInfo* info = typeOf(grabwell::kClassId, L"Grabwell", TKIND_COCLASS, TYPEFLAG_FCANCREATE, attributes);
    ASSERT_NE(nullptr, info);
    ASSERT_EQ(1, attributes.cImplTypes);

    INT flags = 0;
    EXPECT_EQ(S_OK, info->GetImplTypeFlags(0, &flags));
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE reference = 0;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(0, &reference));
    ITypeInfo* implemented = nullptr;
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(reference, &implemented));
    TYPEATTR* implementedAttributes = nullptr;
    ASSERT_EQ(S_OK, implemented->GetTypeAttr(&implementedAttributes));
    EXPECT_EQ(grabwell::kInterfaceId, implementedAttributes->guid);
    implemented->ReleaseTypeAttr(implementedAttributes);
    implemented->Release();
    info->Release();
}

} // namespace
} // namespace grabwell_test
