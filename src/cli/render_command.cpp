#include "cli/render_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "classmodel/uTextFile.h"
#include "cli/cli_options.h"
#include "cli/gui_application.h"
#include "cli/parse_request.h"
#include "flowview/cell_painter.h"
#include "flowview/chart_cells.h"
#include "flowview/chart_pages.h"
#include "flowview/chart_pdf.h"
#include "flowview/chart_picture.h"
#include "flowview/grid_loading.h"
#include "layout/grid_script.h"
#include "layout/xmls2script.h"
#include "officeexport/cell_table.h"
#include "officeexport/flowchart_text.h"

namespace tarnwell::cli {

namespace {

enum class picture_format { bmp, png, svg, pdf, mermaid, dot };

picture_format format_of(const std::string& path) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (suffix == "bmp") return picture_format::bmp;
    if (suffix == "png") return picture_format::png;
    if (suffix == "svg") return picture_format::svg;
    if (suffix == "pdf") return picture_format::pdf;
    if (suffix == "mmd") return picture_format::mermaid;
    if (suffix == "dot" || suffix == "gv") return picture_format::dot;
    throw usage_error("-o takes a file name ending in .png, .bmp, .svg, .pdf, .mmd or .dot");
}

// The options only render takes: the page format, the function named in page headers and on
// the start symbol, and Mermaid text wrapped for Markdown.
struct page_options {
    page_format page{210, 297};
    bool page_given = false;
    std::string function;
    bool markdown = false;
};

// Takes --page and --function (as "--option value" or "--option=value") and --markdown out of
// the arguments and leaves the rest to the shared options.
std::vector<std::string_view> take_page_options(std::span<const std::string_view> args,
                                                page_options& taken) {
    std::vector<std::string_view> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--markdown") {
            taken.markdown = true;
            continue;
        }
        std::optional<std::string_view> value;
        std::string_view name;
        for (const std::string_view option : {"--page", "--function"}) {
            if (arg == option) {
                if (i + 1 >= args.size()) throw usage_error(std::string(option) + " needs a value");
                name = option;
                value = args[++i];
            } else if (arg.size() > option.size() && arg.substr(0, option.size()) == option &&
                       arg[option.size()] == '=') {
                name = option;
                value = arg.substr(option.size() + 1);
            }
        }
        if (!value) {
            rest.push_back(arg);
        } else if (name == "--page") {
            const std::optional<page_format> format = read_page_format(*value);
            if (!format) {
                throw usage_error("--page takes a4, letter, a3 or WxH-mm (50 to 2000 mm), not " +
                                  std::string(*value));
            }
            taken.page = *format;
            taken.page_given = true;
        } else {
            taken.function = std::string(*value);
        }
    }
    return rest;
}

// The picture folder of a set: beside the program, else in the installed data folder.
std::string picture_folder(bool small) {
    const QString set = small ? QStringLiteral("photo2") : QStringLiteral("photo1");
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {program.filePath(set), program.filePath("../share/tarnwell/" + set)}) {
        if (QFileInfo(candidate).isDir()) {
            return QDir::cleanPath(candidate).toStdString() + "/";
        }
    }
    throw usage_error("the symbol pictures " + set.toStdString() + "/ are neither beside " +
                      program.path().toStdString() + " nor in ../share/tarnwell/");
}

bool write_bitmap(const grid_script& script, const parse_outcome& parsed, bool small,
                  picture_format format, const QString& out) {
    broxgrid_model grid;
    grid.set_path(picture_folder(small));
    if (small) grid.set_cell_size(broxgrid_model::small_width, broxgrid_model::small_height);
    const qint64 width = qint64{script.column_count - 1} * grid.cell_width();
    const qint64 height = qint64{script.row_count - 1} * grid.cell_height();
    if (!fits_one_bitmap(width, height)) {
        throw usage_error(bitmap_too_large_message(width, height, true));
    }
    // Range positions count from the start of the marked text, which is the text parsed.
    if (!load_grid(grid, script, parsed.text, 0)) {
        throw usage_error(bitmap_too_large_message(width, height, true));
    }
    grid.set_drawing(true);
    cell_painter cells;
    const QImage image = grid_bitmap(grid, cells);
    return !image.isNull() && image.save(out, format == picture_format::bmp ? "BMP" : "PNG");
}

// The chart as text for documentation tools: a node per cell of the export layout.
void write_chart_text(const parse_outcome& parsed, const cli_options& options,
                      const page_options& extras, picture_format format) {
    txml2script engine;
    engine.markup = parsed.result.markup;
    engine.parser_slot = parsed.parser_slot;
    engine.make_cells(options.level);
    const charted_text charted{parsed.source, parsed.offset,
                               static_cast<std::int64_t>(parsed.text.size())};
    const cell_table table = cell_table::build(engine.cells(), charted, -1);
    if (table.empty()) throw usage_error("the text gives no chart to draw");
    keyword_list keywords = default_keywords();
    if (!extras.function.empty()) keywords[export_start] = extras.function;
    const text_chart chart = chart_of_table(table, keywords);
    std::string text;
    if (format == picture_format::dot) {
        const std::string file = options.file == "-"
                                     ? std::string("chart")
                                     : std::filesystem::path(options.file).filename().string();
        text = graphviz_flowchart(chart,
                                  extras.function.empty() ? file : file + ": " + extras.function);
    } else {
        text = extras.markdown ? mermaid_markdown(chart) : mermaid_flowchart(chart);
    }
    try {
        WriteTextFile(options.output_path, text);
    } catch (const std::system_error& failure) {
        throw usage_error(failure.what());
    }
}

}  // namespace

int run_render(std::span<const std::string_view> args, std::ostream&) {
    page_options pages;
    const std::vector<std::string_view> rest = take_page_options(args, pages);
    cli_options options =
        parse_options(rest, opt_lang | opt_lines | opt_level | opt_small | opt_output | opt_at);
    // --function names the chart, and without --lines chooses the function charted.
    options.function_name = pages.function;
    const picture_format format = format_of(options.output_path);
    if (pages.page_given && format != picture_format::pdf) {
        throw usage_error("--page is for .pdf output");
    }
    if (pages.markdown && format != picture_format::mermaid) {
        throw usage_error("--markdown is for .mmd output");
    }
    const parse_outcome parsed = parse_request(options);
    if (format == picture_format::mermaid || format == picture_format::dot) {
        write_chart_text(parsed, options, pages, format);
        return parsed.result.ok ? 0 : 1;
    }

    txml2script engine;
    engine.markup = parsed.result.markup;
    engine.parser_slot = parsed.parser_slot;
    const bool layout_ok = engine.make_script(options.level);
    const grid_script& script = engine.script();
    if (script.column_count == 0) throw usage_error("the text gives no chart to draw");

    const auto application = start_gui_application();

    const QString out = QString::fromStdString(options.output_path);
    bool written = false;
    if (format == picture_format::svg || format == picture_format::pdf) {
        // The vector pictures are drawn by the symbol painter and need no picture files.
        const chart_cells chart = collect_chart_cells(script, parsed.text, 0);
        if (format == picture_format::svg) {
            written = write_chart_svg(chart, options.small, out);
        } else {
            const std::string file =
                options.file == "-"
                    ? std::string("(standard input)")
                    : QFileInfo(QString::fromStdString(options.file)).fileName().toStdString();
            std::string function = pages.function;
            if (function.empty() && options.lines) {
                function = "lines " + std::to_string(options.lines->first) + "-" +
                           std::to_string(options.lines->second);
            }
            written =
                write_chart_pdf(chart_print(chart, options.small, pages.page, file, function), out);
        }
    } else {
        written = write_bitmap(script, parsed, options.small, format, out);
    }
    if (!written) throw usage_error("cannot write " + options.output_path);
    return parsed.result.ok && layout_ok ? 0 : 1;
}

}  // namespace tarnwell::cli
