// The highlighters of the editor: the component's own lexers where it has one for a
// language, and a lexer over our highlighting rules for the others.
#pragma once

#include <Qsci/qscilexerbash.h>
#include <Qsci/qscilexercpp.h>
#include <Qsci/qscilexercustom.h>
#include <Qsci/qscilexerpython.h>
#include <Qsci/qscilexersql.h>

#include <vector>

#include "workspace/code_export.h"
#include "workspace/highlight_syntax.h"

namespace tarnwell {

// A lexer that styles by a `highlight_syntax`; each editor needs its own instance, since
// it styles the text of the editor it is attached to.
class syntax_lexer : public QsciLexerCustom {
    Q_OBJECT
  public:
    syntax_lexer(const char* name, const highlight_syntax& syntax, QObject* parent);

    const char* language() const override { return name_; }
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    void styleText(int start, int end) override;

  private:
    const char* name_;
    const highlight_syntax& syntax_;
};

// The SQL lexer with the words of Transact-SQL.
class tsql_lexer : public QsciLexerSQL {
    Q_OBJECT
  public:
    using QsciLexerSQL::QsciLexerSQL;
    const char* language() const override { return "T-SQL"; }
    const char* keywords(int set) const override;
};

// Python's lexer with the soft keywords of today's Python (`match`, `case`, `type`).
class python_lexer : public QsciLexerPython {
    Q_OBJECT
  public:
    using QsciLexerPython::QsciLexerPython;
    const char* keywords(int set) const override;
};

// The shell's lexer with the words of PowerShell, which QScintilla has no lexer for: its `#`
// comments, quoted strings and `$` variables read as the shell's do.
class powershell_lexer : public QsciLexerBash {
    Q_OBJECT
  public:
    using QsciLexerBash::QsciLexerBash;
    const char* language() const override { return "PowerShell"; }
    const char* keywords(int set) const override;
};

// The C++ lexer with the words of a language QScintilla has no lexer of its own for
// (TypeScript, Go, Rust, Kotlin, Swift, Scala): their comments, strings and numbers read as
// C++'s do.
class keyword_lexer : public QsciLexerCPP {
    Q_OBJECT
  public:
    keyword_lexer(const char* language, const char* keywords, QObject* parent);
    const char* language() const override { return language_; }
    const char* keywords(int set) const override;

  private:
    const char* language_;
    const char* keywords_;
};

// The editor's font: "Courier New" at 10 points, or the nearest fixed-pitch font.
QFont editor_font();

// The highlighter of a language table row, in the editor's font on the given background.
QsciLexer* create_highlighter(int language, const QColor& background, QObject* parent);

// The colours and weights of a highlighter's styles, by style number, for the code exports.
std::vector<export_style> export_styles(const QsciLexer& lexer);

}  // namespace tarnwell
