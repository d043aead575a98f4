#include "classmodel/uIterators.h"

#include <algorithm>

#include "classmodel/uError.h"
#include "classmodel/uModel.h"

namespace tarnwell {

namespace {

void sort_entities(std::vector<TModelEntity*>& list, TIterationSort sort) {
    switch (sort) {
        case TIterationSort::Unsorted:
            return;
        case TIterationSort::ByVisibilityAndName:
            std::sort(list.begin(), list.end(), [](TModelEntity* a, TModelEntity* b) {
                if (a->Visibility() != b->Visibility()) return a->Visibility() < b->Visibility();
                return CompareNames(a->Name(), b->Name()) < 0;
            });
            return;
        case TIterationSort::ByName:
            std::sort(list.begin(), list.end(), [](TModelEntity* a, TModelEntity* b) {
                return CompareNames(a->Name(), b->Name()) < 0;
            });
            return;
    }
}

}  // namespace

bool TClassAndVisibilityFilter::Accept(TModelEntity* entity) const {
    return entity->Is(kind_) && entity->Visibility() >= minimum_;
}

bool TClassDescendantFilter::Accept(TModelEntity* entity) const {
    return entity->Is(TEntityKind::Class) && static_cast<TClass*>(entity)->Ancestor() == ancestor_;
}

bool TInterfaceImplementsFilter::Accept(TModelEntity* entity) const {
    if (!entity->Is(TEntityKind::Class)) return false;
    const auto& implemented = static_cast<TClass*>(entity)->Implements();
    return std::find(implemented.begin(), implemented.end(), implemented_) != implemented.end();
}

TModelIterator::TModelIterator(const std::vector<TModelEntity*>& list, bool copy) : list_(&list) {
    if (copy) {
        own_ = list;
        list_ = &own_;
    }
    Prepare();
}

TModelIterator::TModelIterator(IModelIterator& source, const IIteratorFilter* filter,
                               TIterationSort sort)
    : list_(&own_) {
    while (source.HasNext()) {
        TModelEntity* entity = source.Next();
        if (filter == nullptr || filter->Accept(entity)) own_.push_back(entity);
    }
    sort_entities(own_, sort);
    Prepare();
}

TModelIterator::TModelIterator(IModelIterator& source, TEntityKind kind, TVisibility minimum,
                               TIterationSort sort)
    : TModelIterator(source, std::make_unique<TClassAndVisibilityFilter>(kind, minimum).get(),
                     sort) {}

TModelIterator::TModelIterator(IModelIterator& source, TIterationSort sort)
    : TModelIterator(source, nullptr, sort) {}

void TModelIterator::Prepare() {
    has_next_ = index_ < list_->size();
    if (has_next_) current_ = (*list_)[index_++];
}

TModelEntity* TModelIterator::Next() {
    if (!has_next_) throw model_error("TModelIterator.Next at end");
    TModelEntity* result = current_;
    Prepare();
    return result;
}

void TModelIterator::Reset() {
    index_ = 0;
    Prepare();
}

}  // namespace tarnwell
