#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

// Shared steps of the fuzzing harnesses. A failed check aborts the process, which is what makes
// the fuzzer keep the input that led to it.
namespace Fuzz {

// Starts the offscreen application once per process, with logging silenced.
void start();
// A folder of this process's own, removed at exit.
QString scratch();
void writeFile(const QString &path, const uint8_t *data, size_t size);
// Delivers events until `done` holds; false when `ms` milliseconds pass first.
bool waitFor(const std::function<bool()> &done, int ms);
[[noreturn]] void fail(const char *check, const char *file, int line);

} // namespace Fuzz

#define FUZZ_CHECK(condition) ((condition) ? void() : Fuzz::fail(#condition, __FILE__, __LINE__))

// The entry point every harness defines; libFuzzer or the replay driver calls it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
