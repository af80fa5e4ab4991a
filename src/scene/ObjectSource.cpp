#include "scene/ObjectSource.h"

#include "scene/DataPath.h"
#include "scene/SceneObject.h"

namespace vardel {

ObjectSource objectFilesUnder(std::filesystem::path dataRoot) {
    return
        [root = std::move(dataRoot)](std::string_view name, ObjectFile& file, std::string* reason) {
            const std::filesystem::path path = hostPath(root, name);
            file.fileName = path.string();
            return readFileBytes(path, maxObjectFileBytes, file.bytes, reason);
        };
}

} // namespace vardel
