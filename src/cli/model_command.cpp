#include "cli/model_command.h"

#include <ostream>

#include "classmodel/uModel.h"
#include "cli/json_writer.h"
#include "cmdline/model_import.h"

namespace tarnwell::cli {

namespace {

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
    import_arguments import = read_import_arguments(args);
    terminal_feedback feedback("model");
    TObjectModel model;
    import_files(import, model, feedback);
    write_model_json(model, import.files, out);
    return feedback.messages() == 0 ? 0 : 1;
}

}  // namespace tarnwell::cli
