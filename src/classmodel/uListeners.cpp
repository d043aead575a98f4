#include "classmodel/uListeners.h"

namespace tarnwell {

void IEntityListener::Changed(TModelEntity*) {}
void IEntityListener::ChildAdded(TModelEntity*, TModelEntity*) {}
void IEntityListener::Removing(TModelEntity*) {}
void IEntityListener::PropertyChanged(TModelEntity*) {}

}  // namespace tarnwell
