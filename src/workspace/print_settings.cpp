#include "workspace/print_settings.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tarnwell {

namespace {

double millimetres_per(margin_unit unit) {
    switch (unit) {
        case margin_unit::cm:
            return 10.0;
        case margin_unit::inches:
            return 25.4;
        case margin_unit::thousandths_of_inches:
            return 0.0254;
        case margin_unit::mm:
            break;
    }
    return 1.0;
}

std::optional<double> number_of(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value) || value < 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

print_settings default_print_settings() {
    using enum print_alignment;
    print_settings settings;
    print_font small_header = settings.header_font;
    small_header.size = 6;
    print_font small_footer = settings.footer_font;
    small_footer.size = 6;
    settings.header = {
        {1, left, "This is the first line in the header", settings.header_font},
        {1, right, "Page: $PAGENUM$ of $PAGECOUNT$", settings.header_font},
        {2, left, "$TITLE$", settings.header_font},
        {2, right, "Print Date: $DATE$. Time: $TIME$", small_header},
    };
    settings.footer = {
        {1, right, "$PAGENUM$/$PAGECOUNT$", settings.footer_font},
        {1, left, "Printed by Tarnwell", small_footer},
    };
    return settings;
}

double margin_in_unit(double mm, margin_unit unit) {
    return mm / millimetres_per(unit);
}

double margin_in_mm(double value, margin_unit unit) {
    return value * millimetres_per(unit);
}

std::string margin_text(double mm, margin_unit unit) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", margin_in_unit(mm, unit));
    std::string shown = text;
    while (shown.back() == '0') shown.pop_back();
    if (shown.back() == '.') shown.pop_back();
    return shown == "-0" ? "0" : shown;
}

double text_width_mm(const print_margins& margins, double page_width_mm) {
    using enum margin_field;
    return page_width_mm - margins[left] - margins[right] - margins[gutter];
}

double text_height_mm(const print_margins& margins, double page_height_mm) {
    using enum margin_field;
    return page_height_mm - margins[top] - margins[bottom];
}

std::optional<int> write_margins(print_margins& margins,
                                 const std::array<std::string, margin_field_count>& texts,
                                 margin_unit unit, double page_width_mm, double page_height_mm) {
    print_margins written = margins;
    std::optional<int> failed;
    for (int field = 0; field < margin_field_count; ++field) {
        const std::optional<double> value = number_of(texts[field]);
        if (!value) {
            failed = field;
            break;
        }
        written.mm[field] = margin_in_mm(*value, unit);
    }
    if (text_width_mm(written, page_width_mm) <= 0 ||
        text_height_mm(written, page_height_mm) <= 0) {
        return margin_field_count;
    }
    margins.mm = written.mm;
    return failed;
}

}  // namespace tarnwell
