// The class diagram: a package's classes and interfaces, the root's packages or all classes
// as boxes on the diagram surface, with inheritance and association lines, laid out by the
// layered layout and kept in the diagram settings file. No drawing here: the widgets and
// the picture writer paint what this holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "classmodel/uListeners.h"
#include "classmodel/uModel.h"
#include "classmodel/uRtfdComponents.h"
#include "classmodel/uViewIntegrator.h"
#include "classmodel/vixConnectPanel.h"
#include "classmodel/vixLayout.h"

namespace tarnwell {

// The defaults a new diagram takes from the program's settings.
struct TDiagramDefaults {
    // Save changed layouts: 0 always, 1 ask, 2 never.
    std::uint8_t Save = 1;
    bool ShowAssoc = false;
    std::uint8_t VisibilityFilter = 0;
};

// What the diagram asks and tells its owner; every one may be left empty.
struct TDiagramEvents {
    std::function<void()> OnUpdateToolbar;
    std::function<void()> OnUpdateZoom;
    // The answer to "Save changed layout?"; without it nothing is saved under "ask".
    std::function<bool()> ConfirmSave;
    // A message box: a layout that failed.
    std::function<void(const std::string&)> ShowMessage;
    std::function<void(const std::string&)> ShowStatus;
    std::function<void(const std::string&)> Trace;
};

// A box of the diagram as a rectangle, for the documentation's click maps.
struct TClickArea {
    std::string Text;  // "left,top,right,bottom"
    TModelEntity* Entity = nullptr;
};

// What the overview shows for a viewport of W x H.
struct TOverviewPicture {
    double Scale = 0;
    TRect Diagram;
    std::vector<TRect> Boxes;
    TRect Viewport;
    // False when the viewport covers the whole diagram.
    bool ShowViewport = false;
};

namespace rtfd {
// Stored positions beyond this are not believed; boxes are kept inside it.
constexpr int MaxCoordinate = 10'000'000;
// Boxes the settings file does not know are put one below the other from here.
constexpr TPoint CascadeStart{50, 50};
constexpr int CascadeStep = 25;
}  // namespace rtfd

// The settings file of views without one of their own, in the user's configuration folder:
// "$XDG_CONFIG_HOME/tarnwell/tarnwell.vixModel", else under "$HOME/.config"; empty without
// either.
std::string DefaultDiagramStorage(const char* xdg_config_home, const char* home);

class TRtfdDiagram : public TViewIntegrator,
                     public IModelBeforeListener,
                     public IModelAfterListener,
                     public IUnitPackageAfterListener {
  public:
    // `fallback_storage` is the settings file of views that have none of their own (the
    // all-classes view, a model without files).
    TRtfdDiagram(TObjectModel& model, const ITextMeasure& measure, TDiagramDefaults defaults,
                 std::string fallback_storage, TDiagramEvents events = {});
    ~TRtfdDiagram() override;

    TAbstractPackage* Package() const { return package_; }
    // Stores the layout of the package left when it changed, then shows none until
    // `InitFromModel`.
    void SetPackage(TAbstractPackage* package);
    void InitFromModel();

    std::uint8_t VisibilityFilter() const { return visibility_filter_; }
    bool ShowAssoc() const { return show_assoc_; }
    void SetVisibilityFilter(std::uint8_t value);
    // Takes effect at the next `InitFromModel`.
    void SetShowAssoc(bool value);
    // The user's own choices: they win over the values stored for the next diagram built.
    void ChooseVisibilityFilter(std::uint8_t value);
    void ChooseShowAssoc(bool value);

    // The settings file of the shown package.
    std::string GetStorage() const;
    // Stores the layout as the save setting allows. False when the file could not be written.
    bool SaveDiagramSettings();
    // Places the boxes the settings file knows; answers how many it knew.
    int LoadDiagramSettings();
    TLayoutResult DoLayout();

    TvixConnectPanel& Surface() { return surface_; }
    const TvixConnectPanel& Surface() const { return surface_; }
    // The boxes, in the surface's order.
    const std::vector<TRtfdBox>& Boxes() const { return boxes_; }
    // The box indices in name order (the order of connections, click areas and the file).
    std::vector<std::size_t> BoxesByName() const;
    std::optional<std::size_t> BoxOf(const TModelEntity* entity) const;
    // The title shown above a package's classes; empty for the other views.
    const std::string& Title() const { return title_; }

    // The hint of the box at a point: its entity's documentation summary; empty elsewhere.
    std::string HintAt(TPoint point) const;

    TPoint GetDiagramSize() const { return {surface_.Width(), surface_.Height()}; }
    TRect GetSelectedRect() const;
    std::vector<TClickArea> GetClickAreas() const;

    void HideSelectedBoxes();
    bool HasHiddenElements() const { return has_hidden_; }
    void UnHideElements();
    bool IsModified() const { return is_modified_; }
    void SetModified() { is_modified_ = true; }
    bool ShowsAllClasses() const { return shows_all_classes_; }

    // Opens the package of the first selected box; false when that is no package box.
    bool OpenSelectedPackage();
    void CurrentEntityChanged(TModelEntity* entity) override;
    // Scrolls the entity's box into view.
    void CenterOnEntity(const TModelEntity* entity);

    // The scroll box: its position on the surface and its size.
    TScrollView& View() { return view_; }
    const TScrollView& View() const { return view_; }
    // Keeps the position within the surface.
    void ScrollTo(int left, int top);
    TOverviewPicture PaintOverview(int width, int height);
    void ScrollFromOverview(int x, int y, int width, int height);

    void BeforeChange(TModelEntity* sender) override;
    void AfterChange(TModelEntity* sender) override;
    void ChildAdded(TModelEntity* sender, TModelEntity* child) override;

  private:
    struct DictionaryLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    void Empty();
    void AddBox(TModelEntity& entity);
    void AddClassifierBox(TModelEntity& entity, TBoxKind kind);
    bool HasBox(const TModelEntity* entity) const;
    void MakeConnections();
    void ReadStoredChoices();
    std::string BoxSection(const TRtfdBox& box) const;
    std::string DiagramSection() const;
    void Notify(const std::function<void()>& event) const;

    TObjectModel& model_;
    const ITextMeasure& measure_;
    TDiagramDefaults defaults_;
    std::string fallback_storage_;
    TDiagramEvents events_;

    TAbstractPackage* package_ = nullptr;
    TUnitPackage* listened_ = nullptr;
    bool show_assoc_ = false;
    std::uint8_t visibility_filter_ = 0;
    std::optional<bool> chosen_show_assoc_;
    std::optional<std::uint8_t> chosen_filter_;

    TvixConnectPanel surface_;
    std::vector<TRtfdBox> boxes_;
    std::map<std::string, std::size_t, DictionaryLess> box_names_;
    std::string title_;
    bool has_hidden_ = false;
    bool is_modified_ = false;
    bool shows_all_classes_ = false;
    TScrollView view_;
    std::optional<TPoint> stored_offset_;
    int overview_width_ = 0;
    int overview_height_ = 0;
};

}  // namespace tarnwell
