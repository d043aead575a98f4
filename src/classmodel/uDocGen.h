// The documentation generator's traversal of the model: the output folder, the packages in
// name order, and the steps its HTML producer fills in.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "classmodel/uIntegrator.h"
#include "classmodel/uModel.h"

namespace tarnwell {

// A box of a diagram picture, in picture pixels, with the entity it shows.
struct TDiagramArea {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    TModelEntity* Entity = nullptr;
};

// Paints the class diagram of a package (the model root shows its packages) as a PNG file and
// answers the areas of the boxes that are drawn. Raises model_error when it cannot.
class IDiagramPictureWriter {
  public:
    virtual ~IDiagramPictureWriter() = default;
    virtual std::vector<TDiagramArea> WritePicture(TAbstractPackage& package,
                                                   const std::string& png_file) = 0;
    // Returns when every picture is in its file; raises the error of one that is not. A
    // writer may finish a file after `WritePicture` has returned.
    virtual void Flush() = 0;
};

// What the generator needs of its surroundings: the desktop program asks for a folder, shows a
// progress window and opens the result; the command line does none of it.
class IDocGenHost {
  public:
    virtual ~IDocGenHost() = default;
    // The folder chosen, starting at `start`; none when the user cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& start) = 0;
    virtual std::unique_ptr<IProgressWindow> OpenProgress(const std::string& caption,
                                                          int maximum) = 0;
    // Opens the overview page with the application registered for it.
    virtual void OpenDocument(const std::string& file) = 0;
};

// The private folders of previews, removed when the program ends.
class TDocTempFolders {
  public:
    TDocTempFolders() = default;
    TDocTempFolders(const TDocTempFolders&) = delete;
    TDocTempFolders& operator=(const TDocTempFolders&) = delete;
    // Removes every folder made (links inside are removed, never followed).
    ~TDocTempFolders();

    // A new folder only this user can enter, below the user's temporary folder; raises
    // model_error "Failed to create temp directory" when none can be made.
    std::string Create();
    const std::vector<std::string>& Folders() const { return folders_; }

  private:
    std::vector<std::string> folders_;
};

class TDocGen : public TExportIntegrator {
  public:
    TDocGen(TObjectModel& model, IDocGenHost& host, TDocTempFolders& temp_folders);

    // Chooses the folder (a preview folder, `folder`, or the user's choice; a cancelled choice
    // stops silently), lists the unit packages by name, then prepares, traverses and finishes.
    // Raises model_error or std::system_error when a file cannot be written.
    void Generate(const std::string& folder, bool preview);

    // Ends with "/" once generation has started.
    const std::string& OutputDir() const { return output_dir_; }
    bool Preview() const { return preview_; }

  protected:
    virtual void Traverse();
    virtual void DocStart() {}
    virtual void DocPackage(TUnitPackage&) {}
    virtual void DocClass(TClass&) {}
    virtual void DocInterface(TInterface&) {}
    virtual void Prepare() {}
    virtual void Finish() {}

    // The unit packages of the model but "<<Unknown>>", by name.
    const std::vector<TUnitPackage*>& Packages() const { return packages_; }
    IDocGenHost& Host() const { return host_; }

  private:
    IDocGenHost& host_;
    TDocTempFolders& temp_folders_;
    std::string output_dir_;
    bool preview_ = false;
    std::vector<TUnitPackage*> packages_;
};

}  // namespace tarnwell
