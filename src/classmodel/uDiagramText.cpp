#include "classmodel/uDiagramText.h"

#include <map>
#include <vector>

#include "classmodel/uIterators.h"
#include "classmodel/uModel.h"
#include "classmodel/uRtfdDiagram.h"

namespace tarnwell {

namespace {

// The syntax-independent content of the view.
struct text_member {
    char visibility = '+';
    std::string text;  // "name : Type" or "name(Type a, Type b) : Type"
    bool is_operation = false;
    bool is_abstract = false;
};

struct text_box {
    std::string id;       // "c<box index>"
    std::string name;     // as the box shows it
    std::string package;  // the namespace it sits in; empty for none
    TBoxKind kind = TBoxKind::Class;
    bool is_abstract = false;
    std::vector<text_member> members;
};

enum class relation { inheritance, realisation, association };

struct text_line {
    std::string from;
    std::string to;
    relation kind = relation::association;
};

char visibility_mark(TVisibility visibility) {
    switch (visibility) {
        case TVisibility::Private:
            return '-';
        case TVisibility::Protected:
            return '#';
        case TVisibility::Public:
        case TVisibility::Published:
            break;
    }
    return '+';
}

std::string type_name(const TClassifier* type) {
    return type != nullptr ? type->Name() : "";
}

// The members the box's filter lets through, in the picture's order.
std::vector<text_member> members_of(const TRtfdBox& box) {
    std::vector<text_member> members;
    const auto* classifier = dynamic_cast<const TClassifier*>(box.Entity);
    if (classifier == nullptr || box.VisibilityFilter >= rtfd::HideAllMembers) return members;
    const auto minimum = static_cast<TVisibility>(box.VisibilityFilter);
    auto attributes = classifier->GetFeatures();
    TModelIterator shown_attributes(*attributes, TEntityKind::Attribute, minimum,
                                    TIterationSort::ByVisibilityAndName);
    while (shown_attributes.HasNext()) {
        const auto& a = static_cast<const TAttribute&>(*shown_attributes.Next());
        std::string text = a.Name();
        if (a.TypeClassifier() != nullptr) text += " : " + type_name(a.TypeClassifier());
        members.push_back({visibility_mark(a.Visibility()), text, false, false});
    }
    auto operations = classifier->GetFeatures();
    TModelIterator shown_operations(*operations, TEntityKind::Operation, minimum,
                                    TIterationSort::ByVisibilityAndName);
    while (shown_operations.HasNext()) {
        const auto& o = static_cast<const TOperation&>(*shown_operations.Next());
        std::string text = o.Name() + "(";
        bool first = true;
        for (auto parameters = o.GetParameters(); parameters->HasNext();) {
            const auto& p = static_cast<const TParameter&>(*parameters->Next());
            if (!first) text += ", ";
            first = false;
            text += p.TypeClassifier() != nullptr ? type_name(p.TypeClassifier()) + " " + p.Name()
                                                  : p.Name();
        }
        text += ")";
        if (o.ReturnValue() != nullptr) text += " : " + type_name(o.ReturnValue());
        members.push_back({visibility_mark(o.Visibility()), text, true, o.IsAbstract()});
    }
    return members;
}

struct text_view {
    std::vector<text_box> boxes;
    std::vector<text_line> lines;
};

text_view view_of(const TRtfdDiagram& diagram) {
    text_view view;
    const auto& objects = diagram.Surface().GetManagedObjects();
    std::map<std::size_t, std::string> ids;
    for (std::size_t index : diagram.BoxesByName()) {
        if (index >= objects.size() || !objects[index].Visible) continue;
        const TRtfdBox& box = diagram.Boxes()[index];
        text_box out;
        out.id = "c" + std::to_string(index);
        out.kind = box.Kind;
        for (const TRtfdLabel& label : box.Labels) {
            if (label.Kind == TLabelKind::ClassName || label.Kind == TLabelKind::InterfaceName ||
                label.Kind == TLabelKind::UnitPackageName) {
                out.name = label.Text;
                out.is_abstract = label.Font == TDiagramFont::BoldItalic;
            }
        }
        if (box.Kind != TBoxKind::UnitPackage && box.Entity->Owner() != nullptr) {
            out.package = box.Entity->Owner()->Name();
        }
        out.members = members_of(box);
        ids[index] = out.id;
        view.boxes.push_back(std::move(out));
    }
    for (const TConnection& c : diagram.Surface().GetConnections()) {
        const auto from = ids.find(c.FromBox);
        const auto to = ids.find(c.ToBox);
        if (from == ids.end() || to == ids.end()) continue;
        relation kind = relation::association;
        if (c.ArrowHead == TArrowHead::Closed) {
            kind = c.LineStyle == TLineStyle::ThinDashed ? relation::realisation
                                                         : relation::inheritance;
        }
        view.lines.push_back({from->second, to->second, kind});
    }
    return view;
}

// Blanks for line breaks and control characters; `swap` maps the characters a syntax cannot
// carry to what it writes instead.
template <class Swap>
std::string cleaned(std::string_view text, Swap&& swap) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += ' ';
        } else {
            out += swap(c);
        }
    }
    return out;
}

// The boxes by the namespace they sit in, in the order they come.
std::vector<std::pair<std::string, std::vector<const text_box*>>> by_package(
    const text_view& view) {
    std::vector<std::pair<std::string, std::vector<const text_box*>>> groups;
    for (const text_box& box : view.boxes) {
        auto group = groups.begin();
        while (group != groups.end() && group->first != box.package) ++group;
        if (group == groups.end()) {
            groups.push_back({box.package, {}});
            group = groups.end() - 1;
        }
        group->second.push_back(&box);
    }
    return groups;
}

// Mermaid names a namespace with a plain word.
std::string namespace_word(std::string_view name) {
    std::string word;
    for (char c : name) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        word += plain ? c : '_';
    }
    return word.empty() ? "_" : word;
}

}  // namespace

std::string MermaidText(std::string_view text) {
    return cleaned(text, [](char c) -> std::string {
        switch (c) {
            case '<':
            case '>':
                return "~";
            case '"':
                return "'";
            case '{':
                return "(";
            case '}':
                return ")";
            case '`':
                return "'";
            default:
                return std::string(1, c);
        }
    });
}

std::string PlantUmlText(std::string_view text) {
    return cleaned(text, [](char c) -> std::string {
        if (c == '"') return "'";
        if (c == '{') return "(";
        if (c == '}') return ")";
        return std::string(1, c);
    });
}

std::string MermaidClassDiagram(const TRtfdDiagram& diagram) {
    const text_view view = view_of(diagram);
    std::string out = "classDiagram\n";
    for (const auto& [package, boxes] : by_package(view)) {
        const bool grouped = !package.empty();
        const std::string indent = grouped ? "        " : "    ";
        if (grouped) out += "    namespace " + namespace_word(package) + " {\n";
        for (const text_box* box : boxes) {
            out += indent + "class " + box->id + "[\"" + MermaidText(box->name) + "\"]";
            const bool has_body =
                box->kind != TBoxKind::Class || !box->members.empty() || box->is_abstract;
            if (!has_body) {
                out += "\n";
                continue;
            }
            out += " {\n";
            if (box->kind == TBoxKind::Interface) out += indent + "    <<interface>>\n";
            if (box->kind == TBoxKind::UnitPackage) out += indent + "    <<package>>\n";
            if (box->kind == TBoxKind::Class && box->is_abstract)
                out += indent + "    <<abstract>>\n";
            for (const text_member& m : box->members) {
                out += indent + "    " + m.visibility + MermaidText(m.text);
                if (m.is_abstract) out += "*";
                out += "\n";
            }
            out += indent + "}\n";
        }
        if (grouped) out += "    }\n";
    }
    for (const text_line& line : view.lines) {
        switch (line.kind) {
            case relation::inheritance:
                out += "    " + line.to + " <|-- " + line.from + "\n";
                break;
            case relation::realisation:
                out += "    " + line.to + " <|.. " + line.from + "\n";
                break;
            case relation::association:
                out += "    " + line.from + " --> " + line.to + "\n";
                break;
        }
    }
    return out;
}

std::string PlantUmlClassDiagram(const TRtfdDiagram& diagram) {
    const text_view view = view_of(diagram);
    std::string out = "@startuml\nhide empty members\n";
    for (const auto& [package, boxes] : by_package(view)) {
        const bool grouped = !package.empty();
        const std::string indent = grouped ? "    " : "";
        if (grouped) out += "package \"" + PlantUmlText(package) + "\" {\n";
        for (const text_box* box : boxes) {
            const char* keyword = "class";
            if (box->kind == TBoxKind::Interface) keyword = "interface";
            if (box->kind == TBoxKind::UnitPackage) keyword = "package";
            if (box->kind == TBoxKind::Class && box->is_abstract) keyword = "abstract class";
            out += indent + keyword + " \"" + PlantUmlText(box->name) + "\" as " + box->id;
            if (box->kind == TBoxKind::UnitPackage) {
                out += " {\n" + indent + "}\n";
                continue;
            }
            if (box->members.empty()) {
                out += "\n";
                continue;
            }
            out += " {\n";
            for (const text_member& m : box->members) {
                out += indent + "    ";
                if (m.is_abstract) out += "{abstract} ";
                out += m.visibility + PlantUmlText(m.text) + "\n";
            }
            out += indent + "}\n";
        }
        if (grouped) out += "}\n";
    }
    for (const text_line& line : view.lines) {
        switch (line.kind) {
            case relation::inheritance:
                out += line.to + " <|-- " + line.from + "\n";
                break;
            case relation::realisation:
                out += line.to + " <|.. " + line.from + "\n";
                break;
            case relation::association:
                out += line.from + " --> " + line.to + "\n";
                break;
        }
    }
    return out + "@enduml\n";
}

}  // namespace tarnwell
