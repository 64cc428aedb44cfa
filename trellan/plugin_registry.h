// The process-wide list of parser plug-ins, shared by every engine of the process:
// loaded by the first engine, released by the last, and matched by file type.
#pragma once

#include <string>

#include "parse_engine.h"

namespace trellan {

// Raises the load count; the first raise scans the plug-in directory beside the host
// program and makes it the current directory. Returns 1 when plug-ins were already
// held, 0 after a scan.
HRESULT loadPlugins();

// Lowers the load count; the last lower releases every plug-in. Returns 0.
HRESULT unloadPlugins();

// Hands the engine to the ParseFile of the first plug-in matching the file type.
// False when no plug-in matched.
bool dispatchParse(IParseEngine* engine, const char* fileType);

// Hands the item to the ParseTagDatas of the first plug-in matching the file type.
void dispatchDeferred(ItemHandle item, const char* fileType);

// True when a plug-in's file type string S declares the engine's file type T: T is a
// case-insensitive prefix of one of the ";"-separated entries of S; an empty S stands
// for "*.*".
bool fileTypeMatches(const char* declared, const char* fileType);

// How many plug-ins are loaded now.
size_t loadedPluginCount();

} // namespace trellan
