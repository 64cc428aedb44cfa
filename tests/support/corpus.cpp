#include "corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifndef QUILLON_CORPUS
#error "QUILLON_CORPUS must name the corpus directory"
#endif

namespace testing_support {
namespace {

uint32_t readU16(const Bytes& b, uint64_t at) { return at + 1 < b.size() ? b[at] | b[at + 1] << 8 : 0; }
uint32_t readU32(const Bytes& b, uint64_t at) { return readU16(b, at) | readU16(b, at + 2) << 16; }

uint32_t headerSizeOf(const Bytes& b) { return b.size() > 8 ? ((4 * (b[8] >> 3) + 12) >> 3) + 12 : 13; }

void collectTags(const CorpusFile& file, uint64_t offset, uint64_t end, int depth, const std::set<uint32_t>& codes,
                 std::vector<CorpusTag>& found) {
    const Bytes& b = file.bytes;
    while (offset + 2 <= end) {
        uint32_t word = readU16(b, offset);
        uint32_t code = word >> 6, length = word & 0x3F;
        uint64_t data = offset + 2;
        if (length == 0x3F) {
            if (offset + 6 > end) return;
            length = readU32(b, offset + 2);
            data = offset + 6;
        }
        if (data + length > end) return;
        if (codes.count(code))
            found.push_back({&file, code, static_cast<uint32_t>(offset), static_cast<uint32_t>(data), length, depth});
        if (code == 39 && length >= 4) collectTags(file, data + 4, data + length, depth + 1, codes, found);
        offset = data + length;
    }
}

} // namespace

const std::vector<CorpusFile>& corpusFiles() {
    static const std::vector<CorpusFile> files = [] {
        std::vector<CorpusFile> loaded;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(QUILLON_CORPUS)) {
            if (!entry.is_regular_file() || entry.path().extension() != ".swf") continue;
            std::ifstream in(entry.path(), std::ios::binary);
            loaded.push_back({entry.path().generic_string(),
                              Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
        }
        std::sort(loaded.begin(), loaded.end(),
                  [](const CorpusFile& a, const CorpusFile& b) { return a.path < b.path; });
        return loaded;
    }();
    return files;
}

std::vector<const CorpusFile*> uncompressedCorpusFiles() {
    std::vector<const CorpusFile*> files;
    for (const CorpusFile& file : corpusFiles()) {
        const Bytes& b = file.bytes;
        bool compressed = b.size() >= 3 && (b[0] == 'C' || b[0] == 'Z') && b[1] == 'W' && b[2] == 'S';
        if (!compressed && b.size() >= 3 && b[0] == 'F') files.push_back(&file);
    }
    return files;
}

std::vector<CorpusTag> corpusTags(const std::set<uint32_t>& codes) {
    std::vector<CorpusTag> found;
    for (const CorpusFile* file : uncompressedCorpusFiles())
        collectTags(*file, headerSizeOf(file->bytes), file->bytes.size(), 0, codes, found);
    return found;
}

} // namespace testing_support
