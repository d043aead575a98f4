// The root of the class model: every element is a model entity with a name, an owner, a
// visibility, a documentation text and listeners that hear about its changes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "classmodel/uListeners.h"

namespace tarnwell {

// Visibility filters compare these numbers ("at least").
enum class TVisibility : std::uint8_t { Private = 0, Protected = 1, Public = 2, Published = 3 };

// The kinds of entity, after the class tree. A kind includes its subkinds (`IsKindOf`).
enum class TEntityKind : std::uint8_t {
    ModelEntity,
    Feature,
    Operation,
    Attribute,
    Parameter,
    Classifier,
    Class,
    Interface,
    DataType,
    AbstractPackage,
    UnitPackage,
    LogicPackage,
};

// True when `kind` is `base` or one of its subkinds.
bool IsKindOf(TEntityKind kind, TEntityKind base);
// The class name of a kind ("TClass"), the name the raised texts carry.
std::string_view ClassNameOf(TEntityKind kind);

// How lookups compare names: ASCII letters folded, or byte for byte.
enum class TCompareMode : std::uint8_t { CaseInsensitive = 0, CaseSensitive = 1 };

bool NamesMatch(std::string_view a, std::string_view b, TCompareMode mode);
// Negative, zero or positive as `a` sorts before, with or after `b`, ASCII letters folded.
int CompareNames(std::string_view a, std::string_view b);
// Dictionary order: letters folded first, the bytes deciding between names that differ only
// in case ("alpha" < "Beta" < "beta").
bool NameBefore(std::string_view a, std::string_view b);
// The name with its ASCII letters in lower case: the key of case-insensitive lookups.
std::string FoldCase(std::string_view name);

// The documentation text of an entity.
class TDocumentation {
  public:
    const std::string& Description() const { return description_; }
    // Stores the text without its leading line breaks, blanks, "*", "/" and "_", so that the
    // opening of a comment block disappears.
    void SetDescription(std::string_view text);
    // Up to and including the first "." among the first 80 characters, else those 80.
    std::string ShortDescription() const;

  private:
    std::string description_;
};

class TEntityList;

class TModelEntity {
  public:
    TModelEntity(const TModelEntity&) = delete;
    TModelEntity& operator=(const TModelEntity&) = delete;
    virtual ~TModelEntity();

    virtual TEntityKind Kind() const { return TEntityKind::ModelEntity; }
    std::string_view ClassName() const { return ClassNameOf(Kind()); }
    bool Is(TEntityKind base) const { return IsKindOf(Kind(), base); }

    const std::string& Name() const { return name_; }
    // Always proceeds; a before-listener that throws puts the old name back.
    virtual void SetName(const std::string& name);
    // The owner's full name, "::" and the name; the bare name without an owner.
    std::string FullName() const;

    TModelEntity* Owner() const { return owner_; }
    // The topmost owner; the entity itself when it has none.
    TModelEntity* Root();

    TDocumentation& Documentation() { return documentation_; }
    const TDocumentation& Documentation() const { return documentation_; }

    TVisibility Visibility() const { return visibility_; }
    // Always proceeds, with events, like `SetName`.
    void SetVisibility(TVisibility visibility);

    bool Locked() const { return locked_; }
    void SetLocked(bool locked) { locked_ = locked; }
    // True when this entity or any owner up the chain is locked: then no events are delivered.
    bool IsLocked() const;

    // Listeners stay the caller's; adding one twice registers it once.
    void AddListener(IEntityListener* listener);
    void RemoveListener(IEntityListener* listener);

    // The identities this kind delivers to; kinds without their own raise
    // "<class name>.GetBeforeListener" and "<class name>.GetAfterListener".
    virtual TListenerIdentity GetBeforeListener() const;
    virtual TListenerIdentity GetAfterListener() const;

    // Delivers one event to every listener that declares the matching identity, in
    // registration order; nothing while locked. An unknown code raises
    // "<class name> Eventmethod not recognized.".
    virtual void Fire(TListenerCallback method, TModelEntity* info = nullptr);

  protected:
    explicit TModelEntity(TModelEntity* owner) : owner_(owner) {}

    // Adds a new owned child: created with this entity as owner, named, appended and
    // announced. A refusing before-listener gets the child removed again and its error passed on.
    template <class Child>
    Child* AddChild(TEntityList& list, const std::string& name);

    // Stores a new property value and announces it; a refusing before-listener gets the old
    // value put back and its error passed on. Unless `always`, an equal value changes nothing.
    template <class T, class Assign>
    void ChangeValue(const T& current, T value, bool always, Assign&& assign);
    template <class T>
    void ChangeValue(T& field, T value, bool always = false) {
        ChangeValue(field, std::move(value), always, [&field](T v) { field = std::move(v); });
    }

  private:
    // Told when a child's name changes, so that owners with a name index keep it current.
    virtual void ChildRenamed(TModelEntity& child, const std::string& old_name);
    void AssignName(std::string name);

    std::string name_;
    TModelEntity* owner_;
    TDocumentation documentation_;
    TVisibility visibility_ = TVisibility::Private;
    std::vector<IEntityListener*> listeners_;
    bool locked_ = false;
};

// A list of entities that owns them: a member is destroyed when it is removed or when the list
// goes. Optionally keeps a name index so that lookups by name do not walk the list.
class TEntityList {
  public:
    explicit TEntityList(bool indexed = false) : indexed_(indexed) {}
    TEntityList(const TEntityList&) = delete;
    TEntityList& operator=(const TEntityList&) = delete;
    ~TEntityList();

    const std::vector<TModelEntity*>& Items() const { return items_; }
    TModelEntity* Append(std::unique_ptr<TModelEntity> entity);
    // Takes the entity out and destroys it; an entity not in the list is left alone.
    void Remove(TModelEntity* entity);
    // Moves a member to the index entry of its new name.
    void Renamed(TModelEntity* entity, const std::string& old_name);

    // The first member, in list order, whose name matches and which `accept` takes.
    template <class Accept>
    TModelEntity* FindFirst(std::string_view name, TCompareMode mode, Accept&& accept) const;

  private:
    using bucket = std::vector<std::pair<std::uint64_t, TModelEntity*>>;
    std::vector<TModelEntity*> items_;
    bool indexed_;
    std::uint64_t next_serial_ = 0;
    std::unordered_map<std::string, bucket> index_;
};

template <class Accept>
TModelEntity* TEntityList::FindFirst(std::string_view name, TCompareMode mode,
                                     Accept&& accept) const {
    const auto matches = [&](TModelEntity* e) {
        return NamesMatch(e->Name(), name, mode) && accept(e);
    };
    if (!indexed_) {
        for (TModelEntity* e : items_) {
            if (matches(e)) return e;
        }
        return nullptr;
    }
    const auto found = index_.find(FoldCase(name));
    if (found == index_.end()) return nullptr;
    for (const auto& entry : found->second) {
        if (matches(entry.second)) return entry.second;
    }
    return nullptr;
}

template <class Child>
Child* TModelEntity::AddChild(TEntityList& list, const std::string& name) {
    auto created = std::make_unique<Child>(this);
    static_cast<TModelEntity*>(created.get())->AssignName(name);
    auto* child = static_cast<Child*>(list.Append(std::move(created)));
    try {
        Fire(TListenerCallback::BeforeChildAdded, child);
    } catch (...) {
        list.Remove(child);
        throw;
    }
    Fire(TListenerCallback::AfterChildAdded, child);
    return child;
}

template <class T, class Assign>
void TModelEntity::ChangeValue(const T& current, T value, bool always, Assign&& assign) {
    if (!always && current == value) return;
    T old = current;
    assign(std::move(value));
    try {
        Fire(TListenerCallback::BeforePropertyChanged);
    } catch (...) {
        assign(std::move(old));
        throw;
    }
    Fire(TListenerCallback::AfterPropertyChanged);
}

}  // namespace tarnwell
