// The listener interfaces of the class model. A listener declares an identity by deriving from
// its interface; one object may derive from several and receives only the events of the
// identities it declares.
#pragma once

#include <cstdint>

namespace tarnwell {

class TModelEntity;

// Event codes of `TModelEntity::Fire`: 0-3 are announced before a change (a listener may refuse
// it by throwing), 4-7 after it.
enum class TListenerCallback : std::uint8_t {
    BeforeChange = 0,
    BeforeChildAdded = 1,
    BeforeRemoving = 2,
    BeforePropertyChanged = 3,
    AfterChange = 4,
    AfterChildAdded = 5,
    AfterRemoving = 6,
    AfterPropertyChanged = 7,
};

// Base of every listener, entity and model alike, so that one list can hold them.
class IListener {
  public:
    virtual ~IListener() = default;
};

// What every entity listener is told. The operations do nothing unless overridden, so a
// listener spells out only the events it cares for.
class IEntityListener : public virtual IListener {
  public:
    virtual void Changed(TModelEntity* sender);
    virtual void ChildAdded(TModelEntity* sender, TModelEntity* child);
    virtual void Removing(TModelEntity* sender);
    virtual void PropertyChanged(TModelEntity* sender);
};

// The identities, one before and one after identity per entity kind.
class ILogicPackageBeforeListener : public virtual IEntityListener {};
class ILogicPackageAfterListener : public virtual IEntityListener {};
class IUnitPackageBeforeListener : public virtual IEntityListener {};
class IUnitPackageAfterListener : public virtual IEntityListener {};
class IClassBeforeListener : public virtual IEntityListener {};
class IClassAfterListener : public virtual IEntityListener {};
class IInterfaceBeforeListener : public virtual IEntityListener {};
class IInterfaceAfterListener : public virtual IEntityListener {};
class IDataTypeBeforeListener : public virtual IEntityListener {};
class IDataTypeAfterListener : public virtual IEntityListener {};
class IOperationBeforeListener : public virtual IEntityListener {};
class IOperationAfterListener : public virtual IEntityListener {};
class IAttributeBeforeListener : public virtual IEntityListener {};
class IAttributeAfterListener : public virtual IEntityListener {};
class IParameterBeforeListener : public virtual IEntityListener {};
class IParameterAfterListener : public virtual IEntityListener {};

// The object model's own identities; the sender passed is always nullptr.
class IModelBeforeListener : public virtual IListener {
  public:
    virtual void BeforeChange(TModelEntity* sender) = 0;
};
class IModelAfterListener : public virtual IListener {
  public:
    virtual void AfterChange(TModelEntity* sender) = 0;
};

// A listener identity as an entity names it (`GetBeforeListener`, `GetAfterListener`): the test
// whether a listener declares it.
using TListenerIdentity = bool (*)(const IEntityListener& listener);

template <class Identity>
bool Declares(const IEntityListener& listener) {
    return dynamic_cast<const Identity*>(&listener) != nullptr;
}

}  // namespace tarnwell
