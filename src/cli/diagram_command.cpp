#include "cli/diagram_command.h"

#include <QFileInfo>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "classmodel/uDiagramText.h"
#include "classmodel/uModel.h"
#include "classmodel/uRtfdDiagram.h"
#include "classmodel/uRtfdPainter.h"
#include "classmodel/uTextFile.h"
#include "cli/cli_options.h"
#include "cli/gui_application.h"
#include "cli/json_writer.h"
#include "cmdline/model_import.h"

namespace tarnwell::cli {

namespace {

enum class view_kind { standard, package, root, all };

struct diagram_arguments {
    view_kind view = view_kind::standard;
    std::string package;
    std::optional<bool> assoc;
    std::optional<std::uint8_t> filter;
    bool json = false;
    std::string output;
    std::vector<std::string_view> files;
};

// "--name value" or "--name=value": the value, advancing `i` past it; none when `args[i]` is
// another option.
std::optional<std::string_view> option_value(std::span<const std::string_view> args, std::size_t& i,
                                             std::string_view name) {
    const std::string_view arg = args[i];
    if (arg == name) {
        if (i + 1 == args.size()) throw usage_error(std::string(name) + " needs a value");
        return args[++i];
    }
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=')
        return arg.substr(name.size() + 1);
    return std::nullopt;
}

diagram_arguments read_arguments(std::span<const std::string_view> args) {
    diagram_arguments read;
    int views = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (const auto name = option_value(args, i, "--package")) {
            read.view = view_kind::package;
            read.package = *name;
            ++views;
        } else if (arg == "--root") {
            read.view = view_kind::root;
            ++views;
        } else if (arg == "--all") {
            read.view = view_kind::all;
            ++views;
        } else if (arg == "--assoc" || arg == "--no-assoc") {
            read.assoc = arg == "--assoc";
        } else if (const auto filter = option_value(args, i, "--filter")) {
            int value = -1;
            const auto [end, error] =
                std::from_chars(filter->data(), filter->data() + filter->size(), value);
            if (error != std::errc() || end != filter->data() + filter->size() || value < 0 ||
                value > 4)
                throw usage_error("--filter takes 0 to 4");
            read.filter = static_cast<std::uint8_t>(value);
        } else if (arg == "--json") {
            read.json = true;
        } else if (const auto output = option_value(args, i, "-o")) {
            read.output = *output;
        } else {
            read.files.push_back(arg);
        }
    }
    if (views > 1) throw usage_error("give one of --package NAME, --root and --all");
    if (read.output.empty()) throw usage_error("-o OUT.png, .svg, .mmd or .puml is needed");
    const QString suffix = QFileInfo(QString::fromStdString(read.output)).suffix().toLower();
    if (suffix != "png" && suffix != "svg" && suffix != "mmd" && suffix != "puml")
        throw usage_error("-o takes a file name ending in .png, .svg, .mmd or .puml");
    return read;
}

// The package NAME names: a unit package by name ("java.util") or full name ("::java.util").
TAbstractPackage* find_package(const TObjectModel& model, std::string_view name) {
    for (auto it = model.ModelRoot()->GetPackages(); it->HasNext();) {
        TModelEntity* package = it->Next();
        if (package->Name() == name || package->FullName() == name)
            return static_cast<TAbstractPackage*>(package);
    }
    throw usage_error("the model has no package " + std::string(name));
}

constexpr std::string_view kind_names[] = {"class", "interface", "package"};
constexpr std::string_view label_kind_names[] = {"name",      "name", "stereotype", "attribute",
                                                 "operation", "name", "separator"};
constexpr std::string_view font_names[] = {"normal", "bold", "bold-italic", "italic", "title"};
constexpr std::string_view visibility_names[] = {"private", "protected", "public", "published"};
constexpr std::string_view style_names[] = {"thin", "thick", "dashed"};
constexpr std::string_view head_names[] = {"open", "closed", "none"};

std::string point_json(TPoint p) {
    return "[" + std::to_string(p.X) + "," + std::to_string(p.Y) + "]";
}

std::string label_json(const TRtfdLabel& label) {
    json_object object;
    object.field("kind", label_kind_names[static_cast<int>(label.Kind)]);
    if (label.Kind == TLabelKind::Separator) return object.str();
    object.field("text", label.Text).field("font", font_names[static_cast<int>(label.Font)]);
    if (label.Icon) object.field("visibility", visibility_names[static_cast<int>(*label.Icon)]);
    return object.str();
}

}  // namespace

void write_diagram_json(const TRtfdDiagram& diagram, std::ostream& out) {
    const TvixConnectPanel& surface = diagram.Surface();
    const TAbstractPackage* package = diagram.Package();
    std::string head = json_object()
                           .field("package", package != nullptr ? package->FullName() : "")
                           .field("all_classes", diagram.ShowsAllClasses())
                           .field("title", diagram.Title())
                           .field("show_assoc", diagram.ShowAssoc())
                           .field("filter", static_cast<int>(diagram.VisibilityFilter()))
                           .field("width", surface.Width())
                           .field("height", surface.Height())
                           .str();
    // The two lists follow as the object's last fields.
    head.pop_back();
    out << head;
    out << ",\n\"boxes\":[";
    for (std::size_t i = 0; i < diagram.Boxes().size(); ++i) {
        const TRtfdBox& box = diagram.Boxes()[i];
        const TManagedObject& object = surface.Object(i);
        std::string labels = "[";
        for (const TRtfdLabel& label : box.Labels)
            labels += (labels.size() > 1 ? "," : "") + label_json(label);
        out << (i > 0 ? ",\n" : "\n")
            << json_object()
                   .field("name", box.Entity->FullName())
                   .field("kind", kind_names[static_cast<int>(box.Kind)])
                   .field("left", object.Bounds.Left)
                   .field("top", object.Bounds.Top)
                   .field("width", object.Bounds.Width())
                   .field("height", object.Bounds.Height())
                   .field("visible", object.Visible)
                   .raw_field("labels", labels + "]")
                   .str();
    }
    out << "],\n\"connections\":[";
    const auto& connections = surface.GetConnections();
    for (std::size_t i = 0; i < connections.size(); ++i) {
        const TConnection& c = connections[i];
        const TConnectionEnds ends =
            ConnectionEnds(surface.Object(c.FromBox).Bounds, surface.Object(c.ToBox).Bounds);
        out << (i > 0 ? ",\n" : "\n")
            << json_object()
                   .field("from", static_cast<std::int64_t>(c.FromBox))
                   .field("to", static_cast<std::int64_t>(c.ToBox))
                   .field("style", style_names[static_cast<int>(c.LineStyle)])
                   .field("head", head_names[static_cast<int>(c.ArrowHead)])
                   .raw_field("from_point", point_json(ends.From))
                   .raw_field("to_point", point_json(ends.To))
                   .str();
    }
    out << "]}\n";
}

int run_diagram(std::span<const std::string_view> args, std::ostream& out) {
    diagram_arguments arguments = read_arguments(args);
    import_arguments import = read_import_arguments(arguments.files);

    const auto application = start_gui_application();

    terminal_feedback feedback("diagram");
    TObjectModel model;
    import_files(import, model, feedback);

    const TDiagramFonts fonts;
    // The command line draws what is stored but never changes the settings files.
    TDiagramDefaults defaults;
    defaults.Save = 2;
    TDiagramEvents events;
    int layout_failures = 0;
    events.ShowMessage = [&](const std::string& text) {
        ++layout_failures;
        std::fprintf(stderr, "tarnwell-cli diagram: %s\n", text.c_str());
    };
    TRtfdDiagram diagram(model, fonts, defaults,
                         DefaultDiagramStorage(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
                         events);
    switch (arguments.view) {
        case view_kind::package:
            diagram.SetPackage(find_package(model, arguments.package));
            break;
        case view_kind::root:
            diagram.SetPackage(model.ModelRoot());
            break;
        case view_kind::all:
            diagram.SetPackage(AllClassesView());
            break;
        case view_kind::standard:
            break;
    }
    if (arguments.assoc) diagram.ChooseShowAssoc(*arguments.assoc);
    if (arguments.filter) diagram.ChooseVisibilityFilter(*arguments.filter);
    diagram.InitFromModel();

    const QString suffix = QFileInfo(QString::fromStdString(arguments.output)).suffix().toLower();
    if (suffix == "mmd" || suffix == "puml") {
        // The same view as text for documentation tools to draw.
        try {
            WriteTextFile(arguments.output, suffix == "mmd" ? MermaidClassDiagram(diagram)
                                                            : PlantUmlClassDiagram(diagram));
        } catch (const std::system_error& failure) {
            throw usage_error(failure.what());
        }
    } else if (const std::string error = SaveAsPicture(diagram, fonts, arguments.output);
               !error.empty()) {
        throw usage_error(error);
    }
    if (arguments.json) write_diagram_json(diagram, out);
    return feedback.messages() == 0 && layout_failures == 0 ? 0 : 1;
}

}  // namespace tarnwell::cli
