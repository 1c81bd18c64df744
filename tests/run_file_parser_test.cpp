#include "sim/history/run_file_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace vornick {
namespace {

const std::string kHead = "vornick-run 1\nseed 1\norgs 4\nrandom-count no\nmax-iters 1000\n";

// What a text reads as, fed in pieces of `piece` characters (0: whole).
std::string outcome(const std::string& text, std::size_t piece) {
    RunFileParser parser;
    for (std::size_t at = 0; at < text.size(); at += piece == 0 ? text.size() : piece) {
        if (!parser.feed(std::string_view(text).substr(at, piece == 0 ? text.size() : piece))) {
            break;
        }
    }
    const std::optional<RunFile> file = parser.finish();
    if (!file) return parser.error().message();
    std::string s = "seed " + std::to_string(file->start.seed) + " steps " +
                    std::to_string(file->steps) + " edits";
    for (std::size_t i = 0; i < file->edits.size(); ++i) {
        s += ' ';
        s += std::to_string(file->edits[i].stamp);
        s += '@';
        s += std::to_string(file->edit_lines[i]);
    }
    return s;
}

// A line is read alike wherever the pieces of the text are cut: inside a word, between CR and
// LF, in a run of blanks, at a comment's mark.
TEST(RunFileParser, PiecesCutAnywhereReadAsTheWhole) {
    const std::string texts[] = {
        kHead + "stop-at none\r\n  # a comment\t with words\r\n\t\r\nedit 3 arrow 1 up\r\n" +
            "edit 3 drag 2 4 5\nsteps 7",
        kHead + "stop-at none\n\n#\n\r\nsteps 7\n\n",
        kHead + "stop-at none\nsteps 7\nedit 9 arrow 1 up\nedit 8 arrow 1 up\n",
        kHead + "stop-at none\nsteps 7\nse\red 3\n",
        "\r\n\n  \t\n# only comments\n",
    };
    for (const std::string& text : texts) {
        const std::string whole = outcome(text, 0);
        for (std::size_t piece = 1; piece < 40; ++piece) {
            ASSERT_EQ(outcome(text, piece), whole) << "pieces of " << piece << ":\n" << text;
        }
    }
}

// Blank lines and comments are read however long they are; a line of words may hold 4096
// characters, blanks before its first word and a CR at its end aside, and a longer one is
// refused with its line.
TEST(RunFileParser, OnlyLinesOfWordsHaveALengthLimit) {
    const auto steps_line = [](std::size_t length) {  // "steps 00...07", `length` long
        return "steps " + std::string(length - 7, '0') + "7";
    };
    std::string many_ones, many_words;
    for (int i = 0; i < 1000; ++i) many_ones += " 1";
    for (int i = 0; i < 500000; ++i) many_words += "w ";
    struct Case {
        const char* what;
        std::string text;
        const char* result;
    };
    const Case cases[] = {
        {"a long comment", kHead + "#" + std::string(1 << 20, 'x') + "\nstop-at none\nsteps 7\n",
         "seed 1 steps 7 edits"},
        {"a comment of many words", kHead + "# " + many_words + "\nstop-at none\nsteps 7\n",
         "seed 1 steps 7 edits"},
        {"a long blank line", kHead + std::string(1 << 20, ' ') + "\nstop-at none\nsteps 7\n",
         "seed 1 steps 7 edits"},
        {"blanks, then a comment", kHead + std::string(100000, '\t') + "#x\nstop-at none\nsteps 7",
         "seed 1 steps 7 edits"},
        {"the longest line", kHead + "stop-at none\n" + steps_line(4096) + "\r\n",
         "seed 1 steps 7 edits"},
        {"one character more", kHead + "stop-at none\n" + steps_line(4097) + "\n",
         "line 7: the line is longer than 4096 characters"},
        {"blanks before the words count", kHead + "stop-at none\n  " + steps_line(4095) + "\n",
         "line 7: the line is longer than 4096 characters"},
        {"a long last line", kHead + "stop-at none\n" + steps_line(1 << 20),
         "line 7: the line is longer than 4096 characters"},
        {"many words", kHead + "stop-at none\nedit" + many_ones + "\n", "line 7: an edit reads"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(outcome(c.text, 0).substr(0, std::string(c.result).size()), c.result) << c.what;
    }
}

}  // namespace
}  // namespace vornick
