// Runs the plug-in's decoders on bytes written by a test, through a recording engine.
#pragma once

#include <cstdint>
#include <vector>

#include "recording_engine.h"
#include "swf_builder.h"

namespace testing_support {

// Places `body` at offset `at` of a buffer (zeros before it), adds a deferred
// "TagData" item over it with the tag code, and opens it as ParseTagDatas would.
// Returns the items below the data item; their ranges are absolute offsets.
std::vector<Item> decodeTag(uint32_t tagCode, const Bytes& body, uint32_t at = 0);

// The same on an engine the caller keeps, for tests that look at more than the items.
ItemHandle openTag(RecordingEngine& engine, uint32_t tagCode, uint32_t start, uint32_t count);

// Items whose label is `name`, in pre-order.
std::vector<Item> itemsNamed(const std::vector<Item>& items, const std::string& name);

} // namespace testing_support

namespace testing_support {

// Walks the file as ParseFile does, then opens every deferred item as a host that
// expands everything would. Returns the number of items.
size_t parseAndOpenEverything(RecordingEngine& engine);

} // namespace testing_support
