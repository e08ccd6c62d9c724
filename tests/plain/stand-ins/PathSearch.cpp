#include "path/PathSearch.h"

#include "path/Path.h"
#include "plain/PlainSearch.h"

void searchRoute(Path& path) {
    const SearchResult result = plainSearch(path.startX, path.startY, path.goalX, path.goalY,
                                            path.columns, path.rows, *path.world);
    path.waypoints = result.waypoints;
    path.goalX = result.goalX;
    path.goalY = result.goalY;
}
