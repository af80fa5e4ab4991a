// vardel: the demo.

#include <string>
#include <vector>

#include "app/VardelApp.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vardel::runVardel(args);
}
