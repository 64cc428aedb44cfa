// The two forms in which vizmora prints one item.
#pragma once

#include <string>

#include "parse_item.h"

namespace vizmora {

// {"depth":0,"start":0,"end":107,"name":"Whole File","deferred":0,"tagCode":0} and a
// newline. Numbers are unsigned 32-bit decimals; the name is JSON-escaped, and bytes
// outside printable ASCII become \u00XX so that every line is valid JSON.
std::string jsonLine(const ParseItemDesc& item, int depth);

// Two spaces per level, [start..end] in hex, the label, and a mark on deferred items.
std::string textLine(const ParseItemDesc& item, int depth);

} // namespace vizmora
