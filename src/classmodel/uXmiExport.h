// XMI export of the class model (XMI 1.0, UML 1.3): what both dialects share, and the nested
// dialect that the documentation generator reads and links into.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "classmodel/uCodeProvider.h"
#include "classmodel/uIntegrator.h"
#include "classmodel/uModel.h"

namespace tarnwell {

// What both XMI exporters share: the text, built in memory line by line with CR LF; the
// identifier table; the definitions of generalizations and abstractions waiting for the end of
// the package that first referred to them; and the relations between classifiers.
class TXMIWriter : public TExportIntegrator {
  public:
    // Builds the whole text anew from the model.
    virtual void Export() = 0;
    // The text of the last export.
    const std::string& XMI() const { return output_; }
    // Creates or overwrites the file with the text; raises the file system's error.
    void SaveToFile(const std::string& file) const;

    // A name as element text: "<" and ">" become "(" and ")" ("<<Unknown>>" is "((Unknown))");
    // "&", quotes, tab and line breaks become references; other control characters, which
    // XML cannot carry, become U+FFFD; a byte that starts no valid UTF-8 sequence is taken as
    // the 8-bit character it is and written as a reference. The file is well-formed whatever
    // the name holds.
    static std::string XmlName(std::string_view name);

  protected:
    // An identifier: the prefix and the number of its key, which is new when the key was not
    // seen before.
    struct TIdentifier {
        std::string Text;
        unsigned Number = 0;
        bool Created = false;
    };

    // `status` may be nullptr; it must outlive the writer.
    TXMIWriter(TObjectModel& model, IStatusLine* status, std::string id_prefix);

    // Forgets the text, the identifiers and the pending lines of an earlier export.
    void Reset();
    // The identifier of a key: keys are compared without regard to letter case, and a key seen
    // for the first time gets the next number, from 1.
    TIdentifier MakeId(const std::string& key);

    // Appends a piece and CR LF.
    void Write(std::string_view piece);
    void Open(std::string_view tag);
    void Close(std::string_view tag);
    // Queues a piece of a definition, written out by `WritePending`.
    void Queue(std::string piece) { pending_.push_back(std::move(piece)); }
    void WritePending();
    void PostStatus(const std::string& text) const;

    // "<Foundation.Core.<kind> xmi.idref="<identifier>"/>", the kind after the classifier's
    // class.
    std::string TypeReference(const TClassifier& classifier);
    // The type reference inside the element `tag`; nothing without a type.
    void WriteTypeOf(std::string_view tag, const TClassifier* type);
    // The ancestor, the implemented interfaces and the descendants of a class.
    void WriteClassRelations(TClass& c);
    // The classes implementing an interface.
    void WriteInterfaceRelations(TInterface& i);
    // The features of a classifier inside "Foundation.Core.Classifier.feature", each written by
    // `write`; nothing for a classifier without any.
    template <class WriteFeature>
    void WriteFeatureList(const TClassifier& classifier, WriteFeature&& write);

    // The identifier a type reference names.
    virtual TIdentifier ClassifierId(const TClassifier& classifier) = 0;
    // The opening lines of the definition of a relation, "Foundation.Core.Generalization" or
    // "Foundation.Core.Abstraction".
    virtual void QueueRelationStart(const std::string& tag, const TIdentifier& id);

    // "Class", "Interface" or "DataType".
    static std::string_view KindOf(const TClassifier& classifier);
    // "private", "protected" or "public" ("published" is written public).
    static std::string_view VisibilityWord(TVisibility visibility);
    // The name element of an entity, as one piece.
    static std::string NameElement(const TModelEntity& entity);
    static std::string VisibilityElement(const TModelEntity& entity);

  private:
    // One end of a relation: its role element ("Dependency.client") and its classifier.
    struct end_point {
        std::string_view Role;
        const TClassifier& Classifier;
    };

    void WriteGeneralization(const TClassifier& child, const TClassifier& parent);
    void WriteAbstraction(const TClassifier& client, const TClassifier& supplier);
    // The definition of a relation is queued the first time its key is seen; a reference to it
    // is written every time.
    void WriteRelation(const std::string& key, std::string_view element, end_point from,
                       end_point to);

    IStatusLine* status_;
    std::string id_prefix_;
    std::string output_;
    std::map<std::string, unsigned> identifiers_;
    std::vector<std::string> pending_;
};

// The nested XMI of the documentation generator: packages hold their classifiers, classifiers
// their features; every entity is identified by its full name ("xmi_" and a number).
class TXMIExporter : public TXMIWriter {
  public:
    explicit TXMIExporter(TObjectModel& model, IStatusLine* status = nullptr);

    void Export() override;
    // The identifier of an entity's full name; a new one when the last export did not name it.
    std::string GetXMIId(const TModelEntity& entity);

  protected:
    TIdentifier ClassifierId(const TClassifier& classifier) override;

  private:
    void EntityStart(std::string_view tag, const TModelEntity& entity);
    void WritePackage(TAbstractPackage& package);
    void WriteClass(TClass& c);
    void WriteInterface(TInterface& i);
    void WriteFeatures(const TClassifier& classifier);
};

template <class WriteFeature>
void TXMIWriter::WriteFeatureList(const TClassifier& classifier, WriteFeature&& write) {
    const auto features = classifier.GetFeatures();
    if (features->Count() == 0) return;
    Open("Foundation.Core.Classifier.feature");
    while (features->HasNext()) write(*features->Next());
    Close("Foundation.Core.Classifier.feature");
}

}  // namespace tarnwell
