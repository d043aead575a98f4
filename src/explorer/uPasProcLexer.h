// The Pascal procedure scanner: lists the routines defined in a program, a unit's
// implementation part or an include file.
#pragma once

#include <string>

#include "explorer/uKestrinProcLexer.h"
#include "explorer/zrPasLex.h"

namespace tarnwell {

// The failure of a unit without an implementation part.
inline constexpr std::string_view implementation_not_found =
    "Implementation section not found (parser error?)";

class TPasProcLexer : public TKestrinProcLexer {
  public:
    ~TPasProcLexer() override { wait(); }
    int language_kind() const override { return 3; }

  protected:
    void execute() override;

  private:
    struct heading {
        std::string text;
        pas_token keyword = pas_token::end_of_text;
        bool class_prefix = false;
        bool named = false;
        int line = -1;
    };
    struct body_lines {
        int begin = -1;
        int end = -1;
        bool has_body = true;
    };

    bool find_start();
    void scan_routines();
    heading read_heading(bool class_prefix);
    body_lines find_body();
    int find_end();
    void report(const heading& h, body_lines lines);

    void step();
    void step_significant();
    bool at_end() const { return stopped_ || lexer_.kind() == pas_token::end_of_text; }
    int line() const { return lexer_.line_counter() + 1; }

    TzrPasLex lexer_;
    bool stopped_ = false;
};

}  // namespace tarnwell
