#include "classmodel/uXmiExportArgoUML.h"

#include <cstdint>
#include <cstdio>

namespace tarnwell {

namespace {

// Four signed numbers, a colon, hexadecimal digits, a colon and a "-".
constexpr std::string_view uuid_prefix = "-84-17-1--58:11e4a7c2d9b:-";

constexpr std::string_view generalizable = "Foundation.Core.GeneralizableElement.";

const std::string is_specification =
    "<Foundation.Core.ModelElement.isSpecification xmi.value=\"false\" />";

}  // namespace

TXMIExporterArgoUML::TXMIExporterArgoUML(TObjectModel& model, IStatusLine* status)
    : TXMIWriter(model, status, "xmi.") {}

std::string TXMIExporterArgoUML::Uuid(unsigned number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04X",
                  static_cast<unsigned>(static_cast<std::uint32_t>(32769u - number)));
    return std::string(uuid_prefix) + digits;
}

void TXMIExporterArgoUML::Export() {
    Reset();
    void_type_ = nullptr;
    const TIdentifier model = MakeId("Model_Management.Model");
    model_id_ = model.Text;
    Write(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<XMI xmi.version=\"1.0\">\r\n"
        "<XMI.header>\r\n"
        "<XMI.documentation>\r\n"
        "<XMI.exporter>Tarnwell</XMI.exporter>\r\n"
        "<XMI.exporterVersion>2.0</XMI.exporterVersion>\r\n"
        "</XMI.documentation>\r\n"
        "<XMI.metamodel xmi.name=\"UML\" xmi.version=\"1.3\"/>\r\n"
        "</XMI.header>\r\n"
        "<XMI.content>");
    Write("<Model_Management.Model xmi.id=\"" + model_id_ + "\" xmi.uuid=\"" + Uuid(model.Number) +
          "\">");
    Write("<Foundation.Core.ModelElement.name>Modelo</Foundation.Core.ModelElement.name>");
    Write(is_specification);
    WriteFlags(generalizable, false);
    Open("Foundation.Core.Namespace.ownedElement");
    VisitPackage(*Model().ModelRoot(), pass::data_types);
    VisitPackage(*Model().ModelRoot(), pass::classes);
    Close("Foundation.Core.Namespace.ownedElement");
    Close("Model_Management.Model");
    Write("</XMI.content>\r\n</XMI>");
    PostStatus("XMI finished.");
}

TXMIWriter::TIdentifier TXMIExporterArgoUML::ClassifierId(const TClassifier& classifier) {
    return MakeId(std::string(KindOf(classifier)) + "_" + classifier.FullName());
}

void TXMIExporterArgoUML::QueueRelationStart(const std::string& tag, const TIdentifier& id) {
    if (tag != "Foundation.Core.Generalization") {
        TXMIWriter::QueueRelationStart(tag, id);
        return;
    }
    Queue("<" + tag + " xmi.id=\"" + id.Text + "\" xmi.uuid=\"" + Uuid(id.Number) + "\">");
    Queue(is_specification);
    Queue(NamespacePiece());
}

void TXMIExporterArgoUML::VisitPackage(TAbstractPackage& package, pass which) {
    PostStatus("XMI generating package " + package.Name() + "...");
    if (package.Is(TEntityKind::LogicPackage)) {
        const auto packages = static_cast<TLogicPackage&>(package).GetPackages();
        while (packages->HasNext()) {
            VisitPackage(static_cast<TAbstractPackage&>(*packages->Next()), which);
        }
    } else {
        auto& unit = static_cast<TUnitPackage&>(package);
        if (void_type_ == nullptr) {
            void_type_ = unit.FindClassifier("void", false, TCompareMode::CaseInsensitive);
            if (void_type_ == nullptr) void_type_ = unit.AddDataType("void");
        }
        const auto classifiers = unit.GetClassifiers();
        while (classifiers->HasNext()) {
            TModelEntity* classifier = classifiers->Next();
            if (which == pass::data_types) {
                if (classifier->Is(TEntityKind::DataType)) {
                    WriteDataType(static_cast<const TDataType&>(*classifier));
                }
            } else if (classifier->Is(TEntityKind::Class)) {
                WriteClass(static_cast<TClass&>(*classifier));
            } else if (classifier->Is(TEntityKind::Interface)) {
                WriteInterface(static_cast<TInterface&>(*classifier));
            }
        }
    }
    WritePending();
}

std::string TXMIExporterArgoUML::ElementStart(const TModelEntity& entity, std::string_view kind) {
    const TIdentifier id = MakeId(std::string(kind) + "_" + entity.FullName());
    Write("<Foundation.Core." + std::string(kind) + " xmi.id=\"" + id.Text + "\"");
    if (kind != "DataType") Write(" xmi.uuid=\"" + Uuid(id.Number) + "\"");
    Write(">");
    if (!entity.Name().empty()) Write(NameElement(entity));
    if (entity.Is(TEntityKind::Feature)) Write(VisibilityElement(entity));
    Write(is_specification);
    return id.Text;
}

void TXMIExporterArgoUML::WriteFlags(std::string_view prefix, bool with_namespace) {
    const std::string p(prefix);
    Write("<" + p + "isRoot xmi.value=\"false\" />");
    Write("<" + p + "isLeaf xmi.value=\"false\" />");
    Write("<" + p + "isAbstract xmi.value=\"false\" />");
    if (with_namespace) Write(NamespacePiece());
}

std::string TXMIExporterArgoUML::NamespacePiece() const {
    return "<Foundation.Core.ModelElement.namespace><Foundation.Core.Namespace xmi.idref=\"" +
           model_id_ + "\" /></Foundation.Core.ModelElement.namespace>";
}

void TXMIExporterArgoUML::WriteOwner(const std::string& owner_id) {
    Open("Foundation.Core.Feature.owner");
    Write("<Foundation.Core.Classifier xmi.idref=\"" + owner_id + "\"/>");
    Close("Foundation.Core.Feature.owner");
}

void TXMIExporterArgoUML::WriteBehavioralFeature(const std::string& operation_id) {
    Open("Foundation.Core.Parameter.behavioralFeature");
    Write("<Foundation.Core.BehavioralFeature xmi.idref=\"" + operation_id + "\"/>");
    Close("Foundation.Core.Parameter.behavioralFeature");
}

void TXMIExporterArgoUML::WriteClass(TClass& c) {
    const std::string id = ElementStart(c, "Class");
    Write("<Foundation.Core.Class.isActive xmi.value=\"false\" />");
    WriteFlags(generalizable, true);
    WriteFeatures(c, id);
    WriteClassRelations(c);
    Close("Foundation.Core.Class");
}

void TXMIExporterArgoUML::WriteInterface(TInterface& i) {
    const std::string id = ElementStart(i, "Interface");
    WriteFlags(generalizable, true);
    WriteFeatures(i, id);
    WriteInterfaceRelations(i);
    Close("Foundation.Core.Interface");
}

void TXMIExporterArgoUML::WriteDataType(const TDataType& d) {
    ElementStart(d, "DataType");
    WriteFlags(generalizable, true);
    Close("Foundation.Core.DataType");
}

void TXMIExporterArgoUML::WriteFeatures(const TClassifier& classifier,
                                        const std::string& owner_id) {
    WriteFeatureList(classifier, [&](const TModelEntity& feature) {
        if (feature.Is(TEntityKind::Operation)) {
            WriteOperation(static_cast<const TOperation&>(feature), owner_id);
            return;
        }
        const auto& attribute = static_cast<const TAttribute&>(feature);
        ElementStart(attribute, "Attribute");
        Write(NamespacePiece());
        WriteOwner(owner_id);
        WriteTypeOf("Foundation.Core.StructuralFeature.type", attribute.TypeClassifier());
        Close("Foundation.Core.Attribute");
    });
}

void TXMIExporterArgoUML::WriteOperation(const TOperation& operation, const std::string& owner_id) {
    const std::string id = ElementStart(operation, "Operation");
    WriteOwner(owner_id);
    Write("<Foundation.Core.BehavioralFeature.isQuery xmi.value=\"false\"/>");
    WriteFlags("Foundation.Core.Operation.", true);
    Open("Foundation.Core.BehavioralFeature.parameter");
    Open("Foundation.Core.Parameter");
    Write("<Foundation.Core.Parameter.kind xmi.value=\"return\"/>");
    WriteBehavioralFeature(id);
    WriteTypeOf("Foundation.Core.Parameter.type",
                operation.ReturnValue() != nullptr ? operation.ReturnValue() : void_type_);
    Close("Foundation.Core.Parameter");
    const auto parameters = operation.GetParameters();
    while (parameters->HasNext()) {
        const auto& parameter = static_cast<const TParameter&>(*parameters->Next());
        ElementStart(parameter, "Parameter");
        if (parameter.TypeClassifier() != nullptr) {
            Write("<Foundation.Core.Parameter.kind xmi.value=\"in\"/>");
            WriteBehavioralFeature(id);
            WriteTypeOf("Foundation.Core.Parameter.type", parameter.TypeClassifier());
        }
        Close("Foundation.Core.Parameter");
    }
    Close("Foundation.Core.BehavioralFeature.parameter");
    Close("Foundation.Core.Operation");
}

}  // namespace tarnwell
