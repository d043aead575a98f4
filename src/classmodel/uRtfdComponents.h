// The boxes of a class diagram and their labels: what a class, interface or package box
// shows, and how large it is. Text is measured by the caller's fonts, so that the sizes
// here are the sizes painted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "classmodel/uModel.h"

namespace tarnwell {

// The faces a diagram writes in.
enum class TDiagramFont : std::uint8_t {
    Normal,      // members, stereotypes
    Bold,        // names
    BoldItalic,  // names of abstract classes
    Italic,      // abstract operations
    Title,       // the package title on the surface
};

struct TTextSize {
    int Width = 0;
    int Height = 0;
};

class ITextMeasure {
  public:
    virtual ~ITextMeasure() = default;
    virtual TTextSize Measure(const std::string& text, TDiagramFont font) const = 0;
};

struct TRgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend bool operator==(const TRgb&, const TRgb&) = default;
};

enum class TLabelKind : std::uint8_t {
    ClassName,
    InterfaceName,
    Stereotype,
    Attribute,
    Operation,
    UnitPackageName,
    Separator,
};

enum class TLabelAlignment : std::uint8_t { Left = 0, Right = 1, Centre = 2 };

// One line of a box, placed inside it from the top down.
struct TRtfdLabel {
    TLabelKind Kind = TLabelKind::ClassName;
    std::string Text;
    TLabelAlignment Alignment = TLabelAlignment::Left;
    TDiagramFont Font = TDiagramFont::Normal;
    TRgb Colour;
    // Members carry the icon of their visibility.
    std::optional<TVisibility> Icon;
    int Top = 0;  // from the box's top
    int Height = 0;
    // The width the label needs in its box.
    int NeededWidth = 0;
};

enum class TBoxKind : std::uint8_t { Class, Interface, UnitPackage };

struct TRtfdBox {
    TModelEntity* Entity = nullptr;
    TBoxKind Kind = TBoxKind::Class;
    std::uint8_t VisibilityFilter = 0;
    std::vector<TRtfdLabel> Labels;
    int Width = 0;
    int Height = 0;
};

namespace rtfd {

constexpr int MinimumWidth = 185;
constexpr int MinimumHeight = 41;
constexpr int PackageHeight = 45;
constexpr int SeparatorHeight = 16;
constexpr int BorderWidth = 3;
// Member text stands this far right of the label's left, after the visibility icon.
constexpr int IconWidth = 14;
// A label needs this much more than its own width.
constexpr int LabelPadding = 10;
constexpr int ShadowWidth = 3;
constexpr int HeaderHeight = 39;
constexpr int MemberAreaTop = 31;
constexpr int CornerRadius = 8;
constexpr TRgb BoxColour{248, 244, 234};
constexpr TRgb ShadowColour{192, 192, 192};
constexpr TRgb ConstructorColour{0, 128, 0};
constexpr TRgb DestructorColour{255, 0, 0};
constexpr TRgb FunctionColour{128, 128, 128};
constexpr std::uint8_t HideAllMembers = 4;

}  // namespace rtfd

// A box for the entity, filled by `RefreshEntities`. `shown` is the package of the diagram:
// names of entities elsewhere are written in full.
TRtfdBox MakeBox(TModelEntity& entity, TBoxKind kind, std::uint8_t visibility_filter,
                 const TAbstractPackage* shown, const ITextMeasure& measure);

// Builds the labels of the box again and sets its size from them.
void RefreshEntities(TRtfdBox& box, const TAbstractPackage* shown, const ITextMeasure& measure);

// The text of the title label shown above a package's classes.
std::string DiagramTitle(const TAbstractPackage& package);

}  // namespace tarnwell
