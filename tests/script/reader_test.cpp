// The reader's refusals, word for word: each line of the language that is
// written wrong says what is wrong and how to write it.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "script/reader.h"
#include "tests/script/read_text.h"

namespace {

using testsupport::readError;

TEST(ScriptReader, EachMistakeIsNamedWithHowToWriteIt) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"click",
         "'click' takes a name and, for a later row of that name, its number; write: click NAME [N] (quote a "
         "name with blanks)"},
        {"click Key 0",
         "'0' is not a row number: give 1 for the first row named \"Key\", 2 for the second, and so on"},
        {"click Key x",
         "'x' is not a row number: give 1 for the first row named \"Key\", 2 for the second, and so on"},
        {"click Key 1 2",
         "'click' takes a name and, for a later row of that name, its number; write: click NAME [N] (quote a "
         "name with blanks)"},
        {"click \"Spot Left", "a double quote is not closed"},
        {"click-y", "'click-y' takes 1 or 2 arguments; write: click-y Y [X]"},
        {"click-y 8 30 1", "'click-y' takes 1 or 2 arguments; write: click-y Y [X]"},
        {"click-y a", "'a' (mouse y) is not a number"},
        {"click-y 1e3",
         "'1e3' (mouse y) is written with an exponent; write a whole number in plain digits: 1000"},
        {"scroll", "'scroll' takes 1 argument; write: scroll Y (quote a text with blanks)"},
        {"scroll 10 20", "'scroll' takes 1 argument; write: scroll Y (quote a text with blanks)"},
        {"scroll 1.5", "'1.5' (slider position) is not a whole number"},
        {"key", "'key' takes 1 argument; write: key K (quote a text with blanks)"},
        {"key 65536",
         "'65536' is not a key: give one character, backspace, or a code from 0 to 65535 (decimal, or 0x "
         "hexadecimal)"},
        {"key -1",
         "'-1' is not a key: give one character, backspace, or a code from 0 to 65535 (decimal, or 0x "
         "hexadecimal)"},
        {"key 0x",
         "'0x' is not a key: give one character, backspace, or a code from 0 to 65535 (decimal, or 0x "
         "hexadecimal)"},
        {"key 0xZZ",
         "'0xZZ' is not a key: give one character, backspace, or a code from 0 to 65535 (decimal, or 0x "
         "hexadecimal)"},
        {"key 0x 5", "'key' takes 1 argument; write: key K (quote a text with blanks)"},
        {"key ab",
         "'ab' is not a key: give one character, backspace, or a code from 0 to 65535 (decimal, or 0x "
         "hexadecimal)"},
        {"type", "'type' takes 1 argument; write: type TEXT (quote a text with blanks)"},
        {"type a b", "'type' takes 1 argument; write: type TEXT (quote a text with blanks)"},
        {"prefix", "'prefix' takes 1 argument; write: prefix TEXT (quote a text with blanks)"},
        {"prefix \"x\" y", "'prefix' takes 1 argument; write: prefix TEXT (quote a text with blanks)"},
        {"intensity", "'intensity' takes 1 argument; write: intensity V (quote a text with blanks)"},
        {"intensity 0x10",
         "'0x10' (intensity) is hexadecimal; numbers are written in decimal here, as in scene files"},
        {"intensity inf", "'inf' (intensity) is not a finite number"},
        {"intensity 1e309", "'1e309' (intensity) is too large for a double (the largest is about 1.8e308)"},
        {"intensity abc", "'abc' (intensity) is not a number"},
        {"intensity 5 6", "'intensity' takes 1 argument; write: intensity V (quote a text with blanks)"},
        {"range", "'range' takes 1 argument; write: range V (quote a text with blanks)"},
        {"range x", "'x' (range) is not a number"},
        {"color 1 2", "'color' takes 3 arguments; write: color R G B"},
        {"color 1 2 3 4", "'color' takes 3 arguments; write: color R G B"},
        {"color a 2 3", "'a' (red) is not a number"},
        {"color 1 b 3", "'b' (green) is not a number"},
        {"color 1 2 c", "'c' (blue) is not a number"},
        {"color 2147483648 0 0",
         "'2147483648' (red) is out of range: give a whole number from -2147483648 to 2147483647"},
        {"lighttype",
         "'lighttype' takes 1 argument; write: lighttype Distant|Point|Spot|Linear|Area|N (quote a text with "
         "blanks)"},
        {"lighttype Bogus",
         "'Bogus' is not a light type: use Distant, Point, Spot, Linear, Area or a number"},
        {"lighttype Spot Area",
         "'lighttype' takes 1 argument; write: lighttype Distant|Point|Spot|Linear|Area|N (quote a text with "
         "blanks)"},
        {"shadow Bogus", "'Bogus' is not a shadow type: use Off, Raytrace, ShadowMap or a number"},
        {"shadow",
         "'shadow' takes 1 argument; write: shadow Off|Raytrace|ShadowMap|N (quote a text with blanks)"},
        {"drag 1 x", "'x' (drag distance) is not a number"},
        {"drag-event", "'drag-event' takes 2 arguments; write: drag-event DIST COUNTER"},
        {"drag-event 1", "'drag-event' takes 2 arguments; write: drag-event DIST COUNTER"},
        {"drag-event 1 2 3", "'drag-event' takes 2 arguments; write: drag-event DIST COUNTER"},
        {"drag-event x 2", "'x' (distance) is not a number"},
        {"drag-event 1 x", "'x' (step counter) is not a number"},
        {"copy 1", "'copy' takes no argument; write: copy"},
        {"paste x", "'paste' takes no argument; write: paste"},
        {"clear x", "'clear' takes no argument; write: clear"},
        {"ok now", "'ok' takes no argument; write: ok"},
        {"cancel x", "'cancel' takes no argument; write: cancel"},
        {"snapshot", "'snapshot' takes 1 argument; write: snapshot FILE.png (quote a text with blanks)"},
        {"snapshot \"\"", "'snapshot' needs a file name, not an empty one"},
        {"snapshot a b", "'snapshot' takes 1 argument; write: snapshot FILE.png (quote a text with blanks)"},
        {"expect",
         "'expect' needs what to check: selected, field, ghosted, info, error, prefix, result, command or "
         "commands"},
        {"expect field", "'expect field' needs a control: intensity, range, color, lighttype or shadow"},
        {"expect field intensity", "write: expect field intensity V"},
        {"expect field intensity x", "'x' (intensity) is not a number"},
        {"expect field intensity 1 2", "write: expect field intensity V"},
        {"expect field color 1 2", "write: expect field color R G B"},
        {"expect field color 255 240 x", "'x' (blue) is not a number"},
        {"expect field lighttype Bogus", "'Bogus' is not a light type"},
        {"expect field lighttype", "write: expect field lighttype WORD-or-N"},
        {"expect field shadow x", "'x' is not a shadow type"},
        {"expect field bogus 1", "unknown field 'bogus': use intensity, range, color, lighttype or shadow"},
        {"expect ghosted", "write: expect ghosted yes|no"},
        {"expect ghosted maybe", "write: expect ghosted yes|no"},
        {"expect ghosted yes no", "write: expect ghosted yes|no"},
        {"expect info", "write: expect info TEXT (quote a text with blanks)"},
        {"expect info a b", "write: expect info TEXT (quote a text with blanks)"},
        {"expect error", "write: expect error TEXT (quote a text with blanks)"},
        {"expect prefix", "write: expect prefix TEXT (quote a text with blanks)"},
        {"expect prefix a b", "write: expect prefix TEXT (quote a text with blanks)"},
        {"expect result", "write: expect result N"},
        {"expect result x", "'x' (result) is not a number"},
        {"expect result 1 2", "write: expect result N"},
        {"expect command 1", "write: expect command N TEXT (quote a text with blanks)"},
        {"expect command 0 EditLights", "write: expect command N TEXT with N from 1, the first command"},
        {"expect command x EditLights", "'x' (command number) is not a number"},
        {"expect commands -1", "write: expect commands N with N from 0"},
        {"expect commands", "write: expect commands N"},
        {"expect bogus",
         "unknown expectation 'bogus': use selected, field, ghosted, info, error, prefix, result, command or "
         "commands"},
        {"jump", "unknown action 'jump'"},
        {"jump over", "unknown action 'jump'"},
        {"\"quoted verb\"", "unknown action 'quoted verb'"},
        {"\"\"", "unknown action ''"},
        {"click \"unterminated \\\"", "a double quote is not closed"},
    };
    for (const auto &[line, want] : cases) EXPECT_EQ(readError(line + "\nok\n"), "s.vts:1: " + want) << line;
}

TEST(ScriptReader, AnUnknownActionIsMarkedForTheFrontEndsPointer) {
    script::Script s;
    script::ReadError e;
    ASSERT_FALSE(script::readScript("click Key\n\n  jump over # it\nok\n", "s.vts", s, e));
    EXPECT_EQ(e.line, 3);
    EXPECT_EQ(e.what, "unknown action 'jump'");
    EXPECT_TRUE(e.unknownAction);
    ASSERT_FALSE(script::readScript("click\n", "s.vts", s, e));
    EXPECT_FALSE(e.unknownAction);
}

TEST(ScriptReader, OnlyExpectationsFollowOkOrCancel) {
    EXPECT_EQ(readError("click Key\nok\nexpect result 0\n# done\nclick Fill\n"),
              "s.vts:5: 'click' comes after the panel was closed on line 2; move it before ok/cancel");
    EXPECT_EQ(readError("cancel\njump\n"),
              "s.vts:2: 'jump' comes after the panel was closed on line 1; move it before ok/cancel");
    EXPECT_EQ(readError("cancel\nexpect selected\nexpect result 0\n"), "");
}

TEST(ScriptReader, StepsKeepTheirLineAndSource) {
    const script::Script s = testsupport::readOrFail(
        "# a comment\r\n\n  click \"Spot Left\"   # the spot\r\nsnapshot a.png\r\nok\n");
    ASSERT_EQ(s.steps.size(), 3u);
    EXPECT_EQ(s.steps[0].line, 3);
    EXPECT_EQ(s.steps[0].source, "  click \"Spot Left\"");
    EXPECT_EQ(*s.steps[0].action(), sim::Action::clickName("Spot Left"));
    ASSERT_NE(s.steps[1].snapshot(), nullptr);
    EXPECT_EQ(s.steps[1].snapshot()->file, "a.png");
    EXPECT_TRUE(s.steps[2].closes());
}

}  // namespace
