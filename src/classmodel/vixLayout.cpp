#include "classmodel/vixLayout.h"

#include "classmodel/SugiyamaLayout.h"

namespace tarnwell {

std::unique_ptr<TVixLayout> TVixLayout::CreateLayout(TLayoutGraph& graph) {
    return std::make_unique<TSugiyamaLayout>(graph);
}

}  // namespace tarnwell
