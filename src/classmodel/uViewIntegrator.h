// The views of the model (diagrams, the model tree) and the one entity they all follow.
#pragma once

namespace tarnwell {

class TModelEntity;

// A view is entered in the process-wide list of views for as long as it exists.
class TViewIntegrator {
  public:
    TViewIntegrator();
    TViewIntegrator(const TViewIntegrator&) = delete;
    TViewIntegrator& operator=(const TViewIntegrator&) = delete;
    virtual ~TViewIntegrator();

    virtual void CurrentEntityChanged(TModelEntity* entity) = 0;
};

// The entity the views follow; none at the start.
TModelEntity* CurrentEntity();
// Setting a different entity tells every view, in the order they were made.
void SetCurrentEntity(TModelEntity* entity);

}  // namespace tarnwell
