// The formats of the quarvessin program's section files, and writing files so
// that none is ever left half-written under its final name. The bytes of
// every format are the engine's (<quarvessin/format.h>).
#pragma once

#include <string>
#include <vector>

namespace quarvessin::cli {

enum class Format { Dat, Csv, Json };

// The extension of a section's export file in this format: "csv" or "json".
const char* extension(Format format);

// Files written under temporary names in their own directories and renamed
// into place together once all are complete. Files still staged when the
// object goes (not committed, or after a failure) are removed: a file of the
// final name that was there before stays as it was.
class StagedFiles {
  public:
    StagedFiles() = default;
    StagedFiles(StagedFiles&& other) noexcept;
    StagedFiles& operator=(StagedFiles&& other) noexcept;
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles();

    // Writes `bytes` to a new temporary file beside `path`. On failure returns
    // false and sets `error` to the console program's line (without newline)
    // "cannot write file PATH: REASON"; nothing of it is left.
    bool stage(const std::string& path, const std::string& bytes, std::string& error);
    // Renames every staged file to its final name, replacing a file of that
    // name, in the order staged. On failure the files not yet renamed are
    // removed and `error` says why.
    bool commit(std::string& error);
    // The final paths, in the order staged.
    std::vector<std::string> paths() const;

  private:
    void discard() noexcept;
    struct File {
        std::string temporary;
        std::string path;
    };
    std::vector<File> files_;
};

}  // namespace quarvessin::cli
