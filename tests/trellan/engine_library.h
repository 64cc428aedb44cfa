// Loads the engine library as a host does and creates engines through its exported
// class factory.
#pragma once

#include <string>

#include "exports.h"
#include "platform/platform.h"

namespace testing_support {

class EngineLibrary {
public:
    explicit EngineLibrary(const std::string& path);
    ~EngineLibrary();
    bool loaded() const { return module_ != nullptr; }

    // A new engine through DllGetClassObject and CreateInstance, with one reference.
    IParseEngine* createEngine();
    HRESULT getClassObject(REFCLSID classId, REFIID iid, void** object);
    HRESULT canUnloadNow();
    void* exportNamed(const char* name) { return platform::findExport(module_, name); }

private:
    platform::Module module_;
};

// The engine library of this build, beside the test program.
std::string engineLibraryBesideProgram();

} // namespace testing_support
