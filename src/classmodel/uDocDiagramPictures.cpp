#include "classmodel/uDocDiagramPictures.h"

#include "classmodel/uError.h"
#include "classmodel/uRtfdPainter.h"

namespace tarnwell {

TDocDiagramPictures::TDocDiagramPictures(TObjectModel& model, const TDiagramFonts& fonts,
                                         TDiagramDefaults defaults, std::string fallback_storage)
    : model_(model),
      fonts_(fonts),
      defaults_(defaults),
      fallback_storage_(std::move(fallback_storage)) {
    // Documenting must not change the layouts the user keeps.
    defaults_.Save = 2;
}

std::vector<TDiagramArea> TDocDiagramPictures::WritePicture(TAbstractPackage& package,
                                                            const std::string& png_file) {
    TRtfdDiagram diagram(model_, fonts_, defaults_, fallback_storage_);
    diagram.SetPackage(&package);
    diagram.InitFromModel();
    TDiagramPicture picture = PaintPicture(diagram, fonts_);
    if (!picture.Error.empty()) throw model_error(picture.Error);
    Flush();
    writing_ = std::async(std::launch::async, [image = std::move(picture.Image), png_file] {
        return WritePng(image, png_file);
    });

    std::vector<TDiagramArea> areas;
    const auto& objects = diagram.Surface().GetManagedObjects();
    for (std::size_t index : diagram.BoxesByName()) {
        // A hidden box is not in the picture, so it gets no place in the map either.
        if (index >= objects.size() || !objects[index].Visible) continue;
        const TRect& b = objects[index].Bounds;
        areas.push_back({b.Left, b.Top, b.Right, b.Bottom, diagram.Boxes()[index].Entity});
    }
    return areas;
}

void TDocDiagramPictures::Flush() {
    if (!writing_.valid()) return;
    const std::string error = writing_.get();
    if (!error.empty()) throw model_error(error);
}

}  // namespace tarnwell
