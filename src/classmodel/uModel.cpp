#include "classmodel/uModel.h"

#include <algorithm>
#include <exception>

#include "classmodel/uError.h"

namespace tarnwell {

namespace {

std::unique_ptr<IModelIterator> live(const std::vector<TModelEntity*>& list) {
    return std::make_unique<TModelIterator>(list, false);
}

std::unique_ptr<IModelIterator> copied(const std::vector<TModelEntity*>& list) {
    return std::make_unique<TModelIterator>(list, true);
}

// The classifiers of the model an entity belongs to; none when its root is no logic package.
std::unique_ptr<IModelIterator> all_classifiers_of_root(TModelEntity& entity) {
    TModelEntity* root = entity.Root();
    if (!root->Is(TEntityKind::LogicPackage)) return copied({});
    return static_cast<TLogicPackage*>(root)->GetAllClassifiers();
}

[[noreturn]] void raise_lookup_failed(const TModelEntity& package, std::string_view lookup,
                                      std::string_view name) {
    throw model_error(std::string(package.ClassName()) + "." + std::string(lookup) +
                      " failed: " + std::string(name));
}

// The file name with its extension, if any, replaced.
std::string change_extension(const std::string& name, std::string_view extension) {
    const std::size_t slash = name.find_last_of('/');
    const std::size_t dot = name.find_last_of('.');
    const bool has_extension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (has_extension ? name.substr(0, dot) : name) + std::string(extension);
}

}  // namespace

void TOperation::SetOperationType(TOperationType type) {
    ChangeValue(operation_type_, type);
}
void TOperation::SetIsAbstract(bool is_abstract) {
    ChangeValue(is_abstract_, is_abstract);
}
void TOperation::SetReturnValue(TClassifier* classifier) {
    ChangeValue(return_value_, classifier);
}

TParameter* TOperation::AddParameter(const std::string& name) {
    return AddChild<TParameter>(parameters_, name);
}

std::unique_ptr<IModelIterator> TOperation::GetParameters() const {
    return live(parameters_.Items());
}

void TAttribute::SetTypeClassifier(TClassifier* classifier) {
    ChangeValue(type_classifier_, classifier);
}

std::unique_ptr<IModelIterator> TClassifier::GetFeatures() const {
    return live(features_.Items());
}

TAttribute* TClassifier::AddAttribute(const std::string& name) {
    return AddChild<TAttribute>(features_, name);
}

TOperation* TClassifier::AddOperation(const std::string& name) {
    return AddChild<TOperation>(features_, name);
}

std::unique_ptr<IModelIterator> TClassifier::GetOperations() const {
    return std::make_unique<TModelIterator>(*GetFeatures(), TEntityKind::Operation,
                                            TVisibility::Private);
}

std::unique_ptr<IModelIterator> TClassifier::GetAttributes() const {
    return std::make_unique<TModelIterator>(*GetFeatures(), TEntityKind::Attribute,
                                            TVisibility::Private);
}

TClass::~TClass() {
    try {
        Fire(TListenerCallback::BeforeRemoving);
    } catch (const std::exception& error) {
        TErrorHandler::Instance().Trace(error.what());
    }
}

void TClass::SetAncestor(TClass* ancestor) {
    ChangeValue(ancestor_, ancestor);
}

TInterface* TClass::AddImplements(TInterface* implemented) {
    implements_.push_back(implemented);
    try {
        Fire(TListenerCallback::BeforeChildAdded, implemented);
    } catch (...) {
        implements_.pop_back();
        throw;
    }
    Fire(TListenerCallback::AfterChildAdded, implemented);
    return implemented;
}

std::unique_ptr<IModelIterator> TClass::GetImplements() const {
    return live(implements_);
}

std::unique_ptr<IModelIterator> TClass::GetDescendants() {
    const TClassDescendantFilter filter(this);
    return std::make_unique<TModelIterator>(*all_classifiers_of_root(*this), &filter);
}

std::unique_ptr<IModelIterator> TInterface::GetImplementingClasses() {
    const TInterfaceImplementsFilter filter(this);
    return std::make_unique<TModelIterator>(*all_classifiers_of_root(*this), &filter);
}

std::string TAbstractPackage::GetConfigFile() const {
    if (!config_file_.empty()) return config_file_;
    const TModelEntity* owner = Owner();
    if (owner != nullptr && owner->Is(TEntityKind::AbstractPackage)) {
        return static_cast<const TAbstractPackage*>(owner)->GetConfigFile();
    }
    return {};
}

TClass* TUnitPackage::AddClass(const std::string& name) {
    return AddChild<TClass>(classifiers_, name);
}

TInterface* TUnitPackage::AddInterface(const std::string& name) {
    return AddChild<TInterface>(classifiers_, name);
}

TDataType* TUnitPackage::AddDataType(const std::string& name) {
    return AddChild<TDataType>(classifiers_, name);
}

TClassifier* TUnitPackage::FindClassifier(std::string_view name, bool raise, TCompareMode mode,
                                          std::optional<TEntityKind> kind) const {
    TModelEntity* found =
        classifiers_.FindFirst(name, mode, [&](TModelEntity* e) { return !kind || e->Is(*kind); });
    if (found == nullptr && raise) raise_lookup_failed(*this, "FindClassifier", name);
    return static_cast<TClassifier*>(found);
}

std::unique_ptr<IModelIterator> TUnitPackage::GetClassifiers() const {
    return live(classifiers_.Items());
}

void TUnitPackage::ChildRenamed(TModelEntity& child, const std::string& old_name) {
    classifiers_.Renamed(&child, old_name);
}

void TLogicPackage::SetConfigFile(const std::string& source_file) {
    if (!source_file.empty()) config_file_ = change_extension(source_file, ".vixModel");
}

TUnitPackage* TLogicPackage::AddUnitPackage(const std::string& name) {
    return AddChild<TUnitPackage>(packages_, name);
}

TUnitPackage* TLogicPackage::FindUnitPackage(std::string_view name, bool raise,
                                             TCompareMode mode) const {
    TModelEntity* found = packages_.FindFirst(
        name, mode, [](TModelEntity* e) { return e->Is(TEntityKind::UnitPackage); });
    if (found == nullptr && raise) raise_lookup_failed(*this, "FindUnitPackage", name);
    return static_cast<TUnitPackage*>(found);
}

std::unique_ptr<IModelIterator> TLogicPackage::GetPackages() const {
    return live(packages_.Items());
}

std::unique_ptr<IModelIterator> TLogicPackage::GetAllUnitPackages() const {
    std::vector<TModelEntity*> units;
    for (TModelEntity* package : packages_.Items()) {
        if (package->Is(TEntityKind::UnitPackage) && package->Name() != UnknownPackageName) {
            units.push_back(package);
        }
    }
    return copied(units);
}

std::unique_ptr<IModelIterator> TLogicPackage::GetAllClassifiers() const {
    std::vector<TModelEntity*> classifiers;
    const auto units = GetAllUnitPackages();
    while (units->HasNext()) {
        const auto members = static_cast<TUnitPackage*>(units->Next())->GetClassifiers();
        while (members->HasNext()) classifiers.push_back(members->Next());
    }
    return copied(classifiers);
}

void TLogicPackage::ChildRenamed(TModelEntity& child, const std::string& old_name) {
    packages_.Renamed(&child, old_name);
}

TAbstractPackage* AllClassesView() {
    static TAbstractPackage view(nullptr);
    return &view;
}

TObjectModel::TObjectModel() {
    CreateRoot();
}

TObjectModel::~TObjectModel() = default;

void TObjectModel::CreateRoot() {
    auto root = std::make_unique<TLogicPackage>(nullptr);
    root->SetLocked(locked_);
    unknown_ = root->AddUnitPackage(std::string(UnknownPackageName));
    root_ = std::move(root);
}

void TObjectModel::Clear() {
    if (locked_) {
        CreateRoot();
        return;
    }
    Lock();
    CreateRoot();
    Unlock();
}

void TObjectModel::Lock() {
    if (!locked_) {
        for (std::size_t i = 0; i < listeners_.size(); ++i) {
            if (auto* listener = dynamic_cast<IModelBeforeListener*>(listeners_[i])) {
                listener->BeforeChange(nullptr);
            }
        }
    }
    locked_ = true;
    root_->SetLocked(true);
}

void TObjectModel::Unlock() {
    locked_ = false;
    root_->SetLocked(false);
    for (std::size_t i = 0; i < listeners_.size(); ++i) {
        if (auto* listener = dynamic_cast<IModelAfterListener*>(listeners_[i])) {
            listener->AfterChange(nullptr);
        }
    }
}

void TObjectModel::AddListener(IListener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
        listeners_.push_back(listener);
    }
}

void TObjectModel::RemoveListener(IListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

}  // namespace tarnwell
