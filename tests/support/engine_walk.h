// Walks an engine's tree through its interface, as a host does.
#pragma once

#include <vector>

#include "parse_engine.h"

namespace testing_support {

// Every item of the tree in pre-order. With `openDeferred`, each deferred item is
// opened with ParseDeferred on reaching it, before its children are visited.
std::vector<ItemHandle> walkTree(IParseEngine* engine, bool openDeferred = false);

} // namespace testing_support
