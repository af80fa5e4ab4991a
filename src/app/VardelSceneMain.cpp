#include <iostream>
#include <string>
#include <vector>

#include "app/SceneTool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vardel::runSceneTool(args, std::cout, std::cerr);
}
