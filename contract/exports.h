// Decoration-free exports of the libraries, and the function types a host binds them to.
#pragma once

#include "parse_engine.h"

#ifdef _WIN32
#define QUILLON_EXPORT extern "C" __declspec(dllexport)
#define EXPORT_CALL __stdcall
#else
#define QUILLON_EXPORT extern "C" __attribute__((visibility("default")))
#define EXPORT_CALL
#endif

using DllGetClassObjectFn = HRESULT(EXPORT_CALL*)(REFCLSID classId, REFIID iid, void** object);
using DllCanUnloadNowFn = HRESULT(EXPORT_CALL*)();
using DllRegisterServerFn = HRESULT(EXPORT_CALL*)();
