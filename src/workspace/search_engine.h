// Find and replace over a text of bytes: the options of a search, the text it runs on (a
// plain byte string here, the editor in the window), and the rules of Find, Find Next,
// Replace and Replace All.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwell {

inline constexpr std::string_view string_not_found_message = "string not found ";

struct search_options {
    bool match_case = false;
    bool whole_word = false;
    bool backwards = false;
    bool entire_scope = false;  // from the scope's start (end when backwards), not the caret
    bool selected_only = false;
    bool replace = false;
    bool replace_all = false;
    bool prompt = false;
    bool operator==(const search_options&) const = default;
};

// What Find Next searches with: it always continues from the caret and never replaces; a
// search in the selection stays in the part of the text it began in.
search_options find_next_options(search_options last);

// Byte positions from 0, the end exclusive.
struct byte_range {
    long begin = 0;
    long end = 0;
    bool operator==(const byte_range&) const = default;
};

// The text a search runs on.
class search_text {
  public:
    virtual ~search_text() = default;

    virtual long length() const = 0;
    virtual unsigned char byte_at(long pos) const = 0;
    // The first match of `pattern` lying within [from, to), or with `backwards` the last one.
    virtual std::optional<byte_range> find(std::string_view pattern, long from, long to,
                                           bool match_case, bool backwards) const = 0;
    virtual void replace(byte_range range, std::string_view text) = 0;
    virtual long anchor() const = 0;
    virtual long caret() const = 0;
    virtual void select(long anchor, long caret) = 0;
    // A Replace All is one step to undo.
    virtual void begin_edit() {}
    virtual void end_edit() {}
};

// A byte string with a selection, searched and edited directly.
class byte_search_text : public search_text {
  public:
    explicit byte_search_text(std::string text, long anchor = 0, long caret = 0);

    const std::string& text() const { return text_; }

    long length() const override { return static_cast<long>(text_.size()); }
    unsigned char byte_at(long pos) const override;
    std::optional<byte_range> find(std::string_view pattern, long from, long to, bool match_case,
                                   bool backwards) const override;
    void replace(byte_range range, std::string_view text) override;
    long anchor() const override { return anchor_; }
    long caret() const override { return caret_; }
    void select(long anchor, long caret) override;

  private:
    std::string text_;
    long anchor_;
    long caret_;
};

enum class prompt_answer { replace, skip, replace_all, cancel };

// Asked with the occurrence selected, before it is replaced.
using replace_prompt = std::function<prompt_answer(byte_range occurrence)>;

struct search_outcome {
    int found = 0;  // occurrences met, skipped ones included; none means "string not found "
    int replaced = 0;
};

// Searches from the caret (or the scope's edge with entire_scope) over the whole text, or
// the selection with selected_only. A find selects the occurrence, caret at its far end in
// the search direction. A replace takes the first occurrence, a replace all every one up to
// the scope's end; either leaves the caret after the inserted text (before it when
// backwards), continues past it, and so never meets its own replacement. With prompt, `ask`
// answers each occurrence. An empty pattern finds nothing.
search_outcome search_replace(search_text& text, std::string_view pattern,
                              std::string_view replacement, const search_options& options,
                              const replace_prompt& ask = {});

// The search text and options of the last Find or Replace, program-wide, and the selection
// a search in the selection ran in.
struct last_search {
    std::string text;
    search_options options;
    std::optional<byte_range> scope;
};

// Find or Replace: remembers the options, and with selected_only the selection as the scope
// Find Next keeps to, then runs search_replace.
search_outcome remembered_search(search_text& text, last_search& last, std::string_view pattern,
                                 std::string_view replacement, const search_options& options,
                                 const replace_prompt& ask = {});

// Find Next: a selection of two or more bytes becomes the last search text; then searches
// for it from the caret with find_next_options, within the last scope when there is one.
search_outcome find_next(search_text& text, last_search& last);

// The initial text of the Find and Replace dialogs: the selection when it holds two or more
// bytes, else the word at the caret.
std::string initial_search_text(std::string_view text, long anchor, long caret);

}  // namespace tarnwell
