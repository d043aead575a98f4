#!/usr/bin/env python3
"""Compares the markups two builds of tarnwell-cli give for the same texts: every text that
the old build charts completely (a success whose markup reaches the last line of code) must
give byte-identical output from the new one. The texts are the parser fixtures of the tests,
a generated corpus of nested constructs per language, and real function bodies where Debian
ships sources of the language (see measure_charting.py).

    scripts/compare_markups.py --old OLD_CLI --new NEW_CLI [--count N] [LANGUAGE...]
"""

import argparse
import json
import os
import random
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import measure_charting  # noqa: E402

FIXTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data",
                        "parsers")
FIXTURE_LANGUAGES = {".pas": "pas", ".sql": "plsql", ".vb": "vbnet", ".prg": "foxpro"}
REAL_CODE = {"pas": ["/usr/share/fpcsrc"], "plsql": ["/usr/share/postgresql"]}
# Constructs whose charts were changed on purpose: texts holding them are counted apart.
CHANGED_ON_PURPOSE = {
    "pas": rb"(?i)\basm\b",
    "plsql": rb"(?im)^\s*(continue|case|foreach)\b",
    "vbnet": rb"(?m)(^|[^\w])_\w",
    "foxpro": rb"(?im)^\s*(next|text)\b",
}


class Generator:
    """Random, repeatable statement sequences in the style of one language."""

    def __init__(self, seed):
        self.random = random.Random(seed)

    def pick(self, *choices):
        return self.random.choice(choices)

    def name(self):
        return self.pick("x", "total", "i", "Count", "item_no", "flag")

    def sequence(self, language, depth, indent):
        count = self.random.randint(1, 4)
        return "".join(self.statement(language, depth, indent) for _ in range(count))

    def statement(self, language, depth, indent):
        structured = depth > 0 and self.random.random() < 0.45
        make = getattr(self, language + "_structure" if structured else language + "_simple")
        return make(depth - 1, indent) if structured else make(indent)

    # Pascal: statements end with ";", blocks are BEGIN ... END.
    def pas_simple(self, ind):
        return ind + self.pick("%s := %s + 1;" % (self.name(), self.name()),
                               "WriteLn('a;b', %s);" % self.name(), "Inc(%s);" % self.name(),
                               "Exit;", "Result := f(%s, [1, 2]);" % self.name(),
                               "{ note } %s := #13#10;" % self.name()) + "\n"

    def pas_block(self, d, ind):
        return "begin\n" + self.sequence("pas", d, ind + "  ") + ind + "end"

    def pas_structure(self, d, ind):
        kind = self.random.randint(0, 5)
        if kind == 0:
            text = ind + "if %s > 0 then\n%s  %s" % (self.name(), ind, self.pas_block(d, ind + "  "))
            if self.random.random() < 0.5:
                text += "\n" + ind + "else\n" + ind + "  " + self.pas_block(d, ind + "  ")
            return text + ";\n"
        if kind == 1:
            return ind + "for i := 0 to %s - 1 do\n%s  %s;\n" % (
                self.name(), ind, self.pas_block(d, ind + "  "))
        if kind == 2:
            return ind + "while %s do\n%s  %s;\n" % (self.name(), ind,
                                                      self.pas_block(d, ind + "  "))
        if kind == 3:
            return ind + "repeat\n" + self.sequence("pas", d, ind + "  ") + ind + "until x;\n"
        if kind == 4:
            return (ind + "case %s of\n" % self.name() + ind + "  1: " +
                    self.pas_block(d, ind + "  ") + ";\n" + ind + "else\n" +
                    self.sequence("pas", d, ind + "  ") + ind + "end;\n")
        return (ind + "try\n" + self.sequence("pas", d, ind + "  ") + ind +
                self.pick("except\n", "finally\n") + self.sequence("pas", d, ind + "  ") + ind +
                "end;\n")

    # PL/SQL and PL/pgSQL.
    def plsql_simple(self, ind):
        return ind + self.pick("%s := %s + 1;" % (self.name(), self.name()),
                               "SELECT a INTO %s FROM t WHERE b = 'x;y';" % self.name(),
                               "RAISE NOTICE 'n %%', %s;" % self.name(), "NULL;",
                               "RETURN %s;" % self.name(), "-- note\n" + ind + "PERFORM f();",
                               "UPDATE t SET a = 1 WHERE b = %s;" % self.name()) + "\n"

    def plsql_structure(self, d, ind):
        kind = self.random.randint(0, 4)
        inner = ind + "  "
        if kind == 0:
            text = ind + "IF %s > 1 THEN\n" % self.name() + self.sequence("plsql", d, inner)
            if self.random.random() < 0.5:
                text += ind + "ELSIF %s THEN\n" % self.name() + self.sequence("plsql", d, inner)
            if self.random.random() < 0.5:
                text += ind + "ELSE\n" + self.sequence("plsql", d, inner)
            return text + ind + "END IF;\n"
        if kind == 1:
            return (ind + "FOR r IN SELECT * FROM t LOOP\n" + self.sequence("plsql", d, inner) +
                    ind + "END LOOP;\n")
        if kind == 2:
            return (ind + "WHILE %s < 10 LOOP\n" % self.name() +
                    self.sequence("plsql", d, inner) + ind + "END LOOP;\n")
        if kind == 3:
            return (ind + "LOOP\n" + self.sequence("plsql", d, inner) + inner +
                    "EXIT WHEN x > 3;\n" + ind + "END LOOP;\n")
        return (ind + "BEGIN\n" + self.sequence("plsql", d, inner) + ind +
                "EXCEPTION\n" + ind + "  WHEN others THEN\n" +
                self.sequence("plsql", d, inner + "  ") + ind + "END;\n")

    # T-SQL: statements end where the next statement keyword begins.
    def tsql_simple(self, ind):
        return ind + self.pick("SET @%s = @%s + 1" % (self.name(), self.name()),
                               "SELECT a FROM t WHERE b = 'x'", "PRINT 'done'", "RETURN",
                               "EXEC dbo.f @a = 1", "INSERT INTO t (a) VALUES (1)",
                               "-- note\n" + ind + "DELETE FROM t") + "\n"

    def tsql_block(self, d, ind):
        return ind + "BEGIN\n" + self.sequence("tsql", d, ind + "  ") + ind + "END\n"

    def tsql_structure(self, d, ind):
        kind = self.random.randint(0, 2)
        if kind == 0:
            text = ind + "IF @%s > 1\n" % self.name() + self.tsql_block(d, ind)
            if self.random.random() < 0.5:
                text += ind + "ELSE\n" + self.tsql_block(d, ind)
            return text
        if kind == 1:
            return ind + "WHILE @i < 10\n" + self.tsql_block(d, ind)
        return (ind + "BEGIN TRY\n" + self.sequence("tsql", d, ind + "  ") + ind +
                "END TRY\n" + ind + "BEGIN CATCH\n" + self.sequence("tsql", d, ind + "  ") +
                ind + "END CATCH\n")

    # Visual Basic .NET.
    def vbnet_simple(self, ind):
        return ind + self.pick("%s = %s + 1" % (self.name(), self.name()),
                               "Console.WriteLine(\"a\" & %s)" % self.name(),
                               "Dim s As String = \"x\"", "Return %s" % self.name(),
                               "' note", "Call f(a, _\n%s    b)" % ind,
                               "x += 1 ' trailing") + "\n"

    def vbnet_structure(self, d, ind):
        kind = self.random.randint(0, 5)
        inner = ind + "    "
        if kind == 0:
            text = ind + "If %s > 0 Then\n" % self.name() + self.sequence("vbnet", d, inner)
            if self.random.random() < 0.5:
                text += ind + "ElseIf %s Then\n" % self.name() + self.sequence("vbnet", d, inner)
            if self.random.random() < 0.5:
                text += ind + "Else\n" + self.sequence("vbnet", d, inner)
            return text + ind + "End If\n"
        if kind == 1:
            return (ind + "For i = 1 To %s\n" % self.name() + self.sequence("vbnet", d, inner) +
                    ind + "Next\n")
        if kind == 2:
            return (ind + "Do While %s\n" % self.name() + self.sequence("vbnet", d, inner) +
                    ind + "Loop\n")
        if kind == 3:
            return (ind + "While %s\n" % self.name() + self.sequence("vbnet", d, inner) + ind +
                    "End While\n")
        if kind == 4:
            return (ind + "Select Case %s\n" % self.name() + ind + "    Case 1\n" +
                    self.sequence("vbnet", d, inner + "    ") + ind + "    Case Else\n" +
                    self.sequence("vbnet", d, inner + "    ") + ind + "End Select\n")
        return (ind + "Try\n" + self.sequence("vbnet", d, inner) + ind +
                "Catch ex As Exception\n" + self.sequence("vbnet", d, inner) + ind +
                "End Try\n")

    # Visual FoxPro.
    def foxpro_simple(self, ind):
        return ind + self.pick("%s = %s + 1" % (self.name(), self.name()), "? \"total\", x",
                               "* note", "x = f(1) && trailing", "RETURN %s" % self.name(),
                               "REPLACE a WITH b", "WAIT WINDOW \"x\"") + "\n"

    def foxpro_structure(self, d, ind):
        kind = self.random.randint(0, 4)
        inner = ind + "   "
        if kind == 0:
            text = ind + "IF %s > 0\n" % self.name() + self.sequence("foxpro", d, inner)
            if self.random.random() < 0.5:
                text += ind + "ELSE\n" + self.sequence("foxpro", d, inner)
            return text + ind + "ENDIF\n"
        if kind == 1:
            return (ind + "FOR i = 1 TO 10\n" + self.sequence("foxpro", d, inner) + ind +
                    "ENDFOR\n")
        if kind == 2:
            return (ind + "DO WHILE %s\n" % self.name() + self.sequence("foxpro", d, inner) +
                    ind + "ENDDO\n")
        if kind == 3:
            return (ind + "DO CASE\n" + ind + "CASE x = 1\n" + self.sequence("foxpro", d, inner) +
                    ind + "OTHERWISE\n" + self.sequence("foxpro", d, inner) + ind + "ENDCASE\n")
        return ind + "SCAN\n" + self.sequence("foxpro", d, inner) + ind + "ENDSCAN\n"


def texts(language, count, seed):
    for name in sorted(os.listdir(FIXTURES)):
        if FIXTURE_LANGUAGES.get(os.path.splitext(name)[1]) == language:
            with open(os.path.join(FIXTURES, name), "rb") as f:
                yield f.read()
    generator = Generator(seed)
    for _ in range(count):
        yield generator.sequence(language, 3, "").encode()
    roots = [r for r in REAL_CODE.get(language, []) if os.path.exists(r)]
    if roots:
        for _, _, body in measure_charting.collect(language, roots, count):
            yield body


def run(cli, language, text):
    done = subprocess.run([cli, "markup", "--lang", language, "-"], input=text,
                          capture_output=True, timeout=60)
    return done.stdout


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--old", required=True)
    parser.add_argument("--new", required=True)
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--seed", type=int, default=20)
    parser.add_argument("languages", nargs="*",
                        default=["pas", "plsql", "tsql", "vbnet", "foxpro"])
    args = parser.parse_args()
    changed = 0
    for language in args.languages:
        comments = measure_charting.LANGUAGES[language][4]
        on_purpose = CHANGED_ON_PURPOSE.get(language)
        compared = skipped = 0
        for text in texts(language, args.count, args.seed):
            if on_purpose and re.search(on_purpose, text):
                skipped += 1
                continue
            old = run(args.old, language, text)
            result = json.loads(old)
            reach = max((int(e) for _, e in measure_charting.RANGE.findall(result["markup"])),
                        default=0)
            if not result["ok"] or reach < measure_charting.last_code_offset(text, comments):
                continue
            compared += 1
            new = run(args.new, language, text)
            if new != old:
                changed += 1
                print("== %s changed:\n%s\n-- old: %s\n-- new: %s" %
                      (language, text.decode(errors="replace"), old.decode(), new.decode()))
        print("%-6s %d texts that chart completely compared, %d left out as changed on purpose" %
              (language, compared, skipped))
    print("changed: %d" % changed)
    return 1 if changed else 0


if __name__ == "__main__":
    sys.exit(main())
