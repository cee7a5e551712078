// Helpers of the command-line tests: a scratch directory, the files in it,
// and runCli with captured streams.
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace clitest {

// A fresh temporary directory, removed with its files (one level of
// subdirectories) on destruction.
class Scratch {
  public:
    Scratch() {
        char pattern[] = "/tmp/quarvessin_cli_XXXXXX";
        const char* made = mkdtemp(pattern);
        path_ = made != nullptr ? made : "";
    }
    ~Scratch() { removeTree(path_); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    static void removeTree(const std::string& dir) {
        if (DIR* d = opendir(dir.c_str())) {
            while (dirent* e = readdir(d)) {
                const std::string name = e->d_name;
                if (name == "." || name == "..") continue;
                const std::string path = dir + "/" + name;
                struct stat st {};
                if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
                    removeTree(path);
                } else {
                    unlink(path.c_str());
                }
            }
            closedir(d);
        }
        rmdir(dir.c_str());
    }

  private:
    std::string path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The regular files of `dir` by name, with their contents; empty when `dir`
// does not exist.
inline std::map<std::string, std::string> filesIn(const std::string& dir) {
    std::map<std::string, std::string> files;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            files[name] = readFile(dir + "/" + name);
        }
        closedir(d);
    }
    return files;
}

inline bool exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRun r;
    r.status = quarvessin::cli::runCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

inline std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace clitest
