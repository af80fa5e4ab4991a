// Stands in for parts of the content that are not written yet: they write nothing.

#include "Makedata.h"

namespace vardel::makedata {

#ifdef VARDEL_MISSING_VISUALS
bool writeTextures(const std::filesystem::path&, std::string&) { return true; }
bool writeObjects(const std::filesystem::path&, std::string&) { return true; }
bool writeScenes(const std::filesystem::path&, std::string&) { return true; }
#endif

#ifdef VARDEL_MISSING_MUSIC
bool writeMusic(const std::filesystem::path&, std::string&) { return true; }
#endif

} // namespace vardel::makedata
