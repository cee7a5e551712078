#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

// End-to-end test harness: runs a program (by default quarvessin_plotdata) in
// a fresh temporary directory with given bytes on standard input, under a
// timeout, and captures standard output, standard error, the exit status and
// the files left in the directory.

// A fresh temporary directory, removed with everything in it on destruction.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    // Path of the entry `name` inside the directory.
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Names of the entries in the directory (files, directories, links), sorted.
    std::vector<std::string> list() const;

  private:
    std::string path_;
};

struct RunOptions {
    std::string input;              // bytes given on standard input (then end of input)
    std::string program;            // program to run; empty: quarvessin_plotdata
    std::vector<std::string> args;  // arguments after the program name
    // Runs before the program starts, e.g. to place a directory or a symlink
    // under the name of a file the program will write.
    std::function<void(const ScratchDir&)> prepare;
    // If not empty, standard output goes to this path (e.g. /dev/full)
    // instead of being captured.
    std::string stdoutPath;
    // Extra environment entries NAME=VALUE for the program; each replaces an
    // inherited variable of the same name.
    std::vector<std::string> environment;
    double timeoutSeconds = 20.0;  // the program is killed after this [s]
};

struct RunResult {
    std::unique_ptr<ScratchDir> dir;   // the working directory, alive for inspection
    std::string out;                   // captured standard output
    std::string err;                   // captured standard error
    bool exited = false;               // ended by exit (not by a signal)
    int exitStatus = -1;               // exit status if exited
    int signal = 0;                    // terminating signal if not exited
    bool timedOut = false;             // killed after the timeout
    std::vector<std::string> files;    // entries of the directory after the run, sorted
    std::vector<std::string> created;  // the entries among them not there before the start

    // Contents of the file `name` in the working directory.
    std::string readFile(const std::string& name) const;
};

// Path of the quarvessin_plotdata executable under test.
std::string plotdataPath();

// Runs quarvessin_plotdata with `input` on standard input.
RunResult runProgram(const std::string& input);
RunResult runProgram(const RunOptions& options);

// Contents of the file at `path` (empty if it cannot be read).
std::string readFile(const std::string& path);
