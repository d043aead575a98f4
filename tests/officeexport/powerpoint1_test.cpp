#include "officeexport/powerpoint1.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "officeexport/word1.h"

namespace tarnwell {
namespace {

// An automation document that keeps what the exporters ask of it.
class recorded_document : public office_document {
  public:
    int replace_text(std::string_view placeholder, std::string_view replacement) override {
        replaced.emplace_back(placeholder, replacement);
        return 1;
    }
    page_size page() const override { return size; }
    void set_page(page_size asked) override {
        size = {std::clamp(asked.width, 72.0, limits.width),
                std::clamp(asked.height, 72.0, limits.height)};
    }
    page_size page_limits() const override { return limits; }
    void set_page_margins(double points) override { margins = points; }
    void place_drawing(const office_drawing& drawing) override { placed = drawing; }
    bool save(const std::string&, std::string&) const override { return true; }

    page_size size{720, 540};
    page_size limits{4032, 4032};
    double margins = -1;
    std::vector<std::pair<std::string, std::string>> replaced;
    std::optional<office_drawing> placed;
};

// The first example markup's export layout: start, statements, a conditional with two branches,
// a return and the end, over a source of 70 characters.
export_cells example_layout() {
    export_cells layout;
    layout.cells = {{100, 1, 0, "1-2"},    {100, 3, 2, "1-6"},   {100, 5, 25, "9-18"},
                    {99, 6, 2, "27-32"},   {101, 6, 2, "47-52"}, {100, 8, 3, "55-63"},
                    {100, 10, 12, "66-66"}};
    layout.connectors = {
        {100, 1, anchor::bottom, 100, 3, anchor::top, export_plain_line},
        {100, 3, anchor::bottom, 100, 5, anchor::top, export_plain_line},
        {100, 5, anchor::left, 99, 6, anchor::top, export_true_line},
        {99, 6, anchor::bottom, 100, 8, anchor::top, export_plain_line},
        {100, 5, anchor::right, 101, 6, anchor::top, export_false_line},
        {101, 6, anchor::bottom, 100, 8, anchor::top, export_plain_line},
        // A stale line to a cell that is not there is not drawn.
        {100, 8, anchor::bottom, 100, 12, anchor::top, export_plain_line},
    };
    layout.column_count = 6;
    layout.row_count = 13;
    layout.column_offset = 98;
    return layout;
}

const std::string source =
    "a = 1;\r\n"
    "if (a > 0) {\r\n"
    "    b();\r\n"
    "} else {\r\n"
    "    c();\r\n"
    "}\r\n"
    "return a;\r\n"
    "}\r\n";

cell_table example_table() {
    return cell_table::build(example_layout(), charted_text{source, 0, -1}, 2000);
}

export_parameters parameters_of(export_application application) {
    export_parameters parameters = default_export_parameters(application, "/opt/tarnwell");
    parameters.file_name = "Example.java";
    parameters.function_name = "example";
    return parameters;
}

const office_shape* shape_with_text(const office_drawing& drawing, std::string_view text) {
    for (const office_shape& shape : drawing.shapes()) {
        if (shape.text == text) return &shape;
    }
    return nullptr;
}

TEST(DrawingEngine, SymbolModeDrawsOneShapeOfItsTypePerCellCentredInItsCell) {
    const cell_table table = example_table();
    const export_parameters parameters = parameters_of(export_application::word);
    ASSERT_FALSE(parameters.show_source_code);
    const office_drawing drawing = draw_flowchart(table, parameters);
    const struct {
        int code;
        const char* preset;
    } expected[] = {{0, "flowChartManualOperation"}, {2, "flowChartProcess"},
                    {25, "flowChartDecision"},       {2, "flowChartProcess"},
                    {2, "flowChartProcess"},         {3, "flowChartAlternateProcess"},
                    {12, "flowChartTerminator"}};
    // Seven cells, then the captions of the true and the false line.
    ASSERT_EQ(drawing.shapes().size(), 9u);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const office_shape& shape = drawing.shapes()[i];
        EXPECT_EQ(shape.preset, expected[i].preset) << i;
        EXPECT_DOUBLE_EQ(shape.box.width, 1.2 * 72) << i;
        EXPECT_DOUBLE_EQ(shape.box.height, 0.55 * 72) << i;
        EXPECT_EQ(shape.fill, 0xA6CAF0u) << i;
    }
    // The start shows the function name; the conditional its keyword and line range.
    EXPECT_EQ(drawing.shapes()[0].text, "example\r\n1-1");
    EXPECT_EQ(drawing.shapes()[2].text, "IF\r\n2-2");
    EXPECT_TRUE(shape_with_text(drawing, "True"));
    EXPECT_TRUE(shape_with_text(drawing, "False"));
    // The branches sit left and right of the conditional, one row down.
    const office_box& conditional = drawing.shapes()[2].box;
    const office_box& true_branch = drawing.shapes()[3].box;
    const office_box& false_branch = drawing.shapes()[4].box;
    EXPECT_LT(true_branch.left + true_branch.width, conditional.left + conditional.width / 2);
    EXPECT_GT(false_branch.left, conditional.left + conditional.width / 2);
    EXPECT_GE(true_branch.top, conditional.top + conditional.height);
    EXPECT_DOUBLE_EQ(true_branch.top, false_branch.top);
}

TEST(DrawingEngine, ConnectorsJoinTheSidesTheLayoutNamesWithTheirArrowheads) {
    const office_drawing drawing =
        draw_flowchart(example_table(), parameters_of(export_application::powerpoint));
    ASSERT_EQ(drawing.connectors().size(), 6u);
    const office_connector& true_line = drawing.connectors()[2];
    EXPECT_EQ(true_line.from, 2u);
    EXPECT_EQ(true_line.from_side, shape_side::left);
    EXPECT_EQ(true_line.to, 3u);
    EXPECT_EQ(true_line.to_side, shape_side::top);
    EXPECT_EQ(true_line.begin, arrowhead::oval);
    EXPECT_EQ(true_line.end, arrowhead::triangle);
    for (std::size_t i : {0u, 1u, 3u, 4u, 5u}) {
        EXPECT_EQ(drawing.connectors()[i].begin, arrowhead::none) << i;
        EXPECT_EQ(drawing.connectors()[i].end, arrowhead::triangle) << i;
    }
    // Both branches end in the top of the return.
    EXPECT_EQ(drawing.connectors()[3].to, 5u);
    EXPECT_EQ(drawing.connectors()[5].to, 5u);
}

TEST(DrawingEngine, TextModeSizesEachBoxToItsTextAroundTheCellCentre) {
    const export_parameters parameters = parameters_of(export_application::powerpoint);
    ASSERT_TRUE(parameters.show_source_code);
    const office_drawing drawing = draw_flowchart(example_table(), parameters);
    // The return's range starts on the line feed before it: an empty line of its own.
    const office_shape* exit = shape_with_text(drawing, "Return\r\n6-7\r\n\nreturn a");
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->text_box);
    // Four lines of 8-point text: 11 points a line, a 1-point margin all round; the widest
    // line has 8 characters of 4 points.
    EXPECT_DOUBLE_EQ(exit->box.height, 4 * 11 + 2);
    EXPECT_DOUBLE_EQ(exit->box.width, 8 * 4 + 2);
    EXPECT_FALSE(exit->frame.wrap);
}

TEST(DrawingEngine, NoCaptionsWithoutKeywordsAndNothingWithoutALayout) {
    export_parameters parameters = parameters_of(export_application::powerpoint);
    parameters.show_keyword = false;
    EXPECT_EQ(draw_flowchart(example_table(), parameters).shapes().size(), 7u);
    EXPECT_TRUE(draw_flowchart(cell_table::build({}, charted_text{source, 0, -1}, 2000), parameters)
                    .shapes()
                    .empty());
}

TEST(PowerPointAssembly, TheChartSitsUnderTheHeaderCentredOnASlideFittedToIt) {
    export_parameters parameters = parameters_of(export_application::powerpoint);
    const office_drawing drawing = draw_flowchart(example_table(), parameters);
    const office_box chart = drawing.bounds();

    recorded_document narrow;
    narrow.size = {100, 100};
    powerpoint_export(drawing, parameters, narrow);
    ASSERT_TRUE(narrow.placed);
    EXPECT_EQ(narrow.replaced, (std::vector<std::pair<std::string, std::string>>{
                                   {"#filename#", "Example.java"}, {"#functionname#", "example"}}));
    EXPECT_NEAR(narrow.size.width, chart.width + 4, 1e-9);
    EXPECT_NEAR(narrow.size.height, chart.height + 12 + 36, 1e-9);
    EXPECT_NEAR(narrow.placed->bounds().top, 36, 1e-9);
    EXPECT_NEAR(narrow.placed->bounds().left, 2, 1e-9);

    // Only when the slide is too small: a wide slide keeps its width, the chart is centred.
    recorded_document wide;
    wide.size = {2000, 2000};
    powerpoint_export(drawing, parameters, wide);
    EXPECT_DOUBLE_EQ(wide.size.width, 2000);
    EXPECT_DOUBLE_EQ(wide.size.height, 2000);
    EXPECT_NEAR(wide.placed->bounds().left, (2000 - chart.width) / 2, 1e-9);

    parameters.center_drawing = true;
    recorded_document centred;
    centred.size = {2000, 2000};
    powerpoint_export(drawing, parameters, centred);
    EXPECT_NEAR(centred.placed->bounds().top, (2000 - chart.height) / 2, 1e-9);
}

TEST(PowerPointAssembly, AChartTallerThanTheLargestSlideIsScaledDownToFit) {
    office_drawing tall;
    tall.add_shape("flowChartProcess", {0, 0, 100, 40});
    tall.add_shape("flowChartProcess", {0, 9960, 100, 40});
    tall.add_connector({0, shape_side::bottom, 1, shape_side::top});
    const export_parameters parameters = parameters_of(export_application::powerpoint);
    recorded_document slide;
    powerpoint_export(tall, parameters, slide);
    ASSERT_TRUE(slide.placed);
    EXPECT_NEAR(slide.size.height, 4032, 1e-9);
    EXPECT_NEAR(slide.placed->bounds().height + 12 + 36, 4032, 1e-6);
    EXPECT_NEAR(slide.placed->bounds().width, 100 * (4032 - 48) / 10000.0, 1e-6);
    EXPECT_NEAR(slide.placed->shapes()[0].font.size, 8 * (4032 - 48) / 10000.0, 1e-6);
    EXPECT_NEAR(slide.placed->line_width, 0.75 * (4032 - 48) / 10000.0, 1e-6);
}

TEST(WordAssembly, ZeroMarginsAndTheDrawingTwoPointsUnderTheHeader) {
    export_parameters parameters = parameters_of(export_application::word);
    parameters.header_height = 1.5;
    const office_drawing drawing = draw_flowchart(example_table(), parameters);
    recorded_document page;
    page.limits = {1584, 1584};
    word_export(drawing, parameters, page);
    EXPECT_DOUBLE_EQ(page.margins, 0);
    ASSERT_TRUE(page.placed);
    // The default page of 8 by 11 inches holds the chart: only-when-needed keeps it.
    EXPECT_DOUBLE_EQ(page.size.width, 576);
    EXPECT_DOUBLE_EQ(page.size.height, 792);
    EXPECT_NEAR(page.placed->bounds().top, 110, 1e-9);
}

TEST(WordAssembly, AChartWiderThanTheLargestPageIsScaledTo1580Points) {
    office_drawing wide;
    wide.add_shape("flowChartProcess", {0, 0, 100, 40});
    wide.add_shape("flowChartProcess", {3060, 0, 100, 40});
    wide.add_connector({0, shape_side::right, 1, shape_side::left});
    const export_parameters parameters = parameters_of(export_application::word);
    recorded_document page;
    page.limits = {1584, 1584};
    word_export(wide, parameters, page);
    ASSERT_TRUE(page.placed);
    EXPECT_DOUBLE_EQ(page.size.width, 1584);
    EXPECT_NEAR(page.placed->bounds().width, 1580, 1e-6);
    EXPECT_NEAR(page.placed->bounds().height, 40 * 1580 / 3160.0, 1e-6);
    EXPECT_NEAR(page.placed->bounds().left, 2, 1e-6);
}

}  // namespace
}  // namespace tarnwell
