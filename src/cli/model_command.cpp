#include "cli/model_command.h"

#include <fnmatch.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "classmodel/uError.h"
#include "classmodel/uIntegrator.h"
#include "classmodel/uJavaParser.h"
#include "classmodel/uModel.h"
#include "cli/cli_options.h"
#include "cli/json_writer.h"

namespace tarnwell::cli {

namespace {

namespace fs = std::filesystem;

// Status, progress, error and trace lines of an import on standard error. Errors and trace
// lines always show; status and progress only on a terminal, as one line redrawn in place.
class terminal_feedback : public IImportFeedback, public ITraceSink {
  public:
    terminal_feedback() : terminal_(isatty(STDERR_FILENO) == 1) {}
    terminal_feedback(const terminal_feedback&) = delete;
    terminal_feedback& operator=(const terminal_feedback&) = delete;
    // Leaves the last status line standing.
    ~terminal_feedback() override {
        if (terminal_ && !status_.empty()) std::cerr << "\r\033[K" << status_ << '\n';
    }

    void ShowStatus(const std::string& text) override {
        status_ = text;
        redraw();
    }
    void ShowMessage(const std::string& text) override {
        ++messages_;
        print("tarnwell-cli model: " + text);
    }
    std::unique_ptr<IProgressWindow> OpenProgress(const std::string&, int maximum) override {
        if (!terminal_) return nullptr;
        return std::make_unique<progress_line>(*this, maximum);
    }
    void SetBusy(bool) override {}
    void TraceLine(std::string_view line) override { print(std::string(line)); }

    int messages() const { return messages_; }

  private:
    class progress_line : public IProgressWindow {
      public:
        progress_line(terminal_feedback& owner, int maximum) : owner_(owner) {
            owner_.maximum_ = maximum;
            owner_.done_ = 0;
        }
        progress_line(const progress_line&) = delete;
        progress_line& operator=(const progress_line&) = delete;
        ~progress_line() override { owner_.maximum_ = 0; }
        void Tick() override {
            ++owner_.done_;
            owner_.redraw();
        }

      private:
        terminal_feedback& owner_;
    };

    void print(const std::string& line) {
        if (terminal_) std::cerr << "\r\033[K";
        std::cerr << line << '\n';
        redraw();
    }
    void redraw() {
        if (!terminal_) return;
        std::string line;
        if (maximum_ > 0) {
            line.append("[").append(std::to_string(done_)).append("/");
            line.append(std::to_string(maximum_)).append("] ");
        }
        line += status_;
        constexpr std::size_t width = 100;
        if (line.size() > width) line = line.substr(0, width - 3) + "...";
        std::cerr << "\r\033[K" << line << std::flush;
    }

    bool terminal_;
    std::string status_;
    int maximum_ = 0;
    int done_ = 0;
    int messages_ = 0;
};

// Routes the trace to a sink for as long as it lives.
class trace_scope {
  public:
    trace_scope(bool on, ITraceSink& sink) {
        TErrorHandler::Instance().SetTracing(on);
        TErrorHandler::Instance().SetSink(&sink);
    }
    trace_scope(const trace_scope&) = delete;
    trace_scope& operator=(const trace_scope&) = delete;
    ~trace_scope() {
        TErrorHandler::Instance().SetSink(nullptr);
        TErrorHandler::Instance().SetTracing(false);
    }
};

bool has_wildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

void add_matching_files(const std::string& pattern, std::vector<std::string>& files) {
    const std::size_t slash = pattern.find_last_of('/');
    const std::string folder = pattern.substr(0, slash + 1);
    const std::string file_pattern = pattern.substr(slash + 1);
    std::vector<std::string> matches;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        std::error_code type_error;
        if (name.front() == '.' || !entries->is_regular_file(type_error)) continue;
        if (fnmatch(file_pattern.c_str(), name.c_str(), 0) == 0) matches.push_back(folder + name);
    }
    std::sort(matches.begin(), matches.end());
    files.insert(files.end(), matches.begin(), matches.end());
}

void add_file_argument(std::string_view argument, std::vector<std::string>& files,
                       std::set<std::string>& open_lists);

std::string absolute_name(std::string_view name) {
    std::error_code error;
    const fs::path path = fs::absolute(fs::path(name), error);
    if (error)
        throw usage_error("cannot make " + std::string(name) + " absolute: " + error.message());
    return path.lexically_normal().string();
}

void add_list_file(const std::string& list, std::vector<std::string>& files,
                   std::set<std::string>& open_lists) {
    const std::string key = absolute_name(list);
    if (!open_lists.insert(key).second) throw usage_error("@" + list + " names itself");
    std::ifstream in(list, std::ios::binary);
    if (!in) throw usage_error("cannot read @" + list);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) add_file_argument(line, files, open_lists);
    }
    open_lists.erase(key);
}

void add_file_argument(std::string_view argument, std::vector<std::string>& files,
                       std::set<std::string>& open_lists) {
    if (argument.empty()) return;
    if (argument.front() == '@') {
        add_list_file(std::string(argument.substr(1)), files, open_lists);
        return;
    }
    const std::string name = absolute_name(argument);
    if (has_wildcard(name)) {
        add_matching_files(name, files);
    } else {
        files.push_back(name);
    }
}

std::string_view visibility_text(TVisibility visibility) {
    switch (visibility) {
        case TVisibility::Private:
            return "private";
        case TVisibility::Protected:
            return "protected";
        case TVisibility::Public:
            return "public";
        case TVisibility::Published:
            return "published";
    }
    return "";
}

std::string_view operation_type_text(TOperationType type) {
    switch (type) {
        case TOperationType::Constructor:
            return "constructor";
        case TOperationType::Destructor:
            return "destructor";
        case TOperationType::Procedure:
            return "procedure";
        case TOperationType::Function:
            return "function";
    }
    return "";
}

std::string_view classifier_kind_text(const TModelEntity& classifier) {
    if (classifier.Is(TEntityKind::Class)) return "class";
    if (classifier.Is(TEntityKind::Interface)) return "interface";
    return "datatype";
}

// The full name of a referenced entity as a JSON value; null for none.
std::string reference(const TModelEntity* entity) {
    return entity == nullptr ? "null" : json_string(entity->FullName());
}

// The JSON array of the elements an iterator gives, each written by `write`.
template <class Write>
std::string json_array(IModelIterator& items, Write&& write) {
    std::string text = "[";
    while (items.HasNext()) {
        if (text.size() > 1) text += ',';
        text += write(items.Next());
    }
    return text + "]";
}

std::string parameter_json(TModelEntity* entity) {
    const auto* parameter = static_cast<TParameter*>(entity);
    return json_object()
        .field("name", parameter->Name())
        .raw_field("type", reference(parameter->TypeClassifier()))
        .str();
}

std::string feature_json(TModelEntity* entity) {
    json_object feature;
    if (entity->Is(TEntityKind::Operation)) {
        const auto* operation = static_cast<TOperation*>(entity);
        feature.field("kind", "operation")
            .field("name", operation->Name())
            .field("visibility", visibility_text(operation->Visibility()))
            .raw_field("type", reference(operation->ReturnValue()))
            .field("operation_type", operation_type_text(operation->OperationType()))
            .field("abstract", operation->IsAbstract())
            .raw_field("parameters", json_array(*operation->GetParameters(), parameter_json));
    } else {
        const auto* attribute = static_cast<TAttribute*>(entity);
        feature.field("kind", "attribute")
            .field("name", attribute->Name())
            .field("visibility", visibility_text(attribute->Visibility()))
            .raw_field("type", reference(attribute->TypeClassifier()));
    }
    return feature.field("documentation", entity->Documentation().Description()).str();
}

std::string classifier_json(TModelEntity* entity) {
    const auto* classifier = static_cast<TClassifier*>(entity);
    const TModelEntity* ancestor = nullptr;
    std::string implements = "[]";
    if (classifier->Is(TEntityKind::Class)) {
        const auto* c = static_cast<const TClass*>(classifier);
        ancestor = c->Ancestor();
        implements = json_array(*c->GetImplements(), [](TModelEntity* e) { return reference(e); });
    } else if (classifier->Is(TEntityKind::Interface)) {
        ancestor = static_cast<const TInterface*>(classifier)->Ancestor();
    }
    return json_object()
        .field("kind", classifier_kind_text(*classifier))
        .field("name", classifier->Name())
        .field("full_name", classifier->FullName())
        .field("visibility", visibility_text(classifier->Visibility()))
        .raw_field("ancestor", reference(ancestor))
        .raw_field("implements", implements)
        .field("documentation", classifier->Documentation().Description())
        .raw_field("features", json_array(*classifier->GetFeatures(), feature_json))
        .str();
}

}  // namespace

std::vector<std::string> expand_file_arguments(std::span<const std::string_view> args) {
    std::vector<std::string> files;
    std::set<std::string> open_lists;
    for (const std::string_view arg : args) add_file_argument(arg, files, open_lists);
    return files;
}

void write_model_json(const TObjectModel& model, const std::vector<std::string>& files,
                      std::ostream& out) {
    out << "{\"files\":[";
    for (std::size_t i = 0; i < files.size(); ++i)
        out << (i > 0 ? "," : "") << json_string(files[i]);
    out << "],\n\"packages\":[";
    const auto packages = model.ModelRoot()->GetPackages();
    for (bool first = true; packages->HasNext(); first = false) {
        const TModelEntity* package = packages->Next();
        if (!package->Is(TEntityKind::UnitPackage)) continue;
        out << (first ? "\n" : ",\n")
            << json_object()
                   .field("name", package->Name())
                   .field("full_name", package->FullName())
                   .raw_field(
                       "classifiers",
                       json_array(*static_cast<const TUnitPackage*>(package)->GetClassifiers(),
                                  classifier_json))
                   .str();
    }
    out << "]}\n";
}

int run_model(std::span<const std::string_view> args, std::ostream& out) {
    std::vector<std::string_view> file_args;
    for (const std::string_view arg : args) {
        if (TErrorHandler::TraceSwitchGiven(std::span(&arg, 1))) continue;
        if (arg.size() > 1 && arg.front() == '-')
            throw usage_error("unknown option " + std::string(arg));
        if (arg.empty() || arg == "-") throw usage_error("model reads files, not standard input");
        file_args.push_back(arg);
    }
    std::vector<std::string> files = expand_file_arguments(file_args);
    if (files.empty()) throw usage_error("FILES or @LIST name no file");

    terminal_feedback feedback;
    const trace_scope trace(TErrorHandler::TraceSwitchGiven(args), feedback);
    TIntegrators integrators;
    integrators.Register(TJavaImporter::Class(nullptr));
    TObjectModel model;
    const std::string first = files.front();
    if (!ImportFileList(integrators, model, files, feedback)) {
        throw usage_error("no importer reads " + first + " (the first file chooses the importer)");
    }
    write_model_json(model, files, out);
    return feedback.messages() == 0 ? 0 : 1;
}

}  // namespace tarnwell::cli
