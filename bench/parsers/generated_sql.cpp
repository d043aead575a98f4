#include "generated_sql.h"

#include <algorithm>
#include <string_view>

namespace tarnwell::bench {

namespace {

constexpr std::string_view plsql_statements =
    "  v_total := compute(a, f(g(1)), 'text ( with ; END IF', q);  -- line comment\n"
    "  /* block\n"
    "     comment */\n"
    "  <<retry>>\n"
    "  IF v_total > 0 AND check_it(v_total) THEN\n"
    "    v_total := v_total * 2;\n"
    "  ELSIF v_total < -5 THEN\n"
    "    v_total := -v_total;\n"
    "  ELSE\n"
    "    v_total := 0;\n"
    "  END IF;\n"
    "  FOR i IN 1..n LOOP\n"
    "    EXIT WHEN items(i) = key;\n"
    "    total := total + items(i);\n"
    "  END LOOP;\n"
    "  WHILE queue.count > 0 LOOP\n"
    "    step(queue);\n"
    "  END LOOP;\n"
    "  LOOP\n"
    "    n := n - 1;\n"
    "    EXIT retry WHEN n <= 0;\n"
    "  END LOOP;\n"
    "  FORALL j IN 1..m\n"
    "    UPDATE orders SET closed = 'Y' WHERE id = ids(j);\n"
    "  BEGIN\n"
    "    risky;\n"
    "  EXCEPTION\n"
    "    WHEN no_data_found THEN\n"
    "      report('none');\n"
    "    WHEN OTHERS THEN\n"
    "      RAISE;\n"
    "  END;\n"
    "  DELETE FROM log WHERE day < SYSDATE - 30;\n"
    "  IF attempts < 3 THEN GOTO retry; END IF;\n"
    "  IF fatal THEN RETURN; END IF;\n";

constexpr std::string_view tsql_statements =
    "    SET @total = dbo.compute(@a, f(g(1)), 'text ( with ; END'); -- line comment\n"
    "    /* block\n"
    "       comment */\n"
    "retry:\n"
    "    IF @total > 0 AND dbo.check_it(@total) = 1\n"
    "    BEGIN\n"
    "        SET @total = @total * 2;\n"
    "    END\n"
    "    ELSE IF @total < -5\n"
    "        SET @total = -@total;\n"
    "    ELSE\n"
    "        SET @total = 0;\n"
    "    WHILE @n > 0\n"
    "    BEGIN\n"
    "        IF @n = @key BREAK;\n"
    "        IF @n % 2 = 0 CONTINUE;\n"
    "        SET @n = @n - 1;\n"
    "    END\n"
    "    UPDATE o SET closed = CASE WHEN o.total > 0 THEN 1 ELSE 0 END\n"
    "    FROM orders o WHERE o.day = @day;\n"
    "    BEGIN TRY\n"
    "        EXEC dbo.risky @total;\n"
    "    END TRY\n"
    "    BEGIN CATCH\n"
    "        RAISERROR('failed', 16, 1);\n"
    "    END CATCH\n"
    "    IF @attempts < 3 GOTO retry;\n"
    "    IF @fatal = 1 RETURN -1;\n";

// `head`, then copies of `statements` up to about `lines` lines, then `tail`.
std::string procedure(std::string_view head, std::string_view statements, std::string_view tail,
                      int lines) {
    const auto per_copy = static_cast<int>(std::count(statements.begin(), statements.end(), '\n'));
    std::string text(head);
    for (int written = 0; written < lines; written += per_copy) text += statements;
    return text.append(tail);
}

}  // namespace

std::string generated_plsql_block(int lines) {
    return procedure("BEGIN\n", plsql_statements, "END;\n", lines);
}

std::string generated_tsql_procedure(int lines) {
    return procedure("CREATE PROCEDURE dbo.p AS\nBEGIN\n", tsql_statements, "    RETURN 0;\nEND\n",
                     lines);
}

}  // namespace tarnwell::bench
