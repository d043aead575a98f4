// The C-family procedure scanners: functions, constructors and destructors with a body in a
// C or C++ text, and methods and constructors in a Java or C# text.
#pragma once

#include <cstddef>
#include <optional>
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
    void examine(std::size_t brace, std::size_t search_start);
    void examine_body(std::size_t brace);
    std::size_t declaration_start(std::size_t brace);
    bool colon_after_parameters();
    std::optional<std::size_t> find_throws(std::size_t from, std::size_t down_to) const;
    std::optional<std::size_t> parameter_list_open(std::size_t from) const;
    std::string_view class_name_before(std::size_t name);
    bool skip_template_arguments_back();
    std::string return_type_text(std::size_t from, std::size_t name) const;
    int end_line(std::size_t brace);

    TBCBTokenList tokens_;
    // The "{" tokens in text order and the "}" that closes each (count() when none does);
    // filled once, when the first body needs its end.
    std::vector<std::size_t> opens_;
    std::vector<std::size_t> closes_;
    bool braces_matched_ = false;
};

// The same scan with the Java rules ("throws", "synchronized"); it serves C# too.
class TJavaProcLexer : public TCppProcLexer {
  public:
    ~TJavaProcLexer() override { wait(); }
    int language_kind() const override { return 4; }
};

}  // namespace tarnwell
