#include "parsers/tsql2xmls.h"

#include <array>

namespace tarnwell {

namespace {

// UPDATE and BACKUP, BULK, CHECKPOINT stand twice; only the first entry is ever found.
constexpr std::array<keyword_entry, 60> tsql_keywords{{
    {"BEGIN", tk_begin},
    {"END", tk_end},
    {"IF", tk_if},
    {"ELSE", tk_else},
    {"WHILE", tk_while},
    {"BREAK", tk_break},
    {"CONTINUE", tk_continue},
    {"RETURN", tk_return},
    {"TRY", tk_sql_try},
    {"CATCH", tk_sql_catch},
    {"GOTO", tk_goto},
    {"RAISERROR", tk_raise},
    {"TRANSACTION", tk_transaction},
    {"TRAN", tk_transaction},
    {"DISTRIBUTED", tk_transaction},
    {"UPDATE", tk_sql_update},
    {"SET", tk_set},
    {"CASE", tk_case},
    {"BACKUP", tk_sql},
    {"BULK", tk_sql},
    {"CHECKPOINT", tk_sql},
    {"CREATE", tk_sql},
    {"COMMIT", tk_sql},
    {"DECLARE", tk_sql},
    {"DBCC", tk_sql},
    {"DENY", tk_sql},
    {"DUMP", tk_sql},
    {"GRANT", tk_sql},
    {"KILL", tk_sql},
    {"LOAD", tk_sql},
    {"READTEXT", tk_sql},
    {"FETCH", tk_sql},
    {"OPEN", tk_sql},
    {"CLOSE", tk_sql},
    {"DEALLOCATE", tk_sql},
    {"GO", tk_sql},
    {"DROP", tk_sql},
    {"DELETE", tk_sql},
    {"PRINT", tk_sql},
    {"EXEC", tk_sql},
    {"EXECUTE", tk_sql},
    {"ROLLBACK", tk_sql},
    {"WAITFOR", tk_sql},
    {"ALTER", tk_sql},
    {"BACKUP", tk_sql},
    {"BULK", tk_sql},
    {"CHECKPOINT", tk_sql},
    {"RECONFIGURE", tk_sql},
    {"RESTORE", tk_sql},
    {"REVOKE", tk_sql},
    {"SAVE", tk_sql},
    {"SELECT", tk_sql},
    {"SETUSER", tk_sql},
    {"SHUTDOWN", tk_sql},
    {"TRUNCATE", tk_sql},
    {"UPDATETEXT", tk_sql},
    {"USE", tk_sql},
    {"WRITETEXT", tk_sql},
    {"UPDATE", tk_sql},
    {"INSERT", tk_sql},
}};

bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "@x" and "@@ERROR" are words.
bool starts_tsql_word(char c) {
    return is_letter(c) || c == '_' || c == '@';
}

bool continues_tsql_word(char c) {
    return starts_tsql_word(c) || (c >= '0' && c <= '9') || c == '#' || c == '$' || c == '.';
}

}  // namespace

Ttsqlsparser::Ttsqlsparser() : sql_family_parser(tsql_keywords) {}

void Ttsqlsparser::scan_dialect_token(char c) {
    if (starts_tsql_word(c)) {
        scan_word();
    } else if (c == '(') {
        scan_group();
    } else if (c == ':') {
        // A label ends in ":"; "::" qualifies a name (OBJECT::t) and ends no label.
        kind = at(token_pos + 1) == ':' ? tk_scope : tk_colon;
        token_len = kind == tk_scope ? 2 : 1;
    } else {
        // ";" too: statements end where the next statement keyword begins.
        scan_bad_char();
    }
}

void Ttsqlsparser::scan_word() {
    kind = tk_word;
    token_len = word_length(token_pos, continues_tsql_word);
    if (lookup_keyword()) {
        if (kind == tk_begin) {
            combine_begin();
        } else if (kind == tk_case) {
            // A CASE expression, nested ones included, reads as one token through its END.
            scan_keyword_pair(tk_end, tk_case, starts_tsql_word, continues_tsql_word);
        } else if (kind == tk_sql_update) {
            scan_update_head();
        }
        return;
    }
    // A word followed by ":" is a label. Only white space and comments may stand between
    // them, so the look-ahead needs no tokens of its own and never nests.
    const std::int32_t start = token_pos;
    const std::int32_t len = token_len;
    const std::int32_t next = next_significant(start + len);
    token_pos = start;
    kind = tk_word;
    token_len = len;
    if (at(next) == ':' && at(next + 1) != ':') {
        kind = tk_label;
        token_len = next - start + 1;
    }
}

// The position of the first character from `pos` on that is neither white space nor part of
// a comment. The cursor is left on the last token read.
std::int32_t Ttsqlsparser::next_significant(std::int32_t pos) {
    for (;;) {
        token_pos = pos;
        if (!scan_shared_token() || (kind != tk_space && kind != tk_comment)) return pos;
        pos += token_len;
    }
}

// A parenthesised group is one token. Its inside is read token by token, so strings,
// comments and inner groups are passed over whole; each group is measured once per parse.
void Ttsqlsparser::scan_group() {
    if (recall_token()) return;
    const std::uint64_t errors_before = errors_recorded();
    nesting_guard guard(*this);
    const std::int32_t open = token_pos;
    std::int32_t pos = open + 1;
    while (at(pos) != ')') {
        token_pos = pos;
        scan();
        if (kind == tk_eof) {
            kind = tk_bad_literal;
            token_len = token_pos - open;
            token_pos = open;
            set_error(19);
            remember_token(errors_before);
            return;
        }
        pos = token_pos + token_len;
    }
    token_pos = open;
    kind = tk_parens;
    token_len = pos - open + 1;
    remember_token(errors_before);
}

// BEGIN TRY and BEGIN CATCH open the two blocks of an error handler; BEGIN TRAN (and
// TRANSACTION, DISTRIBUTED) is a plain statement. Each reads as one token through its second
// word.
void Ttsqlsparser::combine_begin() {
    const std::int32_t start = token_pos;
    const std::int32_t begin_len = token_len;
    const std::int32_t next = next_significant(start + begin_len);
    token_kind combined = tk_begin;
    std::int32_t end = start + begin_len;
    if (starts_tsql_word(at(next))) {
        const std::int32_t len = word_length(next, continues_tsql_word);
        switch (keyword_at(next, len)) {
            case tk_sql_try:
                combined = tk_try;
                break;
            case tk_sql_catch:
                combined = tk_handler;
                break;
            case tk_transaction:
                combined = tk_word;
                break;
            default:
                break;
        }
        if (combined != tk_begin) end = next + len;
    }
    token_pos = start;
    kind = combined;
    token_len = end - start;
}

// UPDATE reads as one token through the SET of its statement ("UPDATE t SET a = 1"), so that
// SET does not start a statement of its own. When another statement begins first (UPDATE
// STATISTICS) or the text ends, UPDATE stands alone: the statements after it are charted, not
// swallowed. "UPDATE(column)", the test of a trigger, is no statement at all.
void Ttsqlsparser::scan_update_head() {
    if (recall_token()) return;
    const std::int32_t start = token_pos;
    const std::int32_t word_end = start + token_len;
    const std::uint8_t saved_error = error_code;
    const std::int32_t saved_error_pos = error_pos;
    const std::int32_t next = next_significant(word_end);
    token_kind head = tk_sql_update;
    std::int32_t end = word_end;
    if (at(next) == '(') {
        head = tk_word;
    } else if (const std::int32_t set_end = end_of_set(next); set_end > 0) {
        end = set_end;
    }
    error_code = saved_error;
    error_pos = saved_error_pos;
    remember_measured(start, end - start, head);
}

// Just past the SET that ends an UPDATE's head, read from `pos` on; 0 when another statement
// or the end of the text comes first.
std::int32_t Ttsqlsparser::end_of_set(std::int32_t pos) {
    for (;;) {
        if (starts_tsql_word(at(pos))) {
            const std::int32_t len = word_length(pos, continues_tsql_word);
            const token_kind k = keyword_at(pos, len);
            if (k == tk_set) return pos + len;
            if (ends_unterminated_statement(k)) return 0;
            pos += len;
        } else {
            token_pos = pos;
            scan();
            if (ends_unterminated_statement(kind)) return 0;
            pos = token_pos + token_len;
        }
    }
}

bool Ttsqlsparser::parse_statements(bool block) {
    nesting_guard guard(*this);
    bool single = false;
    if (!block) {
        if (kind == tk_begin || kind == tk_try || kind == tk_handler || kind == tk_space) {
            advance();
        } else {
            single = true;
        }
    }
    whole_range("<statement>");
    int depth = 0;
    pending_code code;
    for (;;) {
        // Set when a statement or a structure has just ended at the current token.
        bool ended = true;
        switch (kind) {
            case tk_bad_char:
            case tk_bad_comment:
            case tk_bad_string:
            case tk_space:
            case tk_comment:
                advance();
                ended = false;
                break;
            case tk_eof:
                return close_sequence(code);
            case tk_else:
                if (single) return close_sequence(code);
                advance();
                ended = false;
                break;
            case tk_end:
                if (single || depth == 0) return close_sequence(code);
                advance();
                --depth;
                ended = false;
                break;
            case tk_begin:
            case tk_try:
            case tk_handler:
                // BEGIN TRY and BEGIN CATCH are blocks like any other: their END closes them.
                // They leave no handler item.
                advance();
                ++depth;
                ended = false;
                break;
            case tk_word:
            case tk_set:
            case tk_sql_update:
            case tk_raise:
            case tk_sql:
                open_code(code);
                code.end = skip_until(15);
                break;
            case tk_return:
                write_jump(code, "<return/>", 15);
                break;
            case tk_goto:
                // The jump ends with its label's name; the statement after it is read as any
                // other, not stepped over.
                write_jump(code, "<goto/>", 16);
                break;
            case tk_break:
            case tk_continue:
                flush(code);
                whole_range(kind == tk_break ? "<break/>" : "<continue/>");
                break;
            case tk_label:
                write_label(code);
                ended = false;
                break;
            case tk_if:
                conditional(code);
                break;
            case tk_while:
                loop(code);
                break;
            default:
                set_error(err_in_statement);
                advance();
                ended = false;
                break;
        }
        if (!ended) continue;
        if (single) return close_sequence(code);
        advance();
    }
}

// IF with its condition up to the next statement keyword, a then-branch and maybe an
// else-branch, each one statement or a BEGIN ... END block. A T-SQL sequence always closes,
// at the end of the text too, so the branches cannot fail.
void Ttsqlsparser::conditional(pending_code& code) {
    flush(code);
    open_range("<if>");
    close_by_skip(15);
    advance();
    parse_statements(false);
    const std::int32_t branch_end_pos = token_pos;
    const std::int32_t branch_end_len = token_len;
    const token_kind branch_end_kind = kind;
    if (advance() == tk_else) {
        advance();
        parse_statements(false);
    } else {
        token_pos = branch_end_pos;
        token_len = branch_end_len;
        kind = branch_end_kind;
    }
    whole_range("</if>");
}

void Ttsqlsparser::loop(pending_code& code) {
    flush(code);
    open_range("<whiledo>");
    close_by_skip(15);
    advance();
    parse_statements(false);
    whole_range("</whiledo>");
}

}  // namespace tarnwell
