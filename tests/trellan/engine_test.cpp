// The engine as a host and a plug-in see it: created through the library's exported
// class factory, driven through its interface only.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "engine_library.h"
#include "engine_walk.h"
#include "swf_builder.h"

using namespace testing_support;

namespace {

EngineLibrary& library() {
    static EngineLibrary loaded(engineLibraryBesideProgram());
    return loaded;
}

// An engine that is released at the end of the test.
struct EngineRef {
    IParseEngine* engine = library().createEngine();
    ~EngineRef() {
        if (engine) engine->Release();
    }
    IParseEngine* operator->() const { return engine; }
};

ParseItemDesc descriptor(uint32_t start, uint32_t end, const char* name, ItemHandle parent = nullptr) {
    ParseItemDesc desc{};
    desc.start = start;
    desc.end = end;
    std::strncpy(desc.name, name, sizeof desc.name - 1);
    desc.parent = parent;
    return desc;
}

ItemHandle add(IParseEngine* engine, uint32_t start, uint32_t end, const char* name, ItemHandle parent = nullptr) {
    ParseItemDesc desc = descriptor(start, end, name, parent);
    ItemHandle item = nullptr;
    EXPECT_EQ(engine->AddItem(&desc, &item), S_OK);
    return item;
}

ItemHandle findAt(IParseEngine* engine, uint32_t offset) {
    ItemHandle item = reinterpret_cast<ItemHandle>(1);
    EXPECT_EQ(engine->FindItemAt(offset, &item), S_OK);
    return item;
}

ItemHandle childAt(IParseEngine* engine, ItemHandle parent, int32_t index) {
    ItemHandle child = reinterpret_cast<ItemHandle>(1);
    EXPECT_EQ(engine->GetChild(parent, index, &child), S_OK);
    return child;
}

int32_t childCount(IParseEngine* engine, ItemHandle parent) {
    int32_t count = -1;
    EXPECT_EQ(engine->GetChildCount(parent, &count), S_OK);
    return count;
}

ItemHandle rootOf(IParseEngine* engine) {
    ItemHandle root = reinterpret_cast<ItemHandle>(1);
    EXPECT_EQ(engine->GetRootItem(&root), S_OK);
    return root;
}

const Bytes& sampleMovie() {
    static const Bytes bytes =
        movie({shortTag(9, {1, 2, 3}), shortTag(39, join({{1, 0, 1, 0}, shortTag(1), shortTag(0)})), shortTag(1),
               shortTag(0)});
    return bytes;
}

TEST(EngineInterface, QueryInterfaceAnswersEveryIdWithTheSameObject) {
    EngineRef ref;
    ASSERT_NE(ref.engine, nullptr);
    const IID unknownToAnyone = {0xDEADBEEF, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    for (const IID* iid : {&IID_IUnknown, &IID_IClassFactory, &unknownToAnyone}) {
        void* object = nullptr;
        EXPECT_EQ(ref->QueryInterface(*iid, &object), S_OK);
        EXPECT_EQ(object, static_cast<void*>(ref.engine));
        EXPECT_EQ(ref->Release(), 1u); // the reference QueryInterface added
    }
    EXPECT_EQ(ref->AddRef(), 2u);
    EXPECT_EQ(ref->Release(), 1u);
}

TEST(EngineInterface, DataIsRememberedNotCopied) {
    EngineRef ref;
    const uint8_t* data = reinterpret_cast<const uint8_t*>(1);
    uint32_t size = 7;
    EXPECT_EQ(ref->GetData(&data, &size), S_OK);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
    uint8_t buffer[3] = {1, 2, 3};
    EXPECT_EQ(ref->SetData(buffer, 3), S_OK);
    EXPECT_EQ(ref->GetData(&data, &size), S_OK);
    EXPECT_EQ(data, buffer);
    EXPECT_EQ(size, 3u);
}

struct BoundedString {
    const char* name;
    HRESULT (PARSE_CALL IParseEngine::*set)(const char*);
    size_t longestAccepted;
};

TEST(EngineInterface, TooLongATypeOrPathIsRefusedAndLeavesTheFieldEmpty) {
    const BoundedString cases[] = {{"file type", &IParseEngine::SetFileType, 255},
                                   {"file path", &IParseEngine::SetFilePath, 259}};
    for (const BoundedString& c : cases) {
        SCOPED_TRACE(c.name);
        EngineRef ref;
        EXPECT_EQ((ref.engine->*c.set)(std::string(c.longestAccepted, 'a').c_str()), S_OK);
        EXPECT_EQ((ref.engine->*c.set)(std::string(c.longestAccepted + 1, 'a').c_str()), S_FALSE);
    }
    // The refused type is empty, not the one set before: the empty type matches the
    // SWF plug-in, "abc" does not.
    EngineRef ref;
    ref->SetData(sampleMovie().data(), static_cast<uint32_t>(sampleMovie().size()));
    ref->SetFileType("abc");
    EXPECT_EQ(ref->Parse(), S_FALSE);
    EXPECT_EQ(ref->SetFileType(std::string(256, 's').c_str()), S_FALSE);
    EXPECT_EQ(ref->Parse(), S_OK);
}

TEST(ItemTree, AddItemCopiesTheDescriptor) {
    EngineRef ref;
    ParseItemDesc desc = descriptor(3, 9, "Whole File");
    desc.reserved = 0xABCD;
    desc.deferred = 1;
    desc.tagCode = 39;
    ItemHandle root = nullptr;
    ASSERT_EQ(ref->AddItem(&desc, &root), S_OK);
    std::strcpy(desc.name, "changed");
    desc.start = 100;
    EXPECT_EQ(root->start, 3u);
    EXPECT_EQ(root->end, 9u);
    EXPECT_STREQ(root->name, "Whole File");
    EXPECT_EQ(root->reserved, 0xABCDu);
    EXPECT_EQ(root->parent, nullptr);
    EXPECT_EQ(root->deferred, 1u);
    EXPECT_EQ(root->tagCode, 39u);
    EXPECT_EQ(rootOf(ref.engine), root);

    ParseItemDesc child = descriptor(3, 4, "child", root);
    EXPECT_EQ(ref->AddItem(&child, nullptr), S_OK); // no out argument: added all the same
    ASSERT_EQ(childCount(ref.engine, root), 1);
    EXPECT_STREQ(childAt(ref.engine, root, 0)->name, "child");
    EXPECT_EQ(childAt(ref.engine, root, 0)->parent, root);
}

TEST(ItemTree, ANameWithoutItsNulKeepsSixtyThreeCharacters) {
    EngineRef ref;
    ParseItemDesc desc{};
    std::memset(desc.name, 'n', sizeof desc.name);
    ItemHandle item = nullptr;
    ASSERT_EQ(ref->AddItem(&desc, &item), S_OK);
    EXPECT_EQ(std::string(item->name), std::string(63, 'n'));
}

TEST(ItemTree, ChildrenKeepTheirOrderAndOutOfRangeIndexesYieldNull) {
    EngineRef ref;
    ItemHandle root = add(ref.engine, 0, 9, "root");
    ItemHandle first = add(ref.engine, 0, 4, "first", root);
    ItemHandle second = add(ref.engine, 5, 9, "second", root);
    EXPECT_EQ(childCount(ref.engine, root), 2);
    EXPECT_EQ(childAt(ref.engine, root, 0), first);
    EXPECT_EQ(childAt(ref.engine, root, 1), second);
    for (int32_t index : {-1, 2, 1000}) EXPECT_EQ(childAt(ref.engine, root, index), nullptr) << index;
    EXPECT_EQ(childCount(ref.engine, first), 0);
    EXPECT_EQ(childAt(ref.engine, first, 0), nullptr);
}

TEST(ItemTree, OnlyLeavesAreFound) {
    EngineRef ref;
    ItemHandle a = add(ref.engine, 0, 99, "A");
    EXPECT_EQ(findAt(ref.engine, 50), a);
    ItemHandle b = add(ref.engine, 0, 11, "B", a);
    struct {
        uint32_t offset;
        ItemHandle expected;
    } cases[] = {{5, b}, {0, b}, {11, b}, {12, nullptr}, {50, nullptr}, {100, nullptr}, {UINT32_MAX, nullptr}};
    for (const auto& c : cases) EXPECT_EQ(findAt(ref.engine, c.offset), c.expected) << c.offset;
    // An end written through the handle is what the search sees.
    b->end = 60;
    EXPECT_EQ(findAt(ref.engine, 50), b);
}

TEST(ItemTree, ALaterTopLevelItemBecomesTheRootAndTheFormerStaysALeaf) {
    EngineRef ref;
    ItemHandle first = add(ref.engine, 0, 9, "first");
    ItemHandle second = add(ref.engine, 20, 29, "second");
    EXPECT_EQ(rootOf(ref.engine), second);
    EXPECT_EQ(findAt(ref.engine, 5), first);
    ItemHandle child = add(ref.engine, 0, 1, "child", first);
    EXPECT_EQ(childAt(ref.engine, first, 0), child);
}

TEST(ItemTree, HandlesStayValidAcrossBlocks) {
    EngineRef ref;
    ItemHandle root = add(ref.engine, 0, 1000, "root");
    std::vector<ItemHandle> items;
    for (uint32_t i = 0; i < 300; ++i) items.push_back(add(ref.engine, i, i, std::to_string(i).c_str(), root));
    ASSERT_EQ(childCount(ref.engine, root), 300);
    for (uint32_t i = 0; i < 300; ++i) {
        EXPECT_EQ(childAt(ref.engine, root, static_cast<int32_t>(i)), items[i]);
        EXPECT_EQ(items[i]->start, i);
        EXPECT_EQ(std::string(items[i]->name), std::to_string(i));
        EXPECT_EQ(findAt(ref.engine, i), items[i]);
    }
}

TEST(ItemTree, FreeStandingItemsStayOutsideTheTree) {
    EngineRef ref;
    ItemHandle item = nullptr;
    ASSERT_EQ(ref->NewItem(&item), S_OK);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->start, 0u);
    EXPECT_EQ(item->end, 0u);
    EXPECT_STREQ(item->name, "");
    EXPECT_EQ(item->parent, nullptr);
    EXPECT_EQ(findAt(ref.engine, 0), nullptr);
    EXPECT_EQ(rootOf(ref.engine), nullptr);
    EXPECT_EQ(ref->FreeItem(&item), S_OK);
    EXPECT_EQ(item, nullptr);
}

TEST(ItemTree, AParseThatFindsNoPluginLeavesAnEmptyTree) {
    EngineRef ref;
    add(ref.engine, 0, 9, "old");
    ref->SetFileType("no such type");
    EXPECT_EQ(ref->Parse(), S_FALSE);
    EXPECT_EQ(rootOf(ref.engine), nullptr);
    for (uint32_t offset : {0u, 5u, 9u}) EXPECT_EQ(findAt(ref.engine, offset), nullptr);
}

TEST(ItemTree, NoHandleOfTheFormerTreeComesBackAfterAParse) {
    EngineRef ref;
    ref->SetData(sampleMovie().data(), static_cast<uint32_t>(sampleMovie().size()));
    ref->SetFileType("swf");
    ASSERT_EQ(ref->Parse(), S_OK);
    std::vector<ItemHandle> before = walkTree(ref.engine);
    ASSERT_GT(before.size(), 10u);
    for (int parse = 0; parse < 3; ++parse) {
        ASSERT_EQ(ref->Parse(), S_OK);
        std::vector<ItemHandle> after = walkTree(ref.engine);
        EXPECT_EQ(after.size(), before.size());
        std::set<ItemHandle> former(before.begin(), before.end());
        for (ItemHandle item : after) EXPECT_EQ(former.count(item), 0u);
        before = after;
    }
}

TEST(ItemTree, AVeryDeepTreeIsClearedAndDestroyedWithoutRecursion) {
    IParseEngine* engine = library().createEngine();
    ItemHandle parent = nullptr;
    for (uint32_t depth = 0; depth < 100000; ++depth) parent = add(engine, depth, depth, "level", parent);
    engine->SetFileType("no such type");
    EXPECT_EQ(engine->Parse(), S_FALSE);
    parent = nullptr;
    for (uint32_t depth = 0; depth < 100000; ++depth) parent = add(engine, depth, depth, "level", parent);
    EXPECT_EQ(engine->Release(), 0u);
}

TEST(Dispatch, DeferredItemsGoToTheMatchingPluginEveryTimeTheyAreOpened) {
    EngineRef ref;
    ref->SetData(sampleMovie().data(), static_cast<uint32_t>(sampleMovie().size()));
    ref->SetFileType("SWF");
    ASSERT_EQ(ref->Parse(), S_OK);
    ItemHandle sprite = nullptr;
    for (ItemHandle item : walkTree(ref.engine))
        if (item->deferred && item->tagCode == 39) sprite = item;
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(findAt(ref.engine, sprite->start), sprite);
    EXPECT_EQ(ref->ParseDeferred(sprite), S_OK);
    int32_t once = childCount(ref.engine, sprite);
    EXPECT_GT(once, 0);
    EXPECT_NE(findAt(ref.engine, sprite->start), sprite); // no longer a leaf
    EXPECT_EQ(ref->ParseDeferred(sprite), S_OK);
    EXPECT_EQ(childCount(ref.engine, sprite), 2 * once);
    EXPECT_EQ(sprite->deferred, 1u); // the engine leaves the flag alone

    ref->SetFileType("no such type");
    EXPECT_EQ(ref->ParseDeferred(sprite), S_OK);
    EXPECT_EQ(childCount(ref.engine, sprite), 2 * once);
}

TEST(ClassFactory, AnswersEveryClassIdButOnlyItsOwnInterfaces) {
    const CLSID someClass = {0x11111111, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    IClassFactory* factory = reinterpret_cast<IClassFactory*>(1);
    EXPECT_EQ(library().getClassObject(someClass, IID_IDispatch, reinterpret_cast<void**>(&factory)), E_NOINTERFACE);
    EXPECT_EQ(factory, nullptr);
    ASSERT_EQ(library().getClassObject(someClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    ASSERT_NE(factory, nullptr);

    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->QueryInterface(IID_IDispatch, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory->QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, static_cast<void*>(factory));
    EXPECT_EQ(factory->Release(), 1u);

    EXPECT_EQ(factory->LockServer(1), E_NOTIMPL);
    EXPECT_EQ(factory->LockServer(0), E_NOTIMPL);
    EXPECT_EQ(library().canUnloadNow(), S_OK);

    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(factory, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, reinterpret_cast<void*>(1));
    EXPECT_EQ(library().canUnloadNow(), S_OK);

    IParseEngine* engine = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&engine)), S_OK);
    EXPECT_EQ(factory->Release(), 0u);
    EXPECT_EQ(library().canUnloadNow(), S_FALSE); // the engine lives on without its factory
    EXPECT_EQ(engine->Release(), 0u);
    EXPECT_EQ(library().canUnloadNow(), S_OK);
}

TEST(ClassFactory, RegistrationIsRefused) {
    for (const char* name : {"DllRegisterServer", "DllUnregisterServer"}) {
        auto function = reinterpret_cast<DllRegisterServerFn>(library().exportNamed(name));
        ASSERT_NE(function, nullptr) << name;
        EXPECT_EQ(function(), E_FAIL) << name;
    }
}

} // namespace
