// Resident memory of this process by mapping, from /proc/self/smaps: one
// entry per mapped file (by its base name), plus [heap], [stack] and the
// anonymous mappings split by permissions (executable anonymous memory is
// where a JIT keeps its code).
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace vantrel::bench {

using SmapsTotals = std::map<std::string, long>; // label -> resident kB

inline std::string mapping_label(const std::string& header)
{
    std::istringstream in(header);
    std::string range, perms, offset, dev, inode, path;
    in >> range >> perms >> offset >> dev >> inode;
    std::getline(in >> std::ws, path);
    if (path.empty())
        return "[anon " + perms.substr(0, 3) + "]";
    if (path[0] == '[')
        return path;
    const size_t cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

inline SmapsTotals smaps_totals()
{
    SmapsTotals totals;
    std::ifstream smaps("/proc/self/smaps");
    std::string line, label;
    while (std::getline(smaps, line)) {
        // A header starts with the hex address range; fields are "Name:  value kB".
        const size_t colon = line.find(':');
        const size_t dash = line.find('-');
        if (dash != std::string::npos && (colon == std::string::npos || dash < colon)) {
            label = mapping_label(line);
            continue;
        }
        if (line.rfind("Rss:", 0) == 0)
            totals[label] += std::stol(line.substr(4));
    }
    return totals;
}

} // namespace vantrel::bench
