// Speed of the engine and the SWF plug-in on a large movie, and the memory that
// repeated parses on one engine hold.
//
// The movie is made of the well-formed top-level tags of every uncompressed file of
// the shared corpus, repeated until it passes 64 MiB.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <set>
#include <vector>

#include "corpus.h"
#include "engine.h"
#include "engine_walk.h"

using namespace testing_support;

namespace {

const Bytes& largeMovie() {
    static const Bytes bytes = [] {
        std::set<uint32_t> every;
        for (uint32_t code = 1; code < 1024; ++code) every.insert(code); // End would close sprites early
        std::vector<Bytes> tags;
        for (const CorpusTag& tag : corpusTags(every)) {
            if (tag.spriteDepth) continue;
            const Bytes& file = tag.file->bytes;
            tags.emplace_back(file.begin() + tag.offset, file.begin() + tag.dataStart + tag.length);
        }
        Bytes once = join(tags);
        std::vector<Bytes> copies;
        size_t size = 0;
        while (size < (64u << 20)) {
            copies.push_back(once);
            size += once.size();
        }
        return movie(copies);
    }();
    return bytes;
}

struct EngineHolder {
    trellan::Engine* engine = new trellan::Engine();
    EngineHolder(const Bytes& bytes) {
        engine->AddRef();
        engine->SetData(bytes.data(), static_cast<uint32_t>(bytes.size()));
        engine->SetFileType("swf");
    }
    ~EngineHolder() { engine->Release(); }
};

void BM_ParseLargeMovie(benchmark::State& state) {
    EngineHolder holder(largeMovie());
    for (auto _ : state) benchmark::DoNotOptimize(holder.engine->Parse());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * largeMovie().size()));
}
BENCHMARK(BM_ParseLargeMovie)->Unit(benchmark::kMillisecond);

void BM_ParseAndOpenEveryTag(benchmark::State& state) {
    EngineHolder holder(largeMovie());
    size_t items = 0;
    for (auto _ : state) {
        holder.engine->Parse();
        items = walkTree(holder.engine, true).size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * largeMovie().size()));
    state.counters["items"] = static_cast<double>(items);
    state.counters["items_per_second"] =
        benchmark::Counter(static_cast<double>(items * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ParseAndOpenEveryTag)->Unit(benchmark::kMillisecond);

void BM_FindItemAt(benchmark::State& state) {
    EngineHolder holder(largeMovie());
    holder.engine->Parse();
    uint32_t offset = 0;
    for (auto _ : state) {
        ItemHandle item = nullptr;
        holder.engine->FindItemAt(offset, &item);
        benchmark::DoNotOptimize(item);
        offset = (offset + 7919) % static_cast<uint32_t>(largeMovie().size());
    }
}
BENCHMARK(BM_FindItemAt)->Unit(benchmark::kMillisecond);

// Parses the same movie again and again on one engine: the blocks held stay at those
// of two trees, however many parses there are.
void BM_RepeatedParsesHoldTwoTrees(benchmark::State& state) {
    std::vector<const CorpusFile*> files = uncompressedCorpusFiles();
    const Bytes& bytes = (*std::max_element(files.begin(), files.end(), [](const CorpusFile* a, const CorpusFile* b) {
                             return a->bytes.size() < b->bytes.size();
                         }))->bytes;
    EngineHolder holder(bytes);
    holder.engine->Parse();
    walkTree(holder.engine, true);
    size_t oneTree = holder.engine->blockCount();
    size_t most = 0;
    for (auto _ : state) {
        holder.engine->Parse();
        walkTree(holder.engine, true);
        most = std::max(most, holder.engine->blockCount());
    }
    state.counters["blocks_one_tree"] = static_cast<double>(oneTree);
    state.counters["blocks_held_at_most"] = static_cast<double>(most);
}
BENCHMARK(BM_RepeatedParsesHoldTwoTrees)->Iterations(10000);

} // namespace

BENCHMARK_MAIN();
