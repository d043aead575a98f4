#include "classmodel/uRtfdComponents.h"

#include <algorithm>

#include "classmodel/uIterators.h"

namespace tarnwell {

namespace {

using namespace rtfd;

// Labels start this far below the box's top.
constexpr int FirstLabelTop = 5;

// The features of one kind that the filter lets through, by visibility and name.
std::vector<TModelEntity*> Members(std::unique_ptr<IModelIterator> all, TEntityKind kind,
                                   std::uint8_t filter) {
    std::vector<TModelEntity*> members;
    if (filter >= HideAllMembers) return members;
    TModelIterator sorted(*all, kind, static_cast<TVisibility>(filter),
                          TIterationSort::ByVisibilityAndName);
    while (sorted.HasNext()) members.push_back(sorted.Next());
    return members;
}

bool HasAbstractOperation(const TClass& c) {
    for (auto it = c.GetOperations(); it->HasNext();) {
        if (static_cast<TOperation*>(it->Next())->IsAbstract()) return true;
    }
    return false;
}

TRgb OperationColour(const TOperation& operation) {
    switch (operation.OperationType()) {
        case TOperationType::Constructor:
            return ConstructorColour;
        case TOperationType::Destructor:
            return DestructorColour;
        case TOperationType::Function:
            return FunctionColour;
        case TOperationType::Procedure:
            break;
    }
    return {};
}

class LabelStack {
  public:
    LabelStack(TRtfdBox& box, const ITextMeasure& measure) : box_(box), measure_(measure) {}

    void Text(TLabelKind kind, std::string text, TLabelAlignment alignment, TDiagramFont font,
              TRgb colour = {}, std::optional<TVisibility> icon = std::nullopt) {
        const TTextSize size = measure_.Measure(text, font);
        const int indent = icon ? IconWidth : 0;
        box_.Labels.push_back({kind, std::move(text), alignment, font, colour, icon, top_,
                               size.Height, indent + size.Width + LabelPadding});
        top_ += size.Height;
    }

    void Separator() {
        box_.Labels.push_back({TLabelKind::Separator,
                               {},
                               TLabelAlignment::Left,
                               TDiagramFont::Normal,
                               {},
                               std::nullopt,
                               top_,
                               SeparatorHeight,
                               0});
        top_ += SeparatorHeight;
    }

  private:
    TRtfdBox& box_;
    const ITextMeasure& measure_;
    int top_ = FirstLabelTop;
};

void FillClassifier(TRtfdBox& box, const TAbstractPackage* shown, const ITextMeasure& measure) {
    TModelEntity& entity = *box.Entity;
    std::vector<TModelEntity*> operations;
    std::vector<TModelEntity*> attributes;
    bool is_abstract = false;
    if (auto* c = dynamic_cast<TClass*>(&entity)) {
        is_abstract = HasAbstractOperation(*c);
        operations = Members(c->GetOperations(), TEntityKind::Operation, box.VisibilityFilter);
        attributes = Members(c->GetAttributes(), TEntityKind::Attribute, box.VisibilityFilter);
    } else if (auto* i = dynamic_cast<TInterface*>(&entity)) {
        operations = Members(i->GetOperations(), TEntityKind::Operation, box.VisibilityFilter);
        attributes = Members(i->GetAttributes(), TEntityKind::Attribute, box.VisibilityFilter);
    }
    LabelStack labels(box, measure);
    const std::string name = entity.Owner() == shown ? entity.Name() : entity.FullName();
    if (box.Kind == TBoxKind::Interface) {
        labels.Text(TLabelKind::Stereotype, "<<interface>>", TLabelAlignment::Centre,
                    TDiagramFont::Normal);
        labels.Text(TLabelKind::InterfaceName, name, TLabelAlignment::Centre, TDiagramFont::Bold);
    } else {
        labels.Text(TLabelKind::ClassName, name, TLabelAlignment::Centre,
                    is_abstract ? TDiagramFont::BoldItalic : TDiagramFont::Bold);
    }
    if (!attributes.empty() || !operations.empty()) labels.Separator();
    for (TModelEntity* e : attributes) {
        const TClassifier* type = static_cast<TAttribute*>(e)->TypeClassifier();
        labels.Text(TLabelKind::Attribute,
                    type != nullptr ? e->Name() + " : " + type->Name() : e->Name(),
                    TLabelAlignment::Left, TDiagramFont::Normal, {}, e->Visibility());
    }
    if (!attributes.empty() && !operations.empty()) labels.Separator();
    for (TModelEntity* e : operations) {
        const auto& operation = *static_cast<TOperation*>(e);
        labels.Text(TLabelKind::Operation, e->Name() + "(...)", TLabelAlignment::Left,
                    operation.IsAbstract() ? TDiagramFont::Italic : TDiagramFont::Normal,
                    OperationColour(operation), e->Visibility());
    }
}

}  // namespace

void RefreshEntities(TRtfdBox& box, const TAbstractPackage* shown, const ITextMeasure& measure) {
    box.Labels.clear();
    if (box.Kind == TBoxKind::UnitPackage) {
        LabelStack(box, measure)
            .Text(TLabelKind::UnitPackageName, box.Entity->Name(), TLabelAlignment::Centre,
                  TDiagramFont::Bold);
        box.Width = MinimumWidth;
        box.Height = PackageHeight;
        return;
    }
    FillClassifier(box, shown, measure);
    int labels_height = 0;
    int widest = 0;
    for (const TRtfdLabel& label : box.Labels) {
        labels_height += label.Height;
        widest = std::max(widest, label.NeededWidth);
    }
    box.Height = std::max(MinimumHeight, labels_height + 10);
    box.Width = std::max(MinimumWidth, widest);
}

TRtfdBox MakeBox(TModelEntity& entity, TBoxKind kind, std::uint8_t visibility_filter,
                 const TAbstractPackage* shown, const ITextMeasure& measure) {
    TRtfdBox box;
    box.Entity = &entity;
    box.Kind = kind;
    box.VisibilityFilter = visibility_filter;
    RefreshEntities(box, shown, measure);
    return box;
}

std::string DiagramTitle(const TAbstractPackage& package) {
    return "   " + package.FullName();
}

}  // namespace tarnwell
