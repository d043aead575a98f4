#include "cli/layered_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/json_reader.h"

namespace tarnwell::cli {
namespace {

namespace fs = std::filesystem;

std::string many_boxes(std::size_t count) {
    std::string json = "{\"boxes\":[";
    for (std::size_t i = 0; i < count; ++i)
        json += i == 0 ? "{\"w\":1,\"h\":1}" : ",{\"w\":1,\"h\":1}";
    return json + "]}";
}

TEST(LayeredGraphInput, ReadsBoxesAndEdgesWithTheirDefaults) {
    const TLayoutGraph graph = parse_layout_graph(
        " {\"edges\" : [ {\"to\":0,\"from\":2,\"inherit\":true}, {\"from\":0,\"to\":1} ],\r\n"
        "\t\"boxes\":[{\"w\":185,\"h\":41,\"visible\":true},{\"\\u0077\":0,\"h\":10000},"
        "{\"h\":3,\"w\":7,\"visible\":false}]}\n");
    ASSERT_EQ(graph.Boxes.size(), 3u);
    EXPECT_EQ(graph.Boxes[0].Width, 185);
    EXPECT_EQ(graph.Boxes[0].Height, 41);
    EXPECT_TRUE(graph.Boxes[1].Visible);
    EXPECT_EQ(graph.Boxes[1].Height, 10000);
    EXPECT_EQ(graph.Boxes[2].Width, 7);
    EXPECT_FALSE(graph.Boxes[2].Visible);
    ASSERT_EQ(graph.Connections.size(), 2u);
    EXPECT_EQ(graph.Connections[0].From, 2u);
    EXPECT_EQ(graph.Connections[0].To, 0u);
    EXPECT_TRUE(graph.Connections[0].Inheritance);
    EXPECT_FALSE(graph.Connections[1].Inheritance);
    EXPECT_TRUE(parse_layout_graph("{\"boxes\":[]}").Boxes.empty());
}

TEST(LayeredGraphInput, RefusesWhatIsNotAGraphSayingWhereAndWhy) {
    struct bad_case {
        std::string json;
        std::string message;
    };
    const bad_case cases[] = {
        {"", "line 1, column 1: expected an object, found the end of the input"},
        {"[]", "line 1, column 1: expected an object, found '['"},
        {"{\"boxes\":[]", "line 1, column 12: expected ',' or '}', found the end of the input"},
        {"{\"boxes\":[],}", "line 1, column 13: expected a string, found '}'"},
        {"{\"boxes\" []}", "line 1, column 10: expected ':', found '['"},
        {"{\"boxes\":[{\"w\":1,\"h\":1},]}", "line 1, column 25: expected an object, found ']'"},
        {"{\"boxes\":[]} x", "line 1, column 14: expected the end of the input, found 'x'"},
        {"{'boxes':[]}", "line 1, column 2: expected a string, found '''"},
        {"{\"box\nes\":[]}", "line 1, column 6: control character in a string"},
        {"{\"boxes\":[]", "expected ',' or '}'"},
        {"{\"boxes", "unterminated string"},
        {"{\"\\x\":1}", "line 1, column 4: unknown escape, found 'x'"},
        {"{\"\\ud800\":1}", "lone high surrogate in a string"},
        {"{\"\\udc00\":1}", "lone low surrogate in a string"},
        {"{\"\\u12\":1}", "expected four hexadecimal digits after \\u, found '\"'"},
        {"{\"boxes\":[{\"w\":01,\"h\":1}]}", "expected an integer from 0 to 10000, found '0'"},
        {"{\"boxes\":[{\"w\":1.0,\"h\":1}]}", "expected an integer from 0 to 10000, found '1'"},
        {"{\"boxes\":[{\"w\":1e3,\"h\":1}]}", "expected an integer from 0 to 10000, found '1'"},
        {"{\"boxes\":[{\"w\":-1,\"h\":1}]}", "expected an integer from 0 to 10000, found -1"},
        {"{\"boxes\":[{\"w\":10001,\"h\":1}]}",
         "line 1, column 16: expected an integer from 0 to 10000, found 10001"},
        {"{\"boxes\":[{\"w\":99999999999999999999,\"h\":1}]}",
         "expected an integer from 0 to 10000, found 99999999999999999999"},
        {"{\"boxes\":[{\"w\":\"185\",\"h\":1}]}",
         "expected an integer from 0 to 10000, found '\"'"},
        {"{\"boxes\":[{\"w\":1,\"h\":1,\"visible\":1}]}", "expected true or false, found '1'"},
        {"{\"boxes\":[{\"w\":1,\"h\":1,\"visible\":tru}]}", "expected true or false, found 't'"},
        {"{\"boxes\":[{\"w\":1}]}", "line 1, column 18: box 0 lacks \"h\""},
        {"{\"boxes\":[{\"w\":1,\"h\":1,\"w\":2}]}", "key \"w\" given twice"},
        {"{\"boxes\":[{\"w\":1,\"h\":1,\"width\":2}]}", "unknown key \"width\""},
        {"{\"boxes\":[],\"boxes\":[]}", "key \"boxes\" given twice"},
        {"{\"edges\":[]}", "the graph lacks \"boxes\""},
        {"{\"boxes\":[{\"w\":1,\"h\":1}],\"edges\":[{\"from\":0}]}", "edge 0 lacks \"to\""},
        {"{\"boxes\":[{\"w\":1,\"h\":1}],\"edges\":[{\"from\":0,\"to\":1}]}",
         "edge 0 names box 1, but the graph has 1 box"},
        {"{\"edges\":[{\"from\":0,\"to\":0},{\"from\":2,\"to\":0}],\"boxes\":[{\"w\":1,\"h\":1}]}",
         "edge 1 names box 2, but the graph has 1 box"},
        {"{\"boxes\":[],\"edges\":[{\"from\":100000,\"to\":0}]}",
         "expected an integer from 0 to 99999, found 100000"},
        {many_boxes(max_graph_boxes + 1), "more than 100000 boxes"},
    };
    for (const bad_case& c : cases) {
        try {
            parse_layout_graph(c.json);
            ADD_FAILURE() << "accepted " << c.json.substr(0, 80);
        } catch (const json_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << c.json.substr(0, 80) << "\n  gave: " << error.what();
        }
    }
}

// A graph file in a scratch folder, removed afterwards.
class LayeredCommand : public testing::Test {
  protected:
    void TearDown() override { fs::remove(path_); }

    int run(const std::string& json, std::string& output) {
        std::ofstream(path_, std::ios::binary) << json;
        const std::string file = path_.string();
        const std::vector<std::string_view> args{file};
        std::ostringstream out;
        const int status = run_layered(args, out);
        output = out.str();
        return status;
    }

    fs::path path_ =
        fs::temp_directory_path() /
        ("tarnwell-layered-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".json");
};

TEST_F(LayeredCommand, WritesThePlaceOfEveryVisibleBox) {
    std::string out;
    EXPECT_EQ(run("{\"boxes\":[{\"w\":185,\"h\":41},{\"w\":185,\"h\":41,\"visible\":false},"
                  "{\"w\":185,\"h\":41},{\"w\":185,\"h\":41}],"
                  "\"edges\":[{\"from\":2,\"to\":0,\"inherit\":true},{\"from\":1,\"to\":0},"
                  "{\"from\":3,\"to\":0,\"inherit\":true}]}",
                  out),
              0);
    EXPECT_EQ(out,
              "{\"ok\":true,\"boxes\":[{\"left\":122,\"top\":40},null,"
              "{\"left\":225,\"top\":121},{\"left\":20,\"top\":121}]}\n");
}

TEST_F(LayeredCommand, ReportsAFailedLayoutWithStatusOneAndBadInputAsAWrongCall) {
    std::string out;
    EXPECT_EQ(run("{\"boxes\":[{\"w\":1,\"h\":1,\"visible\":false}]}", out), 1);
    EXPECT_EQ(out, "{\"ok\":false,\"message\":\"empty layout or connection-cycles\"}\n");
    try {
        run("{\"boxes\":[{\"w\":1,\"h\":1}],\"edges\":[{\"from\":0,\"to\":7}]}", out);
        ADD_FAILURE() << "accepted an edge to a missing box";
    } catch (const usage_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  path_.string() + ": edge 0 names box 7, but the graph has 1 box");
    }
    const std::string missing = (fs::temp_directory_path() / "tarnwell-no-such.json").string();
    const std::vector<std::string_view> wrong_calls[] = {{}, {missing}, {"--lang", "c", "x"}};
    for (const auto& args : wrong_calls) {
        std::ostringstream ignored;
        EXPECT_THROW(run_layered(args, ignored), usage_error);
    }
}

}  // namespace
}  // namespace tarnwell::cli
