#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vardel::test {

// The full path of a program found on PATH, if any.
std::optional<std::filesystem::path> findProgram(const std::string& name);

// A virtual X server of its own on the first free display number, stopped with the object.
class XvfbServer {
public:
    // Starts `xvfb` with one screen of width x height at 24 bits and waits until it accepts
    // connections. On failure display() is empty and error() says why.
    XvfbServer(const std::filesystem::path& xvfb, int width, int height);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& display() const { return name; } // ":N"
    const std::string& error() const { return failure; }

private:
    pid_t pid = -1;
    std::string name;
    std::string failure;
};

} // namespace vardel::test
