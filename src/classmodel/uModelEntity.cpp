#include "classmodel/uModelEntity.h"

#include <algorithm>
#include <array>

#include "classmodel/uError.h"

namespace tarnwell {

namespace {

struct kind_row {
    std::string_view class_name;
    TEntityKind base;  // the kind itself at the root
};

constexpr std::array<kind_row, 12> kind_rows{{
    {"TModelEntity", TEntityKind::ModelEntity},
    {"TFeature", TEntityKind::ModelEntity},
    {"TOperation", TEntityKind::Feature},
    {"TAttribute", TEntityKind::Feature},
    {"TParameter", TEntityKind::ModelEntity},
    {"TClassifier", TEntityKind::ModelEntity},
    {"TClass", TEntityKind::Classifier},
    {"TInterface", TEntityKind::Classifier},
    {"TDataType", TEntityKind::Classifier},
    {"TAbstractPackage", TEntityKind::ModelEntity},
    {"TUnitPackage", TEntityKind::AbstractPackage},
    {"TLogicPackage", TEntityKind::AbstractPackage},
}};

const kind_row& row_of(TEntityKind kind) {
    return kind_rows[static_cast<std::size_t>(kind)];
}

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool is_description_lead(char c) {
    return c == '\n' || c == '\r' || c == ' ' || c == '*' || c == '/' || c == '_';
}

}  // namespace

bool IsKindOf(TEntityKind kind, TEntityKind base) {
    for (;;) {
        if (kind == base) return true;
        const TEntityKind up = row_of(kind).base;
        if (up == kind) return false;
        kind = up;
    }
}

std::string_view ClassNameOf(TEntityKind kind) {
    return row_of(kind).class_name;
}

bool NamesMatch(std::string_view a, std::string_view b, TCompareMode mode) {
    if (mode == TCompareMode::CaseSensitive) return a == b;
    return CompareNames(a, b) == 0;
}

int CompareNames(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(fold(a[i]));
        const auto y = static_cast<unsigned char>(fold(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool NameBefore(std::string_view a, std::string_view b) {
    const int folded = CompareNames(a, b);
    return folded != 0 ? folded < 0 : a < b;
}

std::string FoldCase(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), fold);
    return folded;
}

void TDocumentation::SetDescription(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && is_description_lead(text[start])) ++start;
    description_ = std::string(text.substr(start));
}

std::string TDocumentation::ShortDescription() const {
    constexpr std::size_t limit = 80;
    const std::string_view head = std::string_view(description_).substr(0, limit);
    const std::size_t dot = head.find('.');
    return std::string(dot == std::string_view::npos ? head : head.substr(0, dot + 1));
}

TModelEntity::~TModelEntity() = default;

void TModelEntity::SetName(const std::string& name) {
    ChangeValue(name_, name, true, [this](std::string value) { AssignName(std::move(value)); });
}

void TModelEntity::AssignName(std::string name) {
    std::string old = std::exchange(name_, std::move(name));
    if (owner_ != nullptr) owner_->ChildRenamed(*this, old);
}

void TModelEntity::ChildRenamed(TModelEntity&, const std::string&) {}

std::string TModelEntity::FullName() const {
    std::string full = name_;
    for (const TModelEntity* up = owner_; up != nullptr; up = up->owner_) {
        full.insert(0, up->name_ + "::");
    }
    return full;
}

TModelEntity* TModelEntity::Root() {
    TModelEntity* top = this;
    while (top->owner_ != nullptr) top = top->owner_;
    return top;
}

void TModelEntity::SetVisibility(TVisibility visibility) {
    ChangeValue(visibility_, visibility, true);
}

bool TModelEntity::IsLocked() const {
    for (const TModelEntity* e = this; e != nullptr; e = e->owner_) {
        if (e->locked_) return true;
    }
    return false;
}

void TModelEntity::AddListener(IEntityListener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
        listeners_.push_back(listener);
    }
}

void TModelEntity::RemoveListener(IEntityListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

TListenerIdentity TModelEntity::GetBeforeListener() const {
    throw model_error(std::string(ClassName()) + ".GetBeforeListener");
}

TListenerIdentity TModelEntity::GetAfterListener() const {
    throw model_error(std::string(ClassName()) + ".GetAfterListener");
}

void TModelEntity::Fire(TListenerCallback method, TModelEntity* info) {
    if (IsLocked()) return;
    const auto code = static_cast<unsigned>(method);
    if (code > static_cast<unsigned>(TListenerCallback::AfterPropertyChanged)) {
        throw model_error(std::string(ClassName()) + " Eventmethod not recognized.");
    }
    // By index, re-reading the size: a listener may add or remove listeners while it is told.
    for (std::size_t i = 0; i < listeners_.size(); ++i) {
        IEntityListener* listener = listeners_[i];
        const TListenerIdentity identity = code < 4 ? GetBeforeListener() : GetAfterListener();
        if (!identity(*listener)) continue;
        switch (code % 4) {
            case 0:
                listener->Changed(this);
                break;
            case 1:
                listener->ChildAdded(this, info);
                break;
            case 2:
                listener->Removing(this);
                break;
            default:
                listener->PropertyChanged(this);
                break;
        }
    }
}

TEntityList::~TEntityList() {
    // Members see an empty list while they are destroyed.
    const std::vector<TModelEntity*> doomed = std::exchange(items_, {});
    index_.clear();
    for (TModelEntity* entity : doomed) delete entity;
}

TModelEntity* TEntityList::Append(std::unique_ptr<TModelEntity> entity) {
    items_.push_back(entity.get());
    TModelEntity* added = entity.release();
    if (indexed_) index_[FoldCase(added->Name())].emplace_back(next_serial_++, added);
    return added;
}

void TEntityList::Remove(TModelEntity* entity) {
    const auto at = std::find(items_.begin(), items_.end(), entity);
    if (at == items_.end()) return;
    items_.erase(at);
    if (indexed_) {
        const auto found = index_.find(FoldCase(entity->Name()));
        if (found != index_.end()) {
            std::erase_if(found->second, [&](const auto& entry) { return entry.second == entity; });
            if (found->second.empty()) index_.erase(found);
        }
    }
    delete entity;
}

void TEntityList::Renamed(TModelEntity* entity, const std::string& old_name) {
    if (!indexed_) return;
    const auto from = index_.find(FoldCase(old_name));
    if (from == index_.end()) return;
    auto& old_bucket = from->second;
    const auto at = std::find_if(old_bucket.begin(), old_bucket.end(),
                                 [&](const auto& entry) { return entry.second == entity; });
    if (at == old_bucket.end()) return;
    const auto entry = *at;
    old_bucket.erase(at);
    if (old_bucket.empty()) index_.erase(from);
    auto& new_bucket = index_[FoldCase(entity->Name())];
    new_bucket.insert(
        std::upper_bound(new_bucket.begin(), new_bucket.end(), entry,
                         [](const auto& a, const auto& b) { return a.first < b.first; }),
        entry);
}

}  // namespace tarnwell
