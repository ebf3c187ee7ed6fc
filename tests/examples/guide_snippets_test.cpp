// The guide's code comes from the examples: every C++ block in
// docs/engine.md follows a "<!-- snippet:NAME -->" line and must equal, line
// for line, the region of an example marked "// [snippet:NAME]" ...
// "// [/snippet]", with the region's common indentation taken off. Every
// marked region is shown in the guide, so no marker outlives its use.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines read_lines(const fs::path& path)
{
    std::ifstream in(path);
    Lines lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string trimmed(const std::string& s)
{
    const size_t first = s.find_first_not_of(" \t");
    return first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string joined(const Lines& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

// The lines with the indentation they all share removed.
Lines dedented(const Lines& lines)
{
    size_t indent = std::string::npos;
    for (const auto& line : lines)
        if (!trimmed(line).empty())
            indent = std::min(indent, line.find_first_not_of(' '));
    Lines out;
    for (const auto& line : lines)
        out.push_back(trimmed(line).empty() ? "" : line.substr(indent));
    return out;
}

struct Region {
    std::string where; // file:line of its marker
    Lines lines;
    bool shown = false;
};

// Reads the marked regions of one source into regions; failures for bad markers.
void collect_regions(const fs::path& source, std::map<std::string, Region>& regions)
{
    const Lines lines = read_lines(source);
    const std::string open = "// [snippet:", close = "// [/snippet]";
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string marker = trimmed(lines[i]);
        if (marker.rfind(open, 0) != 0)
            continue;
        const std::string name = marker.substr(open.size(), marker.size() - open.size() - 1);
        const std::string where = source.filename().string() + ":" + std::to_string(i + 1);
        EXPECT_EQ(marker.back(), ']') << where;
        EXPECT_EQ(regions.count(name), 0u) << "snippet " << name << " marked twice, again at " << where;
        Region region{where, {}, false};
        size_t j = i + 1;
        for (; j < lines.size() && trimmed(lines[j]) != close; ++j) {
            EXPECT_NE(trimmed(lines[j]).rfind(open, 0), 0u) << "snippet inside snippet at " << where;
            region.lines.push_back(lines[j]);
        }
        EXPECT_LT(j, lines.size()) << "snippet " << name << " at " << where << " is not closed";
        region.lines = dedented(region.lines);
        regions[name] = region;
        i = j;
    }
}

TEST(GuideSnippets, EveryCodeBlockOfTheGuideIsAMarkedRegionOfAnExample)
{
    std::map<std::string, Region> regions;
    for (const auto& entry : fs::directory_iterator(EXAMPLES_DIR))
        if (entry.path().extension() == ".cpp")
            collect_regions(entry.path(), regions);
    ASSERT_FALSE(regions.empty()) << "no marked regions under " << EXAMPLES_DIR;

    const Lines guide = read_lines(GUIDE_FILE);
    ASSERT_FALSE(guide.empty()) << GUIDE_FILE << " is missing or empty";
    const std::string marker = "<!-- snippet:";
    int blocks = 0;
    for (size_t i = 0; i < guide.size(); ++i) {
        if (guide[i].rfind("```cpp", 0) != 0)
            continue;
        ++blocks;
        const std::string line = "engine.md:" + std::to_string(i + 1);
        const std::string before = i > 0 ? trimmed(guide[i - 1]) : "";
        if (before.rfind(marker, 0) != 0) {
            ADD_FAILURE() << "the code block at " << line << " names no snippet";
            continue;
        }
        const std::string name = before.substr(marker.size(), before.find(" -->") - marker.size());
        Lines block;
        size_t j = i + 1;
        for (; j < guide.size() && guide[j] != "```"; ++j)
            block.push_back(guide[j]);
        i = j;
        auto region = regions.find(name);
        if (region == regions.end()) {
            ADD_FAILURE() << "snippet " << name << " at " << line << " is marked in no example";
            continue;
        }
        region->second.shown = true;
        EXPECT_EQ(joined(block), joined(region->second.lines))
            << "snippet " << name << " at " << line << " differs from " << region->second.where
            << "; the example's text is the one to keep";
    }
    EXPECT_GT(blocks, 0);
    for (const auto& [name, region] : regions)
        EXPECT_TRUE(region.shown) << "snippet " << name << " (" << region.where << ") is not in the guide";
}

} // namespace
