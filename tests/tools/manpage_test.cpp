// The manual page generator: every option and key of the shared tables
// reaches the page in roff form, text cannot turn into roff requests, and a
// template that lost a section or carries an unknown placeholder is refused.
#include "game/options.h"
#include "manpage.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace vantrel::manpage {
namespace {

const char* const kTemplate = ".TH X 6 \"\" \"Vantrel @VERSION@\"\n.SH OPTIONS\n@OPTIONS@\n.SH KEYS\n@KEYS@\n"
                              ".SH FILES\n@DATADIR@/applications\n";

Fields fields()
{
    return {"0.3", "/usr/share", command_options(), key_bindings()};
}

TEST(ManPage, EveryOptionAndKeyOfTheTablesIsOnThePage)
{
    const std::string page = fill(kTemplate, fields());
    for (const CommandOption& option : command_options()) {
        EXPECT_NE(page.find(roff_flag(option.flag)), std::string::npos) << option.flag;
        EXPECT_NE(page.find(roff_text(option.description)), std::string::npos) << option.flag;
    }
    for (const KeyBinding& key : key_bindings())
        EXPECT_NE(page.find(".B " + roff_text(key.keys) + "\n" + roff_text(key.action) + "\n"),
                  std::string::npos)
            << key.keys;
    EXPECT_NE(page.find("\"Vantrel 0.3\""), std::string::npos);
    EXPECT_NE(page.find("\n/usr/share/applications\n"), std::string::npos);
    EXPECT_EQ(page.find('@'), std::string::npos);
    EXPECT_EQ(page.find("\n\n"), std::string::npos) << "blank lines make roff warn";
}

TEST(ManPage, OptionsWithAnArgumentSetItInItalics)
{
    const CommandOption options[] = {{"--window-scale", "N", "Scale."}, {"--help", "", "Help."}};
    EXPECT_EQ(options_section(options), ".TP\n.BI \\-\\-window\\-scale \" N\"\nScale.\n.TP\n.B \\-\\-help\nHelp.\n");
}

TEST(ManPage, TextCannotBecomeARequestOrAnEscape)
{
    EXPECT_EQ(roff_text(".quit"), "\\&.quit");
    EXPECT_EQ(roff_text("'quote"), "\\&'quote");
    EXPECT_EQ(roff_text("a\\fBb"), "a\\efBb");
    EXPECT_EQ(roff_text("two\nlines"), "two lines");
    EXPECT_EQ(roff_text("full-screen"), "full-screen");
    EXPECT_EQ(roff_flag("--help"), "\\-\\-help");
}

TEST(ManPage, BrokenTemplatesAndEmptyTablesAreRefused)
{
    EXPECT_THROW(fill(".SH KEYS\n@KEYS@\n", fields()), std::runtime_error);
    EXPECT_THROW(fill(".SH OPTIONS\n@OPTIONS@\n", fields()), std::runtime_error);
    EXPECT_THROW(fill("@OPTIONS@\n@OPTIONS@\n@KEYS@\n", fields()), std::runtime_error);
    EXPECT_THROW(fill(std::string(kTemplate) + "@AUTHOR@\n", fields()), std::runtime_error);
    Fields no_keys = fields();
    no_keys.keys = {};
    EXPECT_THROW(fill(kTemplate, no_keys), std::runtime_error);
}

} // namespace
} // namespace vantrel::manpage
