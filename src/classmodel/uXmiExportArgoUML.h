// XMI export of the class model in the form of the file behind "Export model to XMI-file": a
// flat list of model elements, each with a uuid and naming the model as its namespace.
#pragma once

#include <string>
#include <string_view>

#include "classmodel/uXmiExport.h"

namespace tarnwell {

class TXMIExporterArgoUML : public TXMIWriter {
  public:
    explicit TXMIExporterArgoUML(TObjectModel& model, IStatusLine* status = nullptr);

    // Writes every data type of the model first, then every class and interface. Operations
    // without a return value return the data type "void" of "<<Unknown>>", which is added to
    // the model when it is missing and stays there.
    void Export() override;

    // The uuid of an identifier's number: a fixed prefix and 32769 − number as upper-case
    // hexadecimal of at least four digits (taken modulo 2^32 past 32769).
    static std::string Uuid(unsigned number);

  protected:
    TIdentifier ClassifierId(const TClassifier& classifier) override;
    // A generalization also has a uuid and a namespace.
    void QueueRelationStart(const std::string& tag, const TIdentifier& id) override;

  private:
    enum class pass { data_types, classes };

    void VisitPackage(TAbstractPackage& package, pass which);
    // Opens an element and writes its name, visibility and specification flag; answers its
    // identifier.
    std::string ElementStart(const TModelEntity& entity, std::string_view kind);
    void WriteFlags(std::string_view prefix, bool with_namespace);
    std::string NamespacePiece() const;
    void WriteOwner(const std::string& owner_id);
    void WriteBehavioralFeature(const std::string& operation_id);
    void WriteClass(TClass& c);
    void WriteInterface(TInterface& i);
    void WriteDataType(const TDataType& d);
    void WriteFeatures(const TClassifier& classifier, const std::string& owner_id);
    void WriteOperation(const TOperation& operation, const std::string& owner_id);

    std::string model_id_;
    TClassifier* void_type_ = nullptr;
};

}  // namespace tarnwell
