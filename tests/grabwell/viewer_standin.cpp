// A stand-in for the viewer program, copied as vizmora.exe beside the catcher under
// test. Each start leaves a record in its own directory, named after its process id:
// its module path on the first line, its command line on the second. The record is
// written under a temporary name and then renamed, so readers never see half of it.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string directory(module);
    directory.resize(directory.find_last_of('\\') + 1);

    std::string name = directory + "viewer-start-" + std::to_string(GetCurrentProcessId());
    std::string partial = name + ".partial";
    FILE* record = std::fopen(partial.c_str(), "wb");
    if (!record) return 1;
    std::fprintf(record, "%s\n%s\n", module, GetCommandLineA());
    std::fclose(record);
    return MoveFileA(partial.c_str(), (name + ".txt").c_str()) ? 0 : 1;
}
