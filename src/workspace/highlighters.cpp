#include "workspace/highlighters.h"

#include <Qsci/qscilexercpp.h>
#include <Qsci/qscilexercsharp.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerjava.h>
#include <Qsci/qscilexerjavascript.h>
#include <Qsci/qscilexerlua.h>
#include <Qsci/qscilexerpascal.h>
#include <Qsci/qscilexerperl.h>
#include <Qsci/qscilexerruby.h>
#include <Qsci/qsciscintilla.h>

#include <string>

#include "parsers/language_table.h"

namespace tarnwell {

namespace {

QColor colour_of(int style) {
    switch (style) {
        case style_comment:
            return QColor(0, 128, 0);
        case style_keyword:
            return QColor(0, 0, 128);
        case style_string:
            return QColor(163, 21, 21);
        case style_number:
            return QColor(0, 128, 128);
        case style_preprocessor:
            return QColor(128, 0, 128);
        case style_operator:
            return QColor(64, 64, 64);
        default:
            return QColor(0, 0, 0);
    }
}

std::uint32_t rgb_of(const QColor& colour) {
    return colour.rgb() & 0xFFFFFF;
}

// Gives every style of a lexer the editor's font, keeping the lexer's bold and italic, and
// the editor's background.
void dress(QsciLexer& lexer, const QColor& background) {
    const QFont base = editor_font();
    lexer.setDefaultFont(base);
    lexer.setDefaultPaper(background);
    for (int style = 0; style <= QsciScintillaBase::STYLE_MAX; ++style) {
        if (lexer.description(style).isEmpty()) continue;
        const QFont own = lexer.defaultFont(style);
        QFont font = base;
        font.setBold(own.bold());
        font.setItalic(own.italic());
        lexer.setFont(font, style);
        lexer.setPaper(background, style);
    }
}

}  // namespace

syntax_lexer::syntax_lexer(const char* name, const highlight_syntax& syntax, QObject* parent)
    : QsciLexerCustom(parent), name_(name), syntax_(syntax) {}

QString syntax_lexer::description(int style) const {
    switch (style) {
        case style_plain:
            return QStringLiteral("Default");
        case style_comment:
            return QStringLiteral("Comment");
        case style_keyword:
            return QStringLiteral("Keyword");
        case style_string:
            return QStringLiteral("String");
        case style_number:
            return QStringLiteral("Number");
        case style_preprocessor:
            return QStringLiteral("Directive");
        case style_operator:
            return QStringLiteral("Operator");
        default:
            return QString();
    }
}

QColor syntax_lexer::defaultColor(int style) const {
    return colour_of(style);
}

QFont syntax_lexer::defaultFont(int style) const {
    QFont font = editor_font();
    font.setBold(style == style_keyword);
    font.setItalic(style == style_comment);
    return font;
}

void syntax_lexer::styleText(int start, int end) {
    QsciScintilla* ed = editor();
    if (ed == nullptr || end <= start) return;
    const long first_line = ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start);
    const long last_line = ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, end - 1);
    const long from = ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, first_line);
    const long length = ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const long line_count = ed->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    const long to = last_line + 1 < line_count
                        ? ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, last_line + 1)
                        : length;
    const auto* all = static_cast<const char*>(
        ed->SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    if (all == nullptr || to <= from) return;
    const std::string text(all + from, static_cast<std::size_t>(to - from));
    const int state = first_line > 0 ? static_cast<int>(ed->SendScintilla(
                                           QsciScintillaBase::SCI_GETLINESTATE, first_line - 1))
                                     : 0;
    std::vector<std::uint8_t> styles;
    std::vector<int> line_states;
    style_text(text, syntax_, state, styles, line_states);
    startStyling(static_cast<int>(from));
    for (std::size_t i = 0; i < styles.size();) {
        std::size_t j = i + 1;
        while (j < styles.size() && styles[j] == styles[i]) ++j;
        setStyling(static_cast<int>(j - i), styles[i]);
        i = j;
    }
    for (std::size_t k = 0; k < line_states.size(); ++k) {
        ed->SendScintilla(QsciScintillaBase::SCI_SETLINESTATE,
                          static_cast<unsigned long>(first_line) + k,
                          static_cast<long>(line_states[k]));
    }
}

const char* tsql_lexer::keywords(int set) const {
    if (set != 1) return QsciLexerSQL::keywords(set);
    return "add all alter and any as asc authorization backup begin between break browse bulk "
           "by cascade case catch check checkpoint close clustered coalesce collate column "
           "commit compute constraint contains continue convert create cross current "
           "current_date current_time current_timestamp current_user cursor database dbcc "
           "deallocate declare default delete deny desc distinct distributed double drop "
           "else end errlvl escape except exec execute exists exit external fetch file "
           "fillfactor for foreign from full function go goto grant group having holdlock "
           "identity identity_insert if in index inner insert intersect into is join key kill "
           "left like lineno merge national nocheck nocount nonclustered not null nullif of off "
           "offsets on open option or order outer output over percent pivot plan primary print "
           "proc procedure public raiserror read readtext reconfigure references replication "
           "restore restrict return revert revoke right rollback rowcount rowguidcol rule save "
           "schema select session_user set setuser shutdown some statistics system_user table "
           "then throw to top tran transaction trigger truncate try union unique unpivot update "
           "updatetext use user values varying view waitfor when where while with writetext "
           "bigint binary bit char date datetime datetime2 decimal float int money nchar "
           "ntext numeric nvarchar real smallint text tinyint uniqueidentifier varbinary "
           "varchar xml";
}

const char* python_lexer::keywords(int set) const {
    if (set != 1) return QsciLexerPython::keywords(set);
    static const std::string words = std::string(QsciLexerPython::keywords(1)) + " match case type";
    return words.c_str();
}

const char* powershell_lexer::keywords(int set) const {
    if (set != 1) return QsciLexerBash::keywords(set);
    return "begin break catch class continue data default define do dynamicparam else elseif "
           "end enum exit filter finally for foreach from function hidden if in inlinescript "
           "param process return static switch throw trap try until using var while "
           "workflow parallel sequence";
}

keyword_lexer::keyword_lexer(const char* language, const char* keywords, QObject* parent)
    : QsciLexerCPP(parent), language_(language), keywords_(keywords) {}

const char* keyword_lexer::keywords(int set) const {
    return set == 1 ? keywords_ : nullptr;
}

namespace {

constexpr const char* typescript_keywords =
    "abstract any as async await bigint boolean break case catch class const constructor "
    "continue debugger declare default delete do else enum export extends false finally for "
    "from function get if implements import in infer instanceof interface is keyof let module "
    "namespace never new null number object of override private protected public readonly "
    "return satisfies set static string super switch symbol this throw true try type typeof "
    "undefined unique unknown var void while with yield";
constexpr const char* go_keywords =
    "break case chan const continue default defer else fallthrough for func go goto if import "
    "interface map package range return select struct switch type var any bool byte complex64 "
    "complex128 error float32 float64 int int8 int16 int32 int64 rune string uint uint8 uint16 "
    "uint32 uint64 uintptr true false iota nil append cap close copy delete len make new panic "
    "print println recover";
constexpr const char* rust_keywords =
    "as async await break const continue crate dyn else enum extern false fn for if impl in let "
    "loop match mod move mut pub ref return self Self static struct super trait true type union "
    "unsafe use where while bool char f32 f64 i8 i16 i32 i64 i128 isize str u8 u16 u32 u64 u128 "
    "usize String Vec Option Result Some None Ok Err Box";
constexpr const char* kotlin_keywords =
    "abstract actual annotation as break by catch class companion const constructor continue "
    "crossinline data do else enum expect external false final finally for fun get if import in "
    "infix init inline inner interface internal is lateinit noinline null object open operator "
    "out override package private protected public reified return sealed set super suspend "
    "tailrec this throw true try typealias val value var vararg when where while Any Boolean "
    "Byte Char Double Float Int Long Nothing Short String Unit";
constexpr const char* swift_keywords =
    "actor any as associatedtype async await break case catch class continue convenience "
    "default defer deinit didSet do dynamic else enum extension fallthrough false fileprivate "
    "final for func get guard if import in indirect infix init inout internal is lazy let "
    "mutating nil nonmutating open operator optional override postfix precedencegroup prefix "
    "private protocol public repeat required rethrows return self Self set some static struct "
    "subscript super switch throw throws true try typealias unowned var weak where while "
    "willSet Any Bool Character Double Float Int String Void";
constexpr const char* scala_keywords =
    "abstract case catch class def derives do else end enum export extends extension false "
    "final finally for forSome given if implicit import inline lazy match new null object "
    "opaque open override package private protected return sealed super then this throw trait "
    "transparent true try type using val var while with yield Any AnyRef Boolean Char Double "
    "Float Int Long Nothing Option Some None String Unit";

}  // namespace

QFont editor_font() {
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(10);
    return font;
}

QsciLexer* create_highlighter(int language, const QColor& background, QObject* parent) {
    // The table's names are literals, so `data()` is a terminated string for the lexer.
    const std::string_view name =
        language >= 0 && language < language_count
            ? language_table()[static_cast<std::size_t>(language)].highlighter
            : std::string_view("general");
    QsciLexer* lexer = nullptr;
    if (name == "C++") {
        lexer = new QsciLexerCPP(parent);
    } else if (name == "Java") {
        lexer = new QsciLexerJava(parent);
    } else if (name == "JavaScript") {
        lexer = new QsciLexerJavaScript(parent);
    } else if (name == "C#") {
        lexer = new QsciLexerCSharp(parent);
    } else if (name == "Perl") {
        lexer = new QsciLexerPerl(parent);
    } else if (name == "Pascal") {
        lexer = new QsciLexerPascal(parent);
    } else if (name == "PHP") {
        lexer = new QsciLexerHTML(parent);
    } else if (name == "PL/SQL") {
        lexer = new QsciLexerSQL(parent);
    } else if (name == "T-SQL") {
        lexer = new tsql_lexer(parent);
    } else if (name == "Python") {
        lexer = new python_lexer(parent);
    } else if (name == "TypeScript" || name == "TSX") {
        lexer = new keyword_lexer(name.data(), typescript_keywords, parent);
    } else if (name == "Go") {
        lexer = new keyword_lexer("Go", go_keywords, parent);
    } else if (name == "Rust") {
        lexer = new keyword_lexer("Rust", rust_keywords, parent);
    } else if (name == "Kotlin") {
        lexer = new keyword_lexer("Kotlin", kotlin_keywords, parent);
    } else if (name == "Swift") {
        lexer = new keyword_lexer("Swift", swift_keywords, parent);
    } else if (name == "Scala") {
        lexer = new keyword_lexer("Scala", scala_keywords, parent);
    } else if (name == "Ruby") {
        lexer = new QsciLexerRuby(parent);
    } else if (name == "Lua") {
        lexer = new QsciLexerLua(parent);
    } else if (name == "Bash") {
        lexer = new QsciLexerBash(parent);
    } else if (name == "PowerShell") {
        lexer = new powershell_lexer(parent);
    } else if (const highlight_syntax* syntax = custom_syntax(name)) {
        lexer = new syntax_lexer(name.data(), *syntax, parent);
    } else {
        lexer = new syntax_lexer("general", *custom_syntax("general"), parent);
    }
    dress(*lexer, background);
    return lexer;
}

std::vector<export_style> export_styles(const QsciLexer& lexer) {
    std::vector<export_style> styles;
    for (int style = 0; style <= QsciScintillaBase::STYLE_MAX; ++style) {
        const QFont font = lexer.font(style);
        styles.push_back(
            {rgb_of(lexer.color(style)), rgb_of(lexer.paper(style)), font.bold(), font.italic()});
    }
    return styles;
}

}  // namespace tarnwell
