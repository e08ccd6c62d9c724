#include "Fields.h"

#include <filesystem>
#include <fstream>

#include "BattleMap.h"

std::string mapFileOf(const Field& field) {
    if (field.columns == 0) {
        return DROMLIN_ASSETS_DIR "/map1.txt";
    }
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       (std::string("dromlin-bench-") + field.name + ".txt");
    BattleMapSpec spec;
    spec.columns = field.columns;
    spec.rows = field.rows;
    spec.soldiers = field.soldiers;
    spec.seed = 1;
    spec.frontGap = field.frontGap;
    std::ofstream(file) << battleMapText(spec);
    return file.string();
}
