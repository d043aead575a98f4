#include "line_parser_checks.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace tarnwell::test_support {

void expect_result(tsparser& parser, const markup_case& c) {
    const parser_result result = parser.parse(c.source);
    EXPECT_EQ(result.markup, c.markup + "\001");
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(result.message, c.message);
    EXPECT_GE(result.error_len, 5);
}

std::string repeated(std::string_view piece, int times) {
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

namespace {

struct item {
    std::string tag;
    long start;
    long end;
};

// A recursive reader of the markup grammar over the items of one parse.
class structure_reader {
  public:
    structure_reader(std::vector<item> items, std::size_t text_length)
        : items_(std::move(items)), text_length_(static_cast<long>(text_length)) {}

    void read_markup() {
        sequence();
        if (next_ != items_.size()) ADD_FAILURE() << "items after the outermost sequence";
    }
    const std::map<std::string, int>& counts() const { return counts_; }

  private:
    bool at(std::string_view tag) const {
        return next_ < items_.size() && items_[next_].tag == tag;
    }
    bool take(std::string_view tag) {
        if (!at(tag)) {
            ADD_FAILURE() << "expected " << tag << " at item " << next_ << ", found "
                          << (next_ < items_.size() ? items_[next_].tag : "the end");
            return false;
        }
        const item& i = items_[next_++];
        ++counts_[i.tag];
        const bool empty_range_allowed = i.tag == "</except>" && i.end == i.start - 1;
        if ((i.start > i.end && !empty_range_allowed) || i.start < 1 || i.end > text_length_ + 1)
            ADD_FAILURE() << i.tag << " has the bad range " << i.start << "-" << i.end;
        return true;
    }
    bool sequence() {
        if (!take("<statement>")) return false;
        while (!at("</statement>") && next_ < items_.size()) {
            if (!statement()) return false;
        }
        return take("</statement>");
    }
    bool statement() {
        static const std::map<std::string_view, std::string_view> pairs{
            {"<for>", "</for>"},         {"<whiledo>", "</whiledo>"}, {"<untildo>", "</untildo>"},
            {"<dowhile>", "</dowhile>"}, {"<dountil>", "</dountil>"}, {"<except>", "</except>"},
        };
        const std::string tag = items_[next_].tag;
        if (tag == "<if>") {
            take(tag);
            if (!sequence()) return false;
            if (at("<statement>") && !sequence()) return false;
            return take("</if>");
        }
        if (tag == "<switch>") {
            take(tag);
            while (at("<case/>") || at("<else/>")) {
                take(items_[next_].tag);
                if (!sequence()) return false;
            }
            return take("</switch>");
        }
        if (const auto pair = pairs.find(tag); pair != pairs.end()) {
            take(tag);
            return sequence() && take(pair->second);
        }
        if (tag.ends_with("/>") && tag != "<case/>" && tag != "<else/>") return take(tag);
        ADD_FAILURE() << "unexpected " << tag << " at item " << next_;
        return false;
    }

    std::vector<item> items_;
    long text_length_;
    std::size_t next_ = 0;
    std::map<std::string, int> counts_;
};

}  // namespace

std::map<std::string, int> check_structure(const std::string& markup, std::size_t text_length) {
    std::vector<item> items;
    if (markup.empty() || markup.back() != '\001') {
        ADD_FAILURE() << "the markup does not end with \\001";
        return {};
    }
    std::size_t pos = 0;
    while (markup[pos] == '<') {
        const std::size_t close = markup.find('>', pos);
        const std::size_t dash = markup.find('-', close);
        const std::size_t next = markup.find_first_of("<\001", close);
        if (close == std::string::npos || dash == std::string::npos || dash > next) {
            ADD_FAILURE() << "malformed item at " << pos;
            return {};
        }
        items.push_back({markup.substr(pos, close + 1 - pos),
                         std::stol(markup.substr(close + 1, dash - close - 1)),
                         std::stol(markup.substr(dash + 1, next - dash - 1))});
        pos = next;
    }
    structure_reader reader(std::move(items), text_length);
    reader.read_markup();
    return reader.counts();
}

std::string test_data(const std::string& name) {
    std::ifstream file(std::string(TARNWELL_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void expect_program(tsparser& parser, const std::string& name,
                    const std::map<std::string, int>& expected) {
    SCOPED_TRACE(name);
    const std::string text = test_data(name);
    const parser_result result = parser.parse(text);
    EXPECT_TRUE(result.ok) << result.message << " at " << result.error_pos;
    const std::map<std::string, int> counts = check_structure(result.markup, text.size());
    static const char* const structure_tags[] = {
        "<if>",      "<switch>",  "<case/>",   "<else/>",  "<for>",    "<whiledo>",
        "<untildo>", "<dowhile>", "<dountil>", "<except>", "<break/>", "<continue/>",
        "<return/>", "<exit/>",   "<goto/>",   "<label/>",
    };
    for (const char* tag : structure_tags) {
        const auto want = expected.find(tag);
        const auto got = counts.find(tag);
        EXPECT_EQ(got == counts.end() ? 0 : got->second, want == expected.end() ? 0 : want->second)
            << tag;
    }
}

void expect_nesting_fails_cleanly(tsparser& parser, const std::string& source) {
    const parser_result result = parser.parse(source);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Error In Statement");
    ASSERT_FALSE(result.markup.empty());
    EXPECT_EQ(result.markup.back(), '\001');
}

void expect_any_bytes_parse(tsparser& parser) {
    using namespace std::string_literals;
    const std::string inputs[] = {
        ""s,
        "\0\0\0"s,
        "x = 1\0y\r\n"s,
        "\001"s,
        "x = 1\r\n\001If\r\n"s,
        "\rIf a Then\rx\rEnd If\r"s,
        "\xff\xfe\xc0\x80 = \xe2\x82\r\n"s,
        "x = \"open\r\n"s,
        "x = 'open"s,
        "f(a, (b, \"c\r\n"s,
        "f(a /* open"s,
        "a[1 /* x */ b\r\n{c ;}\r\n"s,
        "_"s,
        "&"s,
        ";"s,
        "#"s,
        "If"s,
        "End"s,
        "Exit"s,
        "Do"s,
        "Loop"s,
        "Case Else"s,
        "Select Case"s,
        "Select Case x\r\nCase"s,
        "If a Then b Else"s,
        "If a Then\r\nElseIf"s,
        "Try\r\nCatch"s,
        "DO CASE\r\nCASE"s,
        "CHOOSE CASE x\r\nCASE ELSE"s,
        "End End End Exit Exit Do"s,
        "x\t\t\v\f = 1\r\n"s,
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(testing::PrintToString(input));
        const parser_result result = parser.parse(input);
        ASSERT_FALSE(result.markup.empty());
        EXPECT_EQ(result.markup.back(), '\001');
        EXPECT_GE(result.error_len, 5);
        EXPECT_EQ(result.ok, result.message == no_error);
    }
}

}  // namespace tarnwell::test_support
