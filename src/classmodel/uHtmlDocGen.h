// The HTML documentation of the model: the XMI text of the model transformed into an overview
// page and one page per package, and a diagram picture with a clickable image map for the
// overview and for each package.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "classmodel/uDocGen.h"
#include "classmodel/uXmiExport.h"
#include "classmodel/uXslTransform.h"

namespace tarnwell {

class THtmlDocGen : public TDocGen {
  public:
    // `pictures` paints the diagrams; it must outlive the generator.
    THtmlDocGen(TObjectModel& model, IDocGenHost& host, TDocTempFolders& temp_folders,
                IDiagramPictureWriter& pictures);

  protected:
    void DocStart() override;
    void DocPackage(TUnitPackage& package) override;
    void Prepare() override;
    void Finish() override;

  private:
    // The picture "<base>.png" and its image-map page "<base>_diagram.html" of a package's
    // diagram; boxes link only to pages this run writes.
    void WriteDiagram(TAbstractPackage& package, const std::string& base);
    // The page a box of the diagram leads to; empty when no page of this run shows its entity.
    std::string AreaTarget(const TModelEntity& entity, bool root_diagram);
    void Write(const std::string& file_name, std::string_view text) const;

    IDiagramPictureWriter& pictures_;
    TXMIExporter exporter_;
    std::unique_ptr<TXmlDocument> xmi_;
    std::map<std::string, std::string> package_pages_;  // by package identifier, until written
    std::set<const TModelEntity*> documented_;
};

}  // namespace tarnwell
