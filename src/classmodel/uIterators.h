// Read access to the class model: iterators over entity lists, with filters and sorts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "classmodel/uModelEntity.h"

namespace tarnwell {

class TClass;
class TInterface;

enum class TIterationSort : std::uint8_t { Unsorted = 0, ByVisibilityAndName = 1, ByName = 2 };

class IModelIterator {
  public:
    virtual ~IModelIterator() = default;
    virtual bool HasNext() const = 0;
    // The prepared element; raises "<class name>.Next at end" when there is none.
    virtual TModelEntity* Next() = 0;
    virtual void Reset() = 0;
    // The number of elements (after filtering).
    virtual std::size_t Count() const = 0;
};

class IIteratorFilter {
  public:
    virtual ~IIteratorFilter() = default;
    virtual bool Accept(TModelEntity* entity) const = 0;
};

// Entities of a kind (subkinds included) with at least the given visibility.
class TClassAndVisibilityFilter : public IIteratorFilter {
  public:
    explicit TClassAndVisibilityFilter(TEntityKind kind, TVisibility minimum = TVisibility::Private)
        : kind_(kind), minimum_(minimum) {}
    bool Accept(TModelEntity* entity) const override;

  private:
    TEntityKind kind_;
    TVisibility minimum_;
};

// Every entity but one.
class TEntitySkipFilter : public IIteratorFilter {
  public:
    explicit TEntitySkipFilter(const TModelEntity* skipped) : skipped_(skipped) {}
    bool Accept(TModelEntity* entity) const override { return entity != skipped_; }

  private:
    const TModelEntity* skipped_;
};

// Classes whose ancestor is the given class.
class TClassDescendantFilter : public IIteratorFilter {
  public:
    explicit TClassDescendantFilter(const TClass* ancestor) : ancestor_(ancestor) {}
    bool Accept(TModelEntity* entity) const override;

  private:
    const TClass* ancestor_;
};

// Classes that implement the given interface.
class TInterfaceImplementsFilter : public IIteratorFilter {
  public:
    explicit TInterfaceImplementsFilter(const TInterface* implemented)
        : implemented_(implemented) {}
    bool Accept(TModelEntity* entity) const override;

  private:
    const TInterface* implemented_;
};

class TModelIterator : public IModelIterator {
  public:
    // Over a list: the live list itself, which must outlive the iterator, or a private copy.
    TModelIterator(const std::vector<TModelEntity*>& list, bool copy);
    // The other three drain `source` into a private list, keep what the filter accepts (all
    // without a filter) and sort it. The sorts are not stable.
    TModelIterator(IModelIterator& source, const IIteratorFilter* filter,
                   TIterationSort sort = TIterationSort::Unsorted);
    TModelIterator(IModelIterator& source, TEntityKind kind, TVisibility minimum,
                   TIterationSort sort = TIterationSort::Unsorted);
    TModelIterator(IModelIterator& source, TIterationSort sort);

    bool HasNext() const override { return has_next_; }
    TModelEntity* Next() override;
    void Reset() override;
    std::size_t Count() const override { return list_->size(); }

  private:
    void Prepare();

    std::vector<TModelEntity*> own_;
    const std::vector<TModelEntity*>* list_;
    std::size_t index_ = 0;
    TModelEntity* current_ = nullptr;
    bool has_next_ = false;
};

}  // namespace tarnwell
