#pragma once

#include <sys/types.h>

#include <csignal>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vardel {

// The executable file `name` in the first folder of a PATH-style list that holds one; an empty
// path when none does (or the list is null or empty).
std::filesystem::path findOnPath(std::string_view name, const char* searchPath);

// A flag a signal handler sets to ask for a stop (see InterruptSignals); null: never.
using StopFlag = const volatile std::sig_atomic_t*;

// Another program run by this one, optionally fed through a pipe on its standard input.
// Standard output and error are this program's own, so its messages reach the user.
// Once the stop flag is set, writing fails and waiting kills the child (SIGKILL) rather than
// waiting on: a signal that interrupts either is then seen.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void stopOn(StopFlag flag) { stopFlag = flag; }
    // Starts `program` with `args` (not counting the program's name). False with the reason
    // when it cannot start.
    bool start(const std::filesystem::path& program, const std::vector<std::string>& args,
               bool feedInput, std::string* reason);
    // Writes all the bytes to the child's input; false when the child has stopped reading.
    bool write(const void* bytes, std::size_t size);
    // Closes the input, waits for the child and returns true when it exited with status 0;
    // otherwise the reason says how it ended.
    bool finish(std::string* reason);
    // Closes the input and kills and waits for a child still running.
    void stop();

private:
    bool stopping() const { return stopFlag != nullptr && *stopFlag != 0; }
    // Waits for the child to end, killing it once a stop is asked for; false when waitpid fails.
    bool reap(int* status);

    StopFlag stopFlag = nullptr;
    pid_t child = -1;
    int input = -1;
    std::string name;
};

// Runs a program to its end, or until the stop flag is set; true when it exits with status 0.
bool runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                std::string* reason, StopFlag stopFlag = nullptr);

} // namespace vardel
