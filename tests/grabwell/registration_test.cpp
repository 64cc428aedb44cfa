// What `regsvr32 /s` leaves under HKEY_CLASSES_ROOT, compared key by key and value by
// value with the whole set of entries the catcher writes.
#include <gtest/gtest.h>
#include <objbase.h>

#include <map>
#include <string>

#include "identifiers.h"
#include "test_support.h"

namespace grabwell_test {
namespace {

// Key path below HKEY_CLASSES_ROOT -> value name ("" for the default) -> data.
using RegistrySnapshot = std::map<std::string, std::map<std::string, std::string>>;

const char kProgramKey[] = "Quillon.Grabwell";

std::string classIdRegistryForm() {
    wchar_t text[40] = {};
    StringFromGUID2(grabwell::kClassId, text, 40);
    char narrow[40] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

std::string classKey() { return "CLSID\\" + classIdRegistryForm(); }

void clearRegistration() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgramKey);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, classKey().c_str());
}

void setDefaultValue(const std::string& keyPath, const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr));
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void readTree(const std::string& keyPath, RegistrySnapshot& snapshot) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    auto& values = snapshot[keyPath];
    for (DWORD index = 0;; ++index) {
        char name[256] = {};
        DWORD nameSize = sizeof name;
        BYTE data[1024] = {};
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        values[name] = type == REG_SZ ? std::string(reinterpret_cast<char*>(data))
                                      : "<type " + std::to_string(type) + ">";
    }
    for (DWORD index = 0;; ++index) {
        char name[256] = {};
        if (RegEnumKeyA(key, index, name, sizeof name) != ERROR_SUCCESS) break;
        readTree(keyPath + "\\" + name, snapshot);
    }
    RegCloseKey(key);
}

RegistrySnapshot registration() {
    RegistrySnapshot snapshot;
    readTree(kProgramKey, snapshot);
    readTree(classKey(), snapshot);
    return snapshot;
}

RegistrySnapshot expectedRegistration(const std::string& library) {
    return {
        {kProgramKey, {{"", "Quillon.Grabwell"}}},
        {std::string(kProgramKey) + "\\CLSID", {{"", classIdRegistryForm()}}},
        {classKey(), {{"", "Quillon.Grabwell"}}},
        {classKey() + "\\ProgID", {{"", "Quillon.Grabwell"}}},
        {classKey() + "\\InProcServer32", {{"", library}}},
    };
}

class Registration : public testing::Test {
protected:
    std::string library;
    std::string shortLibrary;

    void SetUp() override {
        // A folder name with spaces, so that the short form differs from the full path.
        library = placeCatcher(scratchDirectory("Registered Catcher Folder"));
        char shortPath[MAX_PATH] = {};
        ASSERT_NE(0u, GetShortPathNameA(library.c_str(), shortPath, MAX_PATH));
        shortLibrary = shortPath;
        ASSERT_NE(library, shortLibrary);
        clearRegistration();
        ASSERT_TRUE(registration().empty());
    }
};

TEST_F(Registration, WritesEveryEntryOnceAndAgainTheSame) {
    ASSERT_EQ(0, registerServer(library));
    EXPECT_EQ(expectedRegistration(shortLibrary), registration());
    ASSERT_EQ(0, registerServer(library));
    EXPECT_EQ(expectedRegistration(shortLibrary), registration());
}

TEST_F(Registration, KeepsAValueOnlyWhereTheFirstTwoKeysHaveOne) {
    const struct {
        std::string key;
        std::string value;
        bool kept;
    } cases[] = {
        {kProgramKey, "Another.Program", true},
        {classKey(), "Another Object", true},
        {kProgramKey, "", false},
        {classKey(), "", false},
        {std::string(kProgramKey) + "\\CLSID", "{00000000-0000-0000-0000-000000000001}", false},
        {classKey() + "\\ProgID", "Another.Program", false},
        {classKey() + "\\InProcServer32", "C:\\Old\\grabwell.dll", false},
    };
    for (const auto& test : cases) {
        clearRegistration();
        setDefaultValue(test.key, test.value);
        ASSERT_EQ(0, registerServer(library));
        RegistrySnapshot expected = expectedRegistration(shortLibrary);
        if (test.kept) expected[test.key][""] = test.value;
        EXPECT_EQ(expected, registration()) << test.key << " = \"" << test.value << "\"";
    }
}

} // namespace
} // namespace grabwell_test
