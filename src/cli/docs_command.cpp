#include "cli/docs_command.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "classmodel/uDocDiagramPictures.h"
#include "classmodel/uHtmlDocGen.h"
#include "classmodel/uRtfdPainter.h"
#include "cli/cli_options.h"
#include "cli/gui_application.h"
#include "cmdline/model_import.h"

namespace tarnwell::cli {

namespace {

// Writes into the folder it is given and opens nothing: there is no browser to show it in.
class quiet_host : public IDocGenHost {
  public:
    explicit quiet_host(terminal_feedback& feedback) : feedback_(feedback) {}
    std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
    std::unique_ptr<IProgressWindow> OpenProgress(const std::string& caption,
                                                  int maximum) override {
        return feedback_.OpenProgress(caption, maximum);
    }
    void OpenDocument(const std::string&) override {}

  private:
    terminal_feedback& feedback_;
};

}  // namespace

int run_docs(std::span<const std::string_view> args, std::ostream& out) {
    std::string folder;
    std::vector<std::string_view> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 == args.size()) throw usage_error("-o needs a folder");
            folder = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    if (folder.empty()) throw usage_error("-o DIR is needed");
    import_arguments import = read_import_arguments(rest);

    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        throw usage_error("cannot make the folder " + folder);
    }

    const auto application = start_gui_application();
    terminal_feedback feedback("docs");
    TObjectModel model;
    import_files(import, model, feedback);

    const TDiagramFonts fonts;
    TDocDiagramPictures pictures(
        model, fonts, TDiagramDefaults{},
        DefaultDiagramStorage(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
    quiet_host host(feedback);
    TDocTempFolders previews;
    THtmlDocGen generator(model, host, previews, pictures);
    try {
        generator.Generate(folder, false);
    } catch (const std::system_error& failure) {
        throw usage_error(failure.what());
    } catch (const model_error& failure) {
        throw usage_error(failure.what());
    }
    out << generator.OutputDir() << "overview.html\n";
    return feedback.messages() == 0 ? 0 : 1;
}

}  // namespace tarnwell::cli
