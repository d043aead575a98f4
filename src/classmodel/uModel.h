// The class model: packages, classifiers, features and parameters, and the object model that
// holds them. Importers fill it; diagrams, the model tree and the exporters read it.
//
// Ownership: a unit package belongs to the root logic package, a classifier to its unit
// package, a feature to its classifier, a parameter to its operation; owned lists destroy
// their members. Ancestors, implemented interfaces, return values and types are plain
// references into the same model.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "classmodel/uIterators.h"
#include "classmodel/uModelEntity.h"

namespace tarnwell {

enum class TOperationType : std::uint8_t {
    Constructor = 0,
    Destructor = 1,
    Procedure = 2,  // no return value
    Function = 3,   // has a return value
};

// The name of the unit package that holds every classifier an importer cannot place.
inline constexpr std::string_view UnknownPackageName = "<<Unknown>>";

class TClassifier;
class TInterface;

// The kind of a concrete entity class and the listener identities it delivers to.
template <class Base, TEntityKind EntityKind, class BeforeIdentity, class AfterIdentity>
class TEntityOfKind : public Base {
  public:
    TEntityKind Kind() const override { return EntityKind; }
    TListenerIdentity GetBeforeListener() const override { return &Declares<BeforeIdentity>; }
    TListenerIdentity GetAfterListener() const override { return &Declares<AfterIdentity>; }

  protected:
    explicit TEntityOfKind(TModelEntity* owner) : Base(owner) {}
};

// A member of a classifier: an operation or an attribute.
class TFeature : public TModelEntity {
  public:
    TEntityKind Kind() const override { return TEntityKind::Feature; }

  protected:
    using TModelEntity::TModelEntity;
};

class TParameter : public TEntityOfKind<TModelEntity, TEntityKind::Parameter,
                                        IParameterBeforeListener, IParameterAfterListener> {
  public:
    explicit TParameter(TModelEntity* owner) : TEntityOfKind(owner) {}

    TClassifier* TypeClassifier() const { return type_classifier_; }
    // Plain assignment, without events.
    void SetTypeClassifier(TClassifier* classifier) { type_classifier_ = classifier; }

  private:
    TClassifier* type_classifier_ = nullptr;
};

class TOperation : public TEntityOfKind<TFeature, TEntityKind::Operation, IOperationBeforeListener,
                                        IOperationAfterListener> {
  public:
    explicit TOperation(TModelEntity* owner) : TEntityOfKind(owner) {}

    TOperationType OperationType() const { return operation_type_; }
    void SetOperationType(TOperationType type);
    bool IsAbstract() const { return is_abstract_; }
    void SetIsAbstract(bool is_abstract);
    // None for constructors and procedures.
    TClassifier* ReturnValue() const { return return_value_; }
    void SetReturnValue(TClassifier* classifier);

    TParameter* AddParameter(const std::string& name);
    std::unique_ptr<IModelIterator> GetParameters() const;

  private:
    TOperationType operation_type_ = TOperationType::Constructor;
    TEntityList parameters_;
    bool is_abstract_ = false;
    TClassifier* return_value_ = nullptr;
};

class TAttribute : public TEntityOfKind<TFeature, TEntityKind::Attribute, IAttributeBeforeListener,
                                        IAttributeAfterListener> {
  public:
    explicit TAttribute(TModelEntity* owner) : TEntityOfKind(owner) {}

    TClassifier* TypeClassifier() const { return type_classifier_; }
    void SetTypeClassifier(TClassifier* classifier);

  private:
    TClassifier* type_classifier_ = nullptr;
};

// A class, an interface or a data type, with its features in insertion order.
class TClassifier : public TModelEntity {
  public:
    TEntityKind Kind() const override { return TEntityKind::Classifier; }
    std::unique_ptr<IModelIterator> GetFeatures() const;

    // The source file that declares the classifier and the line of its name, from 1; empty
    // and 0 when no source is known (a class file, a type only referred to).
    const std::string& SourceFile() const { return source_file_; }
    int SourceLine() const { return source_line_; }
    // Plain assignment, without events.
    void SetSourceLocation(std::string file, int line) {
        source_file_ = std::move(file);
        source_line_ = line;
    }

  protected:
    explicit TClassifier(TModelEntity* owner) : TModelEntity(owner) {}

    // Shared by classes and interfaces, which publish them.
    TAttribute* AddAttribute(const std::string& name);
    TOperation* AddOperation(const std::string& name);
    // Features of one kind, any visibility, in insertion order.
    std::unique_ptr<IModelIterator> GetOperations() const;
    std::unique_ptr<IModelIterator> GetAttributes() const;

  private:
    TEntityList features_;
    std::string source_file_;
    int source_line_ = 0;
};

class TClass : public TEntityOfKind<TClassifier, TEntityKind::Class, IClassBeforeListener,
                                    IClassAfterListener> {
  public:
    explicit TClass(TModelEntity* owner) : TEntityOfKind(owner) {}
    // Announces `BeforeRemoving` unless locked; the removal cannot be refused.
    ~TClass() override;

    using TClassifier::AddAttribute;
    using TClassifier::AddOperation;
    using TClassifier::GetAttributes;
    using TClassifier::GetOperations;

    TClass* Ancestor() const { return ancestor_; }
    void SetAncestor(TClass* ancestor);

    // Appends an interface this class implements (not owned) and announces it as a child.
    TInterface* AddImplements(TInterface* implemented);
    // The implemented interfaces, in the order added.
    const std::vector<TModelEntity*>& Implements() const { return implements_; }
    std::unique_ptr<IModelIterator> GetImplements() const;
    // The classes of the whole model whose ancestor is this class.
    std::unique_ptr<IModelIterator> GetDescendants();

  private:
    TClass* ancestor_ = nullptr;
    std::vector<TModelEntity*> implements_;
};

class TInterface : public TEntityOfKind<TClassifier, TEntityKind::Interface,
                                        IInterfaceBeforeListener, IInterfaceAfterListener> {
  public:
    explicit TInterface(TModelEntity* owner) : TEntityOfKind(owner) {}

    using TClassifier::AddAttribute;
    using TClassifier::AddOperation;
    using TClassifier::GetAttributes;
    using TClassifier::GetOperations;

    TInterface* Ancestor() const { return ancestor_; }
    // Plain assignment, without events.
    void SetAncestor(TInterface* ancestor) { ancestor_ = ancestor; }
    // The classes of the whole model that implement this interface.
    std::unique_ptr<IModelIterator> GetImplementingClasses();

  private:
    TInterface* ancestor_ = nullptr;
};

class TDataType : public TEntityOfKind<TClassifier, TEntityKind::DataType, IDataTypeBeforeListener,
                                       IDataTypeAfterListener> {
  public:
    explicit TDataType(TModelEntity* owner) : TEntityOfKind(owner) {}
};

class TAbstractPackage : public TModelEntity {
  public:
    explicit TAbstractPackage(TModelEntity* owner) : TModelEntity(owner) {}
    TEntityKind Kind() const override { return TEntityKind::AbstractPackage; }

    // The path of the diagram settings file: this package's own, else its owner's, else empty.
    std::string GetConfigFile() const;

  protected:
    std::string config_file_;
};

class TUnitPackage : public TEntityOfKind<TAbstractPackage, TEntityKind::UnitPackage,
                                          IUnitPackageBeforeListener, IUnitPackageAfterListener> {
  public:
    explicit TUnitPackage(TModelEntity* owner) : TEntityOfKind(owner) {}

    TClass* AddClass(const std::string& name);
    TInterface* AddInterface(const std::string& name);
    TDataType* AddDataType(const std::string& name);
    // The first classifier, in insertion order, of the kind (subkinds included; any without
    // one) whose name matches; none, or with `raise` the error
    // "<class name>.FindClassifier failed: <name>".
    TClassifier* FindClassifier(std::string_view name, bool raise, TCompareMode mode,
                                std::optional<TEntityKind> kind = std::nullopt) const;
    std::unique_ptr<IModelIterator> GetClassifiers() const;

  private:
    void ChildRenamed(TModelEntity& child, const std::string& old_name) override;
    TEntityList classifiers_{true};
};

class TLogicPackage
    : public TEntityOfKind<TAbstractPackage, TEntityKind::LogicPackage, ILogicPackageBeforeListener,
                           ILogicPackageAfterListener> {
  public:
    explicit TLogicPackage(TModelEntity* owner) : TEntityOfKind(owner) {}

    // Makes the settings file the source file's name with the extension ".vixModel"; an empty
    // name changes nothing.
    void SetConfigFile(const std::string& source_file);

    TUnitPackage* AddUnitPackage(const std::string& name);
    // The first unit package whose name matches; none, or with `raise` the error
    // "<class name>.FindUnitPackage failed: <name>".
    TUnitPackage* FindUnitPackage(std::string_view name, bool raise, TCompareMode mode) const;
    // The packages themselves, live.
    std::unique_ptr<IModelIterator> GetPackages() const;
    // A copy: every unit package but "<<Unknown>>".
    std::unique_ptr<IModelIterator> GetAllUnitPackages() const;
    // A copy: the classifiers of those packages, package by package, in insertion order.
    std::unique_ptr<IModelIterator> GetAllClassifiers() const;

  private:
    void ChildRenamed(TModelEntity& child, const std::string& old_name) override;
    TEntityList packages_{true};
};

// The process-wide package that stands for all classes of all packages in the views; it has no
// owner, no name and is never part of a model.
TAbstractPackage* AllClassesView();

// The model: a root logic package that always holds the unit package "<<Unknown>>" first, and
// the model listeners that hear about bulk updates.
class TObjectModel {
  public:
    TObjectModel();
    TObjectModel(const TObjectModel&) = delete;
    TObjectModel& operator=(const TObjectModel&) = delete;
    ~TObjectModel();

    // Replaces the content by an empty root; between `Lock` and `Unlock` unless locked already.
    void Clear();
    // Tells the before-listeners (unless locked already) and silences every entity.
    void Lock();
    // Lifts the lock and tells the after-listeners: the one event that makes views rebuild.
    void Unlock();
    bool Locked() const { return locked_; }

    // Listeners that declare `IModelBeforeListener` and/or `IModelAfterListener`; they stay
    // the caller's, and adding one twice registers it once.
    void AddListener(IListener* listener);
    void RemoveListener(IListener* listener);

    TLogicPackage* ModelRoot() const { return root_.get(); }
    TUnitPackage* UnknownPackage() const { return unknown_; }

  private:
    void CreateRoot();

    std::vector<IListener*> listeners_;
    std::unique_ptr<TLogicPackage> root_;
    TUnitPackage* unknown_ = nullptr;
    bool locked_ = false;
};

}  // namespace tarnwell
