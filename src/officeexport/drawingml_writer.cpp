#include "officeexport/drawingml_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "officeexport/ooxml_text.h"

namespace tarnwell {

namespace {

constexpr double emu_per_point = 12700.0;

std::string number(std::int64_t value) {
    return std::to_string(value);
}

std::string colour(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::string solid_fill(std::uint32_t rgb) {
    return "<a:solidFill><a:srgbClr val=\"" + colour(rgb) + "\"/></a:solidFill>";
}

const char* arrow_name(arrowhead head) {
    switch (head) {
        case arrowhead::triangle:
            return "triangle";
        case arrowhead::oval:
            return "oval";
        case arrowhead::none:
            break;
    }
    return "none";
}

std::string transform(double left, double top, double width, double height, int quarter_turns = 0,
                      bool flip_h = false, bool flip_v = false) {
    std::string xml = "<a:xfrm";
    if (quarter_turns != 0) xml += " rot=\"" + number(quarter_turns * 5400000LL) + "\"";
    if (flip_h) xml += " flipH=\"1\"";
    if (flip_v) xml += " flipV=\"1\"";
    xml += "><a:off x=\"" + number(emu(left)) + "\" y=\"" + number(emu(top)) + "\"/><a:ext cx=\"" +
           number(emu(width)) + "\" cy=\"" + number(emu(height)) + "\"/></a:xfrm>";
    return xml;
}

std::string line(double width, bool visible, arrowhead begin = arrowhead::none,
                 arrowhead end = arrowhead::none) {
    if (!visible) return "<a:ln><a:noFill/></a:ln>";
    std::string xml = "<a:ln w=\"" + number(std::max<std::int64_t>(emu(width), 1)) + "\">" +
                      solid_fill(0) + "<a:round/>";
    if (begin != arrowhead::none) {
        xml += std::string("<a:headEnd type=\"") + arrow_name(begin) + "\" w=\"med\" len=\"med\"/>";
    }
    if (end != arrowhead::none) {
        xml += std::string("<a:tailEnd type=\"") + arrow_name(end) + "\" w=\"med\" len=\"med\"/>";
    }
    return xml + "</a:ln>";
}

std::string shape_properties(const office_shape& shape, double line_width) {
    const office_box& box = shape.box;
    std::string xml = transform(box.left, box.top, box.width, box.height) + "<a:prstGeom prst=\"" +
                      shape.preset + "\"><a:avLst/></a:prstGeom>";
    xml += shape.fill ? solid_fill(*shape.fill) : std::string("<a:noFill/>");
    return xml + line(line_width, shape.line);
}

// Body properties: margins, wrap, anchor and the autofit child, the same in both flavours.
std::string body_properties(const office_shape& shape, const char* element) {
    const text_frame& frame = shape.frame;
    std::string xml = std::string("<") + element + " rot=\"0\" vert=\"horz\" wrap=\"" +
                      (frame.wrap ? "square" : "none") + "\" lIns=\"" + number(emu(frame.left)) +
                      "\" tIns=\"" + number(emu(frame.top)) + "\" rIns=\"" +
                      number(emu(frame.right)) + "\" bIns=\"" + number(emu(frame.bottom)) +
                      "\" anchor=\"" + (frame.centred ? "ctr" : "t") + "\" anchorCtr=\"0\">";
    xml += frame.auto_size ? "<a:spAutoFit/>" : "<a:noAutofit/>";
    return xml + "</" + element + ">";
}

std::string presentation_paragraphs(const office_shape& shape) {
    const std::string text = office_text(shape.text);
    const office_font& font = shape.font;
    const std::string size =
        number(std::clamp<std::int64_t>(std::llround(font.size * 100), 100, 400000));
    const std::string run_properties =
        "<a:rPr lang=\"en-US\" sz=\"" + size + "\" b=\"" + (font.bold ? "1" : "0") +
        "\" dirty=\"0\">" + solid_fill(font.colour) + "<a:latin typeface=\"" +
        xml_escaped(office_text(font.name)) + "\"/><a:cs typeface=\"" +
        xml_escaped(office_text(font.name)) + "\"/></a:rPr>";
    const std::string paragraph_properties =
        std::string("<a:pPr algn=\"") + (shape.frame.centred ? "ctr" : "l") + "\"/>";
    std::string xml;
    for (const std::string_view paragraph : text_paragraphs(text)) {
        xml += "<a:p>" + paragraph_properties;
        if (!paragraph.empty()) {
            xml += "<a:r>" + run_properties + "<a:t>" + xml_escaped(paragraph) + "</a:t></a:r>";
        }
        xml += "<a:endParaRPr lang=\"en-US\" sz=\"" + size + "\" dirty=\"0\"/></a:p>";
    }
    return xml;
}

std::string wordprocessing_paragraphs(const office_shape& shape) {
    const std::string text = office_text(shape.text);
    const office_font& font = shape.font;
    const std::string face = xml_escaped(office_text(font.name));
    const std::string half_points =
        number(std::clamp<std::int64_t>(std::llround(font.size * 2), 2, 3276));
    std::string run_properties = "<w:rPr><w:rFonts w:ascii=\"" + face + "\" w:hAnsi=\"" + face +
                                 "\" w:cs=\"" + face + "\"/>";
    if (font.bold) run_properties += "<w:b/>";
    run_properties += "<w:color w:val=\"" + colour(font.colour) + "\"/><w:sz w:val=\"" +
                      half_points + "\"/></w:rPr>";
    const std::string paragraph_properties =
        std::string(
            "<w:pPr><w:spacing w:before=\"0\" w:after=\"0\" w:line=\"240\" "
            "w:lineRule=\"auto\"/><w:jc w:val=\"") +
        (shape.frame.centred ? "center" : "left") + "\"/>" + run_properties + "</w:pPr>";
    std::string xml;
    for (const std::string_view paragraph : text_paragraphs(text)) {
        xml += "<w:p>" + paragraph_properties;
        if (!paragraph.empty()) {
            xml += "<w:r>" + run_properties + "<w:t xml:space=\"preserve\">" +
                   xml_escaped(paragraph) + "</w:t></w:r>";
        }
        xml += "</w:p>";
    }
    return xml;
}

std::string shape_element(const office_shape& shape, double line_width, drawing_flavour flavour,
                          std::int64_t id) {
    const std::string name = (shape.text_box ? "TextBox " : "Shape ") + number(id);
    const bool has_text = !shape.text.empty();
    if (flavour == drawing_flavour::presentation) {
        return "<p:sp><p:nvSpPr><p:cNvPr id=\"" + number(id) + "\" name=\"" + name + "\"/>" +
               (shape.text_box ? "<p:cNvSpPr txBox=\"1\"/>" : "<p:cNvSpPr/>") +
               "<p:nvPr/></p:nvSpPr><p:spPr>" + shape_properties(shape, line_width) +
               "</p:spPr><p:txBody>" + body_properties(shape, "a:bodyPr") + "<a:lstStyle/>" +
               (has_text ? presentation_paragraphs(shape) : std::string("<a:p/>")) +
               "</p:txBody></p:sp>";
    }
    std::string xml = "<wps:wsp><wps:cNvPr id=\"" + number(id) + "\" name=\"" + name + "\"/>" +
                      (shape.text_box ? "<wps:cNvSpPr txBox=\"1\"/>" : "<wps:cNvSpPr/>") +
                      "<wps:spPr>" + shape_properties(shape, line_width) + "</wps:spPr>";
    if (has_text) {
        xml += "<wps:txbx><w:txbxContent>" + wordprocessing_paragraphs(shape) +
               "</w:txbxContent></wps:txbx>";
    }
    return xml + body_properties(shape, "wps:bodyPr") + "</wps:wsp>";
}

std::string connector_element(const office_drawing& drawing, const office_connector& connector,
                              drawing_flavour flavour, std::int64_t id, std::int64_t first_id) {
    const std::vector<route_point> path = drawing.route(connector);
    connector_form form;
    if (const std::optional<connector_form> found = connector_form_of(path)) {
        form = *found;
    } else {
        // Only a path the router cannot make lands here; a straight line still joins the sites.
        const route_point start = path.front();
        const route_point end = path.back();
        form.preset = "straightConnector1";
        form.left = std::min(start.x, end.x);
        form.top = std::min(start.y, end.y);
        form.width = std::fabs(end.x - start.x);
        form.height = std::fabs(end.y - start.y);
        form.flip_h = end.x < start.x;
        form.flip_v = end.y < start.y;
    }
    const auto glue = [&](const char* element, std::size_t shape, shape_side side) {
        return std::string("<a:") + element + " id=\"" +
               number(first_id + static_cast<std::int64_t>(shape)) + "\" idx=\"" +
               number(connection_site_index(side)) + "\"/>";
    };
    const std::string glued = glue("stCxn", connector.from, connector.from_side) +
                              glue("endCxn", connector.to, connector.to_side);
    std::string geometry = "<a:prstGeom prst=\"" + form.preset + "\"><a:avLst>";
    for (std::size_t i = 0; i < form.adjust.size(); ++i) {
        geometry += "<a:gd name=\"adj" + number(static_cast<std::int64_t>(i + 1)) +
                    "\" fmla=\"val " + number(form.adjust[i]) + "\"/>";
    }
    geometry += "</a:avLst></a:prstGeom>";
    const std::string properties = transform(form.left, form.top, form.width, form.height,
                                             form.quarter_turns, form.flip_h, form.flip_v) +
                                   geometry + "<a:noFill/>" +
                                   line(drawing.line_width, true, connector.begin, connector.end);
    const std::string name = "Connector " + number(id);
    if (flavour == drawing_flavour::presentation) {
        return "<p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"" + number(id) + "\" name=\"" + name +
               "\"/><p:cNvCxnSpPr>" + glued + "</p:cNvCxnSpPr><p:nvPr/></p:nvCxnSpPr><p:spPr>" +
               properties + "</p:spPr></p:cxnSp>";
    }
    return "<wps:wsp><wps:cNvPr id=\"" + number(id) + "\" name=\"" + name + "\"/><wps:cNvCnPr>" +
           glued + "</wps:cNvCnPr><wps:spPr>" + properties + "</wps:spPr><wps:bodyPr/></wps:wsp>";
}

}  // namespace

std::int64_t emu(double points) {
    return std::llround(points * emu_per_point);
}

std::int64_t drawing_id_count(const office_drawing& drawing) {
    return static_cast<std::int64_t>(drawing.shapes().size() + drawing.connectors().size());
}

std::string drawing_elements(const office_drawing& drawing, drawing_flavour flavour,
                             std::int64_t first_id) {
    std::string xml;
    std::int64_t id = first_id;
    for (const office_shape& shape : drawing.shapes())
        xml += shape_element(shape, drawing.line_width, flavour, id++);
    for (const office_connector& connector : drawing.connectors()) {
        xml += connector_element(drawing, connector, flavour, id++, first_id);
    }
    return xml;
}

}  // namespace tarnwell
