#include "RunProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace {

void writeWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    if (!file) {
        throw std::runtime_error("harness: cannot write " + path);
    }
}

// In the child: only async-signal-safe calls between fork and exec.
[[noreturn]] void execChild(const char* workDir, const char* inPath, const char* outPath,
                            const char* errPath, const char* program, char* const argv[],
                            char* const envp[]) {
    setpgid(0, 0);
    const int in = open(inPath, O_RDONLY);
    const int out = open(outPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
        chdir(workDir) != 0) {
        _exit(126);
    }
    close(in);
    close(out);
    close(err);
    execve(program, argv, envp);
    _exit(127);
}

}  // namespace

ScratchDir::ScratchDir() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/quarvessin_e2e_XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("harness: cannot create a temporary directory: " +
                                 std::string(std::strerror(errno)));
    }
    path_ = buffer.data();
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::vector<std::string> ScratchDir::list() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string RunResult::readFile(const std::string& name) const {
    return ::readFile(dir->file(name));
}

std::string plotdataPath() { return QUARVESSIN_PLOTDATA_PATH; }

RunResult runProgram(const std::string& input) {
    RunOptions options;
    options.input = input;
    return runProgram(options);
}

RunResult runProgram(const RunOptions& options) {
    RunResult result;
    result.dir = std::make_unique<ScratchDir>();
    const ScratchDir io;  // captured streams, outside the working directory
    const std::string inPath = io.file("stdin");
    const std::string outPath = options.stdoutPath.empty() ? io.file("stdout") : options.stdoutPath;
    const std::string errPath = io.file("stderr");
    writeWholeFile(inPath, options.input);
    if (options.prepare) {
        options.prepare(*result.dir);
    }
    const std::vector<std::string> before = result.dir->list();

    const std::string program = options.program.empty() ? plotdataPath() : options.program;
    std::vector<std::string> args{program};
    args.insert(args.end(), options.args.begin(), options.args.end());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(&arg[0]);
    }
    argv.push_back(nullptr);

    // The inherited environment, less the names that options.environment sets.
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string inherited(*entry);
        const std::string prefix = inherited.substr(0, inherited.find('=')) + "=";
        const bool replaced = std::any_of(options.environment.begin(), options.environment.end(),
                                          [&prefix](const std::string& set) {
                                              return set.compare(0, prefix.size(), prefix) == 0;
                                          });
        if (!replaced) {
            env.push_back(inherited);
        }
    }
    env.insert(env.end(), options.environment.begin(), options.environment.end());
    std::vector<char*> envp;
    for (std::string& entry : env) {
        envp.push_back(&entry[0]);
    }
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("harness: fork failed: " + std::string(std::strerror(errno)));
    }
    if (pid == 0) {
        execChild(result.dir->path().c_str(), inPath.c_str(), outPath.c_str(), errPath.c_str(),
                  program.c_str(), argv.data(), envp.data());
    }
    setpgid(pid, pid);  // also from here, so the group exists before any kill

    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(options.timeoutSeconds);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            break;
        }
        if (done < 0 && errno != EINTR) {
            throw std::runtime_error("harness: waitpid failed: " +
                                     std::string(std::strerror(errno)));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            result.timedOut = true;
            kill(-pid, SIGKILL);
            kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }

    if (options.stdoutPath.empty()) {
        result.out = readFile(outPath);
    }
    result.err = readFile(errPath);
    result.files = result.dir->list();
    for (const std::string& name : result.files) {
        if (!std::binary_search(before.begin(), before.end(), name)) {
            result.created.push_back(name);
        }
    }
    return result;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
