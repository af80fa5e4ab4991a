#include "Makedata.h"
#include "art/DataName.h"
#include "scenes/Scenes.h"

namespace vardel::makedata {

const std::vector<SceneFile>& sceneFiles() {
    static const std::vector<SceneFile> files = {
        {"data\\brodic1.lws", finaleScene},
        {"data\\brodic2.lws", gridScene},
        {"data\\brodic3.lws", cloudScene},
        {"data\\screen.lws", screenScene},
    };
    return files;
}

bool writeScenes(const std::filesystem::path& data, std::string& reason) {
    for (const SceneFile& file : sceneFiles()) {
        if (!writeDataFile(fileInData(data, file.name), formats::writeScene(file.build()),
                           reason)) {
            return false;
        }
    }
    return true;
}

} // namespace vardel::makedata
