// vizmora: loads the parse engine beside itself, hands it a file and prints the tree.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "exports.h"
#include "item_lines.h"
#include "platform/platform.h"

namespace {

const char kUsage[] =
    "usage: vizmora [FILE] [--json] [--expand] [--type TYPE] [--at OFFSET]\n"
    "  FILE        the file to show (default: the sample movie beside vizmora)\n"
    "  --json      one JSON object per item, in pre-order\n"
    "  --expand    open every deferred item while walking the tree\n"
    "  --type T    the file type handed to the engine (default: swf)\n"
    "  --at N      also print the innermost item that covers byte offset N\n";

#ifdef _WIN32
const char kEngineLibrary[] = "trellan.dll";
#else
const char kEngineLibrary[] = "libtrellan.so";
#endif

struct Options {
    std::string file;
    std::string fileType = "swf";
    bool json = false;
    bool expand = false;
    bool hasOffset = false;
    uint32_t offset = 0;
};

int usageError(const char* message, const char* detail = "") {
    std::fprintf(stderr, "vizmora: %s%s\n%s", message, detail, kUsage);
    return 2;
}

bool parseOffset(const char* text, uint32_t* offset) {
    char* end = nullptr;
    unsigned long long value = std::strtoull(text, &end, 0);
    if (!*text || *end || value > UINT32_MAX) return false;
    *offset = static_cast<uint32_t>(value);
    return true;
}

// Returns -1 when the options are good, else the exit code.
int parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--json") {
            options->json = true;
        } else if (arg == "--expand") {
            options->expand = true;
        } else if (arg == "--type" || arg == "--at") {
            if (i + 1 >= argc) return usageError("missing value after ", arg.c_str());
            const char* value = argv[++i];
            if (arg == "--type") {
                options->fileType = value;
            } else if (!parseOffset(value, &options->offset)) {
                return usageError("not an offset: ", value);
            } else {
                options->hasOffset = true;
            }
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return usageError("unknown option ", arg.c_str());
        } else if (!options->file.empty()) {
            return usageError("more than one file: ", arg.c_str());
        } else {
            options->file = arg;
        }
    }
    if (options->file.empty())
        options->file = platform::directoryOf(platform::programPath()) + "sample.swf";
    return -1;
}

bool readFile(const std::string& path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void printItem(ItemHandle item, int depth, bool json) {
    std::string line = json ? vizmora::jsonLine(*item, depth) : vizmora::textLine(*item, depth);
    std::fwrite(line.data(), 1, line.size(), stdout);
}

// Pre-order walk with an explicit stack: a plug-in may build trees of any depth.
void printTree(IParseEngine* engine, bool json, bool expand) {
    struct Visit {
        ItemHandle item;
        int depth;
    };
    std::vector<Visit> pending;
    ItemHandle root = nullptr;
    engine->GetRootItem(&root);
    if (root) pending.push_back({root, 0});
    while (!pending.empty()) {
        Visit visit = pending.back();
        pending.pop_back();
        if (expand && visit.item->deferred == 1) engine->ParseDeferred(visit.item);
        printItem(visit.item, visit.depth, json);
        int32_t count = 0;
        engine->GetChildCount(visit.item, &count);
        for (int32_t i = count; i-- > 0;) {
            ItemHandle child = nullptr;
            engine->GetChild(visit.item, i, &child);
            if (child) pending.push_back({child, visit.depth + 1});
        }
    }
}

IParseEngine* createEngine(platform::Module library) {
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(platform::findExport(library, "DllGetClassObject"));
    if (!getClassObject) return nullptr;
    IClassFactory* factory = nullptr;
    static const CLSID anyClass = {};
    if (getClassObject(anyClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK || !factory)
        return nullptr;
    IParseEngine* engine = nullptr;
    HRESULT created = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&engine));
    factory->Release();
    return created == S_OK ? engine : nullptr;
}

int show(const Options& options, const std::vector<uint8_t>& bytes, IParseEngine* engine) {
    engine->SetData(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (engine->SetFileType(options.fileType.c_str()) != S_OK) {
        std::fprintf(stderr, "vizmora: file type too long: %s\n", options.fileType.c_str());
        return 2;
    }
    engine->SetFilePath(options.file.c_str()); // a path too long for the engine is not needed
    if (engine->Parse() != S_OK) {
        std::fprintf(stderr, "vizmora: no plug-in takes files of type \"%s\"\n", options.fileType.c_str());
        return 1;
    }
    printTree(engine, options.json, options.expand);
    if (options.hasOffset) {
        ItemHandle leaf = nullptr;
        engine->FindItemAt(options.offset, &leaf);
        if (leaf)
            printItem(leaf, 0, options.json);
        else
            std::fprintf(stderr, "vizmora: no item covers offset %lu\n", static_cast<unsigned long>(options.offset));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

    Options options;
    int status = parseOptions(argc, argv, &options);
    if (status >= 0) return status;

    // The engine makes its plug-in directory the current one, so the file is read first.
    std::vector<uint8_t> bytes;
    if (!readFile(options.file, &bytes)) {
        std::fprintf(stderr, "vizmora: cannot read %s\n", options.file.c_str());
        return 2;
    }
    if (bytes.size() > UINT32_MAX) {
        std::fprintf(stderr, "vizmora: %s is larger than 4 GiB\n", options.file.c_str());
        return 2;
    }

    std::string enginePath = platform::directoryOf(platform::programPath()) + kEngineLibrary;
    platform::Module library = platform::loadLibrary(enginePath);
    if (!library) {
        std::fprintf(stderr, "vizmora: cannot load the engine %s\n", enginePath.c_str());
        return 3;
    }
    IParseEngine* engine = createEngine(library);
    if (!engine) {
        std::fprintf(stderr, "vizmora: the engine %s would not create an engine\n", enginePath.c_str());
        return 3;
    }
    status = show(options, bytes, engine);
    engine->Release();
    std::fflush(stdout);
    return status;
}
