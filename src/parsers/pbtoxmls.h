// The parser of PowerBuilder script: the line grammar of the Basic family with PowerBuilder's
// operators, bracketed groups, "&" continuations and embedded SQL.
#pragma once

#include <initializer_list>
#include <utility>

#include "parsers/vb2xmls.h"

namespace tarnwell {

class Tpbsparser : public Tvbsparser {
  public:
    Tpbsparser();

    // Kinds only this lexer makes.
    static constexpr token_kind tk_comma = 24;
    static constexpr token_kind tk_dot = 25;
    static constexpr token_kind tk_equal = 32;
    static constexpr token_kind tk_not_equal = 33;
    static constexpr token_kind tk_greater = 34;
    static constexpr token_kind tk_greater_equal = 35;
    static constexpr token_kind tk_less = 36;
    static constexpr token_kind tk_less_equal = 37;
    static constexpr token_kind tk_plus = 38;
    static constexpr token_kind tk_slash = 40;
    static constexpr token_kind tk_star = 41;
    static constexpr token_kind tk_integer = 42;
    static constexpr token_kind tk_real = 43;
    static constexpr token_kind tk_bad_bracket = 92;
    static constexpr token_kind tk_bad_brace = 94;
    static constexpr token_kind tk_dash = 98;
    static constexpr token_kind tk_caret = 101;
    static constexpr token_kind tk_braces = 103;
    static constexpr token_kind tk_brackets = 105;
    static constexpr token_kind tk_increment = 107;
    static constexpr token_kind tk_decrement = 108;
    static constexpr token_kind tk_plus_assign = 109;
    static constexpr token_kind tk_minus_assign = 110;
    static constexpr token_kind tk_star_assign = 111;
    static constexpr token_kind tk_slash_assign = 112;
    static constexpr token_kind tk_caret_assign = 113;

  protected:
    void scan_raw() override;
    bool is_word_start(char c) const override;
    bool is_word_continuation(char c) const override;
    bool combines(const raw_token& keyword) const override;
    combination combine_with(const raw_token& keyword, const raw_token& next) override;

  private:
    void scan_pb_word();
    void scan_slash();
    void scan_number();
    void scan_parens();
    void scan_group(std::int32_t start, std::int32_t open, char close, token_kind good,
                    token_kind bad, std::uint8_t error);
    void scan_operator(token_kind alone, std::initializer_list<std::pair<char, token_kind>> pairs);
};

}  // namespace tarnwell
