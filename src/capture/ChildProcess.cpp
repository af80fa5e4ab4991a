#include "capture/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vardel {

namespace {

std::string systemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

// Writing into a pipe whose reader has gone raises SIGPIPE, which would end this program
// without a word; ignored once, the write fails with EPIPE instead and the caller reports it.
void ignoreBrokenPipes() {
    static const bool ignored = std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
    (void)ignored;
}

} // namespace

std::filesystem::path findOnPath(std::string_view name, const char* searchPath) {
    if (searchPath == nullptr) {
        return {};
    }
    std::string_view folders = searchPath;
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (folder.empty()) {
            continue; // an empty entry would mean the current folder: not searched on purpose
        }
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

bool ChildProcess::start(const std::filesystem::path& program, const std::vector<std::string>& args,
                         bool feedInput, std::string* reason) {
    ignoreBrokenPipes();
    name = program.filename().string();
    int pipeEnds[2] = {-1, -1};
    if (feedInput && ::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        *reason = systemError("cannot make a pipe to " + name, errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (feedInput) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    std::vector<char*> argv;
    std::string programText = program.string();
    argv.push_back(programText.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int failed = ::posix_spawn(&child, programText.c_str(), &actions, nullptr, argv.data(),
                                     environ);
    posix_spawn_file_actions_destroy(&actions);
    if (feedInput) {
        ::close(pipeEnds[0]);
        input = pipeEnds[1];
    }
    if (failed != 0) {
        child = -1;
        *reason = systemError("cannot run " + programText, failed);
        return false;
    }
    return true;
}

bool ChildProcess::write(const void* bytes, std::size_t size) {
    const auto* next = static_cast<const char*>(bytes);
    while (size > 0 && input >= 0) {
        if (stopping()) {
            return false;
        }
        const ssize_t written = ::write(input, next, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue; // a signal: a stop, if it asked for one, is seen above
            }
            return false;
        }
        next += written;
        size -= static_cast<std::size_t>(written);
    }
    return size == 0;
}

bool ChildProcess::finish(std::string* reason) {
    if (input >= 0) {
        ::close(input);
        input = -1;
    }
    if (child <= 0) {
        *reason = name + " was not running";
        return false;
    }
    int status = 0;
    if (!reap(&status)) {
        *reason = systemError("cannot wait for " + name, errno);
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return true;
    }
    *reason = WIFEXITED(status) ? name + " failed with exit status " +
                                      std::to_string(WEXITSTATUS(status))
                                : name + " was ended by signal " + std::to_string(WTERMSIG(status));
    return false;
}

void ChildProcess::stop() {
    if (input >= 0) {
        ::close(input);
        input = -1;
    }
    if (child > 0) {
        ::kill(child, SIGKILL);
        int status = 0;
        reap(&status);
    }
}

bool ChildProcess::reap(int* status) {
    pid_t waited = -1;
    do {
        if (stopping()) {
            ::kill(child, SIGKILL); // its output is of no use now; a zombie takes it harmlessly
        }
        waited = ::waitpid(child, status, 0);
    } while (waited < 0 && errno == EINTR);
    child = -1;
    return waited >= 0;
}

bool runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                std::string* reason, StopFlag stopFlag) {
    ChildProcess process;
    process.stopOn(stopFlag);
    return process.start(program, args, false, reason) && process.finish(reason);
}

} // namespace vardel
