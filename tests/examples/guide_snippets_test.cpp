// The guide's code comes from the examples: every C++ block in
// docs/engine.md follows a "<!-- snippet:NAME -->" line and must equal, line
// for line, the region of an example marked "// [snippet:NAME]" ...
// "// [/snippet]", with the region's common indentation taken off. Every
// marked region is shown in the guide, so no marker outlives its use. And
// every snippet compiles away from its example: the marker line may say
// "; top level" (a definition, such as a function), "; returns: TYPE" (what
// the snippet's return statements give, int when not said) and
// "; given: DECLS" (what the snippet uses from around it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// One C++ block of the guide: the snippet it names, what it is given from
// around it in its example, and its text.
struct GuideBlock {
    std::string name;
    std::string given;   // declarations it uses from around it, if any
    std::string returns = "int"; // what its own return statements give
    bool top_level = false;
    std::string where;   // engine.md:line
    Lines lines;
};

// Each block follows a "<!-- snippet:NAME[; top level][; returns: TYPE]
// [; given: DECLS] -->" line; a block without one is reported as a failure.
std::vector<GuideBlock> guide_blocks()
{
    const Lines guide = read_lines(GUIDE_FILE);
    EXPECT_FALSE(guide.empty()) << GUIDE_FILE << " is missing or empty";
    const std::string marker = "<!-- snippet:", end = " -->";
    std::vector<GuideBlock> blocks;
    for (size_t i = 0; i < guide.size(); ++i) {
        if (guide[i].rfind("```cpp", 0) != 0)
            continue;
        GuideBlock block;
        block.where = "engine.md:" + std::to_string(i + 1);
        const std::string before = i > 0 ? trimmed(guide[i - 1]) : "";
        size_t j = i + 1;
        for (; j < guide.size() && guide[j] != "```"; ++j)
            block.lines.push_back(guide[j]);
        i = j;
        if (before.rfind(marker, 0) != 0 || before.size() < marker.size() + end.size() ||
            before.compare(before.size() - end.size(), end.size(), end) != 0) {
            ADD_FAILURE() << "the code block at " << block.where << " names no snippet";
            continue;
        }
        std::istringstream parts(before.substr(marker.size(), before.size() - marker.size() - end.size()));
        std::getline(parts, block.name, ';');
        for (std::string part; std::getline(parts, part, ';');) {
            part = trimmed(part);
            if (part == "top level")
                block.top_level = true;
            else if (part.rfind("returns:", 0) == 0)
                block.returns = trimmed(part.substr(8));
            else if (part.rfind("given:", 0) == 0)
                block.given += part.substr(6) + ";";
            else if (!block.given.empty())
                block.given += part + ";"; // the given declarations' own semicolons
            else
                ADD_FAILURE() << "unknown snippet attribute \"" << part << "\" at " << block.where;
        }
        blocks.push_back(block);
    }
    EXPECT_FALSE(blocks.empty());
    return blocks;
}

TEST(GuideSnippets, EveryCodeBlockOfTheGuideIsAMarkedRegionOfAnExample)
{
    std::map<std::string, Region> regions;
    for (const auto& entry : fs::directory_iterator(EXAMPLES_DIR))
        if (entry.path().extension() == ".cpp")
            collect_regions(entry.path(), regions);
    ASSERT_FALSE(regions.empty()) << "no marked regions under " << EXAMPLES_DIR;

    for (const GuideBlock& block : guide_blocks()) {
        auto region = regions.find(block.name);
        if (region == regions.end()) {
            ADD_FAILURE() << "snippet " << block.name << " at " << block.where << " is marked in no example";
            continue;
        }
        region->second.shown = true;
        EXPECT_EQ(joined(block.lines), joined(region->second.lines))
            << "snippet " << block.name << " at " << block.where << " differs from "
            << region->second.where << "; the example's text is the one to keep";
    }
    for (const auto& [name, region] : regions)
        EXPECT_TRUE(region.shown) << "snippet " << name << " (" << region.where << ") is not in the guide";
}

// A reader copies a snippet without its example around it. So each one is
// compiled with only the installed headers, the standard library, the
// guide's top-level snippets (the functions it shows) and the declarations
// its marker says it is given: a name that only an example defines fails.
TEST(GuideSnippets, EverySnippetCompilesWithOnlyTheEngineHeadersAndWhatItIsGiven)
{
    std::string unit = "#include <algorithm>\n#include <cmath>\n#include <cstdint>\n#include <cstdio>\n"
                       "#include <numbers>\n#include <string>\n";
    for (const auto& entry : fs::recursive_directory_iterator(PUBLIC_HEADERS_DIR))
        if (entry.path().extension() == ".h")
            unit += "#include \"" + fs::relative(entry.path(), PUBLIC_HEADERS_DIR).generic_string() + "\"\n";
    unit += "using namespace vantrel;\n";
    const std::vector<GuideBlock> blocks = guide_blocks();
    ASSERT_FALSE(blocks.empty());
    for (const GuideBlock& block : blocks)
        if (block.top_level)
            unit += "#line 1 \"snippet " + block.name + "\"\n" + joined(block.lines);
    int index = 0;
    for (const GuideBlock& block : blocks) {
        if (block.top_level)
            continue;
        // A namespace each, so one snippet's givens are not another's.
        unit += "namespace snippet_" + std::to_string(index++) + " {\n" + block.given + "\n" + block.returns +
                " run() {\n#line 1 \"snippet " + block.name + "\"\n" + joined(block.lines) + "return {};\n}\n}\n";
    }
    const fs::path dir = fs::path(testing::TempDir()) / "guide_snippets";
    fs::create_directories(dir);
    const fs::path source = dir / "snippets.cpp", log = dir / "compiler.txt";
    std::ofstream(source) << unit;
    const std::string command = std::string("\"") + CXX_COMPILER + "\" -std=c++20 -fsyntax-only -I \"" +
                                PUBLIC_HEADERS_DIR + "\" \"" + source.string() + "\" > \"" + log.string() +
                                "\" 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(log);
    const std::string output((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(status, 0) << "a snippet does not compile on its own:\n" << output;
}

} // namespace
