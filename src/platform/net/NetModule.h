#pragma once

// The download thread and libcurl behind it, built as a module of its own: the
// program opens it at its first download, so that libcurl and the twenty-odd TLS,
// name-lookup and authentication libraries it brings are not loaded at every start.
// Plain C++ on both sides: the module has no Qt of its own.

#include <cstdint>

extern "C" {

// Called on the download thread with each transfer's outcome: the body of a 2xx
// answer within the cap, else ok false and no body.
using NetAnswered = void (*)(void* context, std::uint64_t id, const char* body, std::int64_t size, bool ok);

// Makes the library ready and starts the download thread; called once, from the
// interface thread. Null when the library cannot be set up.
using NetStart = void* (*)(NetAnswered answered, void* context, std::int64_t bodyCap);
// Queues a transfer of an address (already encoded) with its limits in milliseconds.
using NetAdd = void (*)(void* net, std::uint64_t id, const char* address, long connectMs, long totalMs);
// Drops a transfer; its answer, if one is on its way, is not delivered.
using NetCancel = void (*)(void* net, std::uint64_t id);
// Stops the thread and releases the library.
using NetStop = void (*)(void* net);

}  // extern "C"
