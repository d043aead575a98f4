#include "classmodel/uJavaParser.h"

#include <algorithm>
#include <iterator>

#include "classmodel/uError.h"

namespace tarnwell {

namespace {

bool is_blank(char c) {
    return c >= 1 && c <= 32;
}
bool is_line_end(char c) {
    return c == '\r' || c == '\n';
}
bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_name_start(char c) {
    return c == '$' || c == '_' || is_letter(c);
}
bool is_name_char(char c) {
    return c == '_' || is_letter(c) || is_digit(c);
}
bool is_single(char c) {
    return c == '(' || c == ')' || c == ',' || c == ';' || c == '=' || c == '{' || c == '}';
}
bool ends_run(char c) {
    return c == '\0' || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ' || c == '"' ||
           c == '\'' || is_single(c);
}

bool is_ignored_modifier(const std::string& token) {
    return token == "static" || token == "final" || token == "native" || token == "synchronized" ||
           token == "transient" || token == "volatile" || token == "strictfp" ||
           token == "default" || token == "sealed";
}

bool opens_type_arguments(const std::string& token) {
    return !token.empty() && token.front() == '<';
}

bool is_annotation(const std::string& token) {
    return token.size() > 1 && token.front() == '@' && token != "@interface";
}

// A variable-arity parameter's type, "String..." (one token, as names take dots), is the array
// type the method sees.
std::string without_ellipsis(std::string type) {
    if (type.size() > 3 && type.ends_with("...")) {
        type.resize(type.size() - 3);
        type += "[]";
    }
    return type;
}

// A lookup that cannot tell where it found a file.
TJavaParser::TSourceRequest WithoutFileNames(TCodeParser::TNeedPackageHandler request) {
    if (!request) return {};
    return [request = std::move(request)](const std::string& name) {
        return TFoundFile{request(name), {}};
    };
}

}  // namespace

TJavaImporter::TJavaImporter(TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
                             IImportFeedback& feedback, IDocumentOpener* opener)
    : TImportIntegrator(model, std::move(provider), feedback), opener_(opener) {}

TFileExtensions TJavaImporter::GetFileExtensions() {
    return {{".java", "Java"}};
}

TImportIntegratorClass TJavaImporter::Class(IDocumentOpener* opener) {
    return {"TJavaImporter", GetFileExtensions(),
            [opener](TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
                     IImportFeedback& feedback) -> std::unique_ptr<TImportIntegrator> {
                return std::make_unique<TJavaImporter>(model, std::move(provider), feedback,
                                                       opener);
            }};
}

void TJavaImporter::ImportOneFile(const std::string& file) {
    auto stream = CodeProvider().LoadStream(file);
    if (!stream) return;
    TJavaParser parser([this](const std::string& name) { return NeedPackageHandler(name); }, file);
    parser.ParseStream(std::move(stream), *Model().ModelRoot(), Model());
    if (opener_ != nullptr) opener_->OpenDocument(file);
}

TFoundFile TJavaImporter::NeedPackageHandler(const std::string& type_name) {
    // A type name is a Java name; anything else (such as "../x" read from broken source) must
    // not steer the lookup out of the search path.
    if (type_name.empty() || type_name.find('/') != std::string::npos) return {};
    return RequestSource(type_name + ".java");
}

TJavaParser::TJavaParser(TNeedPackageHandler request_package, int depth)
    : TJavaParser(WithoutFileNames(std::move(request_package)), {}, depth) {}

TJavaParser::TJavaParser(TSourceRequest request_source, std::string source_file, int depth)
    : request_source_(std::move(request_source)),
      source_file_(std::move(source_file)),
      depth_(depth) {}

int TJavaParser::LineAt(std::size_t pos) {
    pos = std::min(pos, buffer_.size());
    for (; line_scanned_ < pos; ++line_scanned_) {
        const char c = buffer_[line_scanned_];
        // CR LF, LF and a lone CR each end a line, as the editor counts them.
        if (c == '\n' || (c == '\r' && buffer_[line_scanned_ + 1] != '\n')) ++line_;
    }
    return line_;
}

void TJavaParser::ParseStream(std::unique_ptr<std::istream> stream, TLogicPackage& root,
                              TObjectModel& model) {
    if (!stream) return;
    buffer_.assign(std::istreambuf_iterator<char>(*stream), std::istreambuf_iterator<char>());
    buffer_.push_back('\0');
    stream.reset();
    pos_ = 0;
    line_scanned_ = 0;
    line_ = 1;
    root_ = &root;
    model_ = &model;
    ParseCompilationUnit();
}

void TJavaParser::SkipWhiteSpace() {
    bool after_line_comment = false;
    for (;;) {
        const std::size_t start = pos_;
        while (is_blank(Current())) ++pos_;
        if (Current() == '/' && Following() == '*') {
            pos_ += 2;
            const std::size_t text = pos_;
            while (Current() != '\0' && !(Current() == '*' && Following() == '/')) ++pos_;
            comment_.assign(buffer_, text, pos_ - text);
            if (Current() != '\0') pos_ += 2;
            after_line_comment = false;
        } else if (Current() == '/' && Following() == '/') {
            pos_ += 2;
            if (after_line_comment) {
                comment_ += "\r\n";
            } else {
                comment_.clear();
            }
            const std::size_t text = pos_;
            while (Current() != '\0' && !is_line_end(Current())) ++pos_;
            comment_.append(buffer_, text, pos_ - text);
            while (is_line_end(Current())) ++pos_;
            after_line_comment = true;
        }
        if (pos_ == start) return;
    }
}

void TJavaParser::GetNextToken() {
    token_.clear();
    SkipWhiteSpace();
    const std::size_t start = pos_;
    const char first = Current();
    if (buffer_.compare(pos_, 3, "\"\"\"") == 0) {
        // A text block runs to the next three quotes that no backslash escapes; its lines may
        // hold quotes, semicolons and braces.
        pos_ += 3;
        while (Current() != '\0' && buffer_.compare(pos_, 3, "\"\"\"") != 0) {
            pos_ += Current() == '\\' && Following() != '\0' ? 2 : 1;
        }
        if (Current() != '\0') pos_ += 3;
    } else if (first == '"' || first == '\'') {
        ++pos_;
        while (Current() != '\0' && Current() != first) {
            const bool escape = Current() == '\\' && (Following() == first || Following() == '\\');
            pos_ += escape ? 2 : 1;
        }
        if (Current() == first) ++pos_;
    } else if (is_name_start(first)) {
        ++pos_;
        for (;;) {
            while (is_name_char(Current())) ++pos_;
            if (Current() != '.') break;
            ++pos_;
        }
        while (Current() == '[' || Current() == ']') ++pos_;
    } else if (is_single(first)) {
        ++pos_;
    } else if (first == '[') {
        while (Current() == '[' || Current() == ']') ++pos_;
    } else {
        while (!ends_run(Current())) ++pos_;
    }
    token_.assign(buffer_, start, pos_ - start);
}

bool TJavaParser::Expect(std::string_view text) {
    GetNextToken();
    if (token_ != text) return false;
    GetNextToken();
    return true;
}

void TJavaParser::SkipBlock() {
    SkipBracketed("{", "}");
}

void TJavaParser::SkipBracketed(std::string_view open, std::string_view close) {
    // A counter instead of recursion: nested brackets of any depth cost no stack.
    std::size_t depth = 0;
    while (!token_.empty()) {
        if (token_ == open) {
            ++depth;
        } else if (token_ == close && --depth == 0) {
            break;
        }
        GetNextToken();
    }
    GetNextToken();
}

std::string TJavaParser::ReadType() {
    std::string type = token_;
    GetNextToken();
    // A generic type is shown as its raw type: List<String> is a List.
    if (opens_type_arguments(token_)) type += SkipTypeArguments();
    if (!token_.empty() && token_.front() == '[') {
        type += token_;
        GetNextToken();
    }
    if (token_ == "...") {
        type += "...";
        GetNextToken();
    }
    return without_ellipsis(type);
}

std::string TJavaParser::SkipTypeArguments() {
    // The angle brackets stand inside tokens ("<String", "Integer>>", "<T>[]"): they are
    // counted character by character. A token that can only end a declaration ends the list
    // too, so that a stray "<" cannot swallow the rest of the file.
    long depth = 0;
    while (!token_.empty()) {
        if (token_ == "{" || token_ == "}" || token_ == ";" || token_ == "(" || token_ == ")") {
            return {};
        }
        for (std::size_t i = 0; i < token_.size(); ++i) {
            if (token_[i] == '<') {
                ++depth;
            } else if (token_[i] == '>' && --depth == 0) {
                std::string rest = token_.substr(i + 1);
                GetNextToken();
                return rest.find('>') == std::string::npos ? rest : std::string();
            }
        }
        GetNextToken();
    }
    return {};
}

void TJavaParser::SkipParameterModifiers() {
    for (;;) {
        if (token_ == "final") {
            GetNextToken();
        } else if (is_annotation(token_)) {
            GetNextToken();
            if (token_ == "(") SkipBracketed("(", ")");
        } else {
            return;
        }
    }
}

void TJavaParser::ParseModifiers() {
    modifier_visibility_ = TVisibility::Public;
    modifier_abstract_ = false;
    for (;;) {
        // Annotations and a generic method's type parameters stand among the modifiers and
        // change nothing the model shows.
        if (is_annotation(token_)) {
            GetNextToken();
            if (token_ == "(") SkipBracketed("(", ")");
            continue;
        }
        if (opens_type_arguments(token_)) {
            SkipTypeArguments();
            continue;
        }
        if (token_ == "public") {
            modifier_visibility_ = TVisibility::Public;
        } else if (token_ == "protected") {
            modifier_visibility_ = TVisibility::Protected;
        } else if (token_ == "private") {
            modifier_visibility_ = TVisibility::Private;
        } else if (token_ == "abstract") {
            modifier_abstract_ = true;
        } else if (token_ == "non" && buffer_.compare(pos_, 7, "-sealed") == 0) {
            // "non-sealed" reads as a name and a run of other characters.
            pos_ += 7;
        } else if (!is_ignored_modifier(token_)) {
            return;
        }
        GetNextToken();
    }
}

void TJavaParser::ApplyModifiers(TModelEntity& entity) {
    entity.SetVisibility(modifier_visibility_);
    if (modifier_abstract_ && entity.Is(TEntityKind::Operation)) {
        static_cast<TOperation&>(entity).SetIsAbstract(true);
    }
}

void TJavaParser::ParseCompilationUnit() {
    GetNextToken();
    std::string package_name = "Default";
    if (token_ == "package") {
        GetNextToken();
        package_name = token_;
        Expect(";");
    }
    current_package_ = root_->FindUnitPackage(package_name, false, TCompareMode::CaseInsensitive);
    if (current_package_ == nullptr) current_package_ = root_->AddUnitPackage(package_name);

    while (token_ == "import") {
        GetNextToken();
        if (token_ == "static") {
            // A static import brings members, not types: nothing to resolve names with.
            while (!token_.empty() && token_ != ";") GetNextToken();
            GetNextToken();
            continue;
        }
        const std::string name = token_;
        const std::size_t dot = name.rfind('.');
        const std::string package = dot == std::string::npos ? std::string() : name.substr(0, dot);
        GetNextToken();
        if (token_ != "*") {
            class_imports_[dot == std::string::npos ? name : name.substr(dot + 1)] = package;
        } else {
            package_imports_.push_back(package);
            GetNextToken();
        }
        GetNextToken();
    }

    while (!token_.empty()) {
        ParseModifiers();
        if (!ParseTypeDeclaration(false, std::string())) GetNextToken();
    }
}

bool TJavaParser::ParseTypeDeclaration(bool inner, const std::string& outer_name) {
    if (token_ == "class") {
        ParseClass(inner, outer_name, TClassForm::Class);
    } else if (token_ == "enum") {
        ParseClass(inner, outer_name, TClassForm::Enum);
    } else if (token_ == "record") {
        ParseClass(inner, outer_name, TClassForm::Record);
    } else if (token_ == "interface" || token_ == "@interface") {
        ParseInterface();
    } else {
        return false;
    }
    return true;
}

template <class Classifier>
Classifier* TJavaParser::BeginDeclaration(Classifier* (TUnitPackage::*add)(const std::string&)) {
    if (depth_ >= max_depth) {
        TErrorHandler::Instance().Trace("Declarations nested too deeply, skipped: " + token_);
        while (!token_.empty() && token_ != "{") GetNextToken();
        if (token_ == "{") SkipBlock();
        return nullptr;
    }
    ++depth_;
    GetNextToken();
    Classifier* classifier = (current_package_->*add)(token_);
    classifier->SetSourceLocation(source_file_, LineAt(pos_ - token_.size()));
    ApplyModifiers(*classifier);
    GetNextToken();
    return classifier;
}

void TJavaParser::ParseClass(bool inner, const std::string& outer_name, TClassForm form) {
    TClass* c = BeginDeclaration(&TUnitPackage::AddClass);
    if (c == nullptr) return;
    if (opens_type_arguments(token_)) SkipTypeArguments();
    if (form == TClassForm::Record && token_ == "(") {
        // A record's components are its fields.
        GetNextToken();
        while (!token_.empty() && token_ != ")" && token_ != "{") {
            SkipParameterModifiers();
            const std::string type = ReadType();
            TAttribute* component = c->AddAttribute(token_);
            component->SetVisibility(TVisibility::Private);
            component->SetTypeClassifier(RequestClassifier(type, true, std::nullopt));
            GetNextToken();
            if (token_ == ",") GetNextToken();
        }
        if (token_ == ")") GetNextToken();
    }
    if (token_ == "extends") {
        GetNextToken();
        c->SetAncestor(static_cast<TClass*>(RequestClassifier(token_, true, TEntityKind::Class)));
        GetNextToken();
        if (opens_type_arguments(token_)) SkipTypeArguments();
    }
    if (token_ == "implements") {
        do {
            GetNextToken();
            c->AddImplements(
                static_cast<TInterface*>(RequestClassifier(token_, true, TEntityKind::Interface)));
            GetNextToken();
            if (opens_type_arguments(token_)) SkipTypeArguments();
        } while (token_ == ",");
    }
    if (token_ == "permits") {
        while (!token_.empty() && token_ != "{" && token_ != ";") GetNextToken();
    }
    if (token_ == "{") {
        GetNextToken();
        if (form == TClassForm::Enum) {
            // The constants, up to the ";" before the members or the end of the body; a
            // constant's arguments and body are read over.
            while (!token_.empty() && token_ != ";" && token_ != "}") {
                if (token_ == "{") {
                    SkipBlock();
                } else if (token_ == "(") {
                    SkipBracketed("(", ")");
                } else {
                    GetNextToken();
                }
            }
            if (token_ == ";") GetNextToken();
        }
        for (;;) {
            ParseModifiers();
            if (token_ == "{") {
                SkipBlock();
            } else if (token_ == ";") {
                GetNextToken();
            } else if (token_ == "}" || token_.empty()) {
                break;
            } else if (!ParseTypeDeclaration(true, c->Name())) {
                std::string type = ReadType();
                std::string name;
                if (type == c->Name() && token_ == "{") {
                    // A record's compact constructor.
                    SkipBlock();
                    continue;
                }
                if (type == c->Name() && token_ == "(") {
                    name = std::exchange(type, std::string());
                } else {
                    name = token_;
                    GetNextToken();
                }
                if (token_ != "(") {
                    ParseAttributes(*c, name, type);
                } else {
                    ParseOperation(*c->AddOperation(name), c->Name(), type);
                    GetNextToken();
                    while (token_ != ";" && token_ != "{" && !token_.empty()) GetNextToken();
                    if (token_ == "{") SkipBlock();
                }
            }
        }
    }
    GetNextToken();
    if (inner) c->SetName(outer_name + "." + c->Name());
    --depth_;
}

void TJavaParser::ParseInterface() {
    TInterface* i = BeginDeclaration(&TUnitPackage::AddInterface);
    if (i == nullptr) return;
    if (opens_type_arguments(token_)) SkipTypeArguments();
    if (token_ == "extends") {
        GetNextToken();
        i->SetAncestor(
            static_cast<TInterface*>(RequestClassifier(token_, true, TEntityKind::Interface)));
        GetNextToken();
        if (opens_type_arguments(token_)) SkipTypeArguments();
        while (token_ == ",") {
            GetNextToken();
            GetNextToken();
            if (opens_type_arguments(token_)) SkipTypeArguments();
        }
    }
    if (token_ == "permits") {
        while (!token_.empty() && token_ != "{" && token_ != ";") GetNextToken();
    }
    if (token_ == "{") {
        GetNextToken();
        for (;;) {
            ParseModifiers();
            if (token_ == ";") {
                GetNextToken();
            } else if (token_ == "}" || token_.empty()) {
                break;
            } else if (!ParseTypeDeclaration(false, std::string())) {
                const std::string type = ReadType();
                const std::string name = token_;
                GetNextToken();
                if (token_ != "(") {
                    ParseAttributes(*i, name, type);
                } else {
                    ParseOperation(*i->AddOperation(name), i->Name(), type);
                    GetNextToken();
                    // Default, static and private methods have bodies.
                    while (token_ != ";" && token_ != "{" && !token_.empty()) GetNextToken();
                    if (token_ == "{") SkipBlock();
                }
            }
        }
        GetNextToken();
    }
    --depth_;
}

template <class Owner>
void TJavaParser::ParseAttributes(Owner& owner, const std::string& name, const std::string& type) {
    bool ended = ParseAttribute(*owner.AddAttribute(name), type);
    while (token_ == ",") {
        GetNextToken();
        TAttribute* next = owner.AddAttribute(token_);
        GetNextToken();
        ended = ParseAttribute(*next, type);
    }
    // After the closing ";" the comment belongs to the next member and stays.
    if (!ended) comment_.clear();
}

bool TJavaParser::ParseAttribute(TAttribute& attribute, const std::string& type) {
    ApplyModifiers(attribute);
    if (token_ == "=") {
        while (token_ != ";" && !token_.empty()) {
            if (token_ == "{") {
                SkipBlock();
            } else {
                GetNextToken();
            }
        }
    }
    attribute.SetTypeClassifier(RequestClassifier(type, true, std::nullopt));
    attribute.Documentation().SetDescription(comment_);
    if (token_ != ";") return false;
    // Cleared before the next token is read: a comment in front of the next member is its own.
    comment_.clear();
    GetNextToken();
    return true;
}

void TJavaParser::ParseOperation(TOperation& operation, const std::string& owner_name,
                                 const std::string& type) {
    ApplyModifiers(operation);
    if (!type.empty() && type != "void") {
        operation.SetReturnValue(RequestClassifier(type, true, std::nullopt));
    }
    if (operation.ReturnValue() != nullptr) {
        operation.SetOperationType(TOperationType::Function);
    } else if (operation.Name() != owner_name) {
        operation.SetOperationType(TOperationType::Procedure);
    } else {
        operation.SetOperationType(TOperationType::Constructor);
    }
    GetNextToken();
    while (!token_.empty() && token_ != ")") {
        SkipParameterModifiers();
        const std::string parameter_type = ReadType();
        TClassifier* classifier = RequestClassifier(parameter_type, true, std::nullopt);
        operation.AddParameter(token_)->SetTypeClassifier(classifier);
        GetNextToken();
        if (token_ == ",") GetNextToken();
    }
    operation.Documentation().SetDescription(comment_);
    comment_.clear();
}

TClassifier* TJavaParser::RequestClassifier(const std::string& name, bool force,
                                            std::optional<TEntityKind> kind) {
    const std::string key = FoldCase(name);
    const auto cached = classifier_cache_.find(key);
    const bool has_entry = cached != classifier_cache_.end();
    if (has_entry && cached->second.first == name && (!kind || cached->second.second->Is(*kind))) {
        return cached->second.second;
    }

    TClassifier* found = SearchClassifier(name, kind);
    if (found == nullptr) {
        const std::size_t dot = name.rfind('.');
        if (RequestPackage(dot == std::string::npos ? name : name.substr(dot + 1))) {
            found = SearchClassifier(name, kind);
        }
    }
    if (found == nullptr) {
        TUnitPackage* unknown = model_->UnknownPackage();
        found = unknown->FindClassifier(name, false, TCompareMode::CaseSensitive, kind);
        if (found == nullptr && force) {
            if (!kind || *kind == TEntityKind::Class) {
                found = unknown->AddClass(name);
            } else if (*kind == TEntityKind::Interface) {
                found = unknown->AddInterface(name);
            } else if (*kind == TEntityKind::DataType) {
                found = unknown->AddDataType(name);
            } else {
                throw model_error("TJavaParser failed to locate " + name);
            }
        }
    }
    if (found != nullptr && !has_entry) classifier_cache_.try_emplace(key, name, found);
    return found;
}

TClassifier* TJavaParser::SearchClassifier(const std::string& name,
                                           std::optional<TEntityKind> kind) {
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        const std::string package_name = name.substr(0, dot);
        const std::string short_name = name.substr(dot + 1);
        TUnitPackage* package =
            root_->FindUnitPackage(package_name, false, TCompareMode::CaseInsensitive);
        if (package == nullptr && RequestPackage(short_name)) {
            package = root_->FindUnitPackage(package_name, false, TCompareMode::CaseInsensitive);
        }
        if (package == nullptr) return nullptr;
        return package->FindClassifier(short_name, false, TCompareMode::CaseSensitive, kind);
    }
    TClassifier* found = nullptr;
    if (const auto import = class_imports_.find(name); import != class_imports_.end()) {
        found = RequestClassifier(import->second + "." + name, false, kind);
    }
    for (std::size_t i = 0; found == nullptr && i < package_imports_.size(); ++i) {
        found = RequestClassifier(package_imports_[i] + "." + name, false, kind);
    }
    if (found == nullptr) {
        found = current_package_->FindClassifier(name, false, TCompareMode::CaseSensitive, kind);
    }
    return found;
}

bool TJavaParser::RequestPackage(const std::string& short_name) {
    if (!request_source_) return false;
    if (depth_ >= max_depth - pulled_file_reserve) {
        TErrorHandler::Instance().Trace("Type lookups nested too deeply, not read: " + short_name);
        return false;
    }
    TFoundFile found = request_source_(short_name);
    if (!found.Stream) return false;
    TJavaParser nested(request_source_, std::move(found.File), depth_ + 1);
    nested.ParseStream(std::move(found.Stream), *root_, *model_);
    return true;
}

}  // namespace tarnwell
