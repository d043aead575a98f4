// The C-family procedure scanners: functions, constructors and destructors with a body in a
// C or C++ text, and methods and constructors in a Java or C# text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/uKestrinProcLexer.h"
#include "explorer/zrBCBTokenList.h"

namespace tarnwell {

class TCppProcLexer : public TKestrinProcLexer {
  public:
    ~TCppProcLexer() override { wait(); }
    int language_kind() const override { return 2; }

  protected:
    void execute() override;

  private:
    bool java() const { return language_kind() == 4; }
    void match_brackets();
    void examine(std::size_t brace, std::size_t search_start);
    void examine_body(std::size_t brace);
    std::size_t declaration_start(std::size_t brace);
    bool colon_after_parameters();
    std::optional<std::size_t> find_throws(std::size_t from, std::size_t down_to) const;
    std::optional<std::size_t> parameter_list_open(std::size_t from) const;
    std::string_view class_name_before(std::size_t name, std::size_t start);
    bool skip_template_arguments_back(std::size_t start);
    std::string return_type_text(std::size_t from, std::size_t name) const;
    int end_line(std::size_t brace) const;

    // A bracket token and its partner: the "}" of a "{", the "(" of a ")", the token itself
    // for "(" and "()"; `none` when the partner is missing.
    struct bracket_pair {
        std::size_t token;
        std::size_t partner;
    };
    static constexpr std::size_t none = static_cast<std::size_t>(-1);

    TBCBTokenList tokens_;
    // Filled once per scan, in text order, so that finding a body's end or a parameter list
    // costs no walk over the text.
    std::vector<bracket_pair> braces_;
    std::vector<bracket_pair> parens_;
};

// The same scan with the Java rules ("throws", "synchronized"); it serves C# too.
class TJavaProcLexer : public TCppProcLexer {
  public:
    ~TJavaProcLexer() override { wait(); }
    int language_kind() const override { return 4; }
};

}  // namespace tarnwell
