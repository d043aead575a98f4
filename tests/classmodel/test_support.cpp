#include "test_support.h"

#include <libxml/parser.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace tarnwell::test {

std::string data_path(const std::string& name) {
    return std::string(TARNWELL_CLASSMODEL_DATA) + "/" + name;
}

std::string read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool well_formed(const std::string& xml) {
    xmlDocPtr document =
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "export.xmi", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (document == nullptr) return false;
    xmlFreeDoc(document);
    return true;
}

std::unique_ptr<std::istream> memory_provider::LoadStream(const std::string& name) {
    if (name.empty()) return nullptr;
    ShowStatus("Reading " + name);
    CountLoading();
    const auto found = files_.find(name);
    if (found == files_.end()) throw model_error("Cannot open " + name);
    AddLoaded(name);
    return std::make_unique<std::istringstream>(found->second);
}

std::string memory_provider::LocateFile(const std::string& name) {
    if (!name.empty() && name.front() == '/') return files_.contains(name) ? name : std::string();
    for (const std::string& folder : SearchPath()) {
        if (files_.contains(folder + name)) return folder + name;
    }
    return {};
}

namespace {

class progress_window : public IProgressWindow {
  public:
    explicit progress_window(recording_feedback& feedback) : feedback_(feedback) {
        feedback_.progress_open = true;
    }
    ~progress_window() override { feedback_.progress_open = false; }
    void Tick() override { ++feedback_.ticks; }

  private:
    recording_feedback& feedback_;
};

std::string type_name(const TModelEntity* type) {
    if (type == nullptr) return "-";
    if (type->Owner() != nullptr && type->Owner()->Name() == UnknownPackageName) {
        return "?" + type->Name();
    }
    return type->FullName().substr(2);
}

std::string visibility_name(TVisibility visibility) {
    static const char* const names[] = {"private", "protected", "public", "published"};
    return names[static_cast<int>(visibility)];
}

std::string documentation(const TModelEntity& entity) {
    std::string text = entity.Documentation().Description();
    if (text.empty()) return "";
    std::string escaped;
    for (const char c : text) {
        if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return " // " + escaped;
}

void dump_feature(const TModelEntity& feature, std::ostream& out) {
    out << "    " << visibility_name(feature.Visibility()) << ' ';
    if (feature.Is(TEntityKind::Attribute)) {
        const auto& attribute = static_cast<const TAttribute&>(feature);
        out << "attribute " << attribute.Name() << " : " << type_name(attribute.TypeClassifier());
    } else {
        const auto& operation = static_cast<const TOperation&>(feature);
        static const char* const types[] = {"constructor", "destructor", "procedure", "function"};
        out << (operation.IsAbstract() ? "abstract " : "")
            << types[static_cast<int>(operation.OperationType())] << ' ' << operation.Name() << '(';
        const auto parameters = operation.GetParameters();
        for (bool first = true; parameters->HasNext(); first = false) {
            const auto* parameter = static_cast<const TParameter*>(parameters->Next());
            out << (first ? "" : ", ") << parameter->Name() << ": "
                << type_name(parameter->TypeClassifier());
        }
        out << ')';
        if (operation.ReturnValue() != nullptr) out << " : " << type_name(operation.ReturnValue());
    }
    out << documentation(feature) << '\n';
}

void dump_classifier(const TClassifier& classifier, std::ostream& out) {
    out << "  " << visibility_name(classifier.Visibility()) << ' '
        << (classifier.Is(TEntityKind::Class)       ? "class"
            : classifier.Is(TEntityKind::Interface) ? "interface"
                                                    : "datatype")
        << ' ' << classifier.Name();
    if (classifier.Is(TEntityKind::Class)) {
        const auto& c = static_cast<const TClass&>(classifier);
        if (c.Ancestor() != nullptr) out << " extends " << type_name(c.Ancestor());
        for (const TModelEntity* i : c.Implements()) out << " implements " << type_name(i);
    } else if (classifier.Is(TEntityKind::Interface)) {
        const auto& i = static_cast<const TInterface&>(classifier);
        if (i.Ancestor() != nullptr) out << " extends " << type_name(i.Ancestor());
    }
    out << documentation(classifier) << '\n';
    const auto features = classifier.GetFeatures();
    while (features->HasNext()) dump_feature(*features->Next(), out);
}

}  // namespace

std::unique_ptr<IProgressWindow> recording_feedback::OpenProgress(const std::string& caption,
                                                                  int maximum) {
    progress_captions.push_back(caption);
    progress_maximum = maximum;
    return std::make_unique<progress_window>(*this);
}

trace_recorder::trace_recorder() {
    TErrorHandler::Instance().SetTracing(true);
    TErrorHandler::Instance().SetSink(this);
}

trace_recorder::~trace_recorder() {
    TErrorHandler::Instance().SetSink(nullptr);
    TErrorHandler::Instance().SetTracing(false);
}

class_file_builder::class_file_builder(std::string_view this_name, std::string_view super_name,
                                       std::uint16_t access)
    : access_(access) {
    this_ = class_entry(this_name);
    if (!super_name.empty()) super_ = class_entry(super_name);
}

std::string class_file_builder::u2(unsigned value) {
    return {static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string class_file_builder::u4(unsigned long value) {
    return u2(static_cast<unsigned>((value >> 16) & 0xFFFF)) +
           u2(static_cast<unsigned>(value & 0xFFFF));
}

std::uint16_t class_file_builder::entry(std::string bytes, int slots) {
    pool_ += bytes;
    const std::uint16_t index = next_;
    next_ = static_cast<std::uint16_t>(next_ + slots);
    return index;
}

std::uint16_t class_file_builder::utf8(std::string_view text) {
    return entry("\x01" + u2(static_cast<unsigned>(text.size())) + std::string(text));
}

std::uint16_t class_file_builder::class_entry(std::string_view name) {
    const std::uint16_t name_index = utf8(name);
    return entry("\x07" + u2(name_index));
}

class_file_builder& class_file_builder::implements(std::string_view name) {
    interfaces_ += u2(class_entry(name));
    ++interface_count_;
    return *this;
}

class_file_builder& class_file_builder::field(std::uint16_t access, std::string_view name,
                                              std::string_view descriptor) {
    fields_ += u2(access) + u2(utf8(name)) + u2(utf8(descriptor)) + u2(0);
    ++field_count_;
    return *this;
}

class_file_builder& class_file_builder::method(std::uint16_t access, std::string_view name,
                                               std::string_view descriptor) {
    // One attribute, skipped by its length, as every real method has.
    methods_ += u2(access) + u2(utf8(name)) + u2(utf8(descriptor)) + u2(1) + u2(utf8("Code")) +
                u4(3) + "abc";
    ++method_count_;
    return *this;
}

class_file_builder& class_file_builder::declaration(std::uint16_t this_index,
                                                    std::uint16_t super_index) {
    this_ = this_index;
    super_ = super_index;
    return *this;
}

std::string class_file_builder::bytes() const {
    return u4(0xCAFEBABE) + u2(0) + u2(61) + u2(next_) + pool_ + u2(access_) + u2(this_) +
           u2(super_) + u2(static_cast<unsigned>(interface_count_)) + interfaces_ +
           u2(static_cast<unsigned>(field_count_)) + fields_ +
           u2(static_cast<unsigned>(method_count_)) + methods_ + u2(0);
}

std::string dump(const TObjectModel& model) {
    std::ostringstream out;
    const auto packages = model.ModelRoot()->GetPackages();
    while (packages->HasNext()) {
        const auto* package = static_cast<const TUnitPackage*>(packages->Next());
        out << "package " << package->Name() << '\n';
        const auto classifiers = package->GetClassifiers();
        while (classifiers->HasNext()) {
            dump_classifier(*static_cast<const TClassifier*>(classifiers->Next()), out);
        }
    }
    return out.str();
}

}  // namespace tarnwell::test
