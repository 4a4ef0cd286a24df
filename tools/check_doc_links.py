#!/usr/bin/python3
"""Checks the built manual's links: every link from one of its pages to
another, to an image or to an anchor must lead to a file that is there and,
where it names an anchor, to an element with that id. Links that leave the
manual (http:, mailto:) are not followed.

    check_doc_links.py HTML_DIR
"""

import sys
from html.parser import HTMLParser
from pathlib import Path
from urllib.parse import unquote, urlsplit


class Page(HTMLParser):
    """The ids a page defines and the links it makes, with their lines."""

    def __init__(self):
        super().__init__()
        self.ids: set[str] = set()
        self.links: list[tuple[int, str]] = []

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        for name in ("id", "name"):
            if attributes.get(name):
                self.ids.add(attributes[name])
        for name in ("href", "src"):
            if attributes.get(name) and not (tag == "link" and name == "href" and
                                              attributes.get("rel") == "canonical"):
                self.links.append((self.getpos()[0], attributes[name]))


def main() -> int:
    root = Path(sys.argv[1]).resolve()
    pages: dict[Path, Page] = {}
    for path in sorted(root.rglob("*.html")):
        page = Page()
        page.feed(path.read_text(encoding="utf-8"))
        pages[path] = page
    broken = 0
    for path, page in pages.items():
        for line, link in page.links:
            parts = urlsplit(link)
            if parts.scheme or parts.netloc or link.startswith("//"):
                continue
            target = (path.parent / unquote(parts.path)).resolve() if parts.path else path
            if target.is_dir():
                target = target / "index.html"
            where = f"{path.relative_to(root)}:{line}"
            if not target.is_file():
                print(f"{where}: {link}: no such file")
                broken += 1
            elif parts.fragment and target.suffix == ".html" and \
                    unquote(parts.fragment) not in pages[target].ids:
                print(f"{where}: {link}: no such anchor in {target.relative_to(root)}")
                broken += 1
    print(f"{len(pages)} pages, {sum(len(p.links) for p in pages.values())} links, "
          f"{broken} broken")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
