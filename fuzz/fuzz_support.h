// What the harnesses share: a scratch folder of their own, files written
// from the fuzzer's bytes, and the checks they make on results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::fuzz {

// A folder made on first use for this process alone, in /dev/shm when it
// can be written (no disk traffic per run), else in /tmp; removed with all
// it holds when the process exits normally. Its name starts with
// "tarnwick-fuzz.<pid>." so that a runner can clear it after a crash.
// Ends with "/".
const std::string& ScratchFolder();

// Writes the bytes to path, replacing what was there. False when the file
// cannot be written whole.
bool WriteBytes(const std::string& path, const uint8_t* data, size_t size);

// The bytes split at NUL bytes; a trailing NUL gives a last empty part.
// At most maxParts parts: the last one keeps any further NUL bytes.
std::vector<std::string> SplitAtNul(std::string_view bytes, size_t maxParts = SIZE_MAX);

// True when text is well-formed UTF-8: no stray continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view text);

// Reports a broken expectation and aborts, which libFuzzer records as a
// crash together with the input that caused it.
[[noreturn]] void Fail(const char* what, std::string_view detail = {});

}  // namespace tarnwick::fuzz
