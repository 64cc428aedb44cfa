// Plug-in loading and dispatch, from a host program whose trellan/ directory holds
// the test plug-ins: p1_swf ("swf"), p2_abc_xyz ("abc;xyz"), p3_empty (""),
// p4_no_deferred ("nodefer", no ParseTagDatas), p5_no_parse_file ("broken", no
// ParseFile), a file that is not a library and a directory with the library suffix.
#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "engine_library.h"

using testing_support::EngineLibrary;

namespace {

EngineLibrary& library() {
    static EngineLibrary loaded(ENGINE_LIBRARY);
    return loaded;
}

std::string pluginDirectory() {
    return platform::directoryOf(platform::programPath()) + "trellan" + platform::pathSeparator();
}

bool pluginLoaded(const char* name) {
    std::string path = pluginDirectory() + name + platform::librarySuffix();
#ifdef _WIN32
    return GetModuleHandleA(path.c_str()) != nullptr;
#else
    void* module = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (module) dlclose(module);
    return module != nullptr;
#endif
}

const uint8_t kData[] = {1, 2, 3, 4};

// The label of the top-level item after a Parse with the file type, or "" when no
// plug-in took the file.
std::string parsedBy(IParseEngine* engine, const char* fileType) {
    engine->SetData(kData, sizeof kData);
    engine->SetFileType(fileType);
    HRESULT result = engine->Parse();
    ItemHandle root = nullptr;
    engine->GetRootItem(&root);
    EXPECT_EQ(result == S_OK, root != nullptr) << fileType;
    return root ? root->name : "";
}

TEST(Registry, LoadsTheLibrariesWithBothRequiredEntryPoints) {
    ASSERT_TRUE(library().loaded());
    EXPECT_EQ(library().canUnloadNow(), S_OK);
    EXPECT_FALSE(pluginLoaded("p1_swf"));
    IParseEngine* engine = library().createEngine();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(library().canUnloadNow(), S_FALSE);
    EXPECT_EQ(platform::currentDirectory(), pluginDirectory());
    for (const char* name : {"p1_swf", "p2_abc_xyz", "p3_empty", "p4_no_deferred"}) EXPECT_TRUE(pluginLoaded(name)) << name;
    EXPECT_FALSE(pluginLoaded("p5_no_parse_file"));
    EXPECT_EQ(engine->Release(), 0u);
    EXPECT_EQ(library().canUnloadNow(), S_OK);
    EXPECT_FALSE(pluginLoaded("p1_swf"));
}

TEST(Registry, ParseGoesToTheFirstPluginWhoseTypeMatches) {
    struct {
        const char* fileType;
        const char* plugin;
    } cases[] = {
        {"swf", "p1_swf"},     {"SW", "p1_swf"},     {"", "p1_swf"}, // the first loaded of all that match
        {"abc", "p2_abc_xyz"}, {"XyZ", "p2_abc_xyz"}, {"*", "p3_empty"},
        {"*.*", "p3_empty"},   {"nodefer", "p4_no_deferred"},
        {"broken", ""},        {"swf2", ""},         {"abc;xyz", ""},
    };
    IParseEngine* engine = library().createEngine();
    for (const auto& c : cases) EXPECT_EQ(parsedBy(engine, c.fileType), c.plugin) << '"' << c.fileType << '"';
    engine->Release();
}

TEST(Registry, DeferredItemsGoToTheMatchingPluginIfItDecodesThem) {
    IParseEngine* engine = library().createEngine();
    ASSERT_EQ(parsedBy(engine, "swf"), "p1_swf");
    ItemHandle root = nullptr;
    engine->GetRootItem(&root);
    int32_t count = 0;

    engine->SetFileType("nodefer"); // matched, but without ParseTagDatas
    EXPECT_EQ(engine->ParseDeferred(root), S_OK);
    engine->GetChildCount(root, &count);
    EXPECT_EQ(count, 0);

    engine->SetFileType("");
    EXPECT_EQ(engine->ParseDeferred(root), S_OK);
    engine->GetChildCount(root, &count);
    ASSERT_EQ(count, 1);
    ItemHandle child = nullptr;
    engine->GetChild(root, 0, &child);
    EXPECT_STREQ(child->name, "p1_swf deferred");

    engine->SetFileType("nothing matches this");
    EXPECT_EQ(engine->ParseDeferred(root), S_OK);
    engine->GetChildCount(root, &count);
    EXPECT_EQ(count, 1);
    engine->Release();
}

TEST(Registry, PluginsStayLoadedWhileAnyEngineLives) {
    IParseEngine* first = library().createEngine();
    IParseEngine* second = library().createEngine();
    EXPECT_EQ(first->LoadPlugins(), 1);   // already held: no scan
    EXPECT_EQ(first->UnloadPlugins(), 0); // and back to two holders
    EXPECT_EQ(first->Release(), 0u);
    EXPECT_TRUE(pluginLoaded("p1_swf"));
    EXPECT_EQ(parsedBy(second, "swf"), "p1_swf");
    EXPECT_EQ(library().canUnloadNow(), S_FALSE);
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_FALSE(pluginLoaded("p1_swf"));
    EXPECT_EQ(library().canUnloadNow(), S_OK);

    IParseEngine* third = library().createEngine(); // scans again
    EXPECT_TRUE(pluginLoaded("p1_swf"));
    EXPECT_EQ(parsedBy(third, "abc"), "p2_abc_xyz");
    third->Release();
}

TEST(Registry, UnloadThenLoadOnOneEngineScansAgain) {
    IParseEngine* engine = library().createEngine();
    EXPECT_EQ(engine->UnloadPlugins(), 0);
    EXPECT_FALSE(pluginLoaded("p1_swf"));
    EXPECT_EQ(parsedBy(engine, "swf"), "");
    EXPECT_EQ(engine->LoadPlugins(), 0);
    EXPECT_TRUE(pluginLoaded("p1_swf"));
    EXPECT_EQ(parsedBy(engine, "swf"), "p1_swf");
    engine->Release();
}

} // namespace
