#include "classmodel/uHtmlDocGen.h"

#include "classmodel/uDocGenResources.h"
#include "classmodel/uError.h"
#include "classmodel/uTextFile.h"

namespace tarnwell {

THtmlDocGen::THtmlDocGen(TObjectModel& model, IDocGenHost& host, TDocTempFolders& temp_folders,
                         IDiagramPictureWriter& pictures)
    : TDocGen(model, host, temp_folders), pictures_(pictures), exporter_(model) {}

void THtmlDocGen::Write(const std::string& file_name, std::string_view text) const {
    WriteTextFile(OutputDir() + file_name, text);
}

void THtmlDocGen::Prepare() {
    Write("styles.css", DocGenResource("css_file"));
    exporter_.Export();
    xmi_ = std::make_unique<TXmlDocument>(exporter_.XMI());
    std::unique_ptr<TXslTransform> detail;
    try {
        detail = std::make_unique<TXslTransform>(DocGenResource("p_detail_xsl_file"));
    } catch (const model_error&) {
        throw model_error("nix");
    }
    package_pages_ = detail->ApplyPages(*xmi_);
    documented_ = {Packages().begin(), Packages().end()};
}

void THtmlDocGen::DocStart() {
    const TXslTransform overview(DocGenResource("p_overview_xsl_file"));
    Write("overview.html", overview.Apply(*xmi_));
    WriteDiagram(*Model().ModelRoot(), "p_overview");
}

void THtmlDocGen::DocPackage(TUnitPackage& package) {
    const std::string id = exporter_.GetXMIId(package);
    const auto page = package_pages_.find(id);
    if (page == package_pages_.end()) {
        throw model_error("No page was made for package " + package.Name());
    }
    Write("p_" + id + ".html", page->second);
    package_pages_.erase(page);
    WriteDiagram(package, "p_" + id);
}

void THtmlDocGen::Finish() {
    pictures_.Flush();
    Host().OpenDocument(OutputDir() + "overview.html");
}

std::string THtmlDocGen::AreaTarget(const TModelEntity& entity, bool root_diagram) {
    if (root_diagram) {
        if (documented_.count(&entity) == 0) return {};
        return "p_" + exporter_.GetXMIId(entity) + ".html";
    }
    const TModelEntity* owner = entity.Owner();
    if (owner == nullptr || documented_.count(owner) == 0) return {};
    return "p_" + exporter_.GetXMIId(*owner) + ".html#" + exporter_.GetXMIId(entity);
}

void THtmlDocGen::WriteDiagram(TAbstractPackage& package, const std::string& base) {
    const std::string picture = base + ".png";
    const std::vector<TDiagramArea> areas = pictures_.WritePicture(package, OutputDir() + picture);
    const bool root_diagram = &package == Model().ModelRoot();
    std::string page = "<html> <body>\n<img src=\"" + picture + "\" usemap=\"#map1\">\n";
    page += "<map name=\"map1\">\n";
    for (const TDiagramArea& area : areas) {
        if (area.Entity == nullptr) continue;
        const std::string target = AreaTarget(*area.Entity, root_diagram);
        if (target.empty()) continue;
        page += "<area href=\"" + target + "\" shape=\"rect\" coords=\"" +
                std::to_string(area.Left) + "," + std::to_string(area.Top) + "," +
                std::to_string(area.Right) + "," + std::to_string(area.Bottom) + "\">\n";
    }
    page += "</map>\n</body> </html>\n";
    Write(base + "_diagram.html", page);
}

}  // namespace tarnwell
