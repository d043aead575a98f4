#!/usr/bin/env python3
"""Records and checks the markup of a generated corpus of function bodies.

A parser change must leave the chart of every text that already charted completely exactly as
it was. This script writes, per brace language, bodies built from a fixed random seed (plus
the parser fixtures of tests/data/parsers), charts each with tarnwell-cli and keeps the ones
that chart without error in tests/data/parsers/markup_baseline.txt, which the parsers' test
suite reads back and compares byte for byte.

    scripts/markup_corpus.py record CLI   # rewrite the baseline with the charts of CLI
    scripts/markup_corpus.py check CLI    # list the texts whose chart CLI changes
"""
import json
import os
from concurrent.futures import ThreadPoolExecutor
import random
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BASELINE = os.path.join(ROOT, "tests", "data", "parsers", "markup_baseline.txt")
FIXTURES = os.path.join(ROOT, "tests", "data", "parsers")
PER_LANGUAGE = 150
FIXTURE_LANGUAGES = {".cs": "cs", ".php": "php", ".pl": "perl", ".bas": "bas", ".vb": "vbnet",
                     ".vbs": "vbs", ".prg": "foxpro", ".pb": "pb", ".cls": "vb", ".c": "c",
                     ".java": "java"}


class Brace:
    """Bodies of a brace language; subclasses give the spelling of names and statements."""

    def __init__(self, rng):
        self.rng = rng

    def var(self):
        return self.rng.choice(["a", "b", "count", "total", "item", "n", "result"])

    def expr(self):
        r = self.rng
        return r.choice([
            self.var(), str(r.randint(0, 99)), f"{self.var()} + {r.randint(1, 9)}",
            f"{self.call()}", f"{self.var()} * ({self.var()} - 1)",
            f'"{r.choice(["x", "a;b", "{}", "it is", "(", "//"])}"',
        ])

    def call(self):
        return f"{self.rng.choice(['f', 'g', 'compute', 'check'])}({self.var()}, {self.var()})"

    def cond(self):
        return self.rng.choice([f"{self.var()} > {self.rng.randint(0, 9)}", self.var(),
                                f"!{self.call()}", f"{self.var()} == {self.var()} && {self.var()}"])

    def assign(self):
        return f"{self.var()} = {self.expr()};"

    def simple(self):
        r = self.rng.random()
        if r < 0.45:
            return self.assign()
        if r < 0.75:
            return self.call() + ";"
        if r < 0.85:
            return f"{self.var()}++;"
        return self.comment() + "\n" + self.assign()

    def comment(self):
        return self.rng.choice(["// note: it's fine", "/* block { comment } */", "// x = 1;"])

    def block(self, depth, indent):
        lines = [self.statement(depth, indent + "    ") for _ in range(self.rng.randint(1, 3))]
        return "{\n" + "\n".join(lines) + "\n" + indent + "}"

    def statement(self, depth, indent):
        r = self.rng
        kinds = ["simple"] * 4
        if depth < 2:
            kinds += ["if", "ifelse", "while", "for", "do", "switch", "try"]
        kinds += ["return", "break"]
        k = r.choice(kinds)
        if k == "simple":
            body = self.simple()
        elif k == "if":
            body = f"if ({self.cond()}) {self.block(depth + 1, indent)}"
        elif k == "ifelse":
            tail = r.choice([self.block(depth + 1, indent),
                             f"if ({self.cond()}) {self.block(depth + 1, indent)}",
                             self.simple()])
            body = f"if ({self.cond()}) {self.block(depth + 1, indent)} else {tail}"
        elif k == "while":
            body = f"while ({self.cond()}) {self.block(depth + 1, indent)}"
        elif k == "for":
            body = self.for_loop(depth, indent)
        elif k == "do":
            body = f"do {self.block(depth + 1, indent)} while ({self.cond()});"
        elif k == "switch":
            cases = []
            for i in range(r.randint(1, 3)):
                cases.append(f"{indent}case {i}:\n{indent}    {self.simple()}\n{indent}    break;")
            cases.append(f"{indent}default:\n{indent}    {self.simple()}")
            body = f"switch ({self.var()}) {{\n" + "\n".join(cases) + f"\n{indent}}}"
        elif k == "try":
            body = (f"try {self.block(depth + 1, indent)} catch ({self.catch_param()}) "
                    f"{self.block(depth + 1, indent)}")
        elif k == "return":
            body = f"return {self.expr()};"
        else:
            body = r.choice(["break;", "continue;"])
        return indent + body

    def for_loop(self, depth, indent):
        return f"for (i = 0; i < {self.var()}; i++) {self.block(depth + 1, indent)}"

    def catch_param(self):
        return "Exception e"

    def body(self):
        statements = [self.statement(0, "    ") for _ in range(self.rng.randint(1, 5))]
        return "\n".join(statements) + "\n" + self.rng.choice(["", "}\n"])


class C(Brace):
    def assign(self):
        return self.rng.choice([f"{self.var()} = {self.expr()};",
                                f"int {self.var()} = {self.expr()};",
                                f"p->{self.var()} = {self.expr()};"])

    def catch_param(self):
        return "..."


class Java(Brace):
    def for_loop(self, depth, indent):
        return self.rng.choice([
            f"for (int i = 0; i < n; i++) {self.block(depth + 1, indent)}",
            f"for (String s : {self.var()}) {self.block(depth + 1, indent)}"])

    def assign(self):
        return self.rng.choice([f"{self.var()} = {self.expr()};",
                                f"final int {self.var()} = {self.expr()};",
                                f"this.{self.var()} = new Item({self.expr()});"])


class JavaScript(Brace):
    def assign(self):
        return self.rng.choice([f"{self.var()} = {self.expr()};",
                                f"let {self.var()} = {self.expr()};",
                                f"const {self.var()} = [1, 2].map(x => x + 1);",
                                f"const {self.var()} = {{ k: 1, v: {self.var()} }};"])

    def for_loop(self, depth, indent):
        return self.rng.choice([
            f"for (let i = 0; i < n; i++) {self.block(depth + 1, indent)}",
            f"for (const k of {self.var()}) {self.block(depth + 1, indent)}"])

    def catch_param(self):
        return "e"


class CSharp(Brace):
    def for_loop(self, depth, indent):
        return self.rng.choice([
            f"for (int i = 0; i < n; i++) {self.block(depth + 1, indent)}",
            f"foreach (var x in {self.var()}) {self.block(depth + 1, indent)}"])

    def assign(self):
        return self.rng.choice([f"{self.var()} = {self.expr()};",
                                f"var {self.var()} = new List<int>();",
                                f"{self.var()} += {self.expr()};"])


class Php(Brace):
    def var(self):
        return "$" + super().var()

    def call(self):
        return f"{self.rng.choice(['f', 'strlen', 'count'])}({self.var()})"

    def for_loop(self, depth, indent):
        return self.rng.choice([
            f"for ($i = 0; $i < $n; $i++) {self.block(depth + 1, indent)}",
            f"foreach ({self.var()} as $k => $v) {self.block(depth + 1, indent)}"])

    def comment(self):
        return self.rng.choice(["// note", "# hash note", "/* block */"])


class Perl(Brace):
    def var(self):
        return self.rng.choice(["$a", "$b", "@list", "$count", "%seen", "$self->{n}"])

    def call(self):
        return f"{self.rng.choice(['f', 'check', 'join'])}({self.var()})"

    def assign(self):
        return self.rng.choice([f"my $x = {self.expr()};", f"$x = {self.expr()};",
                                f"print {self.var()} if {self.cond()};",
                                f"push @list, {self.var()};"])

    def cond(self):
        return self.rng.choice(["$a > 1", "$b", "defined $x", "$x =~ /ab+c/"])

    def comment(self):
        return "# it's a note"

    def statement(self, depth, indent):
        r = self.rng
        if depth < 2 and r.random() < 0.3:
            k = r.choice(["if", "unless", "while", "foreach", "elsif"])
            if k == "foreach":
                return f"{indent}foreach my $x (@list) {self.block(depth + 1, indent)}"
            if k == "elsif":
                return (f"{indent}if ({self.cond()}) {self.block(depth + 1, indent)} elsif "
                        f"({self.cond()}) {self.block(depth + 1, indent)} else "
                        f"{self.block(depth + 1, indent)}")
            return f"{indent}{k} ({self.cond()}) {self.block(depth + 1, indent)}"
        return indent + r.choice([self.simple(), "return $x;", "next if $a;", "last;"])


LANGUAGES = [("c", C), ("java", Java), ("js", JavaScript), ("cs", CSharp), ("php", Php),
             ("perl", Perl)]


def corpus():
    """(language, name, text) of every text the baseline covers."""
    for lang, maker in LANGUAGES:
        generator = maker(random.Random(f"tarnwell-{lang}"))
        for i in range(PER_LANGUAGE):
            yield lang, f"{lang}-{i}", generator.body()
    for name in sorted(os.listdir(FIXTURES)):
        lang = FIXTURE_LANGUAGES.get(os.path.splitext(name)[1])
        if lang:
            with open(os.path.join(FIXTURES, name), "rb") as f:
                yield lang, name, f.read().decode("latin-1")


def chart(cli, lang, text):
    run = subprocess.run([cli, "markup", "--lang", lang, "-"], input=text.encode("latin-1"),
                         capture_output=True, check=False)
    return json.loads(run.stdout.decode("latin-1"))


def escape(text):
    return (text.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r")
            .replace("\t", "\\t").replace("\001", "\\1"))


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r", "t": "\t", "1": "\001"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def charts(cli, texts):
    with ThreadPoolExecutor(max_workers=2) as pool:
        return list(pool.map(lambda t: chart(cli, t[0], t[-1]), texts))


def record(cli):
    kept = 0
    texts = list(corpus())
    with open(BASELINE, "w", encoding="latin-1", newline="\n") as out:
        out.write("# language, text, markup: written by scripts/markup_corpus.py record\n")
        for (lang, _, text), result in zip(texts, charts(cli, texts)):
            if not result["ok"]:
                continue
            out.write(f"{lang}\n{escape(text)}\n{escape(result['markup'])}\n")
            kept += 1
    print(f"{kept} texts chart completely; baseline written to {BASELINE}")


def check(cli):
    with open(BASELINE, encoding="latin-1") as f:
        lines = f.read().split("\n")[1:]
    changed = 0
    cases = [(lines[i], unescape(lines[i + 2]), unescape(lines[i + 1]))
             for i in range(0, len(lines) - 2, 3)]
    for (lang, markup, text), result in zip(cases, charts(cli, cases)):
        if result["markup"] != markup or not result["ok"]:
            changed += 1
            print(f"{lang}: {text[:60]!r}: {result['message']}")
    print(f"{changed} of {len(lines) // 3} charts changed")
    return 1 if changed else 0


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("record", "check"):
        sys.exit(__doc__)
    sys.exit(record(sys.argv[2]) if sys.argv[1] == "record" else check(sys.argv[2]))
