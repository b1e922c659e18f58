#pragma once

#include <string>

// True when `path`, with every symbolic link on the way resolved, lies inside
// `folder`. A missing file counts by its folder; a link that leads nowhere does not count.
bool LiesInsideFolder(const std::string& folder, const std::string& path);
