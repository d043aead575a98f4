#include "classmodel/uXmiExport.h"

#include <cstdio>

#include "classmodel/uTextFile.h"

namespace tarnwell {

namespace {

constexpr std::string_view crlf = "\r\n";

// The length of the valid UTF-8 sequence of a character XML allows at `pos`, 0 when there is
// none (a stray byte of an 8-bit text, an overlong form, a surrogate, U+FFFE or U+FFFF).
std::size_t utf8_sequence(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const auto continuation = [&](std::size_t i) {
        return pos + i < text.size() && (byte(i) & 0xC0) == 0x80;
    };
    const unsigned char first = byte(0);
    if (first >= 0xC2 && first <= 0xDF) return continuation(1) ? 2 : 0;
    if (first >= 0xE0 && first <= 0xEF) {
        if (!continuation(1) || !continuation(2)) return 0;
        if (first == 0xE0 && byte(1) < 0xA0) return 0;
        if (first == 0xED && byte(1) >= 0xA0) return 0;
        if (first == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE) return 0;
        return 3;
    }
    if (first >= 0xF0 && first <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
        if (first == 0xF0 && byte(1) < 0x90) return 0;
        if (first == 0xF4 && byte(1) >= 0x90) return 0;
        return 4;
    }
    return 0;
}

std::string character_reference(unsigned code) {
    char text[16];
    std::snprintf(text, sizeof text, "&#x%X;", code);
    return text;
}

}  // namespace

TXMIWriter::TXMIWriter(TObjectModel& model, IStatusLine* status, std::string id_prefix)
    : TExportIntegrator(model), status_(status), id_prefix_(std::move(id_prefix)) {}

void TXMIWriter::SaveToFile(const std::string& file) const { WriteTextFile(file, output_); }

void TXMIWriter::Reset() {
    output_.clear();
    identifiers_.clear();
    pending_.clear();
}

TXMIWriter::TIdentifier TXMIWriter::MakeId(const std::string& key) {
    const auto [entry, created] =
        identifiers_.try_emplace(FoldCase(key), static_cast<unsigned>(identifiers_.size() + 1));
    return {id_prefix_ + std::to_string(entry->second), entry->second, created};
}

void TXMIWriter::Write(std::string_view piece) {
    output_ += piece;
    output_ += crlf;
}

void TXMIWriter::Open(std::string_view tag) {
    Write(std::string("<").append(tag).append(">"));
}

void TXMIWriter::Close(std::string_view tag) {
    Write(std::string("</").append(tag).append(">"));
}

void TXMIWriter::WritePending() {
    for (const std::string& piece : pending_) Write(piece);
    pending_.clear();
}

void TXMIWriter::PostStatus(const std::string& text) const {
    if (status_ != nullptr) status_->ShowStatus(text);
}

std::string TXMIWriter::TypeReference(const TClassifier& classifier) {
    return "<Foundation.Core." + std::string(KindOf(classifier)) + " xmi.idref=\"" +
           ClassifierId(classifier).Text + "\"/>";
}

void TXMIWriter::WriteTypeOf(std::string_view tag, const TClassifier* type) {
    if (type == nullptr) return;
    Open(tag);
    Write(TypeReference(*type));
    Close(tag);
}

void TXMIWriter::WriteClassRelations(TClass& c) {
    if (c.Ancestor() != nullptr) {
        Open("Foundation.Core.GeneralizableElement.generalization");
        WriteGeneralization(c, *c.Ancestor());
        Close("Foundation.Core.GeneralizableElement.generalization");
    }
    if (!c.Implements().empty()) {
        Open("Foundation.Core.ModelElement.clientDependency");
        for (const TModelEntity* i : c.Implements()) {
            WriteAbstraction(c, static_cast<const TClassifier&>(*i));
        }
        Close("Foundation.Core.ModelElement.clientDependency");
    }
    const auto descendants = c.GetDescendants();
    if (descendants->Count() > 0) {
        Open("Foundation.Core.GeneralizableElement.specialization");
        while (descendants->HasNext()) {
            WriteGeneralization(static_cast<const TClassifier&>(*descendants->Next()), c);
        }
        Close("Foundation.Core.GeneralizableElement.specialization");
    }
}

void TXMIWriter::WriteInterfaceRelations(TInterface& i) {
    const auto implementing = i.GetImplementingClasses();
    if (implementing->Count() == 0) return;
    Open("Foundation.Core.ModelElement.supplierDependency");
    while (implementing->HasNext()) {
        WriteAbstraction(static_cast<const TClassifier&>(*implementing->Next()), i);
    }
    Close("Foundation.Core.ModelElement.supplierDependency");
}

void TXMIWriter::WriteGeneralization(const TClassifier& child, const TClassifier& parent) {
    WriteRelation("General " + child.FullName() + " - " + parent.FullName(), "Generalization",
                  {"Generalization.child", child}, {"Generalization.parent", parent});
}

void TXMIWriter::WriteAbstraction(const TClassifier& client, const TClassifier& supplier) {
    WriteRelation("Abstract " + client.FullName() + " - " + supplier.FullName(), "Abstraction",
                  {"Dependency.client", client}, {"Dependency.supplier", supplier});
}

void TXMIWriter::WriteRelation(const std::string& key, std::string_view element, end_point from,
                               end_point to) {
    const TIdentifier id = MakeId(key);
    const std::string tag = "Foundation.Core." + std::string(element);
    if (id.Created) {
        QueueRelationStart(tag, id);
        for (const end_point& end : {from, to}) {
            const std::string role = "Foundation.Core." + std::string(end.Role);
            Queue("<" + role + ">");
            Queue(TypeReference(end.Classifier));
            Queue("</" + role + ">");
        }
        Queue("</" + tag + ">");
    }
    Write("<" + tag + " xmi.idref=\"" + id.Text + "\"/>");
}

void TXMIWriter::QueueRelationStart(const std::string& tag, const TIdentifier& id) {
    Queue("<" + tag + " xmi.id=\"" + id.Text + "\">");
}

std::string_view TXMIWriter::KindOf(const TClassifier& classifier) {
    if (classifier.Is(TEntityKind::Class)) return "Class";
    if (classifier.Is(TEntityKind::Interface)) return "Interface";
    return "DataType";
}

std::string_view TXMIWriter::VisibilityWord(TVisibility visibility) {
    switch (visibility) {
        case TVisibility::Private:
            return "private";
        case TVisibility::Protected:
            return "protected";
        case TVisibility::Public:
        case TVisibility::Published:
            return "public";
    }
    return "public";
}

std::string TXMIWriter::XmlName(std::string_view name) {
    std::string text;
    text.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8_sequence(name, i);
            if (length == 0) {
                text += character_reference(c);
                ++i;
            } else {
                text.append(name, i, length);
                i += length;
            }
            continue;
        }
        switch (c) {
            case '<':
                text += '(';
                break;
            case '>':
                text += ')';
                break;
            case '&':
                text += "&amp;";
                break;
            case '"':
                text += "&quot;";
                break;
            case '\'':
                text += "&apos;";
                break;
            case '\t':
            case '\n':
            case '\r':
                text += character_reference(c);
                break;
            default:
                if (c < 0x20) {
                    text += character_reference(0xFFFD);
                } else {
                    text += static_cast<char>(c);
                }
        }
        ++i;
    }
    return text;
}

std::string TXMIWriter::NameElement(const TModelEntity& entity) {
    return "<Foundation.Core.ModelElement.name>" + XmlName(entity.Name()) +
           "</Foundation.Core.ModelElement.name>";
}

std::string TXMIWriter::VisibilityElement(const TModelEntity& entity) {
    return "<Foundation.Core.ModelElement.visibility xmi.value=\"" +
           std::string(VisibilityWord(entity.Visibility())) + "\"/>";
}

TXMIExporter::TXMIExporter(TObjectModel& model, IStatusLine* status)
    : TXMIWriter(model, status, "xmi_") {}

void TXMIExporter::Export() {
    Reset();
    Write(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<XMI xmi.version=\"1.0\">\r\n"
        "<XMI.header>\r\n"
        "<XMI.metamodel xmi.name=\"UML\" xmi.version=\"1.3\"/>\r\n"
        "<XMI.documentation>\r\n"
        "<XMI.exporter>Tarnwell</XMI.exporter>\r\n"
        "<XMI.exporterVersion>2.0</XMI.exporterVersion>\r\n"
        "</XMI.documentation>\r\n"
        "</XMI.header>\r\n"
        "<XMI.content>");
    Open("Model_Management.Model");
    WritePackage(*Model().ModelRoot());
    Close("Model_Management.Model");
    Write("</XMI.content>\r\n</XMI>");
    PostStatus("XMI finished.");
}

std::string TXMIExporter::GetXMIId(const TModelEntity& entity) {
    return MakeId(entity.FullName()).Text;
}

TXMIWriter::TIdentifier TXMIExporter::ClassifierId(const TClassifier& classifier) {
    return MakeId(classifier.FullName());
}

void TXMIExporter::EntityStart(std::string_view tag, const TModelEntity& entity) {
    Write(std::string("<").append(tag).append(" xmi.id=\"").append(GetXMIId(entity)).append("\">"));
    Write(NameElement(entity));
    Write(VisibilityElement(entity));
}

void TXMIExporter::WritePackage(TAbstractPackage& package) {
    PostStatus("XMI generating package " + package.Name() + "...");
    EntityStart("Model_Management.Package", package);
    if (package.Is(TEntityKind::LogicPackage)) {
        const auto packages = static_cast<TLogicPackage&>(package).GetPackages();
        while (packages->HasNext()) WritePackage(static_cast<TAbstractPackage&>(*packages->Next()));
    } else {
        const auto classifiers = static_cast<TUnitPackage&>(package).GetClassifiers();
        while (classifiers->HasNext()) {
            TModelEntity* classifier = classifiers->Next();
            if (classifier->Is(TEntityKind::Class)) {
                WriteClass(static_cast<TClass&>(*classifier));
            } else if (classifier->Is(TEntityKind::Interface)) {
                WriteInterface(static_cast<TInterface&>(*classifier));
            } else {
                EntityStart("Foundation.Core.DataType", *classifier);
                Close("Foundation.Core.DataType");
            }
        }
    }
    WritePending();
    Close("Model_Management.Package");
}

void TXMIExporter::WriteClass(TClass& c) {
    EntityStart("Foundation.Core.Class", c);
    WriteFeatures(c);
    WriteClassRelations(c);
    Close("Foundation.Core.Class");
}

void TXMIExporter::WriteInterface(TInterface& i) {
    EntityStart("Foundation.Core.Interface", i);
    WriteFeatures(i);
    WriteInterfaceRelations(i);
    Close("Foundation.Core.Interface");
}

void TXMIExporter::WriteFeatures(const TClassifier& classifier) {
    WriteFeatureList(classifier, [this](const TModelEntity& feature) {
        if (feature.Is(TEntityKind::Attribute)) {
            const auto& attribute = static_cast<const TAttribute&>(feature);
            EntityStart("Foundation.Core.Attribute", attribute);
            WriteTypeOf("Foundation.Core.StructuralFeature.type", attribute.TypeClassifier());
            Close("Foundation.Core.Attribute");
            return;
        }
        const auto& operation = static_cast<const TOperation&>(feature);
        EntityStart("Foundation.Core.Operation", operation);
        Open("Foundation.Core.BehavioralFeature.parameter");
        if (operation.ReturnValue() != nullptr) {
            Open("Foundation.Core.Parameter");
            Write("<Foundation.Core.Parameter.kind xmi.value=\"return\"/>");
            WriteTypeOf("Foundation.Core.Parameter.type", operation.ReturnValue());
            Close("Foundation.Core.Parameter");
        }
        const auto parameters = operation.GetParameters();
        while (parameters->HasNext()) {
            const auto& parameter = static_cast<const TParameter&>(*parameters->Next());
            EntityStart("Foundation.Core.Parameter", parameter);
            WriteTypeOf("Foundation.Core.Parameter.type", parameter.TypeClassifier());
            Close("Foundation.Core.Parameter");
        }
        Close("Foundation.Core.BehavioralFeature.parameter");
        Close("Foundation.Core.Operation");
    });
}

}  // namespace tarnwell
