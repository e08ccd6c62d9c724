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
    BattleMapPlan plan;
    plan.columns = field.columns;
    plan.rows = field.rows;
    plan.soldiers = field.soldiers;
    plan.seed = 1;
    plan.frontGap = field.frontGap;
    std::ofstream(file) << battleMapText(plan);
    return file.string();
}
