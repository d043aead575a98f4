#include "classmodel/uRtfdDiagram.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "classmodel/uError.h"
#include "classmodel/uIterators.h"
#include "workspace/ini_file.h"

namespace tarnwell {

namespace {

using namespace rtfd;

int ClampCoordinate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, MaxCoordinate));
}

std::string Bool(bool value) {
    return value ? "1" : "0";
}

// Nearest integer, halves to even.
int Nearest(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

std::string DefaultDiagramStorage(const char* xdg_config_home, const char* home) {
    std::filesystem::path folder;
    if (xdg_config_home != nullptr && *xdg_config_home == '/') {
        folder = xdg_config_home;
    } else if (home != nullptr && *home != '\0') {
        folder = std::filesystem::path(home) / ".config";
    } else {
        return {};
    }
    return (folder / "tarnwell" / "tarnwell.vixModel").string();
}

bool TRtfdDiagram::DictionaryLess::operator()(const std::string& a, const std::string& b) const {
    return NameBefore(a, b);
}

TRtfdDiagram::TRtfdDiagram(TObjectModel& model, const ITextMeasure& measure,
                           TDiagramDefaults defaults, std::string fallback_storage,
                           TDiagramEvents events)
    : model_(model),
      measure_(measure),
      defaults_(defaults),
      fallback_storage_(std::move(fallback_storage)),
      events_(std::move(events)),
      show_assoc_(defaults.ShowAssoc),
      visibility_filter_(std::min(defaults.VisibilityFilter, HideAllMembers)) {
    model_.AddListener(this);
    Empty();
}

TRtfdDiagram::~TRtfdDiagram() {
    SetPackage(nullptr);
    Empty();
    model_.RemoveListener(this);
}

void TRtfdDiagram::Notify(const std::function<void()>& event) const {
    if (event) event();
}

void TRtfdDiagram::SetPackage(TAbstractPackage* package) {
    if (package_ != nullptr && (is_modified_ || surface_.IsModified)) SaveDiagramSettings();
    if (listened_ != nullptr) listened_->RemoveListener(this);
    listened_ = nullptr;
    package_ = package;
    if (package != nullptr && package->Is(TEntityKind::UnitPackage)) {
        listened_ = static_cast<TUnitPackage*>(package);
        listened_->AddListener(this);
    }
    view_.Left = view_.Top = 0;
}

void TRtfdDiagram::Empty() {
    surface_.ClearManagedObjects();
    boxes_.clear();
    box_names_.clear();
    title_.clear();
    has_hidden_ = false;
    is_modified_ = false;
    stored_offset_.reset();
}

void TRtfdDiagram::InitFromModel() {
    shows_all_classes_ = package_ == AllClassesView();
    if (package_ == nullptr) {
        TLogicPackage* root = model_.ModelRoot();
        SetPackage(root);
        const auto packages = root->GetPackages();
        if (packages->Count() == 2) {
            packages->Next();
            SetPackage(static_cast<TAbstractPackage*>(packages->Next()));
        }
    }
    Empty();
    ReadStoredChoices();
    if (package_->Is(TEntityKind::UnitPackage)) {
        title_ = DiagramTitle(*package_);
        for (auto it = static_cast<TUnitPackage*>(package_)->GetClassifiers(); it->HasNext();)
            AddBox(*it->Next());
    } else if (shows_all_classes_) {
        for (auto it = model_.ModelRoot()->GetAllUnitPackages(); it->HasNext();) {
            for (auto c = static_cast<TUnitPackage*>(it->Next())->GetClassifiers(); c->HasNext();)
                AddBox(*c->Next());
        }
    } else {
        for (auto it = static_cast<TLogicPackage*>(package_)->GetPackages(); it->HasNext();) {
            TModelEntity* package = it->Next();
            if (package->Name() != UnknownPackageName) AddBox(*package);
        }
    }
    const int found = LoadDiagramSettings();
    MakeConnections();
    if (found == 0 || found < static_cast<int>(boxes_.size()) - 2) {
        DoLayout();
    } else if (events_.ShowStatus) {
        events_.ShowStatus("Diagram layout and settings were read from file: " + GetStorage());
    }
    surface_.RecalcSize();
    // The stored scroll position counts only now that the surface has its size.
    if (stored_offset_) ScrollTo(stored_offset_->X, stored_offset_->Y);
    stored_offset_.reset();
    surface_.IsModified = false;
    chosen_show_assoc_.reset();
    chosen_filter_.reset();
    Notify(events_.OnUpdateToolbar);
    Notify(events_.OnUpdateZoom);
    is_modified_ = false;
}

bool TRtfdDiagram::HasBox(const TModelEntity* entity) const {
    return entity != nullptr && box_names_.contains(entity->FullName());
}

void TRtfdDiagram::AddClassifierBox(TModelEntity& entity, TBoxKind kind) {
    if (HasBox(&entity)) return;
    TRtfdBox box = MakeBox(entity, kind, visibility_filter_, package_, measure_);
    const std::size_t index = surface_.AddManagedObject({0, 0, box.Width, box.Height});
    box_names_.emplace(entity.FullName(), index);
    boxes_.push_back(std::move(box));
}

void TRtfdDiagram::AddBox(TModelEntity& entity) {
    const auto other_package = [&](const TModelEntity* e) {
        return e != nullptr && e->Owner() != entity.Owner();
    };
    const auto boxed_kind = [](const TModelEntity& e) {
        return e.Is(TEntityKind::Interface) ? TBoxKind::Interface : TBoxKind::Class;
    };
    if (entity.Is(TEntityKind::UnitPackage)) {
        AddClassifierBox(entity, TBoxKind::UnitPackage);
    } else if (auto* c = dynamic_cast<TClass*>(&entity)) {
        if (!shows_all_classes_) {
            if (other_package(c->Ancestor())) AddClassifierBox(*c->Ancestor(), TBoxKind::Class);
            for (TModelEntity* implemented : c->Implements())
                if (other_package(implemented)) AddClassifierBox(*implemented, TBoxKind::Interface);
            if (show_assoc_) {
                for (auto it = c->GetAttributes(); it->HasNext();) {
                    TClassifier* type = static_cast<TAttribute*>(it->Next())->TypeClassifier();
                    if (type == nullptr || type == c || type == c->Ancestor() ||
                        (type->Owner() != nullptr && type->Owner()->Name() == UnknownPackageName))
                        continue;
                    if (type->Is(TEntityKind::Class) || type->Is(TEntityKind::Interface))
                        AddClassifierBox(*type, boxed_kind(*type));
                }
            }
        }
        AddClassifierBox(*c, TBoxKind::Class);
    } else if (auto* i = dynamic_cast<TInterface*>(&entity)) {
        if (!shows_all_classes_ && other_package(i->Ancestor()))
            AddClassifierBox(*i->Ancestor(), TBoxKind::Interface);
        AddClassifierBox(*i, TBoxKind::Interface);
    }
}

std::optional<std::size_t> TRtfdDiagram::BoxOf(const TModelEntity* entity) const {
    if (entity == nullptr) return std::nullopt;
    const auto found = box_names_.find(entity->FullName());
    if (found == box_names_.end() || boxes_[found->second].Entity != entity) return std::nullopt;
    return found->second;
}

std::vector<std::size_t> TRtfdDiagram::BoxesByName() const {
    std::vector<std::size_t> order;
    order.reserve(box_names_.size());
    for (const auto& [name, index] : box_names_) order.push_back(index);
    return order;
}

void TRtfdDiagram::MakeConnections() {
    for (const auto& named : box_names_) {
        const std::size_t from = named.second;
        TModelEntity* entity = boxes_[from].Entity;
        const auto connect = [&](const TModelEntity* target, TLineStyle style, TArrowHead head) {
            if (const auto to = BoxOf(target)) surface_.ConnectObjects(from, *to, head, style);
        };
        if (auto* c = dynamic_cast<TClass*>(entity)) {
            connect(c->Ancestor(), TLineStyle::ThickSolid, TArrowHead::Closed);
            for (TModelEntity* implemented : c->Implements())
                connect(implemented, TLineStyle::ThinDashed, TArrowHead::Closed);
            if (!show_assoc_) continue;
            for (auto it = c->GetAttributes(); it->HasNext();) {
                const TClassifier* type = static_cast<TAttribute*>(it->Next())->TypeClassifier();
                if (type != nullptr && type != c && type != c->Ancestor())
                    connect(type, TLineStyle::ThinSolid, TArrowHead::Open);
            }
        } else if (auto* i = dynamic_cast<TInterface*>(entity)) {
            connect(i->Ancestor(), TLineStyle::ThickSolid, TArrowHead::Closed);
        }
    }
}

TLayoutResult TRtfdDiagram::DoLayout() {
    if (boxes_.empty()) return {};
    TLayoutGraph graph;
    for (const TManagedObject& object : surface_.GetManagedObjects()) {
        graph.Boxes.push_back({object.Bounds.Width(), object.Bounds.Height(), object.Visible,
                               object.Bounds.Left, object.Bounds.Top});
    }
    for (const TConnection& c : surface_.GetConnections())
        graph.Connections.push_back({c.FromBox, c.ToBox, c.ArrowHead == TArrowHead::Closed});
    const TLayoutResult result = TVixLayout::CreateLayout(graph)->Execute();
    if (result.Ok) {
        for (std::size_t i = 0; i < graph.Boxes.size(); ++i) {
            TRect& bounds = surface_.Object(i).Bounds;
            const int width = bounds.Width();
            const int height = bounds.Height();
            bounds.Left = ClampCoordinate(graph.Boxes[i].Left);
            bounds.Top = ClampCoordinate(graph.Boxes[i].Top);
            bounds.Right = bounds.Left + width;
            bounds.Bottom = bounds.Top + height;
        }
    } else if (events_.ShowMessage) {
        events_.ShowMessage(result.Message);
    }
    surface_.IsModified = true;
    surface_.RecalcSize();
    return result;
}

std::string TRtfdDiagram::GetStorage() const {
    const std::string own = package_ != nullptr ? package_->GetConfigFile() : std::string();
    return own.empty() ? fallback_storage_ : own;
}

std::string TRtfdDiagram::BoxSection(const TRtfdBox& box) const {
    return "Box: " + package_->FullName() + " - " + box.Entity->FullName();
}

std::string TRtfdDiagram::DiagramSection() const {
    return "Diagram: " + package_->FullName();
}

// The connections choice must be known before the boxes are made, since some boxes exist
// only for associations; the filter, so that boxes are sized once. A user's own choice wins.
void TRtfdDiagram::ReadStoredChoices() {
    const std::string path = GetStorage();
    std::error_code error;
    if (!path.empty() && std::filesystem::is_regular_file(path, error)) {
        const ini_file ini = ini_file::load(path);
        const std::string section = DiagramSection();
        show_assoc_ = ini.int_value(section, "ShowAssoc", show_assoc_ ? 1 : 0) != 0;
        visibility_filter_ = static_cast<std::uint8_t>(std::clamp(
            ini.int_value(section, "Visibility", visibility_filter_), 0, int{HideAllMembers}));
    }
    if (chosen_show_assoc_) show_assoc_ = *chosen_show_assoc_;
    if (chosen_filter_) visibility_filter_ = *chosen_filter_;
}

int TRtfdDiagram::LoadDiagramSettings() {
    const std::string path = GetStorage();
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) return 0;
    const ini_file ini = ini_file::load(path);
    int found = 0;
    TPoint cascade = CascadeStart;
    for (const auto& [name, index] : box_names_) {
        TManagedObject& object = surface_.Object(index);
        TRect& bounds = object.Bounds;
        const int width = bounds.Width();
        const int height = bounds.Height();
        const std::string section = BoxSection(boxes_[index]);
        if (ini.value(section, "X") || ini.value(section, "Y") || ini.value(section, "Visible")) {
            ++found;
            bounds.Left = ClampCoordinate(ini.int_value(section, "X", bounds.Left));
            bounds.Top = ClampCoordinate(ini.int_value(section, "Y", bounds.Top));
            object.Visible = ini.int_value(section, "Visible", 1) != 0;
            if (!object.Visible) has_hidden_ = true;
        } else {
            bounds.Left = cascade.X;
            bounds.Top = cascade.Y;
            cascade.X = std::min(cascade.X + CascadeStep, MaxCoordinate);
            cascade.Y = std::min(cascade.Y + CascadeStep, MaxCoordinate);
        }
        bounds.Right = bounds.Left + width;
        bounds.Bottom = bounds.Top + height;
    }
    const std::string section = DiagramSection();
    if (ini.value(section, "OffsetX") || ini.value(section, "OffsetY")) {
        // OffsetX holds the vertical position and OffsetY the horizontal one.
        stored_offset_ = TPoint{ClampCoordinate(ini.int_value(section, "OffsetY", view_.Left)),
                                ClampCoordinate(ini.int_value(section, "OffsetX", view_.Top))};
    }
    return found;
}

bool TRtfdDiagram::SaveDiagramSettings() {
    if (package_ == nullptr || defaults_.Save >= 2) return true;
    if (defaults_.Save == 1 && !(events_.ConfirmSave && events_.ConfirmSave())) return true;
    const std::string path = GetStorage();
    if (path.empty()) return false;
    ini_file ini = ini_file::load(path);
    for (const auto& [name, index] : box_names_) {
        const TManagedObject& object = surface_.Object(index);
        const std::string section = BoxSection(boxes_[index]);
        ini.remove_section(section);
        ini.set_value(section, "X", std::to_string(object.Bounds.Left));
        ini.set_value(section, "Y", std::to_string(object.Bounds.Top));
        if (!object.Visible) ini.set_value(section, "Visible", Bool(false));
    }
    const std::string section = DiagramSection();
    ini.remove_section(section);
    ini.set_value(section, "OffsetX", std::to_string(view_.Top));
    ini.set_value(section, "OffsetY", std::to_string(view_.Left));
    ini.set_value(section, "Visibility", std::to_string(visibility_filter_));
    ini.set_value(section, "ShowAssoc", Bool(show_assoc_));
    if (!ini.save(path).empty()) {
        TErrorHandler::Instance().Trace("Could not write layout to disk");
        return false;
    }
    return true;
}

void TRtfdDiagram::SetVisibilityFilter(std::uint8_t value) {
    value = std::min(value, HideAllMembers);
    if (value == visibility_filter_) return;
    visibility_filter_ = value;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        TRtfdBox& box = boxes_[i];
        box.VisibilityFilter = value;
        RefreshEntities(box, package_, measure_);
        TRect& bounds = surface_.Object(i).Bounds;
        bounds.Right = bounds.Left + box.Width;
        bounds.Bottom = bounds.Top + box.Height;
    }
    surface_.RecalcSize();
    is_modified_ = true;
    Notify(events_.OnUpdateToolbar);
    Notify(events_.OnUpdateZoom);
}

void TRtfdDiagram::SetShowAssoc(bool value) {
    if (value == show_assoc_) return;
    is_modified_ = true;
    show_assoc_ = value;
}

void TRtfdDiagram::ChooseVisibilityFilter(std::uint8_t value) {
    chosen_filter_ = std::min(value, HideAllMembers);
    SetVisibilityFilter(*chosen_filter_);
}

void TRtfdDiagram::ChooseShowAssoc(bool value) {
    chosen_show_assoc_ = value;
    SetShowAssoc(value);
}

TRect TRtfdDiagram::GetSelectedRect() const {
    TRect rect;
    for (std::size_t index : surface_.GetSelectedControls())
        rect = Union(rect, surface_.Object(index).Bounds);
    return rect;
}

std::string TRtfdDiagram::HintAt(TPoint point) const {
    const std::optional<std::size_t> box = surface_.BoxAt(point);
    if (!box) return {};
    return boxes_[*box].Entity->Documentation().ShortDescription();
}

std::vector<TClickArea> TRtfdDiagram::GetClickAreas() const {
    std::vector<TClickArea> areas;
    for (const auto& [name, index] : box_names_) {
        const TRect& b = surface_.Object(index).Bounds;
        areas.push_back({std::to_string(b.Left) + "," + std::to_string(b.Top) + "," +
                             std::to_string(b.Right) + "," + std::to_string(b.Bottom),
                         boxes_[index].Entity});
    }
    return areas;
}

void TRtfdDiagram::HideSelectedBoxes() {
    for (std::size_t index : surface_.GetSelectedControls()) {
        surface_.Object(index).Visible = false;
        has_hidden_ = true;
        is_modified_ = true;
    }
    surface_.ClearSelection();
    surface_.RecalcSize();
}

void TRtfdDiagram::UnHideElements() {
    for (std::size_t i = 0; i < boxes_.size(); ++i) surface_.Object(i).Visible = true;
    surface_.RecalcSize();
    has_hidden_ = false;
    is_modified_ = true;
}

bool TRtfdDiagram::OpenSelectedPackage() {
    const std::optional<std::size_t> first = surface_.GetFirstSelected();
    if (!first || boxes_[*first].Kind != TBoxKind::UnitPackage) return false;
    SetPackage(static_cast<TAbstractPackage*>(boxes_[*first].Entity));
    InitFromModel();
    SetCurrentEntity(package_);
    return true;
}

void TRtfdDiagram::CurrentEntityChanged(TModelEntity* entity) {
    TModelEntity* owner = entity;
    while (owner != nullptr && !owner->Is(TEntityKind::AbstractPackage)) owner = owner->Owner();
    if (owner != nullptr && owner != package_) {
        SetPackage(static_cast<TAbstractPackage*>(owner));
        InitFromModel();
    }
    if (entity != nullptr && (entity->Is(TEntityKind::Class) || entity->Is(TEntityKind::Interface)))
        CenterOnEntity(entity);
}

void TRtfdDiagram::CenterOnEntity(const TModelEntity* entity) {
    const std::optional<std::size_t> index = BoxOf(entity);
    if (!index) return;
    const TRect& b = surface_.Object(*index).Bounds;
    ScrollTo(b.Left + b.Width() / 2 - view_.Width / 2, b.Top + b.Height() / 2 - view_.Height / 2);
    Notify(events_.OnUpdateZoom);
}

void TRtfdDiagram::ScrollTo(int left, int top) {
    view_.Left = std::clamp(left, 0, std::max(0, surface_.Width() - view_.Width));
    view_.Top = std::clamp(top, 0, std::max(0, surface_.Height() - view_.Height));
}

TOverviewPicture TRtfdDiagram::PaintOverview(int width, int height) {
    TOverviewPicture picture;
    if (surface_.Width() <= 0 || surface_.Height() <= 0) return picture;
    const double s = std::min(static_cast<double>(width) / surface_.Width(),
                              static_cast<double>(height) / surface_.Height());
    picture.Scale = s;
    const auto scaled = [s](int v) { return Nearest(v * s); };
    picture.Diagram = {0, 0, scaled(surface_.Width()), scaled(surface_.Height())};
    for (const TManagedObject& object : surface_.GetManagedObjects()) {
        if (!object.Visible) continue;
        const TRect& b = object.Bounds;
        picture.Boxes.push_back({scaled(b.Left), scaled(b.Top), scaled(b.Right), scaled(b.Bottom)});
    }
    overview_width_ = Nearest(view_.Width * s);
    overview_height_ = Nearest(view_.Height * s);
    picture.Viewport = {scaled(view_.Left), scaled(view_.Top), scaled(view_.Left) + overview_width_,
                        scaled(view_.Top) + overview_height_};
    picture.ShowViewport = view_.Width < surface_.Width() || view_.Height < surface_.Height();
    return picture;
}

void TRtfdDiagram::ScrollFromOverview(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    const double f = std::max(static_cast<double>(surface_.Height()) / height,
                              static_cast<double>(surface_.Width()) / width);
    ScrollTo(std::min(Nearest(f * (x - overview_width_ / 2)), surface_.Width() - view_.Width),
             std::min(Nearest(f * (y - overview_height_ / 2)), surface_.Height() - view_.Height));
    Notify(events_.OnUpdateZoom);
}

void TRtfdDiagram::BeforeChange(TModelEntity*) {
    TErrorHandler::Instance().Trace("TRtfdDiagram : ModelBeforeChange");
    // The entities the views follow are about to go; choosing one again after the change,
    // such as the all-classes view, which stays, must reach the views.
    SetCurrentEntity(nullptr);
    SetPackage(nullptr);
    shows_all_classes_ = false;
    Empty();
}

void TRtfdDiagram::AfterChange(TModelEntity*) {
    TErrorHandler::Instance().Trace("TRtfdDiagram : ModelAfterChange");
    InitFromModel();
}

void TRtfdDiagram::ChildAdded(TModelEntity*, TModelEntity* child) {
    if (child == nullptr) return;
    const std::size_t before = boxes_.size();
    AddBox(*child);
    if (boxes_.size() == before) return;
    TPoint cascade = CascadeStart;
    for (std::size_t i = before; i < boxes_.size(); ++i) {
        TRect& bounds = surface_.Object(i).Bounds;
        bounds = {cascade.X, cascade.Y, cascade.X + bounds.Width(), cascade.Y + bounds.Height()};
        cascade.X += CascadeStep;
        cascade.Y += CascadeStep;
    }
    surface_.ClearConnections();
    MakeConnections();
    surface_.RecalcSize();
    is_modified_ = true;
    Notify(events_.OnUpdateZoom);
}

}  // namespace tarnwell
