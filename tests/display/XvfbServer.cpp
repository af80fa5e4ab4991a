#include "XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>

extern char** environ;

namespace vardel::test {

std::optional<std::filesystem::path> findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

XvfbServer::XvfbServer(const std::filesystem::path& xvfb, int width, int height) {
    // Xvfb picks a free display number itself and writes it to descriptor 3 once it is ready.
    int fds[2];
    if (::pipe(fds) != 0) {
        failure = "pipe failed";
        return;
    }
    std::string program = xvfb.string();
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // -noreset: by default the server resets when its last client leaves, and a window opened
    // during the reset finds no server.
    std::string words[] = {"-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"};
    std::vector<char*> argv = {program.data()};
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]); // may be descriptor 3 itself
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&pid, xvfb.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        pid = -1;
        failure = "could not start " + xvfb.string();
        ::close(fds[0]);
        return;
    }
    std::string number;
    pollfd ready{fds[0], POLLIN, 0};
    char c = 0;
    while (::poll(&ready, 1, 20000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    ::close(fds[0]);
    if (number.empty()) {
        failure = xvfb.string() + " did not report a display number within 20 seconds";
        return;
    }
    name = ":" + number;
}

XvfbServer::~XvfbServer() {
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
}

} // namespace vardel::test
