#include "classmodel/uViewIntegrator.h"

#include <algorithm>
#include <vector>

namespace tarnwell {

namespace {

std::vector<TViewIntegrator*>& Views() {
    static std::vector<TViewIntegrator*> views;
    return views;
}

TModelEntity*& Current() {
    static TModelEntity* current = nullptr;
    return current;
}

}  // namespace

TViewIntegrator::TViewIntegrator() {
    Views().push_back(this);
}

TViewIntegrator::~TViewIntegrator() {
    std::erase(Views(), this);
}

TModelEntity* CurrentEntity() {
    return Current();
}

void SetCurrentEntity(TModelEntity* entity) {
    if (Current() == entity) return;
    Current() = entity;
    // A view may open another package and so make or drop views: go through a copy.
    const std::vector<TViewIntegrator*> views = Views();
    for (TViewIntegrator* view : views) {
        if (std::find(Views().begin(), Views().end(), view) != Views().end())
            view->CurrentEntityChanged(entity);
    }
}

}  // namespace tarnwell
