// The diagram pictures of the documentation: each package's class diagram (the root's shows
// the packages) painted off-screen as a PNG, with the boxes it shows for the image map.
#pragma once

#include <future>
#include <string>
#include <vector>

#include "classmodel/uDocGen.h"
#include "classmodel/uRtfdDiagram.h"

namespace tarnwell {

class TDiagramFonts;

class TDocDiagramPictures : public IDiagramPictureWriter {
  public:
    // The diagrams read the stored positions and settings as the window's do (`defaults`,
    // `fallback_storage`) but never write them. Needs a running QGuiApplication.
    TDocDiagramPictures(TObjectModel& model, const TDiagramFonts& fonts, TDiagramDefaults defaults,
                        std::string fallback_storage);

    // The picture is painted before this returns and compressed into its file on another
    // thread while the next one is painted.
    std::vector<TDiagramArea> WritePicture(TAbstractPackage& package,
                                           const std::string& png_file) override;
    void Flush() override;

  private:
    TObjectModel& model_;
    const TDiagramFonts& fonts_;
    TDiagramDefaults defaults_;
    std::string fallback_storage_;
    // The file being written: its error, or empty. One at a time, so that no more than two
    // pictures are held; its destructor waits for the writing to end.
    std::future<std::string> writing_;
};

}  // namespace tarnwell
