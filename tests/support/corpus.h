// The SWF files written by others in the shared corpus, and the tags inside them, for
// tests that check properties every well-formed file has.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "swf_builder.h"

namespace testing_support {

struct CorpusFile {
    std::string path;
    Bytes bytes;
};

// Every file of the corpus, in a stable order; the whole files are loaded once.
const std::vector<CorpusFile>& corpusFiles();

// Every uncompressed file (signature other than CWS and ZWS): the inflated twins of
// the compressed ones are among them.
std::vector<const CorpusFile*> uncompressedCorpusFiles();

// One tag found in a corpus file, at the top level or inside a DefineSprite.
struct CorpusTag {
    const CorpusFile* file;
    uint32_t code;
    uint32_t offset;    // of its header
    uint32_t dataStart; // of its data
    uint32_t length;    // declared data length
    int spriteDepth;    // 0 at the top level
};

// The tags with one of the codes in every uncompressed corpus file, walking into
// sprites. Tags whose data runs past the end of the file or of their sprite are left
// out: they are not well formed.
std::vector<CorpusTag> corpusTags(const std::set<uint32_t>& codes);

} // namespace testing_support
