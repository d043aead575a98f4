#include "workspace/highlight_syntax.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace tarnwell {

namespace {

// The words of a space-separated list, sorted for the lookup.
std::vector<std::string_view> sorted(std::string_view list) {
    std::vector<std::string_view> words;
    while (!list.empty()) {
        const std::size_t space = list.find(' ');
        const std::string_view word = list.substr(0, space);
        if (!word.empty()) words.push_back(word);
        list.remove_prefix(space == std::string_view::npos ? list.size() : space + 1);
    }
    std::sort(words.begin(), words.end());
    return words;
}

highlight_syntax general_syntax() {
    highlight_syntax s;
    s.line_comments = {"//", "#", "--"};
    s.block_comments = {{"/*", "*/"}, {"(*", "*)"}};
    s.quotes = "\"'";
    s.escape = '\\';
    return s;
}

highlight_syntax basic_syntax(std::string_view keywords) {
    highlight_syntax s;
    s.keywords = sorted(keywords);
    s.line_comments = {"'", "rem"};
    s.quotes = "\"";
    s.hash_directives = true;
    s.word_extra = "$%";  // type suffixes: Left$, count%
    return s;
}

highlight_syntax visual_basic_syntax() {
    return basic_syntax(
        "access and append as attribute binary boolean byref byte byval call case close "
        "const currency date declare defint defstr dim do double each else elseif empty "
        "end enum eqv erase error event exit explicit false for friend function get "
        "global gosub goto if imp implements in input integer is let lib like line long "
        "loop lset me mod new next not nothing null object on open option optional or "
        "output paramarray preserve print private property public put raiseevent random "
        "read redim resume return rset seek select set shared single static step stop "
        "string sub then to true type typeof until variant wend while with withevents "
        "write xor");
}

highlight_syntax vbscript_syntax() {
    return basic_syntax(
        "and byref byval call case class const default dim do each else elseif empty end "
        "eqv erase error execute exit explicit false for function get goto if imp in is "
        "let loop me mod new next not nothing null on option or preserve private property "
        "public randomize redim resume select set step stop sub then to true until wend "
        "while with xor");
}

highlight_syntax vbnet_syntax() {
    return basic_syntax(
        "addhandler addressof alias and andalso as boolean byref byte byval call case "
        "catch cbool cbyte cchar cdate cdbl cdec char cint class clng cobj const continue "
        "csbyte cshort csng cstr ctype cuint culng cushort date decimal declare default "
        "delegate dim directcast do double each else elseif end enum erase error event "
        "exit false finally for friend function get gettype global goto handles if "
        "implements imports in inherits integer interface is isnot let lib like long loop "
        "me mod module mustinherit mustoverride mybase myclass namespace narrowing new "
        "next not nothing notinheritable notoverridable object of on operator option "
        "optional or orelse overloads overridable overrides paramarray partial private "
        "property protected public raiseevent readonly redim removehandler resume return "
        "sbyte select set shadows shared short single static step stop string structure "
        "sub synclock then throw to true try trycast typeof uinteger ulong ushort using "
        "when while widening with withevents writeonly xor");
}

highlight_syntax foxpro_syntax() {
    highlight_syntax s;
    s.keywords = sorted(
        "all and append as blank case catch class clear close continue create cursor "
        "define delete do dodefault else endcase enddefine enddo endfor endfunc endif "
        "endproc endscan endtext endtry endwith exit finally for from function go if iif "
        "in index insert into local locate loop lparameters next nodefault not off on or "
        "otherwise parameters private procedure public release replace return scan seek "
        "select set skip store table tag text then this thisform to try update use values "
        "where while with");
    s.line_comments = {"&&"};
    s.leading_comments = {"*", "note"};
    s.quotes = "\"'";
    s.hash_directives = true;
    return s;
}

highlight_syntax powerbuilder_syntax() {
    highlight_syntax s;
    s.keywords = sorted(
        "and any blob boolean byte call case catch char character choose close commit "
        "connect constant continue create cursor date datetime dec decimal declare delete "
        "destroy disconnect do double dynamic else elseif end enumerated event execute "
        "exit external false fetch finally first for forward from function global goto "
        "halt if immediate indirect insert integer into intrinsic is last library long "
        "loop next not of on open or parent post prepare prior private privateread "
        "privatewrite procedure protected protectedread protectedwrite prototypes public "
        "readonly real ref return rollback rpcfunc select selectblob shared static step "
        "string subroutine super system then this throw throws time to trigger true try "
        "type uint ulong unsignedinteger unsignedlong until update updateblob using "
        "variables while with within xor");
    s.line_comments = {"//"};
    s.block_comments = {{"/*", "*/"}};
    s.quotes = "\"'";
    s.escape = '~';
    s.word_extra = "$#%";
    return s;
}

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool starts_with_nocase(std::string_view text, std::size_t pos, std::string_view marker) {
    if (text.size() - pos < marker.size()) return false;
    for (std::size_t k = 0; k < marker.size(); ++k) {
        if (lower(text[pos + k]) != lower(marker[k])) return false;
    }
    return true;
}

bool is_line_break(char c) {
    return c == '\n' || c == '\r';
}

class scanner {
  public:
    scanner(std::string_view text, const highlight_syntax& syntax,
            std::vector<std::uint8_t>& styles, std::vector<int>& line_states)
        : text_(text), syntax_(syntax), styles_(styles), line_states_(line_states) {}

    int run(int state) {
        styles_.assign(text_.size(), style_plain);
        state_ = state < 0 || static_cast<std::size_t>(state) > syntax_.block_comments.size()
                     ? 0
                     : state;
        while (pos_ < text_.size()) {
            if (is_line_break(text_[pos_])) {
                end_line();
                continue;
            }
            if (state_ > 0) {
                continue_block_comment();
                continue;
            }
            scan_token();
        }
        if (text_.empty() || !is_line_break(text_.back())) line_states_.push_back(state_);
        return state_;
    }

  private:
    void end_line() {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        line_states_.push_back(state_);
        at_line_start_ = true;
    }

    bool word_char(char c) const {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || c == '_' || u >= 0x80 ||
               syntax_.word_extra.find(c) != std::string_view::npos;
    }

    void paint(std::size_t end, syntax_style style) {
        std::fill(styles_.begin() + static_cast<std::ptrdiff_t>(pos_),
                  styles_.begin() + static_cast<std::ptrdiff_t>(end), style);
        pos_ = end;
    }

    std::size_t line_end() const {
        const std::size_t end = text_.find_first_of("\r\n", pos_);
        return end == std::string_view::npos ? text_.size() : end;
    }

    // A comment marker at the current position; letter markers must stand as whole words.
    bool marker_at(std::string_view marker) const {
        if (!starts_with_nocase(text_, pos_, marker)) return false;
        if (!std::isalpha(static_cast<unsigned char>(marker.front()))) return true;
        const bool after_word = pos_ > 0 && word_char(text_[pos_ - 1]);
        const std::size_t next = pos_ + marker.size();
        return !after_word && (next >= text_.size() || !word_char(text_[next]));
    }

    void continue_block_comment() {
        const std::string_view closer =
            syntax_.block_comments[static_cast<std::size_t>(state_ - 1)].second;
        const std::size_t stop = line_end();
        const std::size_t found = text_.substr(0, stop).find(closer, pos_);
        if (found == std::string_view::npos) {
            paint(stop, style_comment);
            return;
        }
        paint(found + closer.size(), style_comment);
        state_ = 0;
    }

    void scan_token() {
        const char c = text_[pos_];
        if (c == ' ' || c == '\t') {
            ++pos_;
            return;
        }
        const bool first_on_line = at_line_start_;
        at_line_start_ = false;
        if (first_on_line) {
            for (std::string_view marker : syntax_.leading_comments) {
                if (marker_at(marker)) return paint(line_end(), style_comment);
            }
            if (syntax_.hash_directives && c == '#') return paint(line_end(), style_preprocessor);
        }
        for (std::string_view marker : syntax_.line_comments) {
            if (marker_at(marker)) return paint(line_end(), style_comment);
        }
        for (std::size_t k = 0; k < syntax_.block_comments.size(); ++k) {
            const std::string_view opener = syntax_.block_comments[k].first;
            if (text_.compare(pos_, opener.size(), opener) == 0) {
                paint(pos_ + opener.size(), style_comment);
                state_ = static_cast<int>(k) + 1;
                return;
            }
        }
        if (syntax_.quotes.find(c) != std::string_view::npos) return scan_string(c);
        const auto u = static_cast<unsigned char>(c);
        if (std::isdigit(u)) return scan_number();
        if (word_char(c)) return scan_word();
        paint(pos_ + 1, std::ispunct(u) ? style_operator : style_plain);
    }

    void scan_string(char quote) {
        const std::size_t stop = line_end();
        std::size_t i = pos_ + 1;
        while (i < stop) {
            if (syntax_.escape != 0 && text_[i] == syntax_.escape) {
                i += 2;
                continue;
            }
            if (text_[i] == quote) {
                if (syntax_.escape == 0 && i + 1 < stop && text_[i + 1] == quote) {
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            ++i;
        }
        paint(std::min(i, stop), style_string);
    }

    void scan_number() {
        std::size_t i = pos_;
        while (i < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[i])) ||
                                    text_[i] == '.' || text_[i] == '_')) {
            ++i;
        }
        paint(i, style_number);
    }

    void scan_word() {
        std::size_t i = pos_;
        while (i < text_.size() && word_char(text_[i])) ++i;
        constexpr std::size_t longest_keyword = 32;
        bool keyword = false;
        if (i - pos_ <= longest_keyword) {
            std::string word(text_.substr(pos_, i - pos_));
            for (char& ch : word) ch = lower(ch);
            keyword = std::binary_search(syntax_.keywords.begin(), syntax_.keywords.end(),
                                         std::string_view(word));
        }
        paint(i, keyword ? style_keyword : style_plain);
    }

    std::string_view text_;
    const highlight_syntax& syntax_;
    std::vector<std::uint8_t>& styles_;
    std::vector<int>& line_states_;
    std::size_t pos_ = 0;
    int state_ = 0;
    bool at_line_start_ = true;
};

}  // namespace

const highlight_syntax* custom_syntax(std::string_view highlighter) {
    static const highlight_syntax general = general_syntax();
    static const highlight_syntax visual_basic = visual_basic_syntax();
    static const highlight_syntax vbscript = vbscript_syntax();
    static const highlight_syntax vbnet = vbnet_syntax();
    static const highlight_syntax foxpro = foxpro_syntax();
    static const highlight_syntax powerbuilder = powerbuilder_syntax();
    if (highlighter == "general") return &general;
    if (highlighter == "Visual Basic") return &visual_basic;
    if (highlighter == "VBScript") return &vbscript;
    if (highlighter == "VB.NET") return &vbnet;
    if (highlighter == "FoxPro") return &foxpro;
    if (highlighter == "PowerBuilder") return &powerbuilder;
    return nullptr;
}

int style_text(std::string_view text, const highlight_syntax& syntax, int state,
               std::vector<std::uint8_t>& styles, std::vector<int>& line_states) {
    return scanner(text, syntax, styles, line_states).run(state);
}

}  // namespace tarnwell
