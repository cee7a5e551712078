// The formats of the quarvessin program's section files, and writing a file
// with the console program's failure message. The bytes of every format are
// the engine's (<quarvessin/format.h>).
#pragma once

#include <quarvessin/section.h>

#include <string>

namespace quarvessin::cli {

enum class Format { Dat, Csv, Json };

// The extension of a section's export file in this format: "csv" or "json".
const char* extension(Format format);

// Writes `bytes` to `path`, replacing a file of that name. On failure returns
// false and sets `error` to the console program's line (without newline)
// "cannot write file PATH: REASON".
bool writeFile(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace quarvessin::cli
