#include "cli/render_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <optional>
#include <string>

#include "cli/cli_options.h"
#include "cli/gui_application.h"
#include "cli/parse_request.h"
#include "flowview/cell_painter.h"
#include "flowview/chart_picture.h"
#include "flowview/grid_loading.h"
#include "layout/grid_script.h"
#include "layout/xmls2script.h"

namespace tarnwell::cli {

namespace {

enum class picture_format { bmp, png, svg };

picture_format format_of(const std::string& path) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (suffix == "bmp") return picture_format::bmp;
    if (suffix == "png") return picture_format::png;
    if (suffix == "svg") return picture_format::svg;
    throw usage_error("-o takes a file name ending in .png, .bmp or .svg");
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

}  // namespace

int run_render(std::span<const std::string_view> args, std::ostream&) {
    const cli_options options =
        parse_options(args, opt_lang | opt_lines | opt_level | opt_small | opt_output);
    const picture_format format = format_of(options.output_path);
    const parse_outcome parsed = parse_request(options);

    txml2script engine;
    engine.markup = parsed.result.markup;
    engine.parser_slot = parsed.parser_slot;
    const bool layout_ok = engine.make_script(options.level);
    const std::optional<grid_script> script = read_grid_script(engine.grid_script());
    if (!script) throw usage_error("the text gives no chart to draw");

    const auto application = start_gui_application();

    broxgrid_model grid;
    // The SVG is drawn by the symbol painter and needs no picture files.
    grid.set_path(format == picture_format::svg ? (options.small ? "photo2/" : "photo1/")
                                                : picture_folder(options.small));
    if (options.small)
        grid.set_cell_size(broxgrid_model::small_width, broxgrid_model::small_height);
    // Range positions count from the start of the marked text, which is the text parsed.
    if (!load_grid(grid, *script, parsed.text, 0)) {
        throw usage_error("the chart is too large to draw");
    }
    grid.set_drawing(true);

    const QString out = QString::fromStdString(options.output_path);
    bool written = false;
    if (format == picture_format::svg) {
        written = write_grid_svg(grid, out);
    } else {
        cell_painter cells;
        const QImage image = grid_bitmap(grid, cells);
        written = !image.isNull() && image.save(out, format == picture_format::bmp ? "BMP" : "PNG");
    }
    if (!written) throw usage_error("cannot write " + options.output_path);
    return parsed.result.ok && layout_ok ? 0 : 1;
}

}  // namespace tarnwell::cli
