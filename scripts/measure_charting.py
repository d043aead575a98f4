#!/usr/bin/env python3
"""Charts function bodies cut from real code and counts, per language, how many chart and
how many successes leave the end of the marked code uncharted.

A body is the text between a function's opening and closing delimiter lines ("{" and "}",
BEGIN and END), cut by whole lines the way a user marks it in the editor. Functions are
found with universal-ctags where it knows the language, else by the delimiter lines alone;
the closing line is the first later line that starts with the closer at the same indentation
as the opener, so only bodies whose layout makes their extent plain are taken.
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
import zipfile

C_COMMENTS = rb"/\*.*?\*/|//[^\n]*"

# Per language: the tarnwell language name, the ctags language and kinds that are functions,
# the file name patterns, and the comments (for the end-of-code check).
LANGUAGES = {
    "c": ("c", "C", "f", (".h", ".c"), C_COMMENTS),
    "cpp": ("cpp", "C++", "f", (".h", ".hpp", ".tcc", ""), C_COMMENTS),
    "java": ("java", "Java", "m", (".java",), C_COMMENTS),
    "js": ("js", "JavaScript", "fmgGS", (".js", ".mjs", ".cjs"), C_COMMENTS),
    "cs": ("cs", "C#", "m", (".cs",), C_COMMENTS),
    "php": ("php", "PHP", "f", (".php",), C_COMMENTS + rb"|#[^\n]*"),
    "perl": ("perl", "Perl", "s", (".pm", ".pl"), rb"(?m)^\s*#[^\n]*|^=\w.*?^=cut[^\n]*"),
    "pas": ("pas", "Pascal", "fp", (".pas", ".pp", ".inc"), rb"\{[^}]*\}|\(\*.*?\*\)|//[^\n]*"),
    "plsql": ("plsql", None, None, (".sql",), rb"/\*.*?\*/|--[^\n]*"),
    "tsql": ("tsql", None, None, (), rb"/\*.*?\*/|--[^\n]*"),
    "vbnet": ("vbnet", None, None, (), rb"'[^\n]*"),
    "foxpro": ("foxpro", None, None, (), rb"(?m)^\s*\*[^\n]*|&&[^\n]*"),
    "python": ("python", None, None, (".py",), rb"#[^\n]*"),
    "ts": ("ts", None, None, (".ts",), C_COMMENTS),
    "tsx": ("tsx", None, None, (".tsx",), C_COMMENTS),
    "go": ("go", None, None, (".go",), C_COMMENTS),
    "rust": ("rust", None, None, (".rs",), C_COMMENTS),
    "kotlin": ("kotlin", None, None, (".kt", ".kts"), C_COMMENTS),
    "swift": ("swift", None, None, (".swift",), C_COMMENTS),
    "ruby": ("ruby", None, None, (".rb", ".rake"), rb"(?m)#[^\n]*|^=begin.*?^=end[^\n]*"),
    "scala": ("scala", None, None, (".scala", ".sc"), C_COMMENTS),
    "lua": ("lua", None, None, (".lua",), rb"--\[(=*)\[.*?\]\1\]|--[^\n]*"),
    "bash": ("bash", None, None, (".sh", ".bash", ""), rb"(?m)(?:^|(?<=\s))#[^\n]*"),
    "powershell": ("powershell", None, None, (".ps1", ".psm1"), rb"<#.*?#>|#[^\n]*"),
}

# The syntax-tree languages are cut where the code explorer cuts them: the body lines that
# `tarnwell-cli procs` lists, which a click in the explorer marks.
TREE_LANGUAGES = ("python", "ts", "tsx", "go", "rust", "kotlin", "swift", "ruby", "scala", "lua",
                  "bash", "powershell")

# Test data that is broken on purpose, and declaration files, which hold no bodies.
EXCLUDED = {"c": "/c++/", "go": "/testdata/", "python": "/lib2to3/tests/data/", "ts": ".d.ts",
            "kotlin": "/testData/", "scala": "/test/"}

MAX_FILE_BYTES = 2_000_000


def source_files(roots, suffixes, excluded, limit):
    found = []
    for root in roots:
        if os.path.isfile(root):
            found.append(root)
            continue
        for folder, dirs, files in os.walk(root):
            dirs.sort()
            for name in sorted(files):
                path = os.path.join(folder, name)
                if excluded and excluded in path:
                    continue
                stem, ext = os.path.splitext(name)
                if "" in suffixes and ext == "" and not name.startswith("."):
                    found.append(path)
                elif ext and ext in suffixes:
                    found.append(path)
    found = [p for p in found if os.path.getsize(p) <= MAX_FILE_BYTES]
    return spread(found, limit)


def spread(items, limit):
    """An even, repeatable selection of at most `limit` items."""
    if len(items) <= limit:
        return items
    step = len(items) / limit
    return [items[int(i * step)] for i in range(limit)]


def read_lines(path):
    with open(path, "rb") as f:
        data = f.read()
    if b"\0" in data:
        return None
    return data.split(b"\n")


def indent_of(line):
    return line[: len(line) - len(line.lstrip(b" \t"))]


def closing_line(lines, opener, closer_re):
    """The index of the first line after `opener` that starts with the closer at the
    opener's indentation; None when a line at a smaller indentation comes first."""
    indent = indent_of(lines[opener])
    for i in range(opener + 1, len(lines)):
        line = lines[i].rstrip(b"\r")
        if not line.strip():
            continue
        own = indent_of(line)
        if own == indent and closer_re.match(line[len(own):]):
            return i
        if len(own) < len(indent) and not line.lstrip().startswith((b"#", b"//", b"*", b"/*")):
            return None
    return None


BRACE_CLOSE = re.compile(rb"^\}")
BEGIN_LINE = re.compile(rb"^\s*begin\s*$", re.I)
END_LINE = re.compile(rb"^end\s*;?\s*(--.*|//.*|\{[^}]*\})?\s*$", re.I)


def ctags_starts(paths, ctags_language, kinds):
    """Function start lines per file from universal-ctags."""
    if not paths:
        return {}
    args = ["ctags", "--output-format=json", "--fields=+n", "-f", "-",
            "--languages=" + ctags_language, "--language-force=" + ctags_language,
            "--kinds-" + ctags_language + "=" + kinds, "-L", "-"]
    done = subprocess.run(args, input="\n".join(paths).encode(), capture_output=True)
    starts = {}
    for raw in done.stdout.splitlines():
        try:
            tag = json.loads(raw)
        except ValueError:
            continue
        if tag.get("_type") == "tag" and "line" in tag:
            starts.setdefault(tag["path"], set()).add(tag["line"] - 1)
    return starts


def brace_bodies(lines, start):
    """The body after a function header at line `start`: from the line after the first line
    that ends with "{" to the line before its closing "}"."""
    for i in range(start, min(start + 12, len(lines))):
        code = lines[i].rstrip(b"\r").rstrip()
        if code.endswith(b"{"):
            end = closing_line(lines, i, BRACE_CLOSE)
            return (i + 1, end) if end is not None else None
        if code.endswith((b";", b"}")) and i > start:
            return None
    return None


def pascal_bodies(lines, start):
    """The body of a routine whose header is at line `start`: between its BEGIN line and the
    END line at the same indentation, passing over nested routines and declarations."""
    indent = indent_of(lines[start])
    for i in range(start + 1, min(start + 400, len(lines))):
        line = lines[i].rstrip(b"\r")
        if BEGIN_LINE.match(line) and indent_of(line) == indent:
            end = closing_line(lines, i, END_LINE)
            return (i + 1, end) if end is not None else None
    return None


DOLLAR_QUOTE = re.compile(rb"\$([A-Za-z_]*)\$")


def plpgsql_bodies(lines):
    """The bodies of the PL/pgSQL functions of a script: inside each dollar-quoted function
    text that the LANGUAGE plpgsql clause names, the lines between its outer BEGIN and END."""
    text = b"\n".join(lines)
    bodies = []
    pos = 0
    while True:
        opening = DOLLAR_QUOTE.search(text, pos)
        if not opening:
            break
        closing = text.find(opening.group(0), opening.end())
        if closing < 0:
            break
        pos = closing + len(opening.group(0))
        tail = text[pos:pos + 200].lower()
        head = text[max(0, opening.start() - 200):opening.start()].lower()
        if b"plpgsql" not in tail.split(b";")[0] and b"plpgsql" not in head.split(b";")[-1]:
            continue
        first_line = text.count(b"\n", 0, opening.end())
        last_line = text.count(b"\n", 0, closing)
        # The outer block: its first BEGIN line and the last END line at its indentation.
        begin = next((i for i in range(first_line, last_line + 1)
                      if BEGIN_LINE.match(lines[i].rstrip(b"\r"))), None)
        if begin is None:
            continue
        indent = indent_of(lines[begin])
        end = next((i for i in range(last_line, begin, -1)
                    if indent_of(lines[i]) == indent and
                    END_LINE.match(lines[i].rstrip(b"\r")[len(indent):])), None)
        if end is not None:
            bodies.append((begin + 1, end))
    return bodies


def procs_bodies(cli, tarnwell_lang, path):
    """The functions that `tarnwell-cli procs` lists, 0-based and half open, from their
    definition line through their last line, as the code explorer marks them; the end of
    the code is the same line, as a line that only closes blocks is no code."""
    done = subprocess.run([cli, "procs", "--lang", tarnwell_lang, path], capture_output=True,
                          timeout=60)
    bodies = []
    for row in done.stdout.decode("utf-8", "replace").splitlines():
        numbers = row.split("|", 1)[0].split("-")
        if len(numbers) != 3 or not all(n.isdigit() for n in numbers):
            continue
        _, first, end = (int(n) for n in numbers)
        bodies.append((first - 1, end, end))
    return bodies


def collect(cli, language, roots, count):
    tarnwell_lang, ctags_language, kinds, suffixes, _ = LANGUAGES[language]
    # C headers are taken from beside the C++ ones, which belong to the other language.
    files = source_files(roots, suffixes, EXCLUDED.get(language), count * 8)
    starts = ctags_starts(files, ctags_language, kinds) if ctags_language else {}
    bodies = []
    seen = set()
    for path in files:
        lines = read_lines(path)
        if lines is None:
            continue
        if language in TREE_LANGUAGES:
            found = procs_bodies(cli, tarnwell_lang, path)
        elif language == "plsql":
            found = plpgsql_bodies(lines)
        else:
            cut = pascal_bodies if language == "pas" else brace_bodies
            found = [cut(lines, s) for s in sorted(starts.get(path, ()))]
        for span in found:
            if span is None:
                continue
            first, end = span[0], span[1]
            code_end = span[2] if len(span) > 2 else end
            body = b"\n".join(lines[first:end]) + b"\n"
            # A body of one line cannot be marked: the marks need two lines.
            if language in TREE_LANGUAGES and end - first < 2:
                continue
            if not body.strip() or body in seen or end - first > 400:
                continue
            seen.add(body)
            # The closing line of a whole function holds no statement for the chart to reach.
            code = b"\n".join(lines[first:code_end]) + b"\n"
            bodies.append((path, first + 1, body, code))
    return spread(bodies, count)


# A line that only closes blocks holds no statement: the end of a `finally` block's statements,
# which stand in the sequence around it, is the last thing a complete chart reaches. The
# languages that close blocks with words close them with these; a shell function's closing
# brace may open the list that follows it (`} &&`).
CLOSING_ONLY = re.compile(rb"^(?:[\s})\];,]|\b(?:end|fi|done|esac)\b)*(?:&&|\|\|)?\s*$")


def last_code_offset(body, comments):
    """The 1-based position of the first character of the last line holding code."""
    code = re.sub(comments, lambda m: re.sub(rb"[^\n]", b" ", m.group(0)), body, flags=re.S)
    offset = len(code)
    for line in reversed(code.split(b"\n")):
        offset -= len(line) + 1
        if line.strip() and not CLOSING_ONLY.match(line):
            return offset + 1 + (len(line) - len(line.lstrip()))
    return 0


RANGE = re.compile(r"[A-Za-z/]+>(\d+)-(\d+)")


def chart(cli, tarnwell_lang, body):
    done = subprocess.run([cli, "markup", "--lang", tarnwell_lang, "-"], input=body,
                          capture_output=True, timeout=60)
    if done.returncode not in (0, 1):
        return None
    return json.loads(done.stdout)


def measure(cli, language, roots, count, keep):
    tarnwell_lang, _, _, _, comments = LANGUAGES[language]
    bodies = collect(cli, language, roots, count)
    charted = shortened = 0
    failures = []
    for path, line, body, code in bodies:
        result = chart(cli, tarnwell_lang, body)
        if result is None or not result["ok"]:
            failures.append((path, line, body, result))
            continue
        charted += 1
        # The outermost sequence closes at the end of the text whatever was read: what counts
        # is how far the items inside it reach.
        inside = re.sub(r"</statement>\d+-\d+\x01?$", "", result["markup"])
        reach = max((int(e) for _, e in RANGE.findall(inside)), default=0)
        if reach < last_code_offset(code, comments):
            shortened += 1
            failures.append((path, line, body, result))
    if keep:
        os.makedirs(keep, exist_ok=True)
        for n, (path, line, body, result) in enumerate(failures):
            name = os.path.join(keep, "%s-%03d.txt" % (language, n))
            with open(name, "wb") as f:
                f.write(body)
            with open(name + ".json", "w") as f:
                json.dump({"source": path, "line": line, "result": result}, f, indent=1)
    return len(bodies), charted, shortened


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--count", type=int, default=300)
    parser.add_argument("--keep", help="folder for the bodies that fail or are shortened")
    parser.add_argument("language", choices=sorted(LANGUAGES))
    parser.add_argument("roots", nargs="+")
    args = parser.parse_args()
    total, charted, shortened = measure(args.cli, args.language, args.roots, args.count,
                                        args.keep)
    share = 100.0 * charted / total if total else 0.0
    print("%-6s bodies %4d  charted %4d  %5.1f%%  shortened %d" %
          (args.language, total, charted, share, shortened))
    return 0


if __name__ == "__main__":
    sys.exit(main())
