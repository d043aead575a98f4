#include "parsers/language_table.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

namespace tarnwell {

const std::array<language_row, language_count>& language_table() {
    static constexpr std::array<language_row, language_count> rows{{
        {0, "General", "general", 0, "", "general", 0},
        {1, "C/C++", "cpp", 1, "*.c;*.cpp;*.h;*.hpp", "C++", 3},
        {2, "Visual Basic/VBA", "vb", 2, "*.bas;*.frm;*.cls;*.ctl", "Visual Basic", 7},
        {3, "Java", "java", 5, "*.java", "Java", 3},
        {4, "Qbasic/Basic", "bas", 11, "*.bas", "Visual Basic", 1},
        {5, "Perl", "perl", 6, "*.pl;*.pm;*.cgi", "Perl", 6},
        {6, "Delphi/Pascal", "pas", 9, "*.pas;*.dpr;*.dpk;*.inc", "Pascal", 13},
        {7, "Visual FoxPro", "foxpro", 7, "*.prg", "FoxPro", 5},
        {8, "PHP", "php", 8, "*.php;*.php3;*.phtml;*.inc", "PHP", 2},
        {9, "JavaScript", "js", 10, "*.js", "JavaScript", 3},
        {10, "VBScript", "vbs", 12, "*.vbs", "VBScript", 7},
        {11, "Visual C#", "cs", 3, "*.cs", "C#", 8},
        {12, "VB.NET", "vbnet", 4, "*.vb", "VB.NET", 9},
        {13, "PowerScript", "pb", 13, "*.pb", "PowerBuilder", 10},
        {14, "", "plsql", 14, "*.sql", "PL/SQL", 11},
        {15, "", "tsql", 14, "*.sql", "T-SQL", 12},
        {16, "Python", "python", 15, "*.py;*.pyw", "Python", 14},
        {17, "TypeScript", "ts", 16, "*.ts;*.mts;*.cts", "TypeScript", 15},
        {18, "TSX", "tsx", 17, "*.tsx", "TSX", 16},
        {19, "Go", "go", 18, "*.go", "Go", 17},
        {20, "Rust", "rust", 19, "*.rs", "Rust", 18},
        {21, "Kotlin", "kotlin", 20, "*.kt;*.kts", "Kotlin", 19},
        {22, "Swift", "swift", 21, "*.swift", "Swift", 20},
        {23, "Ruby", "ruby", 22, "*.rb;*.rake;*.gemspec;Rakefile;Gemfile", "Ruby", 21},
        {24, "Scala", "scala", 23, "*.scala;*.sc", "Scala", 22},
        {25, "Lua", "lua", 24, "*.lua", "Lua", 23},
        {26, "Bash", "bash", 25, "*.sh;*.bash", "Bash", 24},
        {27, "PowerShell", "powershell", 26, "*.ps1;*.psm1", "PowerShell", 25},
    }};
    return rows;
}

namespace {

// The languages added after the first sixteen claim only their own extensions, whole: ".m"
// is no TypeScript for being part of "*.mts".
constexpr int first_whole_extension_step = 15;

bool lists_extension(std::string_view extensions, std::string_view pattern) {
    while (!extensions.empty()) {
        const std::size_t end = std::min(extensions.find(';'), extensions.size());
        std::string_view entry = extensions.substr(0, end);
        if (entry.starts_with('*')) entry.remove_prefix(1);
        if (!pattern.empty() && entry == pattern) return true;
        extensions.remove_prefix(std::min(end + 1, extensions.size()));
    }
    return false;
}

}  // namespace

int detect_language(std::string_view extension_pattern, std::string_view text) {
    std::string pattern(extension_pattern);
    for (char& c : pattern) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const language_row& row : language_table()) {
        if (row.detection_step >= first_whole_extension_step &&
            lists_extension(row.extensions, pattern)) {
            return row.number;
        }
    }
    constexpr int last_extension_step = 13;
    for (int step = 1; step <= last_extension_step; ++step) {
        for (const language_row& row : language_table()) {
            if (row.detection_step == step &&
                row.extensions.find(pattern) != std::string_view::npos) {
                return row.number;
            }
        }
    }
    if (language_table()[language_plsql].extensions.find(pattern) == std::string_view::npos) {
        return language_general;
    }
    const bool plsql =
        text.find("end;") != std::string_view::npos || text.find("END;") != std::string_view::npos;
    return plsql ? language_plsql : language_tsql;
}

int detect_language_of_file(std::string_view path, std::string_view text) {
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) return detect_language(name.substr(dot), text);
    // A name without an extension that a language lists whole (a Rakefile) is of that language.
    for (const language_row& row : language_table()) {
        if (row.detection_step >= first_whole_extension_step &&
            lists_extension(row.extensions, name)) {
            return row.number;
        }
    }
    return detect_language({}, text);
}

int parser_slot_of_language(int language) {
    if (language < 0 || language >= language_count) return 0;
    return language_table()[static_cast<std::size_t>(language)].parser_slot;
}

int layout_slot_of(int parser_slot) {
    switch (parser_slot) {
        // Python's match, Go's switch, Rust's match and the selections of the languages after
        // them leave each branch at its end, as the Basic family's Select Case does.
        case 14:
        case 17:
        case 18:
        case 19:
        case 20:
        case 21:
        case 22:
        case 23:
        case 24:
        case 25:
            return 7;
        // TypeScript's switch falls through from case to case, as JavaScript's does.
        case 15:
        case 16:
            return 3;
        default:
            return parser_slot;
    }
}

std::optional<int> language_by_name(std::string_view name) {
    int number = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error == std::errc() && end == name.data() + name.size()) {
        if (number >= 0 && number < language_count) return number;
        return std::nullopt;
    }
    if (name == "c") return language_c;
    const auto& rows = language_table();
    const auto found = std::find_if(
        rows.begin(), rows.end(), [&](const language_row& row) { return row.short_name == name; });
    if (found == rows.end()) return std::nullopt;
    return found->number;
}

}  // namespace tarnwell
