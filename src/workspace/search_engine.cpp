#include "workspace/search_engine.h"

#include <algorithm>
#include <cctype>

namespace tarnwell {

namespace {

bool is_word_byte(unsigned char c) {
    return std::isalnum(c) != 0 || c == '_' || c >= 0x80;
}

unsigned char folded(unsigned char c) {
    return c < 0x80 ? static_cast<unsigned char>(std::tolower(c)) : c;
}

bool stands_alone(const search_text& text, byte_range match) {
    return (match.begin == 0 || !is_word_byte(text.byte_at(match.begin - 1))) &&
           (match.end >= text.length() || !is_word_byte(text.byte_at(match.end)));
}

std::optional<byte_range> find_in(const search_text& text, std::string_view pattern, long from,
                                  long to, const search_options& options) {
    while (from < to) {
        const std::optional<byte_range> match =
            text.find(pattern, from, to, options.match_case, options.backwards);
        if (!match || !options.whole_word || stands_alone(text, *match)) return match;
        if (options.backwards) {
            to = match->end - 1;
        } else {
            from = match->begin + 1;
        }
    }
    return std::nullopt;
}

}  // namespace

search_options find_next_options(search_options last) {
    last.entire_scope = false;
    last.replace = false;
    last.replace_all = false;
    last.prompt = false;
    return last;
}

byte_search_text::byte_search_text(std::string text, long anchor, long caret)
    : text_(std::move(text)), anchor_(0), caret_(0) {
    select(anchor, caret);
}

unsigned char byte_search_text::byte_at(long pos) const {
    return pos >= 0 && pos < length() ? static_cast<unsigned char>(text_[pos]) : 0;
}

std::optional<byte_range> byte_search_text::find(std::string_view pattern, long from, long to,
                                                 bool match_case, bool backwards) const {
    const long size = static_cast<long>(pattern.size());
    from = std::max(from, 0L);
    to = std::min(to, length());
    if (size == 0 || to - from < size) return std::nullopt;
    const auto matches_at = [&](long pos) {
        for (long i = 0; i < size; ++i) {
            const auto a = static_cast<unsigned char>(text_[pos + i]);
            const auto b = static_cast<unsigned char>(pattern[i]);
            if (match_case ? a != b : folded(a) != folded(b)) return false;
        }
        return true;
    };
    if (backwards) {
        for (long pos = to - size; pos >= from; --pos) {
            if (matches_at(pos)) return byte_range{pos, pos + size};
        }
    } else {
        for (long pos = from; pos <= to - size; ++pos) {
            if (matches_at(pos)) return byte_range{pos, pos + size};
        }
    }
    return std::nullopt;
}

void byte_search_text::replace(byte_range range, std::string_view text) {
    text_.replace(range.begin, range.end - range.begin, text);
}

void byte_search_text::select(long anchor, long caret) {
    anchor_ = std::clamp(anchor, 0L, length());
    caret_ = std::clamp(caret, 0L, length());
}

namespace {

byte_range selection_of(const search_text& text) {
    return {std::min(text.anchor(), text.caret()), std::max(text.anchor(), text.caret())};
}

// The part of the text a search runs through: the selection with selected_only, else from
// the selection on (backwards: up to it), or all of it with entire_scope.
byte_range search_range(const search_text& text, const search_options& options) {
    const byte_range selection = selection_of(text);
    if (options.selected_only && selection.begin < selection.end) return selection;
    if (options.entire_scope) return {0, text.length()};
    // Backwards from the selection's start, forwards from its end: the occurrence that is
    // selected now is never found again.
    return options.backwards ? byte_range{0, selection.begin}
                             : byte_range{selection.end, text.length()};
}

search_outcome search_replace_in(search_text& text, std::string_view pattern,
                                 std::string_view replacement, const search_options& options,
                                 const replace_prompt& ask, byte_range range) {
    search_outcome outcome;
    if (pattern.empty()) return outcome;
    long begin = range.begin;
    long end = range.end;
    const long inserted = static_cast<long>(replacement.size());
    bool replace_all = options.replace_all;
    bool prompt = options.prompt && ask;
    if (options.replace) text.begin_edit();
    while (const std::optional<byte_range> match = find_in(text, pattern, begin, end, options)) {
        ++outcome.found;
        if (!options.replace) {
            if (options.backwards) {
                text.select(match->end, match->begin);
            } else {
                text.select(match->begin, match->end);
            }
            break;
        }
        prompt_answer answer = prompt_answer::replace;
        if (prompt) {
            text.select(match->begin, match->end);
            answer = ask(*match);
        }
        if (answer == prompt_answer::cancel) break;
        if (answer == prompt_answer::replace_all) {
            replace_all = true;
            prompt = false;
        }
        if (answer == prompt_answer::skip) {
            if (options.backwards) {
                end = match->begin;
            } else {
                begin = match->end;
            }
        } else {
            text.replace(*match, replacement);
            ++outcome.replaced;
            // The scope's end moves with the text behind it; the search goes on beyond what
            // was inserted.
            if (options.backwards) {
                end = match->begin;
                text.select(match->begin, match->begin);
            } else {
                begin = match->begin + inserted;
                end += inserted - (match->end - match->begin);
                text.select(begin, begin);
            }
        }
        if (!replace_all) break;
    }
    if (options.replace) text.end_edit();
    return outcome;
}

}  // namespace

search_outcome search_replace(search_text& text, std::string_view pattern,
                              std::string_view replacement, const search_options& options,
                              const replace_prompt& ask) {
    return search_replace_in(text, pattern, replacement, options, ask, search_range(text, options));
}

search_outcome remembered_search(search_text& text, last_search& last, std::string_view pattern,
                                 std::string_view replacement, const search_options& options,
                                 const replace_prompt& ask) {
    last.options = options;
    const byte_range selection = selection_of(text);
    last.scope.reset();
    if (options.selected_only && selection.begin < selection.end) last.scope = selection;
    return search_replace(text, pattern, replacement, options, ask);
}

search_outcome find_next(search_text& text, last_search& last) {
    const byte_range selection = selection_of(text);
    if (selection.end - selection.begin > 1) {
        last.text.clear();
        for (long pos = selection.begin; pos < selection.end; ++pos) {
            last.text += static_cast<char>(text.byte_at(pos));
        }
    }
    const search_options options = find_next_options(last.options);
    if (!options.selected_only || !last.scope) {
        search_options whole = options;
        whole.selected_only = false;
        return search_replace(text, last.text, {}, whole);
    }
    // From the caret on (backwards: up to it), never past the scope; the text may have
    // become shorter since.
    const long scope_end = std::min(last.scope->end, text.length());
    byte_range range = options.backwards
                           ? byte_range{last.scope->begin, std::min(selection.begin, scope_end)}
                           : byte_range{std::max(selection.end, last.scope->begin), scope_end};
    range.end = std::max(range.begin, range.end);
    return search_replace_in(text, last.text, {}, options, {}, range);
}

std::string initial_search_text(std::string_view text, long anchor, long caret) {
    const long size = static_cast<long>(text.size());
    anchor = std::clamp(anchor, 0L, size);
    caret = std::clamp(caret, 0L, size);
    if (std::abs(anchor - caret) >= 2) {
        return std::string(text.substr(std::min(anchor, caret), std::abs(anchor - caret)));
    }
    long begin = caret;
    long end = caret;
    while (begin > 0 && is_word_byte(static_cast<unsigned char>(text[begin - 1]))) --begin;
    while (end < size && is_word_byte(static_cast<unsigned char>(text[end]))) ++end;
    return std::string(text.substr(begin, end - begin));
}

}  // namespace tarnwell
