// Every text of the recorded corpus (generated bodies of the brace languages and the parser
// fixtures) that charted completely when it was recorded charts to the same bytes today.
// scripts/markup_corpus.py writes the record.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "parsers/language_table.h"
#include "parsers/parser_registry.h"

namespace tarnwell {
namespace {

struct recorded_chart {
    std::string language;
    std::string text;
    std::string markup;
};

std::string unescaped(const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 == line.size()) {
            out += line[i];
            continue;
        }
        const char c = line[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '1' ? '\001' : c;
    }
    return out;
}

std::vector<recorded_chart> recorded_charts() {
    std::ifstream file(TARNWELL_TEST_DATA "/parsers/markup_baseline.txt", std::ios::binary);
    std::vector<recorded_chart> charts;
    std::string header;
    std::getline(file, header);
    recorded_chart chart;
    while (std::getline(file, chart.language) && std::getline(file, chart.text) &&
           std::getline(file, chart.markup)) {
        charts.push_back({chart.language, unescaped(chart.text), unescaped(chart.markup)});
    }
    return charts;
}

TEST(MarkupBaseline, RecordedChartsStayByteForByte) {
    const parser_registry registry;
    const std::vector<recorded_chart> charts = recorded_charts();
    ASSERT_GT(charts.size(), 500u) << "the record is missing or cut short";
    int changed = 0;
    for (const recorded_chart& chart : charts) {
        const auto language = language_by_name(chart.language);
        ASSERT_TRUE(language.has_value()) << chart.language;
        const parser_result result =
            registry.parser_at(parser_slot_of_language(*language))->parse(chart.text);
        if (result.ok && result.markup == chart.markup) continue;
        ++changed;
        ADD_FAILURE() << chart.language << " text:\n"
                      << chart.text << "\nwas: " << chart.markup << "\nnow: " << result.markup
                      << " (" << result.message << ")";
        if (changed > 10) break;
    }
}

}  // namespace
}  // namespace tarnwell
