#include "workspace/code_export.h"

#include <cstdio>
#include <map>
#include <vector>

#include "workspace/text_bytes.h"

namespace tarnwell {

namespace {

// A run of characters in one style.
struct style_run {
    std::size_t begin;
    std::size_t end;
    std::uint8_t style;
};

std::vector<style_run> runs_of(const styled_source& source) {
    std::vector<style_run> runs;
    const std::size_t size = source.text.size();
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t style = i < source.styles.size() ? source.styles[i] : 0;
        std::size_t j = i + 1;
        while (j < size && (j < source.styles.size() ? source.styles[j] : 0) == style) ++j;
        runs.push_back({i, j, style});
        i = j;
    }
    return runs;
}

const export_style& style_of(const styled_source& source, std::uint8_t style) {
    return style < source.style_table.size() ? source.style_table[style] : source.page;
}

std::string hex_colour(std::uint32_t rgb) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
    return buffer;
}

// Appends the characters of a piece of text as HTML, with every character outside ASCII
// written as a character reference so that the page is plain ASCII whatever the source.
void append_html_text(std::string& out, std::string_view text, bool utf8) {
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        switch (c) {
            case '&':
                out += "&amp;";
                ++i;
                continue;
            case '<':
                out += "&lt;";
                ++i;
                continue;
            case '>':
                out += "&gt;";
                ++i;
                continue;
            case '"':
                out += "&quot;";
                ++i;
                continue;
            case '\0':
                out += "&#xfffd;";
                ++i;
                continue;
            default:
                break;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
            ++i;
            continue;
        }
        const char32_t code = utf8 ? next_code_point(text, i) : (++i, byte);
        out += "&#" + std::to_string(static_cast<std::uint32_t>(code)) + ';';
    }
}

std::string html_rule(const export_style& style) {
    std::string rule = "color: " + hex_colour(style.foreground) +
                       "; background-color: " + hex_colour(style.background) + ";";
    if (style.bold) rule += " font-weight: bold;";
    if (style.italic) rule += " font-style: italic;";
    return rule;
}

// RTF colour table indexes: 1-based, in first-use order.
class rtf_colours {
  public:
    int index_of(std::uint32_t rgb) {
        const auto [it, inserted] = indexes_.try_emplace(rgb, static_cast<int>(order_.size()) + 1);
        if (inserted) order_.push_back(rgb);
        return it->second;
    }
    std::string table() const {
        std::string out = "{\\colortbl;";
        for (std::uint32_t rgb : order_) {
            out += "\\red" + std::to_string((rgb >> 16) & 0xFF) + "\\green" +
                   std::to_string((rgb >> 8) & 0xFF) + "\\blue" + std::to_string(rgb & 0xFF) + ';';
        }
        return out + "}";
    }

  private:
    std::map<std::uint32_t, int> indexes_;
    std::vector<std::uint32_t> order_;
};

void append_rtf_code_point(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    if (code <= 0xFF) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\'%02x", static_cast<unsigned>(code));
        out += buffer;
        return;
    }
    const auto unicode = [&out](std::uint32_t unit) {
        out += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + '?';
    };
    if (code <= 0xFFFF) {
        unicode(code);
        return;
    }
    const std::uint32_t v = static_cast<std::uint32_t>(code) - 0x10000;
    unicode(0xD800 + (v >> 10));
    unicode(0xDC00 + (v & 0x3FF));
}

void append_rtf_text(std::string& out, std::string_view text, bool utf8) {
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\\par\n";
            i += c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            continue;
        }
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
            ++i;
            continue;
        }
        if (c == '\t') {
            out += "\\tab ";
            ++i;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        append_rtf_code_point(out, utf8 && byte >= 0x80 ? next_code_point(text, i) : (++i, byte));
    }
}

}  // namespace

std::string export_html(const styled_source& source) {
    const bool utf8 = is_valid_utf8(source.text);
    const std::vector<style_run> runs = runs_of(source);
    std::map<std::uint8_t, std::string> rules;
    for (const style_run& run : runs)
        rules.try_emplace(run.style, html_rule(style_of(source, run.style)));

    std::string out = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    append_html_text(out, source.title, true);
    out += "</title>\n<style>\nbody { color: " + hex_colour(source.page.foreground) +
           "; background-color: " + hex_colour(source.page.background) +
           "; }\npre { font-family: 'Courier New', monospace; font-size: 10pt; }\n";
    for (const auto& [style, rule] : rules) {
        out += ".s" + std::to_string(style) + " { " + rule + " }\n";
    }
    out += "</style>\n</head>\n<body>\n<pre>";
    for (const style_run& run : runs) {
        out += "<span class=\"s" + std::to_string(run.style) + "\">";
        append_html_text(out, source.text.substr(run.begin, run.end - run.begin), utf8);
        out += "</span>";
    }
    out += "</pre>\n</body>\n</html>\n";
    return out;
}

std::string export_rtf(const styled_source& source) {
    const bool utf8 = is_valid_utf8(source.text);
    const std::vector<style_run> runs = runs_of(source);
    rtf_colours colours;
    colours.index_of(source.page.foreground);
    colours.index_of(source.page.background);
    std::string body;
    for (const style_run& run : runs) {
        const export_style& style = style_of(source, run.style);
        const int fore = colours.index_of(style.foreground);
        const int back = colours.index_of(style.background);
        body += "{\\cf" + std::to_string(fore) + "\\cb" + std::to_string(back) + "\\highlight" +
                std::to_string(back) + (style.bold ? "\\b" : "") + (style.italic ? "\\i" : "") +
                ' ';
        append_rtf_text(body, source.text.substr(run.begin, run.end - run.begin), utf8);
        body += '}';
    }
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fmodern\\fcharset0 "
        "Courier New;}}\n";
    out += colours.table() + "\n{\\info{\\title ";
    append_rtf_text(out, source.title, true);
    out += "}}\n\\f0\\fs20\n" + body + "\n}\n";
    return out;
}

}  // namespace tarnwell
