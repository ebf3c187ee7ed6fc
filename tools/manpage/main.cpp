// vantrel_manpage TEMPLATE OUTPUT VERSION DATADIR: writes the manual page,
// the template with its OPTIONS and KEYS filled in from the tables that
// --help prints, so the page and the program cannot disagree.
#include "game/options.h"
#include "manpage.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

std::string read_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_text(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s TEMPLATE OUTPUT VERSION DATADIR\n", argv[0]);
        return 2;
    }
    try {
        const vantrel::manpage::Fields fields{argv[3], argv[4], vantrel::command_options(),
                                              vantrel::key_bindings()};
        write_text(argv[2], vantrel::manpage::fill(read_text(argv[1]), fields));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel_manpage: %s\n", e.what());
        return 1;
    }
    return 0;
}
