#pragma once

#include "platform.h"

namespace platform {

bool hasLibrarySuffix(const std::string& name);
void sortByName(std::vector<DirectoryEntry>& entries);

} // namespace platform
