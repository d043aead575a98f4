// A class diagram as text that documentation tools draw: Mermaid ("classDiagram") and PlantUML.
// The same view as the picture: the visible boxes with the members the visibility filter
// lets through, and the shown inheritance, realisation and association lines; a package's
// classes sit in a namespace of its name.
#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

class TRtfdDiagram;

std::string MermaidClassDiagram(const TRtfdDiagram& diagram);
std::string PlantUmlClassDiagram(const TRtfdDiagram& diagram);

// A name or member text made safe inside the syntax's quotes and member lines: generics
// "<T>" become "~T~" in Mermaid, line breaks and control characters become blanks, and
// quotes are replaced.
std::string MermaidText(std::string_view text);
std::string PlantUmlText(std::string_view text);

}  // namespace tarnwell
