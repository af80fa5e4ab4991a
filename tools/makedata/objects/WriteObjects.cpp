#include <exception>

#include "Makedata.h"
#include "art/DataName.h"
#include "objects/ObjectFiles.h"
#include "objects/Objects.h"

namespace vardel::makedata {

namespace {

// The far bank is seen small, so its domes get fewer faces than the near cloud's.
constexpr PuffDetail kFarPuffs{12, 3};
constexpr PuffDetail kNearPuffs{18, 5};

} // namespace

const std::vector<ObjectFile>& objectFiles() {
    static const std::vector<ObjectFile> files = {
        {objectFile::boat, "Newsprint", {232, 226, 208}, [] { return paperBoat(1.0, 1.12); }},
        {objectFile::smallBoat, "Newsprint", {232, 226, 208}, [] { return paperBoat(0.8, 1.2); }},
        {objectFile::rings, "Brass", {200, 158, 64}, rings},
        {objectFile::gridWall, "Lattice", {24, 40, 72}, gridWall},
        {objectFile::cloudBank,
         "Cloud",
         {236, 238, 246},
         [] { return cloudBank(7u, 30.0, 10.0, 34, kFarPuffs); }},
        {objectFile::cloudPuffs,
         "Cloud",
         {236, 238, 246},
         [] { return cloudBank(31u, 6.0, 4.2, 12, kNearPuffs); }},
        {objectFile::screen, "Screen", {0, 0, 0}, screen},
        {objectFile::sea, "Sea", {34, 78, 128}, sea},
        {objectFile::sky, "Sky", {112, 166, 232}, skyBackdrop},
        {objectFile::moon, "Moon", {244, 232, 196}, moonDisc},
        {objectFile::stars, "Stars", {255, 250, 236}, stars},
    };
    return files;
}

bool writeObjects(const std::filesystem::path& data, std::string& reason) {
    for (const ObjectFile& file : objectFiles()) {
        std::vector<std::uint8_t> bytes;
        try {
            bytes = formats::writeObject(file.build().describe(file.surface, file.colour));
        } catch (const std::exception& error) {
            reason = std::string(file.name) + ": " + error.what();
            return false;
        }
        if (!writeDataFile(fileInData(data, file.name), bytes, reason)) {
            return false;
        }
    }
    return true;
}

} // namespace vardel::makedata
