#include "classmodel/uJavaClassImport.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include "classmodel/uError.h"
#include "classmodel/uJarArchive.h"

namespace tarnwell {

namespace {

// Package-private members count as private.
TVisibility visibility_of(std::uint16_t flags) {
    if ((flags & access_flag::Public) != 0) return TVisibility::Public;
    if ((flags & access_flag::Private) == 0 && (flags & access_flag::Protected) != 0) {
        return TVisibility::Protected;
    }
    return TVisibility::Private;
}

// Members the compiler made up ("this$0", "access$000", bridges, lambda bodies) are flagged
// synthetic; older ones only show by a leading "$".
bool is_synthetic(const std::string& name, std::uint16_t flags) {
    return name.empty() || name.front() == '$' || (flags & access_flag::Synthetic) != 0;
}

// Sets `pointer` for as long as it lives.
template <class T>
class pointer_scope {
  public:
    pointer_scope(T*& pointer, T* value) : pointer_(pointer) { pointer_ = value; }
    pointer_scope(const pointer_scope&) = delete;
    pointer_scope& operator=(const pointer_scope&) = delete;
    ~pointer_scope() { pointer_ = nullptr; }

  private:
    T*& pointer_;
};

}  // namespace

std::string ConvertClassName(std::string_view name) {
    std::string converted;
    converted.reserve(name.size());
    for (const char c : name) {
        if (c == '/') {
            converted += '.';
        } else if (c != ';') {
            converted += c;
        }
    }
    return converted;
}

std::string PackagePart(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string("Default")
                                         : std::string(name.substr(0, dot));
}

std::string ShortName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

TJavaClassImporter::TJavaClassImporter(TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
                                       IImportFeedback& feedback)
    : TImportIntegrator(model, std::move(provider), feedback) {}

TFileExtensions TJavaClassImporter::GetFileExtensions() {
    return {{".class", "Java Class"}, {".jar", "Java Archive"}};
}

TImportIntegratorClass TJavaClassImporter::Class() {
    return {"TJavaClassImporter", GetFileExtensions(),
            [](TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
               IImportFeedback& feedback) -> std::unique_ptr<TImportIntegrator> {
                return std::make_unique<TJavaClassImporter>(model, std::move(provider), feedback);
            }};
}

void TJavaClassImporter::ImportOneFile(const std::string& file) {
    if (LowerExtension(file) == ".jar") {
        ImportJar(file);
    } else {
        Parse(CodeProvider().LoadStream(file));
    }
}

void TJavaClassImporter::ImportJar(const std::string& file) {
    const auto stream = CodeProvider().LoadStream(file);
    if (!stream) return;
    TJarArchive jar(file, std::string(std::istreambuf_iterator<char>(*stream), {}));
    const pointer_scope<TJarArchive> reading(jar_, &jar);
    jar_file_ = file;
    // Each class is one file of the batch: one that fails is shown and the rest goes on.
    for (const std::string& entry : jar.ClassEntries()) {
        try {
            Parse(LoadJarEntry(entry));
        } catch (const std::exception& error) {
            Feedback().ShowMessage(error.what());
        }
    }
}

void TJavaClassImporter::Parse(std::unique_ptr<std::istream> stream) {
    if (!stream) return;
    TJavaClassParser parser([this](const std::string& name) { return NeedPackageHandler(name); },
                            [this](const std::string& text) { Feedback().ShowMessage(text); });
    parser.ParseStream(std::move(stream), *Model().ModelRoot(), Model());
}

std::unique_ptr<std::istream> TJavaClassImporter::NeedPackageHandler(const std::string& type_name) {
    const std::size_t dot = type_name.rfind('.');
    std::string package_path;
    if (dot != std::string::npos) {
        package_path = type_name.substr(0, dot + 1);
        std::replace(package_path.begin(), package_path.end(), '.', '/');
    }
    const std::string file_name = ShortName(type_name) + ".class";
    if (jar_ != nullptr && jar_->Contains(package_path + file_name)) {
        return LoadJarEntry(package_path + file_name);
    }
    // A class file lies in the folder of its package: a folder of the search path ending with
    // the package's path goes first, so that a short name several packages share finds the
    // right file.
    if (!package_path.empty()) {
        for (const std::string& folder : CodeProvider().SearchPath()) {
            if (folder.ends_with("/" + package_path) &&
                !CodeProvider().LocateFile(folder + file_name).empty()) {
                return RequestFile(folder + file_name);
            }
        }
    }
    return RequestFile(file_name);
}

std::unique_ptr<std::istream> TJavaClassImporter::LoadJarEntry(const std::string& entry) {
    const std::string name = jar_file_ + "!/" + entry;
    if (!MarkFileRead(name)) return nullptr;
    Feedback().ShowStatus("Reading " + name);
    return std::make_unique<std::istringstream>(jar_->Read(entry));
}

TJavaClassParser::TJavaClassParser(TNeedPackageHandler request_package, TErrorReport report,
                                   int depth)
    : request_package_(std::move(request_package)), report_(std::move(report)), depth_(depth) {}

void TJavaClassParser::ParseStream(std::unique_ptr<std::istream> stream, TLogicPackage& root,
                                   TObjectModel& model) {
    if (!stream) return;
    const std::string bytes(std::istreambuf_iterator<char>(*stream), {});
    stream.reset();
    const TClassFile file(bytes);
    root_ = &root;
    model_ = &model;
    ParseClassFile(file);
}

void TJavaClassParser::ParseClassFile(const TClassFile& file) {
    const std::uint16_t flags = file.Declaration.AccessFlags;
    // A module descriptor ("module-info") declares no type.
    if ((flags & access_flag::Module) != 0) return;
    const std::string class_name =
        ConvertClassName(file.ThisClass() != nullptr ? file.ThisClass()->Name() : NoName);
    const std::string package_name = PackagePart(class_name);
    TUnitPackage* package =
        root_->FindUnitPackage(package_name, false, TCompareMode::CaseInsensitive);
    if (package == nullptr) package = root_->AddUnitPackage(package_name);

    if ((flags & access_flag::Interface) != 0) {
        TInterface* i = package->AddInterface(ShortName(class_name));
        i->SetVisibility(visibility_of(flags));
        ParseMembers(*i, file);
        return;
    }
    TClass* c = package->AddClass(ShortName(class_name));
    if (const TConstClass_or_String* super = file.SuperClass(); super != nullptr) {
        const std::string super_name = ConvertClassName(super->Name());
        if (super_name != "java.lang.Object") {
            c->SetAncestor(static_cast<TClass*>(ResolveType(super_name, TEntityKind::Class)));
        }
    }
    for (const TConstClass_or_String* entry : file.Interfaces()) {
        if (entry == nullptr) continue;
        c->AddImplements(static_cast<TInterface*>(
            ResolveType(ConvertClassName(entry->Name()), TEntityKind::Interface)));
    }
    c->SetVisibility(visibility_of(flags));
    ParseMembers(*c, file);
}

template <class Owner>
void TJavaClassParser::ParseMembers(Owner& owner, const TClassFile& file) {
    for (const TFieldInfo& field : file.FieldSection.Fields) {
        if (!is_synthetic(field.Name, field.AccessFlags)) {
            ParseField(*owner.AddAttribute(field.Name), field);
        }
    }
    for (const TMethodInfo& method : file.MethodSection.Methods) {
        // A constructor takes the class's name; in an interface "<init>" stays what it is.
        const bool constructor = method.Name == "<init>" && owner.Is(TEntityKind::Class);
        const std::string& name = constructor ? owner.Name() : method.Name;
        // Static initialisers ("<clinit>") are left out with the other names in angle brackets.
        if (is_synthetic(name, method.AccessFlags) || name.front() == '<') continue;
        ParseMethod(*owner.AddOperation(name), method);
    }
}

void TJavaClassParser::ParseField(TAttribute& attribute, const TFieldInfo& field) {
    attribute.SetVisibility(visibility_of(field.AccessFlags));
    std::size_t pos = 0;
    attribute.SetTypeClassifier(ReadFieldType(field.Descriptor, pos));
}

void TJavaClassParser::ParseMethod(TOperation& operation, const TMethodInfo& method) {
    operation.SetVisibility(visibility_of(method.AccessFlags));
    operation.SetIsAbstract((method.AccessFlags & access_flag::Abstract) != 0);
    const std::string& descriptor = method.Descriptor;
    std::size_t pos = 0;
    if (descriptor.starts_with('(')) {
        pos = 1;
        while (pos < descriptor.size() && descriptor[pos] != ')') {
            TClassifier* type = ReadFieldType(descriptor, pos);
            operation.AddParameter("a")->SetTypeClassifier(type);
        }
        ++pos;
    }
    if (pos >= descriptor.size() || descriptor[pos] != 'V') {
        operation.SetReturnValue(ReadFieldType(descriptor, pos));
    }
    if (method.Name == "<init>") {
        operation.SetName(operation.Owner()->Name());
        operation.SetOperationType(TOperationType::Constructor);
    } else {
        operation.SetOperationType(operation.ReturnValue() != nullptr ? TOperationType::Function
                                                                      : TOperationType::Procedure);
    }
}

TClassifier* TJavaClassParser::ReadFieldType(const std::string& descriptor, std::size_t& pos) {
    std::size_t dimensions = 0;
    while (pos < descriptor.size() && descriptor[pos] == '[') {
        ++dimensions;
        ++pos;
    }
    std::string name;
    std::optional<TEntityKind> kind = TEntityKind::DataType;
    switch (pos < descriptor.size() ? descriptor[pos] : '\0') {
        case 'B':
            name = "byte";
            break;
        case 'C':
            name = "char";
            break;
        case 'D':
            name = "double";
            break;
        case 'F':
            name = "float";
            break;
        case 'I':
            name = "int";
            break;
        case 'J':
            name = "long";
            break;
        case 'S':
            name = "short";
            break;
        case 'Z':
            name = "boolean";
            break;
        case 'L': {
            const std::size_t end = std::min(descriptor.find(';', pos + 1), descriptor.size());
            name = ConvertClassName(std::string_view(descriptor).substr(pos + 1, end - pos - 1));
            kind = std::nullopt;
            pos = end;
            break;
        }
        default:
            TErrorHandler::Instance().Trace("TJavaClassParser getfieldtype: " + descriptor);
            // Stepping past the character keeps a parameter list of bad characters finite.
            if (pos < descriptor.size()) ++pos;
            return nullptr;
    }
    if (pos < descriptor.size()) ++pos;
    for (std::size_t i = 0; i < dimensions; ++i) name += "[]";
    return ResolveType(name, kind);
}

TClassifier* TJavaClassParser::ResolveType(const std::string& name,
                                           std::optional<TEntityKind> kind) {
    TClassifier* found = FindType(name, kind);
    if (found == nullptr && RequestPackage(name)) found = FindType(name, kind);
    if (found != nullptr) return found;
    TUnitPackage* unknown = model_->UnknownPackage();
    found = unknown->FindClassifier(name, false, TCompareMode::CaseSensitive, kind);
    if (found != nullptr) return found;
    if (kind == TEntityKind::Interface) return unknown->AddInterface(name);
    if (kind == TEntityKind::DataType) return unknown->AddDataType(name);
    return unknown->AddClass(name);
}

TClassifier* TJavaClassParser::FindType(const std::string& name,
                                        std::optional<TEntityKind> kind) const {
    const TUnitPackage* package =
        root_->FindUnitPackage(PackagePart(name), false, TCompareMode::CaseInsensitive);
    if (package == nullptr) return nullptr;
    return package->FindClassifier(ShortName(name), false, TCompareMode::CaseSensitive, kind);
}

bool TJavaClassParser::RequestPackage(const std::string& type_name) {
    if (!request_package_) return false;
    if (depth_ >= max_depth) {
        TErrorHandler::Instance().Trace("Type lookups nested too deeply, not read: " + type_name);
        return false;
    }
    try {
        auto stream = request_package_(type_name);
        if (!stream) return false;
        TJavaClassParser nested(request_package_, report_, depth_ + 1);
        nested.ParseStream(std::move(stream), *root_, *model_);
    } catch (const std::exception& error) {
        // A broken neighbour stops only itself when there is somewhere to say so.
        if (!report_) throw;
        report_(error.what());
    }
    return true;
}

}  // namespace tarnwell
