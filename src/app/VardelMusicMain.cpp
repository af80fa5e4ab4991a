// vardel-music: the sync cues and length of a module, and its rendering to WAV.

#include <iostream>
#include <string>
#include <vector>

#include "app/MusicTool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vardel::runMusicTool(args, std::cout, std::cerr);
}
