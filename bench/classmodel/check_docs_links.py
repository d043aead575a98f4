#!/usr/bin/env python3
"""Checks a folder of generated model documentation: every page parses as HTML, every href
and fragment leads to a written file and anchor, every package of the overview has its page,
diagram and picture, and every class or interface on a package page has its anchor.
Usage: check_docs_links.py DIR; prints the findings and exits 1 when there are any."""
import html.parser
import os
import sys


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.hrefs, self.anchors, self.images = [], set(), []
        self.headers = 0
        self.unanchored = 0
        self.pending_anchor = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "href" in a:
            self.hrefs.append(a["href"])
        if tag == "a" and "name" in a:
            self.anchors.add(a["name"])
            self.pending_anchor = True
        if "id" in a:
            self.anchors.add(a["id"])
        if tag == "img":
            self.images.append(a.get("src", ""))
        if tag == "td" and a.get("class") == "ClassTableHeader":
            self.headers += 1
            self.unanchored += 0 if self.pending_anchor else 1
            self.pending_anchor = False


def main(folder):
    problems = []
    pages = {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".html"):
            continue
        page = Page()
        try:
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                page.feed(f.read())
            page.close()
        except Exception as e:  # a page that does not parse
            problems.append(f"{name}: does not parse: {e}")
            continue
        pages[name] = page
    links = fragments = 0
    for name, page in pages.items():
        for src in page.images:
            if not os.path.exists(os.path.join(folder, src)):
                problems.append(f"{name}: picture {src} missing")
        for href in page.hrefs:
            target, _, fragment = href.partition("#")
            links += 1
            if target not in pages and not os.path.exists(os.path.join(folder, target)):
                problems.append(f"{name}: {href} leads to no file")
            elif fragment:
                fragments += 1
                if fragment not in pages[target].anchors:
                    problems.append(f"{name}: {href} leads to no anchor")
        # Each classifier's header stands under its anchor.
        if name.startswith("p_") and not name.endswith("_diagram.html") and name != "p_overview.html":
            if page.unanchored:
                problems.append(f"{name}: {page.unanchored} classifiers without an anchor")
    overview = pages.get("overview.html")
    packages = 0
    if overview is None:
        problems.append("overview.html missing")
    else:
        for href in overview.hrefs:
            if href.startswith("p_") and href.endswith(".html") and not href.endswith("_diagram.html"):
                packages += 1
                base = href[:-5]
                for needed in (href, base + "_diagram.html", base + ".png"):
                    if not os.path.exists(os.path.join(folder, needed)):
                        problems.append(f"package {base}: {needed} missing")
    classifiers = sum(p.headers for n, p in pages.items())
    print(f"{len(pages)} pages, {packages} packages, {classifiers} classifiers, "
          f"{links} links ({fragments} to anchors), {len(problems)} problems")
    for p in problems[:50]:
        print("  " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
